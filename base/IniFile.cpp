#include "base/IniFile.h"

#include "base/CodePages.h"
#include "base/Errors.h"
#include "base/InputFile.h"
#include "base/NumberFormat.h"
#include "base/SafeSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The blanks the private-profile rules strip around names and values; 0x1A
// is the old end-of-file mark that some editors leave behind.
bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\r' || u == u'\v' || u == u'\f' || u == 0x1A;
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Bytes per code unit of the line structure (a line break is one unit).
int unitSize(TIniEncoding encoding)
{
    return encoding == TIniEncoding::Utf16LE || encoding == TIniEncoding::Utf16BE ? 2 : 1;
}

char16_t unitAt(const QByteArray &data, qsizetype pos, TIniEncoding encoding)
{
    const auto byte = [&](qsizetype i) { return char16_t(static_cast<unsigned char>(data[i])); };
    switch (encoding) {
    case TIniEncoding::Utf16LE:
        return char16_t(byte(pos) | (byte(pos + 1) << 8));
    case TIniEncoding::Utf16BE:
        return char16_t((byte(pos) << 8) | byte(pos + 1));
    default:
        return byte(pos);
    }
}

// Line breaks and NULs would split a value into lines of its own (or end it
// early for readers that stop at NUL), so they are stored as spaces.
QString storableValue(const QString &value)
{
    QString result = value;
    for (QChar &c : result)
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    return result;
}

bool hasLineBreakOrNul(const QString &name)
{
    return name.contains(u'\r') || name.contains(u'\n') || name.contains(u'\0');
}

QString checkedSectionName(const QString &section)
{
    const QString name = trimBlanks(section);
    if (name.isEmpty() || hasLineBreakOrNul(name))
        throw EGeneralError(QStringLiteral("Invalid INI section name \"%1\"").arg(section));
    return name;
}

QString checkedKeyName(const QString &key)
{
    const QString name = trimBlanks(key);
    if (name.isEmpty() || hasLineBreakOrNul(name) || name.contains(u'=') || name.startsWith(u'[')
        || name.startsWith(u';'))
        throw EGeneralError(QStringLiteral("Invalid INI key name \"%1\"").arg(key));
    return name;
}

const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

TIniFile::TIniFile(const QString &fileName, int ansiCodePage)
    : FFileName(fileName), FCodePage(ansiCodePage ? ansiCodePage : systemAnsiCodePage())
{
    Load();
}

void TIniFile::Load()
{
    const QFileInfo info(FFileName);
    if (!info.exists())
        return;
    QFile file(FFileName);
    if (!info.isFile() || info.size() > MaxFileSize || !file.open(QIODevice::ReadOnly)) {
        FUnreadable = true;
        return;
    }
    const QByteArray data = readUpTo(file, MaxFileSize);
    if (file.error() != QFileDevice::NoError || data.size() > MaxFileSize) {
        FUnreadable = true;
        return;
    }

    const TDetectedEncoding detected = detectTextEncoding(data);
    FEncoding = detected.Encoding;
    FBom = data.left(detected.BomSize);

    const int unit = unitSize(FEncoding);
    qsizetype size = data.size();
    qsizetype pos = FBom.size();
    if ((size - pos) % unit != 0) {
        // An odd byte at the end of a UTF-16 file belongs to no character; it
        // is kept at the very end so that lines added later stay aligned.
        FTail = data.right(1);
        --size;
    }
    while (pos < size) {
        qsizetype end = pos;
        while (end + unit <= size && unitAt(data, end, FEncoding) != u'\n')
            end += unit;
        TLine line;
        if (end + unit > size) {
            line.Raw = data.mid(pos, size - pos);
            pos = size;
        } else {
            qsizetype contentEnd = end;
            if (contentEnd - unit >= pos && unitAt(data, contentEnd - unit, FEncoding) == u'\r')
                contentEnd -= unit;
            line.Raw = data.mid(pos, contentEnd - pos);
            line.Eol = data.mid(contentEnd, end + unit - contentEnd);
            pos = end + unit;
        }
        ParseLine(line);
        FLines.push_back(std::move(line));
    }
}

