#pragma once
// Helpers of the designer part tests: a stand-in designer window that
// records what its parts tell it, the certificate template loaded into a
// report whose settings store is a file of the test, and small lookups.

#include "DesignerServices.h"
#include "base/Errors.h"
#include "designer/rudCustomDesigner.h"
#include "designer/rudDsgnIntf.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

// The designer window as its parts see it, recording the calls they make.
class TStandInDesigner : public TfrxCustomDesigner {
public:
    using TfrxCustomDesigner::TfrxCustomDesigner;
    void SetModified(bool Value, QObject *Sender) override
    {
        TfrxCustomDesigner::SetModified(Value, Sender);
        ModifiedCalls.emplace_back(Value, Sender);
    }
    void SelectionChanged(QObject *Sender) override { SelectionSenders.push_back(Sender); }

    std::vector<std::pair<bool, QObject *>> ModifiedCalls;
    std::vector<QObject *> SelectionSenders;
};

// The certificate template in a report, with a designer showing its page.
struct TCertificate {
    TCertificate()
    {
        EXPECT_TRUE(Report.LoadFromFile(sourceDir() + QStringLiteral("/resources/shablon.fr3")));
        Report.SetIniFile(Folder.filePath(QStringLiteral("settings.ini")));
        Page = dynamic_cast<TfrxReportPage *>(Report.FindObject(QStringLiteral("Page1")));
        Designer = std::make_unique<TStandInDesigner>(&Report);
        Designer->SetPage(Page);
        Designer->RebuildObjects();
    }
    TfrxMemoView *Memo(int Number)
    {
        return dynamic_cast<TfrxMemoView *>(Report.FindObject(QStringLiteral("Memo%1").arg(Number)));
    }
    void Select(const QList<TfrxComponent *> &Objects) { Designer->Selection().Assign(Objects); }

    QTemporaryDir Folder;
    TDesignerReport Report;
    TfrxReportPage *Page = nullptr;
    std::unique_ptr<TStandInDesigner> Designer;
};

// The row of a list at a path of names ("Font.Charset"), or nullptr.
inline TfrxPropertyItem *findItem(TfrxPropertyList *List, const QString &Path)
{
    TfrxPropertyItem *item = nullptr;
    for (const QString &name : Path.split(QLatin1Char('.'))) {
        if (!List)
            return nullptr;
        item = List->Find(name);
        if (!item)
            return nullptr;
        List = item->SubProperty.get();
    }
    return item;
}

// The names of a list's rows, in order.
inline QStringList rowNames(const TfrxPropertyList &List)
{
    QStringList names;
    for (int i = 0; i < List.Count(); ++i)
        names << List.Items(i).Editor->GetName();
    return names;
}

// The message of the exception Action raises ("" when it raises none).
template <class F>
QString errorOf(F &&Action)
{
    try {
        Action();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

// Types Text into an edit box over its whole text, as keys.
inline void typeInto(QLineEdit *Edit, const QString &Text)
{
    Edit->selectAll();
    for (const QChar ch : Text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(Edit, &press);
    }
}

// Presses a key in a widget.
inline void pressKey(QWidget *Widget, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, Key, Modifiers);
    QApplication::sendEvent(Widget, &press);
}
