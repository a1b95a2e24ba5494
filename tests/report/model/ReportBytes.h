#pragma once
// A report saved to and loaded from bytes in memory, as the model tests use it.

#include "report/model/rudReport.h"

#include <QBuffer>
#include <QByteArray>

namespace modeltest {

// The template the report writes, as bytes.
inline QByteArray save(TfrxReport &report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    report.SaveToStream(&buffer);
    return buffer.data();
}

// Loads a template text into report; a text without the XML header gets one,
// so tests may give only the elements.
inline void load(TfrxReport &report, const QByteArray &data)
{
    static const char header[] = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?>\r\n";
    QByteArray copy = data.startsWith("<?xml") ? data : QByteArray(header) + data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    report.LoadFromStream(&buffer);
}

} // namespace modeltest
