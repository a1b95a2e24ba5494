#pragma once
// Drawing of the prepared pages store's pages, installed into the store.

// Makes TfrxPreviewPages::DrawPage draw the rebuilt page with rudDrawPage,
// giving memos the store's page count, copy number and print scale.
void rudInstallPreparedPagesDrawing();
