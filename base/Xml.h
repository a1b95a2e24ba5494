#pragma once
// The runtime's one XML document, in its own small dialect: an element is a
// name plus one flat attribute text, character data between tags is ignored
// on reading, and attribute values never hold a raw quote, angle bracket,
// ampersand or line break. Report templates, prepared reports and the string
// table are kept in it, and the script engine's grammars and the
// intermediate form of a compiled script.
//
// The tree (TfrxXMLItem under a TfrxXMLDocument) keeps attribute values
// escaped inside Text; Prop/SetProp escape and un-escape one attribute.
// Large documents can keep parts of the tree out of memory: an "unloadable"
// item's children can be moved to a swap file (UnloadItem) or left in the
// source file by partial loading, and read back on demand (LoadItem). Any
// item's children can also be packed: kept as their written text in one
// byte block, a small fraction of the memory of their items.

#include "base/Errors.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QVariant>
#include <memory>
#include <string>
#include <vector>

// Malformed XML input; the message is always "Invalid file format".
class TfrxInvalidXMLException : public EGeneralError {
public:
    TfrxInvalidXMLException();
};

// One element of the tree: a name, its attribute text and its children.
// An item owns its children; destroying an item destroys its subtree and
// takes it out of its parent's list.
class TfrxXMLItem {
public:
    TfrxXMLItem() = default;
    // A free-standing item named Name.
    explicit TfrxXMLItem(const QString &Name) : FName(Name) {}
    TfrxXMLItem(const TfrxXMLItem &) = delete;
    TfrxXMLItem &operator=(const TfrxXMLItem &) = delete;
    ~TfrxXMLItem();

    // A new empty child appended at the end.
    TfrxXMLItem *Add();
    // A new child with the given name appended at the end.
    TfrxXMLItem *Add(const QString &Name);
    // Appends Item (taking it out of its previous parent's list) and takes ownership.
    void AddItem(TfrxXMLItem *Item);
    // As AddItem, then moves Item to position Index (clamped to the list).
    void InsertItem(int Index, TfrxXMLItem *Item);
    // AddItem and InsertItem of an item held alone; both return it.
    TfrxXMLItem *Add(std::unique_ptr<TfrxXMLItem> Item);
    TfrxXMLItem *Insert(int Index, std::unique_ptr<TfrxXMLItem> Item);
    // Takes child Index (0-based, unchecked beyond an assertion) out of the
    // list and hands it over.
    std::unique_ptr<TfrxXMLItem> Take(int Index);
    // Index of the first child named Name ignoring case, else -1.
    int Find(const QString &Name) const;
    // The first child named Name ignoring case; appended when there is none.
    TfrxXMLItem *FindItem(const QString &Name);
    // The first child named Name ignoring case, else nullptr.
    TfrxXMLItem *Child(const QString &Name) const;
    // Index of a direct child, else -1.
    int IndexOf(const TfrxXMLItem *Item) const;
    // The topmost ancestor-or-self.
    TfrxXMLItem *Root();
    // Destroys all children (packed ones too); an unloadable item becomes
    // not loaded.
    void Clear();
    // Makes this item a copy of Source: name, attribute text, value and a
    // copy of every child (packed ones read back).
    void Assign(const TfrxXMLItem &Source);

    // Packs the children: written as the dialect's text (without values,
    // which are never read) into one byte block, then destroyed. The item
    // counts as not loaded until unpacked. Nothing happens to an item that
    // is not loaded or has no children.
    void Pack();
    // Reads packed children back into the item, which becomes loaded.
    // Raises TfrxInvalidXMLException when the block cannot be read; the
    // item then stays packed.
    void Unpack();
    // True while the children are packed.
    bool Packed() const { return FExtra && !FExtra->Packed.isNull(); }
    // Bytes of the packed children (0 when not packed).
    qsizetype PackedSize() const { return Packed() ? FExtra->Packed.size() : 0; }
    // A free-standing copy of the item (name, text, flags) holding its
    // packed children read back; the item itself stays packed.
    std::unique_ptr<TfrxXMLItem> UnpackedCopy() const;

