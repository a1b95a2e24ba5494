#pragma once
// Reports for the engine tests: the certificate template, or an A5 page of
// bands built in code, prepared with a recording user interface; and the
// texts of the prepared pages read back from the store.

#include "EngineServices.h"
#include "report/engine/rudEngine.h"
#include "report/engine/rudEngineInit.h"
#include "report/engine/rudPreviewPages.h"
#include "report/engine/rudProgress.h"
#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include "support/TestSupport.h"

#include <QMap>
#include <functional>
#include <gtest/gtest.h>

// Readable failures: texts and lists of texts as they are.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << "\n  [" << l.join(QStringLiteral("\n   ")).toStdString() << ']';
}

namespace enginetest {

struct TEngineReport {
    bool Initialised = (rudEngineInit(), true);
    TRecordingUserInterface UI;
    TfrxReport Report;
    bool Served = (Report.SetServices(engineServices()), true);
    TfrxReportPage *Page = nullptr;

    // The program's certificate template.
    void LoadCertificate()
    {
        ASSERT_TRUE(Report.LoadFromFile(sourceDir() + "/resources/shablon.fr3"));
    }
    // An A5 page with 10 mm margins (printable 483.77984 x 718.1107).
    TfrxReportPage *NewPage()
    {
        Page = new TfrxReportPage(&Report);
        Page->SetName(QStringLiteral("Page%1").arg(Report.Objects().size()));
        Page->SetPaperSize(11);
        Page->SetLeftMargin(10);
        Page->SetRightMargin(10);
        Page->SetTopMargin(10);
        Page->SetBottomMargin(10);
        return Page;
    }
    // A band of class T named Name at Top with Height, across the page.
    template <class T>
    T *AddBand(const QString &Name, double Top, double Height)
    {
        if (!Page)
            NewPage();
        auto *band = new T(Page);
        band->SetName(Name);
        band->SetBounds(0, Top, 480, Height);
        return band;
    }
    // A memo on Parent at Left, 0 with Text.
    TfrxMemoView *AddMemo(TfrxComponent *Parent, const QString &Name, const QString &Text, double Left = 0,
                          double Height = 16)
    {
        auto *memo = new TfrxMemoView(Parent);
        memo->SetName(Name);
        memo->SetBounds(Left, 0, 200, Height);
        memo->SetText(Text);
        return memo;
    }
    // A memo on Parent with the given bounds and Text.
    TfrxMemoView *AddMemoAt(TfrxComponent *Parent, const QString &Name, const QString &Text, double Left,
                            double Top, double Width, double Height)
    {
        TfrxMemoView *memo = AddMemo(Parent, Name, Text, Left, Height);
        memo->SetBounds(Left, Top, Width, Height);
        return memo;
    }
    // Registers DataSet as Alias.
    void AddDataSet(TfrxDataSet *DataSet, const QString &Alias)
    {
        TfrxDataSetItem *item = Report.DataSets()->Add();
        item->SetDataSet(DataSet);
        item->SetDataSetName(Alias);
        DataSet->SetUserName(Alias);
    }
    TfrxCustomPreviewPages *Pages() { return Report.PreviewPages(); }
    // The printed texts of the memos of prepared page Index, by memo name
    // (the last one of a name wins), lines joined by "\n".
    QMap<QString, QString> PrintedTexts(int Index)
    {
        QMap<QString, QString> texts;
        for (TfrxComponent *c : Pages()->GetPage(Index)->AllObjects())
            if (auto *m = qobject_cast<TfrxCustomMemoView *>(c))
                texts[m->Name()] = m->Memo().join('\n');
        return texts;
    }
    // Every printed memo text of page Index from top to bottom, with the
    // names of their bands: "Band:Text".
    QStringList Lines(int Index)
    {
        QStringList lines;
        for (TfrxComponent *band : Pages()->GetPage(Index)->Objects())
            for (TfrxComponent *c : band->Objects())
                if (auto *m = qobject_cast<TfrxCustomMemoView *>(c))
                    lines << band->Name() + ':' + m->Memo().join('\n');
        return lines;
    }
    // The bands of page Index with their places: "Band@left,top" (the null
    // band, which has no name, left out).
    QStringList Places(int Index)
    {
        QStringList places;
        for (TfrxComponent *band : Pages()->GetPage(Index)->Objects())
            if (!band->Name().isEmpty())
                places << QStringLiteral("%1@%2,%3").arg(band->Name()).arg(band->Left()).arg(band->Top());
        return places;
    }
    // The memos of the bands of page Index with their places in their band:
    // "Band:Text@left,top".
    QStringList Cells(int Index)
    {
        QStringList cells;
        for (TfrxComponent *band : Pages()->GetPage(Index)->Objects())
            for (TfrxComponent *c : band->Objects())
                if (auto *m = qobject_cast<TfrxCustomMemoView *>(c))
                    cells << QStringLiteral("%1:%2@%3,%4")
                                 .arg(band->Name(), m->Memo().join('\n'))
                                 .arg(m->Left())
                                 .arg(m->Top());
        return cells;
    }
    // The outline as "text page top", one line per entry, indented by one
    // space per level.
    QStringList Outline()
    {
        QStringList lines;
        std::function<void(TfrxXMLItem *, int)> walk = [&](TfrxXMLItem *Item, int Depth) {
            for (int i = 0; i < Item->Count(); ++i) {
                TfrxXMLItem *entry = Item->Items(i);
                lines << QString(Depth, ' ') + entry->Prop("text") + ' ' + entry->Prop("page") + ' ' +
                             entry->Prop("top");
                walk(entry, Depth + 1);
            }
        };
        walk(Pages()->Outline()->Root(), 0);
        return lines;
    }
    // Every line of every page.
    QStringList AllLines()
    {
        QStringList all;
        for (int i = 0; i < Pages()->Count(); ++i)
            all << Lines(i);
        return all;
    }
};

// A data set of rows (Group, Qty); a null Qty is an empty value.
inline std::unique_ptr<TfrxMemoryDataSet> qtyData(const QList<QPair<QString, QVariant>> &Rows)
{
    auto ds = std::make_unique<TfrxMemoryDataSet>();
    ds->AddField("Group");
    ds->AddField("Qty", fftNumeric);
    for (const auto &[group, qty] : Rows)
        ds->AppendRow({group, qty});
    return ds;
}

} // namespace enginetest
