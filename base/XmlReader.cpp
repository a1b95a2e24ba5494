// The buffered reader of the XML dialect.
//
// The hot path is a tag that lies wholly inside the 4096-byte read buffer:
// it is found with memchr and decoded straight from the buffer. Tags that
// span a refill, comments and ANSI names take the slow paths.

#include "base/Xml.h"

#include "base/CodePages.h"
#include "base/TextEncoding.h"

#include <cstring>

namespace {
constexpr int BufferSize = 4096;
constexpr char UnloadedMarker[] = " ld=\"0\"";   // the unloaded marker, as it is recognised
constexpr qsizetype MarkerLength = 7;

[[noreturn]] void invalidFormat()
{
    throw TfrxInvalidXMLException();
}

bool isAscii(const char *data, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80)
            return false;
    return true;
}

// True when the attribute bytes hold the unloaded marker in any letter case.
bool hasMarker(const char *text, qsizetype length)
{
    const char *end = text + length;
    const char *p = text;
    while (p < end) {
        const void *hit = memmem(p, size_t(end - p), "=\"0\"", 4);
        if (!hit)
            return false;
        const char *q = static_cast<const char *>(hit);
        if (q - text >= 3 && q[-3] == ' ' && (q[-2] | 0x20) == 'l' && (q[-1] | 0x20) == 'd')
            return true;
        p = q + 1;
    }
    return false;
}
} // namespace

TfrxXMLReader::TfrxXMLReader(QIODevice *Stream)
    : FStream(Stream), FSize(Stream ? Stream->size() : 0), FBufferStart(Stream ? Stream->pos() : 0)
{
}

TfrxXMLReader::~TfrxXMLReader()
{
    // Give back the read-ahead of the buffer so a caller can go on reading.
    if (FStream && !FStream->isSequential())
        FStream->seek(Position());
}

void TfrxXMLReader::SetPosition(qint64 Value)
{
    FBufferStart = Value;
    FPos = 0;
    FFill = 0;
    if (FStream)
        FStream->seek(Value);
}

bool TfrxXMLReader::FillBuffer()
{
    FBufferStart += FFill;
    FPos = 0;
    FFill = 0;
    if (!FStream)
        return false;
    const qint64 got = FStream->read(FBuffer, BufferSize);
    FFill = got > 0 ? int(got) : 0;
    return FFill > 0;
}

// Skips a comment after its "<!--": up to two hyphens directly followed by
// '>'. A third hyphen in a row starts the count again.
void TfrxXMLReader::SkipComment()
{
    int hyphens = 0;
    for (;;) {
        if (FPos >= FFill && !FillBuffer())
            invalidFormat();
        const char c = FBuffer[FPos++];
        if (c == '-') {
            if (++hyphens == 3)
                hyphens = 0;
        } else if (c == '>' && hyphens == 2) {
            return;
        } else {
            hyphens = 0;
        }
    }
}

// Collects the bytes of the current tag up to its '>', which is consumed.
// The result points into the read buffer when the tag lies inside it, else
// into the collection buffer.
bool TfrxXMLReader::CollectTag(const char *&Data, qsizetype &Length)
{
    int start = FPos;
    bool spanning = !FTag.empty();
    for (;;) {
        const char *b = FBuffer + FPos;
        const qsizetype avail = FFill - FPos;
        const char *gt = static_cast<const char *>(memchr(b, '>', size_t(avail)));
        const qsizetype scan = gt ? gt - b : avail;
        if (memchr(b, '<', size_t(scan)))
            invalidFormat();
        if (gt) {
            FPos = int(gt - FBuffer) + 1;
            if (!spanning) {
                Data = FBuffer + start;
                Length = gt - Data;
            } else {
                FTag.insert(FTag.end(), static_cast<const char *>(FBuffer + start), gt);
                Data = FTag.data();
                Length = qsizetype(FTag.size());
            }
            return true;
        }
        FTag.insert(FTag.end(), FBuffer + start, FBuffer + FFill);
        if (qsizetype(FTag.size()) > MaxTagLength)
            invalidFormat();
        spanning = true;
        if (!FillBuffer())
            invalidFormat();
        start = 0;
    }
}

// The next tag's bytes between '<' and '>', comments skipped; false at the
// end of the stream outside a tag.
bool TfrxXMLReader::ReadTagBytes(const char *&Data, qsizetype &Length)
{
    for (;;) {
        for (;;) {
            if (FPos >= FFill && !FillBuffer())
                return false;
            const void *lt = memchr(FBuffer + FPos, '<', size_t(FFill - FPos));
            if (lt) {
                FPos = int(static_cast<const char *>(lt) - FBuffer) + 1;
                break;
            }
            FPos = FFill;
        }
        FTag.clear();
        if (FFill - FPos >= 3) {
            if (FBuffer[FPos] == '!' && FBuffer[FPos + 1] == '-' && FBuffer[FPos + 2] == '-') {
                FPos += 3;
                SkipComment();
                continue;
            }
            return CollectTag(Data, Length);
        }
        // The first three bytes straddle a refill: take them one by one.
        char head[3];
        int got = 0;
        for (;;) {
            if (FPos >= FFill && !FillBuffer())
                invalidFormat();
            const char c = FBuffer[FPos++];
            if (c == '<')
                invalidFormat();
            if (c == '>') {
                FTag.assign(head, head + got);
                Data = FTag.data();
                Length = got;
                return true;
            }
            head[got++] = c;
            if (got == 3)
                break;
        }
        if (memcmp(head, "!--", 3) == 0) {
            SkipComment();
            continue;
        }
        FTag.assign(head, head + 3);
        return CollectTag(Data, Length);
    }
}

