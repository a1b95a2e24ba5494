// The writer of the XML dialect: names in the ANSI code page, attribute text
// and values UTF-8, lines collected in one 8-bit buffer.

#include "base/Xml.h"

#include "base/CodePages.h"

namespace {
constexpr size_t FlushThreshold = 4096;
}

TfrxXMLWriter::TfrxXMLWriter(QIODevice *Stream) : FStream(Stream)
{
    FBuffer.reserve(FlushThreshold * 2);
}

TfrxXMLWriter::~TfrxXMLWriter() = default;

void TfrxXMLWriter::Flush()
{
    if (FBuffer.empty() || !FStream)
        return;
    // The swap file is also read from while it is written: always append.
    if (FStream == FTempStream && !FStream->isSequential())
        FStream->seek(FStream->size());
    const qint64 size = qint64(FBuffer.size());
    const qint64 written = FStream->write(FBuffer.data(), size);
    FBuffer.clear();
    if (written != size)
        throw EInOutError(QStringLiteral("Stream write error"));
}

void TfrxXMLWriter::LineEnd()
{
    if (FAutoIndent)
        FBuffer += "\r\n";
    if (FBuffer.size() > FlushThreshold)
        Flush();
}

void TfrxXMLWriter::WriteLn(const QByteArray &S)
{
    FBuffer.append(S.constData(), size_t(S.size()));
    LineEnd();
}

void TfrxXMLWriter::WriteHeader()
{
    WriteLn(QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>"));
}

void TfrxXMLWriter::AppendName(const QString &Name)
{
    const QChar *s = Name.constData();
    const qsizetype n = Name.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (s[i].unicode() >= 0x80) {
            const QByteArray bytes = encodeCodePage(Name, systemAnsiCodePage());
            FBuffer.append(bytes.constData(), size_t(bytes.size()));
            return;
        }
    }
    const size_t at = FBuffer.size();
    FBuffer.resize(at + size_t(n));
    char *out = FBuffer.data() + at;
    for (qsizetype i = 0; i < n; ++i)
        out[i] = char(s[i].unicode());
}

// UTF-16 to UTF-8 straight into the buffer; a lone surrogate becomes U+FFFD.
void TfrxXMLWriter::AppendUtf8(const QString &Text)
{
    const char16_t *s = reinterpret_cast<const char16_t *>(Text.constData());
    const qsizetype n = Text.size();
    const size_t at = FBuffer.size();
    FBuffer.resize(at + size_t(n) * 3);
    unsigned char *out = reinterpret_cast<unsigned char *>(FBuffer.data() + at);
    unsigned char *const begin = out;
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            *out++ = static_cast<unsigned char>(c);
            continue;
        }
        if (c < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
                ++i;
                *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
                *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
                *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
                *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
                continue;
            }
            c = 0xFFFD;
        }
        *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    FBuffer.resize(at + size_t(out - begin));
}

void TfrxXMLWriter::WriteStartTag(TfrxXMLItem *Item, int Level)
{
    if (FAutoIndent)
        FBuffer.append(size_t(Level), ' ');
    FBuffer += '<';
    AppendName(Item->Name());
    const QString &text = Item->Text();
    if (!text.isEmpty() || Item->Unloadable()) {
        if (text.isEmpty() || text[0] != u' ')
            FBuffer += ' ';
        AppendUtf8(text);
        if (Item->Unloadable())
            FBuffer += "ld=\"0\"";
    }
    if (Item->Count() > 0 || Item->Packed()) {
        FBuffer += '>';
    } else if (!Item->Value().isEmpty()) {
        FBuffer += '>';
        AppendUtf8(Item->Value());
        FBuffer += "</";
        AppendName(Item->Name());
        FBuffer += '>';
    } else {
        FBuffer += "/>";
    }
    LineEnd();
}

void TfrxXMLWriter::WriteEndTag(TfrxXMLItem *Item, int Level)
{
    if (FAutoIndent)
        FBuffer.append(size_t(Level), ' ');
    FBuffer += "</";
    AppendName(Item->Name());
    FBuffer += '>';
    LineEnd();
}

// Writes the subtree with an explicit stack (no recursion on deep trees).
// An unloaded item is read back for the time it is written, then cleared.
// Packed children are the very text the writer makes without indenting, so
// they are copied as they are; with indenting they are read into a copy.
void TfrxXMLWriter::WriteRootItem(TfrxXMLItem *Item)
{
    struct Frame {
        TfrxXMLItem *Item;
        int Next;
        int Level;
        bool Reloaded;
        std::unique_ptr<TfrxXMLItem> Copy;   // an unpacked copy being written
    };
    std::vector<Frame> stack;
    auto open = [&](TfrxXMLItem *item, int level) {
        if (item->Packed()) {
            if (!FAutoIndent) {
                WriteStartTag(item, level);
                const QByteArray &packed = item->FExtra->Packed;
                FBuffer.append(packed.constData(), size_t(packed.size()));
                WriteEndTag(item, level);
                return;
            }
            std::unique_ptr<TfrxXMLItem> copy = item->UnpackedCopy();
            WriteStartTag(copy.get(), level);
            TfrxXMLItem *written = copy.get();
            stack.push_back({written, 0, level, false, std::move(copy)});
            return;
        }
        bool reloaded = false;
        if (item->Unloadable() && !item->Loaded() && FTempStream) {
            Flush();
            {
                TfrxXMLReader reader(FTempStream);
                reader.SetPosition(item->Offset());
                try {
                    reader.ReadRootItem(item, true);
                } catch (...) {
                    item->Clear();
                    throw;
                }
            }
            item->SetLoaded(true);
            reloaded = true;
        }
        WriteStartTag(item, level);
        if (item->Count() > 0)
            stack.push_back({item, 0, level, reloaded, nullptr});
        else if (reloaded)
            item->Clear();
    };

    open(Item, 0);
    while (!stack.empty()) {
        Frame &top = stack.back();
        if (top.Next < top.Item->Count()) {
            TfrxXMLItem *child = top.Item->Items(top.Next++);
            const int level = FAutoIndent ? top.Level + 2 : 0;
            open(child, level);
            continue;
        }
        const Frame done = std::move(top);
        stack.pop_back();
        WriteEndTag(done.Item, done.Level);
        if (done.Reloaded)
            done.Item->Clear();
    }
    Flush();
}
