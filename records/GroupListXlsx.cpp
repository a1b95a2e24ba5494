// Group lists in XLSX: a stub until the reader lands.

#include "records/GroupList_p.h"

TSheetTable readXlsxTable(const QString &FileName, const QString &)
{
    failGroupList(FileName, QStringLiteral("книги XLSX пока не читаются"));
}
