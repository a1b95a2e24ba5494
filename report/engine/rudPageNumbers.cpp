// The page numbers expressions show.

#include "report/engine/rudPageNumbers.h"

// Until the store exists, a report is on its first page.
int rudLogicalPageNo(TfrxReport *)
{
    return 1;
}

int rudLogicalTotalPages(TfrxReport *)
{
    return 0;
}

int rudCurPage(TfrxReport *)
{
    return 0;
}