QString TfrxXMLReader::DecodeName(const char *Data, qsizetype Length)
{
    if (Length == 0)
        return QString();
    // Element names repeat (every memo is a TfrxMemoView): keep the last few.
    for (int i = 0; i < NameCacheSize; ++i) {
        const QByteArray &key = FNameKeys[i];
        if (key.size() == Length && memcmp(key.constData(), Data, size_t(Length)) == 0
            && !FNameValues[i].isNull())
            return FNameValues[i];
    }
    QString name = isAscii(Data, Length) ? QString::fromLatin1(Data, Length)
                                         : decodeCodePage(QByteArray(Data, Length), systemAnsiCodePage());
    FNameKeys[FNameNext] = QByteArray(Data, Length);
    FNameValues[FNameNext] = name;
    FNameNext = (FNameNext + 1) % NameCacheSize;
    return name;
}

// A UTF-8 document's text is UTF-8; bytes that are not are reported, never
// silently turned into replacement characters (a valid U+FFFD in the file
// stays). In an old-format document each value decides for itself: values
// that are valid UTF-8 are UTF-8 (old writers put memo texts in UTF-8 beside
// ANSI values), the others text of the ANSI code page.
QString TfrxXMLReader::DecodeText(const char *Data, qsizetype Length)
{
    if (Length == 0)
        return QString();
    if (!FOldFormat) {
        QString text = QString::fromUtf8(Data, Length);
        if (text.contains(QChar::ReplacementCharacter))
            CheckDecoded(Data, Length, 0, Length, 65001);
        return text;
    }
    if (isAscii(Data, Length))
        return QString::fromLatin1(Data, Length);
    if (isUtf8Text(Data, Length))
        return QString::fromUtf8(Data, Length);
    const int codePage = systemAnsiCodePage();
    QString text;
    text.reserve(Length);
    qsizetype begin = 0;
    while (begin <= Length) {
        const char *quote = static_cast<const char *>(memchr(Data + begin, '"', size_t(Length - begin)));
        const qsizetype end = quote ? quote - Data : Length;
        const qsizetype size = end - begin;
        if (isAscii(Data + begin, size))
            text += QLatin1String(Data + begin, size);
        else if (isUtf8Text(Data + begin, size))
            text += QString::fromUtf8(Data + begin, size);
        else
            text += CheckDecoded(Data, Length, begin, end, codePage);
        if (!quote)
            break;
        text += QLatin1Char('"');
        begin = end + 1;
    }
    return text;
}

// Decodes bytes Begin..End of a tag's attribute text Data; when some of
// them are not text of the code page, the first such place of the document
// is kept for Unreadable(), named by object and attribute.
QString TfrxXMLReader::CheckDecoded(const char *Data, qsizetype Length, qsizetype Begin, qsizetype End,
                                    int CodePage)
{
    qsizetype bad = -1;
    const QString text = decodeCodePageChecked(QByteArray(Data + Begin, End - Begin), CodePage, bad);
    if (bad < 0 || !FUnreadable.isEmpty())
        return text;
    const QByteArrayView tag(Data, Length);
    // The value holding the bad byte and its attribute name before '="'.
    const qsizetype open = tag.first(Begin + bad).lastIndexOf('"');
    QByteArrayView attribute;
    if (open > 0 && tag[open - 1] == '=') {
        const qsizetype space = tag.first(open - 1).lastIndexOf(' ');
        attribute = tag.sliced(space + 1, open - 1 - space - 1);
    }
    QString object = FDecodingElement;
    const qsizetype name = tag.startsWith("Name=\"") ? 0 : tag.indexOf(" Name=\"");
    if (name >= 0) {
        const qsizetype from = tag.indexOf('"', name) + 1;
        const qsizetype to = tag.indexOf('"', from);
        if (to > from)
            object = QString::fromUtf8(tag.sliced(from, to - from));
    }
    FUnreadable = QStringLiteral("%1%2: the text is not valid %3")
                      .arg(object, attribute.isEmpty() ? QString() : QLatin1Char('.') + QString::fromLatin1(attribute),
                           codePageName(CodePage));
    return text;
}

