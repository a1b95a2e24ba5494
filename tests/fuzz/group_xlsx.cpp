// A group list in XLSX. Fuzzing the zip container's bytes would rarely get
// past its checksums, so the input is mostly the book's parts, packed
// here: "@@ NAME" on a line of its own begins a part of that name (e.g.
// "@@ xl/workbook.xml"), the lines up to the next such line are its
// content. An input that begins with a zip's signature is the file itself.

#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/GroupListFuzz.h"

#include <zip.h>

#include <QFile>
#include <QList>
#include <QPair>
#include <cstdlib>

namespace {

// The parts of an input in the "@@ NAME" form, in order.
QList<QPair<QByteArray, QByteArray>> parts(const QByteArray &Input)
{
    QList<QPair<QByteArray, QByteArray>> result;
    qsizetype at = 0;
    while (at < Input.size()) {
        const qsizetype nameEnd = Input.indexOf('\n', at);
        const QByteArray name = Input.mid(at + 3, nameEnd < 0 ? -1 : nameEnd - at - 3);
        if (nameEnd < 0)
            break;
        const qsizetype next = Input.indexOf("\n@@ ", nameEnd);
        result.append({name, Input.mid(nameEnd + 1, next < 0 ? -1 : next - nameEnd - 1)});
        at = next < 0 ? Input.size() : next + 1;
    }
    return result;
}

// Packs Parts, stored without compression, into the zip file Path; false
// when libzip makes no file of them (none it takes).
bool pack(const QString &Path, const QList<QPair<QByteArray, QByteArray>> &Parts)
{
    QFile::remove(Path);
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(Path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!zip)
        std::abort();
    for (const auto &[name, content] : Parts) {
        zip_source_t *source = zip_source_buffer(zip, content.constData(), zip_uint64_t(content.size()), 0);
        if (!source)
            std::abort();
        const zip_int64_t index = zip_file_add(zip, name.constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            // A name libzip refuses (empty, say) is left out.
            zip_source_free(source);
            continue;
        }
        zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(zip) != 0) {
        zip_discard(zip);
        return false;
    }
    return QFile::exists(Path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    const QByteArray input(reinterpret_cast<const char *>(Data), qsizetype(Size));
    if (input.startsWith("PK\x03\x04")) {
        fuzzReadGroupList(fuzzWriteFile(QStringLiteral("raw.xlsx"), input));
        return 0;
    }
    if (!input.startsWith("@@ "))
        return 0;
    const QString path = fuzzWriteFile(QStringLiteral("book.xlsx"), QByteArray());
    if (pack(path, parts(input)))
        fuzzReadGroupList(path);
    return 0;
}
