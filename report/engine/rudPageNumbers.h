#pragma once
// The page numbers expressions show, read from the report's prepared pages
// store: "Page" (logical page number), "Page#" (physical) and "TotalPages".

class TfrxReport;

// The logical number of the current prepared page.
int rudLogicalPageNo(TfrxReport *Report);
// The logical total pages of the current page (0 while not yet known).
int rudLogicalTotalPages(TfrxReport *Report);
// The index of the current prepared page (-1 before the first).
int rudCurPage(TfrxReport *Report);