QString TIniFile::DecodeText(const QByteArray &bytes) const
{
    switch (FEncoding) {
    case TIniEncoding::Ansi:
        return decodeCodePage(bytes, FCodePage);
    case TIniEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case TIniEncoding::Utf16LE:
    case TIniEncoding::Utf16BE: {
        QString text(bytes.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(unitAt(bytes, 2 * i, FEncoding));
        return text;
    }
    }
    return {};
}

QByteArray TIniFile::EncodeText(const QString &text) const
{
    switch (FEncoding) {
    case TIniEncoding::Ansi:
        return encodeCodePage(text, FCodePage);
    case TIniEncoding::Utf8:
        return text.toUtf8();
    case TIniEncoding::Utf16LE:
    case TIniEncoding::Utf16BE: {
        const bool little = FEncoding == TIniEncoding::Utf16LE;
        QByteArray bytes(text.size() * 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t u = text[i].unicode();
            bytes[2 * i + (little ? 0 : 1)] = char(u & 0xFF);
            bytes[2 * i + (little ? 1 : 0)] = char(u >> 8);
        }
        return bytes;
    }
    }
    return {};
}

QByteArray TIniFile::NewLineBytes() const
{
    return EncodeText(QStringLiteral("\r\n"));
}

// Every line is decoded in the old encoding and stored again in UTF-8, so
// the text of the lines written before stays as it was.
void TIniFile::MakeRoomFor(const QString &text)
{
    if (FEncoding != TIniEncoding::Ansi || canEncodeCodePage(text, FCodePage))
        return;
    std::vector<QString> texts;
    texts.reserve(FLines.size());
    for (const TLine &line : FLines)
        texts.push_back(DecodeText(line.Raw));
    FEncoding = TIniEncoding::Utf8;
    FBom = Utf8Bom;
    for (size_t i = 0; i < FLines.size(); ++i) {
        FLines[i].Raw = EncodeText(texts[i]);
        ParseLine(FLines[i]);
    }
    FModified = true;
}

// A line is a section header when its first non-blank character is "[" and
// it has a "]" (the name runs to the last one); a comment when it starts with
// ";"; a key when it has an "=" (the name is what precedes the first one).
// Anything else is kept as it is and otherwise ignored.
void TIniFile::ParseLine(TLine &line) const
{
    line.Kind = TLineKind::Other;
    line.Name.clear();
    line.Value.clear();
    const QString text = DecodeText(line.Raw);
    const QString trimmed = trimBlanks(text);
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.lastIndexOf(u']');
        if (close > 0) {
            line.Kind = TLineKind::Section;
            line.Name = trimBlanks(trimmed.mid(1, close - 1));
        }
        return;
    }
    if (trimmed.isEmpty() || trimmed.startsWith(u';'))
        return;
    // The "=" is found among the raw code units so that the value's bytes can
    // be replaced without touching those of the name, whatever they decode to.
    const int unit = unitSize(FEncoding);
    for (qsizetype pos = 0; pos + unit <= line.Raw.size(); pos += unit) {
        if (unitAt(line.Raw, pos, FEncoding) == u'=') {
            line.Kind = TLineKind::Key;
            line.Name = trimBlanks(DecodeText(line.Raw.left(pos)));
            line.ValueOffset = pos + unit;
            line.Value = DecodeText(line.Raw.mid(line.ValueOffset));
            return;
        }
    }
}

TIniFile::TLine TIniFile::MakeLine(const QString &text) const
{
    TLine line;
    line.Raw = EncodeText(text);
    line.Eol = NewLineBytes();
    ParseLine(line);
    return line;
}

qsizetype TIniFile::FindSection(const QString &section) const
{
    const QString name = trimBlanks(section);
    for (qsizetype i = 0; i < qsizetype(FLines.size()); ++i)
        if (FLines[i].Kind == TLineKind::Section && sameName(FLines[i].Name, name))
            return i;
    return -1;
}

qsizetype TIniFile::SectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < qsizetype(FLines.size()) && FLines[i].Kind != TLineKind::Section)
        ++i;
    return i;
}

qsizetype TIniFile::FindKey(qsizetype header, const QString &key) const
{
    const QString name = trimBlanks(key);
    const qsizetype end = SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (FLines[i].Kind == TLineKind::Key && sameName(FLines[i].Name, name))
            return i;
    return -1;
}

void TIniFile::EnsureTerminated(qsizetype index)
{
    if (index >= 0 && index < qsizetype(FLines.size()) && FLines[index].Eol.isEmpty())
        FLines[index].Eol = NewLineBytes();
}

