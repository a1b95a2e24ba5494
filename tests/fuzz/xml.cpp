// A document of the engine's XML dialect: read whole or partially (the
// first byte chooses), the unloaded parts read back, written, packed and
// written again. The written text of a document read whole must not change
// by packing. (Each read-back of an unloaded element takes one more
// unloaded marker out of its attribute text, so a partially read element
// whose text holds the marker twice is written differently each time.)

#include "tests/fuzz/FuzzSupport.h"

#include "report/model/rudXML.h"

#include <QBuffer>
#include <cstdlib>

namespace {

QByteArray saved(TfrxXMLDocument &Doc)
{
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    Doc.SaveToStream(&target);
    return target.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt();
    if (Size == 0)
        return 0;
    const bool partial = Data[0] & 1;
    QByteArray bytes(reinterpret_cast<const char *>(Data) + 1, qsizetype(Size - 1));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TfrxXMLDocument doc;
    try {
        doc.LoadFromStream(&buffer, partial);
        for (int i = 0; i < doc.Root()->Count(); ++i)
            doc.LoadItem(doc.Root()->Items(i));
    } catch (const TfrxInvalidXMLException &) {
        return 0;
    }
    const QByteArray before = saved(doc);
    for (int i = 0; i < doc.Root()->Count(); ++i)
        doc.Root()->Items(i)->Pack();
    if (!partial && saved(doc) != before)
        std::abort();
    return 0;
}
