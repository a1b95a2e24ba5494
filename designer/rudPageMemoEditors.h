#pragma once
// Registration of the page options and memo component editors.

// Registers TfrxPageEditor for report pages and TfrxMemoEditor for memos
// (rudRegisterComponentEditor); calling it again changes nothing.
void rudRegisterPageMemoEditors();