    // Number of children.
    int Count() const { return int(FItems.size()); }
    // Child Index (0-based, unchecked beyond an assertion).
    TfrxXMLItem *Items(int Index) const;
    TfrxXMLItem *operator[](int Index) const { return Items(Index); }

    // The un-escaped value of attribute Name (ignoring case), or "" when absent.
    // An attribute is found only when it stands first or after one space.
    QString Prop(const QString &Name) const;
    // Sets attribute Name to the escaped Value, in place when present, else appended.
    void SetProp(const QString &Name, const QString &Value);
    // True when attribute Name is present (same search as Prop).
    bool PropExists(const QString &Name) const;
    // Removes attribute Name with the one character that follows it.
    void DeleteProp(const QString &Name);

    void *Data() const { return FExtra ? FExtra->Data : nullptr; }
    void SetData(void *Value) { Extra().Data = Value; }
    bool Loaded() const { return FLoaded; }
    void SetLoaded(bool Value) { FLoaded = Value; }
    bool Unloadable() const { return FUnloadable; }
    void SetUnloadable(bool Value) { FUnloadable = Value; }
    // Stream position an unloadable item is read back from.
    qint64 Offset() const { return FOffset; }
    void SetOffset(qint64 Value) { FOffset = Value; }
    const QString &Name() const { return FName; }
    void SetName(const QString &Value) { FName = Value; }
    TfrxXMLItem *Parent() const { return FParent; }
    // Attribute text: everything after the name in the start tag, values escaped.
    const QString &Text() const { return FText; }
    void SetText(const QString &Value) { FText = Value; }
    // Character content, written between the tags of a childless item; never read.
    const QString &Value() const;
    void SetValue(const QString &Value) { Extra().Value = Value; }

private:
    friend class TfrxXMLReader;
    friend class TfrxXMLWriter;
    void Detach();
    void ClearChildren();
    static void ReadPackedChildren(const QByteArray &Packed, TfrxXMLItem *Into);

    // What few items carry, kept apart: a prepared report holds an item
    // per output object, and every byte of an item counts there.
    struct TExtra {
        void *Data = nullptr;
        QString Value;
        QByteArray Packed;    // packed children; null when not packed
    };
    TExtra &Extra();

    std::vector<TfrxXMLItem *> FItems;
    TfrxXMLItem *FParent = nullptr;
    qint64 FOffset = 0;
    QString FName;
    QString FText;
    std::unique_ptr<TExtra> FExtra;
    bool FLoaded = true;
    bool FUnloadable = false;
};

// A whole document: the root item, the header flag of the last read and the
// stream its unloadable items come back from.
class TfrxXMLDocument {
public:
    TfrxXMLDocument();
    TfrxXMLDocument(const TfrxXMLDocument &) = delete;
    TfrxXMLDocument &operator=(const TfrxXMLDocument &) = delete;
    ~TfrxXMLDocument();