QString TIniFile::ReadString(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    const qsizetype header = FindSection(section);
    if (header < 0)
        return defaultValue;
    const qsizetype index = FindKey(header, key);
    if (index < 0)
        return defaultValue;
    QString value = trimBlanks(FLines[index].Value);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'')
        && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    if (value.size() > MaxValueLength) {
        value.truncate(MaxValueLength);
        if (value.back().isHighSurrogate())
            value.chop(1);
    }
    return value;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = checkedSectionName(section);
    const QString keyName = checkedKeyName(key);
    const QString stored = storableValue(value);
    MakeRoomFor(sectionName + keyName + stored);

    const qsizetype header = FindSection(sectionName);
    if (header < 0) {
        EnsureTerminated(qsizetype(FLines.size()) - 1);
        FLines.push_back(MakeLine(QLatin1Char('[') + sectionName + QLatin1Char(']')));
        FLines.push_back(MakeLine(keyName + QLatin1Char('=') + stored));
        FModified = true;
        return;
    }

    const qsizetype index = FindKey(header, keyName);
    if (index >= 0) {
        TLine &line = FLines[index];
        const QByteArray raw = line.Raw.left(line.ValueOffset) + EncodeText(stored);
        if (raw == line.Raw)
            return;
        line.Raw = raw;
        ParseLine(line);
        FModified = true;
        return;
    }

    // A new key goes after the section's last key, so that blank lines and
    // comments in front of the next section stay where they are.
    qsizetype last = header;
    const qsizetype end = SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (FLines[i].Kind == TLineKind::Key)
            last = i;
    EnsureTerminated(last);
    FLines.insert(FLines.begin() + last + 1, MakeLine(keyName + QLatin1Char('=') + stored));
    FModified = true;
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    int value = 0;
    return TryStrToInt(ReadString(section, key, QString()), value) ? value : defaultValue;
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, IntToStr(value));
}

bool TIniFile::ReadBool(const QString &section, const QString &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString &section, const QString &key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QStringList TIniFile::ReadSections() const
{
    QStringList names;
    for (const TLine &line : FLines)
        if (line.Kind == TLineKind::Section && !names.contains(line.Name, Qt::CaseInsensitive))
            names << line.Name;
    return names;
}

QStringList TIniFile::ReadSection(const QString &section) const
{
    QStringList names;
    const qsizetype header = FindSection(section);
    if (header < 0)
        return names;
    const qsizetype end = SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i)
        if (FLines[i].Kind == TLineKind::Key && !FLines[i].Name.isEmpty()
            && !names.contains(FLines[i].Name, Qt::CaseInsensitive))
            names << FLines[i].Name;
    return names;
}

bool TIniFile::SectionExists(const QString &section) const
{
    return FindSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    const qsizetype header = FindSection(section);
    return header >= 0 && FindKey(header, key) >= 0;
}

void TIniFile::EraseSection(const QString &section)
{
    for (qsizetype header = FindSection(section); header >= 0; header = FindSection(section)) {
        FLines.erase(FLines.begin() + header, FLines.begin() + SectionEnd(header));
        FModified = true;
    }
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    const qsizetype header = FindSection(section);
    if (header < 0)
        return;
    for (qsizetype index = FindKey(header, key); index >= 0; index = FindKey(header, key)) {
        FLines.erase(FLines.begin() + index);
        FModified = true;
    }
}

QByteArray TIniFile::Content() const
{
    QByteArray bytes = FBom;
    for (const TLine &line : FLines)
        bytes += line.Raw + line.Eol;
    return bytes + FTail;
}

void TIniFile::RaiseWriteError() const
{
    throw EInOutError(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(FFileName)));
}

// The permission bits are checked as well as the access rights, so that a
// file or folder marked read-only stays untouched even for a user whom the
// system would let write anyway: renaming a new file over a read-only one
// would otherwise replace it.
void TIniFile::UpdateFile()
{
    if (!FModified)
        return;
    if (FUnreadable)
        RaiseWriteError();
    const QFileInfo info(FFileName);
    if (info.exists()
        && (!info.isFile() || !info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner)))
        RaiseWriteError();
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || !folder.isWritable() || !(folder.permissions() & QFileDevice::WriteOwner))
        RaiseWriteError();

    try {
        saveFileAtomically(FFileName, Content());
    } catch (const EInOutError &) {
        RaiseWriteError();
    }
    FModified = false;
}
