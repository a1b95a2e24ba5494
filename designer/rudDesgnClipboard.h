#pragma once
// The designer's clipboard text: a header line, then one template element
// per copied object, positions relative to the copied set's top-left corner.

#include <QList>
#include <QString>

class TfrxComponent;
class TfrxPage;

// The first line of the designer's clipboard text.
inline constexpr char rudClipboardHeader[] = "#FR3 clipboard#";

// True when Text begins with the clipboard header.
bool rudIsClipboardText(const QString &Text);
// The clipboard text of Selected (objects of Page; the page itself and the
// report are skipped) in the page's tree order. A selected band takes all
// its children along. Empty when nothing is copied.
QString rudCopyObjectsText(const QList<TfrxComponent *> &Selected, TfrxPage *Page);
// Creates the objects of a clipboard text on Page at the positions they had
// relative to each other, with (Left, Top) as the corner of the set. Page
// bands the page already has are dropped; a name in use by another object
// of the report is replaced by a new unique one; group indexes are reset.
// Views land on the band under them. Answers the new objects in order.
QList<TfrxComponent *> rudPasteObjectsText(const QString &Text, TfrxPage *Page, double Left = 0, double Top = 0);
// Puts Object (already a child of Page's tree or new) onto the band of Page
// under the absolute point (AbsLeft, AbsTop), or onto the page when no band
// lies there, at that point. Bands always go onto the page.
void rudPlaceOnPage(TfrxPage *Page, TfrxComponent *Object, double AbsLeft, double AbsTop);