    // Clears Root's children (its name and text stay) and deletes the swap file.
    void Clear();
    // Reads a document from Stream. With AllowPartialLoading, elements marked as
    // unloaded keep their children in Stream, which stays referenced (not
    // owned) as TempStream: it must outlive the document or its next load/Clear.
    // Raises TfrxInvalidXMLException on malformed input (the partial tree stays).
    void LoadFromStream(QIODevice *Stream, bool AllowPartialLoading = false);
    // As above, the document owning Stream: kept as TempStream with partial
    // loading and freed with the swap file, else freed once read.
    void LoadFromStream(std::unique_ptr<QIODevice> Stream, bool AllowPartialLoading);
    // Opens FileName and loads it with partial loading; the file stays open.
    // Raises EInOutError when the file cannot be opened.
    void LoadFromFile(const QString &FileName);
    // Writes the header and the root element (unloaded items are read back).
    void SaveToStream(QIODevice *Stream);
    // Saves atomically to FileName (saveFileAtomically) and loads it again.
    // Raises EInOutError when it cannot be saved; the old file then stays.
    void SaveToFile(const QString &FileName);
    // Reads the children of an unloaded item back: from its packed block,
    // else from TempStream.
    void LoadItem(TfrxXMLItem *Item);
    // Moves the children of an unloadable item, loaded or packed, to the
    // swap file.
    void UnloadItem(TfrxXMLItem *Item);
    // Creates the swap file in TempDir (or the system's temporary folder).
    void CreateTempFile();
    // Closes and deletes the swap file; releases a kept source stream.
    void DeleteTempFile();

    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    TfrxXMLItem *Root() const { return FRoot.get(); }
    const QString &TempDir() const { return FTempDir; }
    void SetTempDir(const QString &Value) { FTempDir = Value; }
    // Path of the swap file once created, else "".
    const QString &TempFile() const { return FTempFile; }
    // The stream unloadable items are read from: the swap file or a kept source.
    QIODevice *TempStream() const { return FTempStream; }
    bool TempFileCreated() const { return FTempFileCreated; }
    // The last document read had the old (ANSI) header.
    bool OldVersion() const { return FOldVersion; }
    // Why the last document read is incomplete although it loaded (it ended
    // inside an element, had no root element, or held elements after the
    // root's end); empty for a whole document.
    const QString &Damage() const { return FDamage; }
    // The first text of the last document read that is not valid in its
    // encoding (TfrxXMLReader::Unreadable); empty when all text was.
    const QString &Unreadable() const { return FUnreadable; }

private:
    void LoadFrom(QIODevice *Stream, bool AllowPartialLoading);
    void ReleaseTempStream();

    std::unique_ptr<TfrxXMLItem> FRoot;
    bool FAutoIndent = false;
    bool FOldVersion = false;
    QString FDamage;
    QString FUnreadable;
    bool FTempFileCreated = false;
    QString FTempDir;
    QString FTempFile;
    QIODevice *FTempStream = nullptr;          // the stream LoadItem reads from
    std::unique_ptr<QIODevice> FOwnedStream;   // FTempStream when the document owns it
};

// Buffered reader of the dialect over a stream, from its current position.
// On destruction the stream is put back just after the last byte consumed.
// Elements nest without limit (the reader keeps its own stack), but a tag
// longer than MaxTagLength bytes is refused as malformed: it bounds the
// memory a damaged or hostile file makes the reader take for one element.
class TfrxXMLReader {
public:
    // 64 MiB: as much as the longest text the runtime builds (TextLimits.h).
    static constexpr qsizetype MaxTagLength = qsizetype(1) << 26;

    explicit TfrxXMLReader(QIODevice *Stream);
    TfrxXMLReader(const TfrxXMLReader &) = delete;
    TfrxXMLReader &operator=(const TfrxXMLReader &) = delete;
    ~TfrxXMLReader();

    // Reads the "?xml" tag; sets OldFormat for a version "1.0" header without
    // "standalone=". Raises TfrxInvalidXMLException for any other first tag.
    void ReadHeader();
    // Reads one element into Item (only its children when Item already has a
    // name). Returns false when the tag read was an end tag or the end of the
    // stream. Without ReadChildren, elements marked unloaded drop their children.
    bool ReadRootItem(TfrxXMLItem *Item, bool ReadChildren = true);
    // Reads the next tag, comments skipped; Name "" at the end of the stream.
    void ReadItem(QString &Name, QString &Text);
    // Absolute stream position of the next unread byte.
    qint64 Position() const { return FBufferStart + FPos; }
    // Moves to an absolute stream position, dropping the buffer.
    void SetPosition(qint64 Value);
    // The stream size when the reader was created.
    qint64 Size() const { return FSize; }
    bool OldFormat() const { return FOldFormat; }
    void SetOldFormat(bool Value) { FOldFormat = Value; }
    // The stream ended while elements were still open (they were closed).
    bool Truncated() const { return FTruncated; }
    // The first text read that is not valid in the document's encoding
    // ("Memo1.Text: the text is not valid UTF-8"); empty when all was.
    const QString &Unreadable() const { return FUnreadable; }

private:
    enum class TTag { End, Leaf, Open };
    bool ReadTagBytes(const char *&Data, qsizetype &Length);
    bool CollectTag(const char *&Data, qsizetype &Length);
    bool FillBuffer();
    void SkipComment();
    TTag ReadTag(QString &Name, QString &Text, bool Decode, bool &Marker);
    void FinishItem(TfrxXMLItem *Item, qint64 StartPos, bool ReadChildren, bool Marker);
    QString DecodeName(const char *Data, qsizetype Length);
    QString DecodeText(const char *Data, qsizetype Length);
    QString CheckDecoded(const char *Data, qsizetype Length, qsizetype Begin, qsizetype End, int CodePage);