void TfrxXMLReader::ReadItem(QString &Name, QString &Text)
{
    const char *d = nullptr;
    qsizetype n = 0;
    if (!ReadTagBytes(d, n)) {
        Name.clear();
        Text.clear();
        return;
    }
    if (n > 0 && d[n - 1] == ' ')
        --n;
    const char *space = n > 0 ? static_cast<const char *>(memchr(d, ' ', size_t(n))) : nullptr;
    const qsizetype nameLength = space ? space - d : n;
    Name = DecodeName(d, nameLength);
    FDecodingElement = Name;
    Text = space ? DecodeText(space + 1, d + n - space - 1) : QString();
}

// Reads one tag and classifies it. Name and Text are filled only with Decode
// (an end tag always fills Name); Marker tells whether the text carries the
// unloaded marker.
TfrxXMLReader::TTag TfrxXMLReader::ReadTag(QString &Name, QString &Text, bool Decode, bool &Marker)
{
    Marker = false;
    const char *d = nullptr;
    qsizetype n = 0;
    if (!ReadTagBytes(d, n)) {
        Name.clear();
        return TTag::End;
    }
    if (n > 0 && d[n - 1] == ' ')
        --n;
    const char *space = n > 0 ? static_cast<const char *>(memchr(d, ' ', size_t(n))) : nullptr;
    qsizetype nameLength = space ? space - d : n;
    const char *text = space ? space + 1 : d + n;
    qsizetype textLength = space ? d + n - text : 0;
    if (nameLength == 0 || d[0] == '/') {
        Name = DecodeName(d, nameLength);
        return TTag::End;
    }
    TTag kind = TTag::Open;
    if (d[nameLength - 1] == '/') {
        --nameLength;
        kind = TTag::Leaf;
    } else if (textLength > 0 && text[textLength - 1] == '/') {
        --textLength;
        kind = TTag::Leaf;
    }
    if (Decode) {
        Name = DecodeName(d, nameLength);
        FDecodingElement = Name;
        Text = DecodeText(text, textLength);
        Marker = textLength >= MarkerLength && hasMarker(text, textLength);
    }
    return kind;
}

void TfrxXMLReader::FinishItem(TfrxXMLItem *Item, qint64 StartPos, bool ReadChildren, bool Marker)
{
    if (!Marker)
        return;
    const qsizetype at = Item->FText.indexOf(QLatin1String(UnloadedMarker, MarkerLength), 0, Qt::CaseInsensitive);
    if (at < 0)
        return;
    Item->FText.remove(at, MarkerLength);
    if (!ReadChildren) {
        Item->Clear();
        Item->FOffset = StartPos;
        Item->FUnloadable = true;
        Item->FLoaded = false;
    }
}

void TfrxXMLReader::ReadHeader()
{
    QString name, text;
    ReadItem(name, text);
    if (!name.startsWith(QLatin1String("?xml")))
        invalidFormat();
    const qsizetype at = text.indexOf(QLatin1String("version="));
    if (at >= 0) {
        const QString version = text.mid(at + 9, 3);
        if (version == QLatin1String("1.0") && !text.contains(QLatin1String("standalone=")))
            FOldFormat = true;
    }
}

// The element tree is read with an explicit stack instead of recursion, so
// a deeply nested file cannot exhaust the call stack.
bool TfrxXMLReader::ReadRootItem(TfrxXMLItem *Item, bool ReadChildren)
{
    struct Frame {
        TfrxXMLItem *Item;
        qint64 Start;
        bool Marker;
    };
    QString name, text;
    bool marker = false;
    const qint64 rootStart = Position();
    const bool reread = !Item->FName.isEmpty();
    const TTag rootKind = ReadTag(name, text, !reread, marker);
    if (rootKind == TTag::End)
        return false;
    if (reread) {
        marker = Item->FText.contains(QLatin1String(UnloadedMarker, MarkerLength), Qt::CaseInsensitive);
    } else {
        Item->FName = std::move(name);
        Item->FText = std::move(text);
    }
    if (rootKind == TTag::Leaf) {
        FinishItem(Item, rootStart, ReadChildren, marker);
        return true;
    }

    std::vector<Frame> stack;
    stack.push_back({Item, rootStart, marker});
    while (!stack.empty()) {
        const qint64 start = Position();
        const TTag kind = ReadTag(name, text, true, marker);
        TfrxXMLItem *parent = stack.back().Item;
        if (kind == TTag::End) {
            // An end of stream (empty name) closes the element; the caller
            // learns it from Truncated().
            if (name.isEmpty())
                FTruncated = true;
            else {
                const QString &expected = parent->FName;
                if (name.size() != expected.size() + 1
                    || QStringView(name).mid(1).compare(expected, Qt::CaseInsensitive) != 0)
                    invalidFormat();
            }
            const Frame done = stack.back();
            stack.pop_back();
            FinishItem(done.Item, done.Start, ReadChildren, done.Marker);
            continue;
        }
        auto *child = new TfrxXMLItem;
        child->FName = std::move(name);
        child->FText = std::move(text);
        child->FParent = parent;
        parent->FItems.push_back(child);
        if (kind == TTag::Leaf)
            FinishItem(child, start, ReadChildren, marker);
        else
            stack.push_back({child, start, marker});
    }
    return true;
}
