// The designer's clipboard text: writing the copied objects as template
// elements and reading them back as new objects of a page.

#include "designer/rudDesgnClipboard.h"

#include "report/model/rudBand.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudNameIndex.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudXML.h"
#include "report/model/rudXMLSerializer.h"

#include <QBuffer>
#include <QSet>
#include <algorithm>
#include <limits>

namespace {

// Bands a page has at most one of.
bool isSingleBand(const TfrxComponent *Object)
{
    return qobject_cast<const TfrxReportTitle *>(Object) || qobject_cast<const TfrxReportSummary *>(Object) ||
           qobject_cast<const TfrxPageHeader *>(Object) || qobject_cast<const TfrxPageFooter *>(Object) ||
           qobject_cast<const TfrxColumnHeader *>(Object) || qobject_cast<const TfrxColumnFooter *>(Object);
}

bool hasSelectedAncestor(const TfrxComponent *Object, const QSet<const TfrxComponent *> &Copied)
{
    for (const TfrxComponent *p = Object->Parent(); p; p = p->Parent())
        if (Copied.contains(p))
            return true;
    return false;
}

} // namespace

bool rudIsClipboardText(const QString &Text)
{
    return Text.startsWith(QLatin1String(rudClipboardHeader));
}

QString rudCopyObjectsText(const QList<TfrxComponent *> &Selected, TfrxPage *Page)
{
    if (!Page)
        return {};
    QSet<const TfrxComponent *> chosen;
    for (TfrxComponent *object : Selected)
        if (object && object != Page && !qobject_cast<TfrxReport *>(object) && !qobject_cast<TfrxPage *>(object))
            chosen.insert(object);
    if (chosen.isEmpty())
        return {};
    // In tree order: the chosen objects and every child of a chosen band.
    QList<TfrxComponent *> copied;
    QSet<const TfrxComponent *> copiedSet;
    for (TfrxComponent *object : Page->AllObjects()) {
        const bool underBand = [&] {
            for (const TfrxComponent *p = object->Parent(); p && p != Page; p = p->Parent())
                if (chosen.contains(p) && qobject_cast<const TfrxBand *>(p))
                    return true;
            return false;
        }();
        if (chosen.contains(object) || underBand) {
            copied.append(object);
            copiedSet.insert(object);
        }
    }
    double minLeft = std::numeric_limits<double>::max(), minTop = std::numeric_limits<double>::max();
    for (TfrxComponent *object : copied)
        if (!hasSelectedAncestor(object, copiedSet)) {
            minLeft = std::min(minLeft, object->AbsLeft());
            minTop = std::min(minTop, object->AbsTop());
        }

    QString text = QLatin1String(rudClipboardHeader) + QStringLiteral("\n\r");
    TfrxXMLSerializer serializer(nullptr);
    for (TfrxComponent *object : copied) {
        // Written with the position relative to the set's corner, then put back.
        const double left = object->Left(), top = object->Top();
        const double absLeft = object->AbsLeft(), absTop = object->AbsTop();
        object->SetLeft(absLeft - minLeft);
        object->SetTop(absTop - minTop);
        const QString attributes = serializer.ObjToXML(object);
        object->SetLeft(left);
        object->SetTop(top);
        text += QLatin1Char('<') + QString::fromLatin1(object->metaObject()->className()) + QStringLiteral(" Name=\"") +
                rudStrToXML(object->Name()) + QLatin1Char('"') + attributes + QStringLiteral("/>");
    }
    return text;
}

void rudPlaceOnPage(TfrxPage *Page, TfrxComponent *Object, double AbsLeft, double AbsTop)
{
    TfrxComponent *parent = Page;
    if (!qobject_cast<TfrxBand *>(Object)) {
        // The topmost band under the point takes the object.
        const QList<TfrxComponent *> &objects = Page->Objects();
        for (auto it = objects.crbegin(); it != objects.crend(); ++it) {
            auto *band = qobject_cast<TfrxBand *>(*it);
            if (!band || band == Object)
                continue;
            if (AbsLeft >= band->Left() && AbsLeft < band->Left() + band->Width() && AbsTop >= band->Top() &&
                AbsTop < band->Top() + band->Height()) {
                parent = band;
                break;
            }
        }
    }
    if (Object->Parent() != parent)
        Object->SetParent(parent);
    Object->SetLeft(parent == Page ? AbsLeft : AbsLeft - parent->Left());
    Object->SetTop(parent == Page ? AbsTop : AbsTop - parent->Top());
}

QList<TfrxComponent *> rudPasteObjectsText(const QString &Text, TfrxPage *Page, double Left, double Top)
{
    QList<TfrxComponent *> pasted;
    if (!Page || !rudIsClipboardText(Text))
        return pasted;
    const qsizetype bodyStart = Text.indexOf(QLatin1Char('<'));
    if (bodyStart < 0)
        return pasted;
    QByteArray document = "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"no\"?><clipboard>" + Text.mid(bodyStart).toUtf8() +
                          "</clipboard>";
    QBuffer buffer(&document);
    buffer.open(QIODevice::ReadOnly);
    TfrxXMLDocument xml;
    try {
        xml.LoadFromStream(&buffer);
    } catch (const std::exception &) {
        // Text that only starts like ours pastes nothing.
        return pasted;
    }

    TfrxReport *report = Page->Report();
    // names: what a pasted object's name must not repeat; taken: every name
    // in the report, from which the renamed ones get their numbers.
    QSet<QString> names;
    TfrxUniqueNames taken;
    if (report)
        for (TfrxComponent *object : report->AllObjects()) {
            names.insert(object->Name().toUpper());
            taken.Add(object->Name());
        }
    TfrxXMLSerializer serializer(nullptr);
    serializer.SetOwner(report ? static_cast<TfrxComponent *>(report) : Page);
    TfrxXMLItem *root = xml.Root();
    for (int i = 0; i < root->Count(); ++i) {
        TfrxXMLItem *item = root->Items(i);
        const TfrxClassEntry entry = rudFindClass(item->Name());
        if (!entry.Create)
            continue;
        TfrxComponent *object = entry.Create(nullptr);
        serializer.XMLToObj(item->Text(), object);
        if (qobject_cast<TfrxPage *>(object) || qobject_cast<TfrxReport *>(object)) {
            delete object;
            continue;
        }
        if (isSingleBand(object)) {
            const bool present = std::any_of(Page->Objects().cbegin(), Page->Objects().cend(), [&](TfrxComponent *c) {
                return c->metaObject() == object->metaObject();
            });
            if (present) {
                delete object;
                continue;
            }
        }
        object->SetGroupIndex(0);
        const double absLeft = Left + object->Left(), absTop = Top + object->Top();
        object->SetParent(Page);
        rudPlaceOnPage(Page, object, absLeft, absTop);
        if (report)
            for (TfrxComponent *child : object->AllObjects())
                taken.Add(child->Name());
        if (object->Name().isEmpty() || names.contains(object->Name().toUpper())) {
            if (report)
                object->CreateUniqueName(taken);
            else
                object->CreateUniqueName();
        }
        names.insert(object->Name().toUpper());
        taken.Add(object->Name());
        pasted.append(object);
    }
    serializer.FixupReferences();
    return pasted;
}