    QIODevice *FStream;
    qint64 FSize;
    qint64 FBufferStart;          // stream position of FBuffer[0]
    int FPos = 0;                 // read position in FBuffer
    int FFill = 0;                // bytes in FBuffer
    bool FOldFormat = false;
    bool FTruncated = false;
    QString FUnreadable;
    QString FDecodingElement;     // name of the element whose text is decoded
    char FBuffer[4096];
    std::vector<char> FTag;       // collection buffer of a tag that spans buffer fills
    static constexpr int NameCacheSize = 8;
    QByteArray FNameKeys[NameCacheSize];
    QString FNameValues[NameCacheSize];
    int FNameNext = 0;
};

// Writer of the dialect: ANSI names, UTF-8 attribute text and values.
class TfrxXMLWriter {
public:
    explicit TfrxXMLWriter(QIODevice *Stream);
    TfrxXMLWriter(const TfrxXMLWriter &) = delete;
    TfrxXMLWriter &operator=(const TfrxXMLWriter &) = delete;
    ~TfrxXMLWriter();

    // Writes the header tag this writer's documents carry.
    void WriteHeader();
    // Writes Item and its subtree; unloaded items are read back from
    // TempStream, packed ones written from their block.
    void WriteRootItem(TfrxXMLItem *Item);
    // Appends S (and a line break with AutoIndent); flushes past 4096 bytes.
    void WriteLn(const QByteArray &S);
    // Writes out what is buffered.
    void Flush();

    bool AutoIndent() const { return FAutoIndent; }
    void SetAutoIndent(bool Value) { FAutoIndent = Value; }
    QIODevice *TempStream() const { return FTempStream; }
    void SetTempStream(QIODevice *Value) { FTempStream = Value; }

private:
    void WriteStartTag(TfrxXMLItem *Item, int Level);
    void WriteEndTag(TfrxXMLItem *Item, int Level);
    void LineEnd();
    void AppendName(const QString &Name);
    void AppendUtf8(const QString &Text);

    QIODevice *FStream;
    QIODevice *FTempStream = nullptr;
    bool FAutoIndent = false;
    std::string FBuffer;
};

// Escapes NUL, line feed, carriage return, '"', '&', '<' and '>' as decimal
// character references; rudXMLToStr gives back exactly the same text.
QString rudStrToXML(const QString &Text);
// Un-escapes decimal character references and the quot/amp/lt/gt entities.
// Raises EConvertError for a reference with a non-numeric body; a reference
// without its semicolon is kept as text.
QString rudXMLToStr(const QString &Text);
// Lines as one attribute value: each line escaped as by rudStrToXML, except
// that a carriage return, line feed or Unicode line separator (U+2028) inside
// a line is written as a hexadecimal reference (&#xD; &#xA; &#x2028;), and
// the lines joined by the decimal references of a line break (&#13;&#10;).
// A reader that only un-escapes sees the same characters; rudXMLToLines
// tells the two apart, so a line holding a raw break survives a round trip.
QString rudLinesToXML(const QStringList &Lines);
// The lines of an attribute value written by rudLinesToXML (or by any
// writer that joined lines with breaks): the value splits at raw carriage
// returns and line feeds and at their decimal references (&#13;, &#10;),
// with LineSeparator also at U+2028 and &#8232;, by the rules of a memo's
// text (CR LF is one break, LF CR two, a final break adds no empty line);
// each line is then un-escaped, hexadecimal references included.
QStringList rudXMLToLines(const QString &Value, bool LineSeparator);
// Attribute text of a variant: integers up to 32 bits in decimal, floats and
// dates in the locale's format, strings escaped, Booleans "1"/"0", else "".
QString rudValueToXML(const QVariant &Value);
