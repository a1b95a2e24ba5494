// The preview's access to the report's prepared pages.

#include "report/render/rudPreview.h"

#include <QTreeWidget>

int TfrxPreview::PreparedPageCount() const { return 0; }
QSize TfrxPreview::PageSize(int) const { return QSize(); }
void TfrxPreview::DrawPage(int, QPainter &, double, QPointF) const {}
QList<TfrxPreviewTextRecord> TfrxPreview::PageTextRecords(int) const { return {}; }
void TfrxPreview::FillOutline(QTreeWidget *) const {}
void TfrxPreview::Print() {}
void TfrxPreview::SaveToFile() {}
void TfrxPreview::SaveToFile(const QString &) {}
void TfrxPreview::LoadFromFile() {}
void TfrxPreview::LoadFromFile(const QString &) {}
void TfrxPreview::PageSetupDlg() {}
void TfrxPreview::Edit() {}
void TfrxPreview::ShowTemplate() {}
void TfrxPreview::Cancel() {}
void TfrxPreview::RefreshReport() {}
