#pragma once
// INI text files with the rules of the classic private-profile functions:
// section and key names match without regard to letter case, values lose the
// blanks at both ends and one pair of enclosing quotation marks, and at most
// 2,047 characters of a value are read. No text is ever lost to the encoding:
// a new file is written in the ANSI code page (the system's unless one is
// given) as long as every character fits it, and an existing file keeps its
// encoding (ANSI, UTF-16 LE or BE with a byte-order mark, UTF-8 with or
// without one) unless a name or value written does not fit it; then the
// whole file turns into UTF-8 with a byte-order mark. A file without a
// byte-order mark is read as UTF-8 when its bytes are valid UTF-8 and not
// plain ASCII, else in the ANSI code page. Writing changes only the lines of
// the keys written (and adds the new ones); every other line of the file
// keeps its bytes, except when the file changes its encoding.

#include "base/TextEncoding.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Encoding of an INI file's text.
using TIniEncoding = TTextEncoding;

// An INI file held in memory: the file is read once when the object is made,
// every write changes the memory copy, and UpdateFile() replaces the file with
// the new content in one step (all of the writes or none of them). Nothing is
// written without UpdateFile().
class TIniFile {
public:
    // Longest value ReadString returns, in UTF-16 code units.
    static constexpr int MaxValueLength = 2047;
    // A file larger than this (16 MiB) is not read: it counts as one that
    // cannot be read. Settings and certificate files take a few kilobytes.
    static constexpr qint64 MaxFileSize = qint64(16) << 20;

    // Reads fileName if it exists; a missing file is an empty one. A file that
    // exists but cannot be read reads as empty and is never overwritten.
    // ansiCodePage is the code page of ANSI text, 0 for the system's.
    explicit TIniFile(const QString &fileName, int ansiCodePage = 0);

    const QString &FileName() const { return FFileName; }
    // The encoding the file is (or will be) written in.
    TIniEncoding Encoding() const { return FEncoding; }
    // True when the file starts (or will start) with a byte-order mark.
    bool HasByteOrderMark() const { return !FBom.isEmpty(); }
    // The code page of an ANSI file.
    int CodePage() const { return FCodePage; }
    // True when there are writes that UpdateFile() has not yet stored.
    bool Modified() const { return FModified; }
    // True when the file exists but could not be read (or is larger than
    // MaxFileSize): it reads as empty and UpdateFile() never replaces it.
    bool Unreadable() const { return FUnreadable; }

    // The value of key in section, or defaultValue when either is missing.
    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    // Sets key in section to value, adding the key (at the end of the section)
    // or the section (at the end of the file) when missing. Line breaks and NULs
    // in value become spaces; a name that cannot be stored raises EGeneralError.
    // A character the file's encoding lacks turns the file into UTF-8.
    void WriteString(const QString &section, const QString &key, const QString &value);

    // The value as a decimal or "$"/"0x" hexadecimal integer; defaultValue when
    // missing or not an integer.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    void WriteInteger(const QString &section, const QString &key, int value);
    // The value as an integer, non-zero meaning true; stored as "1" or "0".
    bool ReadBool(const QString &section, const QString &key, bool defaultValue) const;
    void WriteBool(const QString &section, const QString &key, bool value);

    // Names of the sections in file order, each once (its first spelling).
    QStringList ReadSections() const;
    // Names of the keys of a section in file order, each once.
    QStringList ReadSection(const QString &section) const;
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;
    // Removes every occurrence of the section with all its lines.
    void EraseSection(const QString &section);
    // Removes the key's lines from the section.
    void DeleteKey(const QString &section, const QString &key);

    // Stores the writes: the new content goes to a temporary file in the same
    // folder which then replaces the file in one rename. On failure the file is
    // left as it was, the temporary file is removed and EInOutError
    // "Unable to write to <path>" is raised. Does nothing without writes.
    void UpdateFile();

private:
    enum class TLineKind { Other, Section, Key };
    struct TLine {
        QByteArray Raw;      // the line's bytes without its terminator
        QByteArray Eol;      // the terminator as found ("\r\n", "\n"; empty at the end)
        TLineKind Kind = TLineKind::Other;
        QString Name;        // section or key name, blanks trimmed
        QString Value;       // a key's text after "=", as stored
        qsizetype ValueOffset = 0; // byte offset of a key's value within Raw
    };

    void Load();
    void ParseLine(TLine &line) const;
    QString DecodeText(const QByteArray &bytes) const;
    QByteArray EncodeText(const QString &text) const;
    QByteArray NewLineBytes() const;
    // Turns an ANSI file into UTF-8 with a byte-order mark when text has a
    // character its code page lacks.
    void MakeRoomFor(const QString &text);
    TLine MakeLine(const QString &text) const;
    // Index of the first header line of section, or -1.
    qsizetype FindSection(const QString &section) const;
    // One past the last line belonging to the section whose header is at index.
    qsizetype SectionEnd(qsizetype header) const;
    // Index of the first line of key within the section at header, or -1.
    qsizetype FindKey(qsizetype header, const QString &key) const;
    void EnsureTerminated(qsizetype index);
    QByteArray Content() const;
    [[noreturn]] void RaiseWriteError() const;

    QString FFileName;
    TIniEncoding FEncoding = TIniEncoding::Ansi;
    int FCodePage = 0;
    QByteArray FBom;
    QByteArray FTail; // an odd last byte of a UTF-16 file
    std::vector<TLine> FLines;
    bool FUnreadable = false;
    bool FModified = false;
};
