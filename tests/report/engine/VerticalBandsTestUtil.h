#pragma once
// Reports with vertical bands for the engine tests: trainees down and
// lessons across, the lessons numbered or grouped by kind, and the cells of
// a prepared band read back with their places on the page.

#include "EngineTestUtil.h"

#include "report/model/rudUnits.h"

#include <type_traits>

namespace vbandstest {

using namespace enginetest;

inline void prepare(TEngineReport &t)
{
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(t.Report.PrepareReport()) << t.Report.Errors().join("\n").toStdString();
}

inline std::unique_ptr<TfrxMemoryDataSet> table(const QStringList &Fields, const QList<QVariantList> &Rows)
{
    auto ds = std::make_unique<TfrxMemoryDataSet>();
    for (const QString &f : Fields)
        ds->AddField(f, f == "Name" || f == "Group" ? fftString : fftNumeric);
    for (const QVariantList &row : Rows)
        ds->AppendRow(row);
    return ds;
}

// A vertical band of class T over the data set Alias (for data bands) at
// Left, Width wide.
template <class T>
T *addVBand(TEngineReport &t, const QString &Name, double Left, double Width, const QString &Alias = {})
{
    auto *band = t.AddBand<T>(Name, 0, 0);
    band->SetVertical(true);
    band->SetBounds(Left, 0, Width, 300);
    if constexpr (std::is_base_of_v<TfrxDataBand, T>)
        band->SetDataSetName(Alias);
    return band;
}

// The memos of the bands named Band on page Index: "text@left" with the
// left on the page, and the rightmost right edge of any memo of the page.
struct TRow {
    QStringList Cells;
    double Right = 0;
};

inline TRow rowOf(TEngineReport &t, int Index, const QString &Band, int Occurrence = 0)
{
    TRow row;
    int seen = 0;
    for (TfrxComponent *band : t.Pages()->GetPage(Index)->Objects()) {
        for (TfrxComponent *c : band->Objects())
            row.Right = std::max(row.Right, band->Left() + c->Left() + c->Width());
        if (band->Name() != Band || seen++ != Occurrence)
            continue;
        for (TfrxComponent *c : band->Objects())
            if (auto *m = qobject_cast<TfrxCustomMemoView *>(c))
                row.Cells << QStringLiteral("%1@%2").arg(m->Memo().join('\n')).arg(band->Left() + m->Left());
    }
    return row;
}

// Trainees down (MasterData1 over T), numbered lessons across (a vertical
// master band over L, 40 wide, right of 100 of names): the page header
// numbers the lessons, each row holds "trainee:lesson" per lesson, the
// footer the count of rows per lesson, the page footer the page number.
// The page is Width wide. With Totals a vertical header (60 wide) comes
// before the lessons and a vertical footer (60 wide, the row's sum of
// lesson x trainee) after them.
struct TWideReport : TEngineReport {
    std::unique_ptr<TfrxMemoryDataSet> Trainees;
    std::unique_ptr<TfrxMemoryDataSet> Lessons = std::make_unique<TfrxMemoryDataSet>();

    TWideReport(double Width, int TraineeCount, double RowHeight, bool Totals = false)
    {
        QList<QVariantList> trainees;
        for (int i = 1; i <= TraineeCount; ++i)
            trainees << QVariantList{QStringLiteral("T%1").arg(i), i};
        Trainees = table({"Name", "Id"}, trainees);
        Lessons->AddField("No", fftNumeric);
        for (int i = 1; i <= 30; ++i)
            Lessons->AppendRow({i});
        AddDataSet(Trainees.get(), "T");
        AddDataSet(Lessons.get(), "L");
        NewPage()->SetPaperWidth(Width / fr01cm + 20);
        const double start = Totals ? 160 : 100;
        auto *header = AddBand<TfrxPageHeader>("PageHeader1", 0, 20);
        AddMemoAt(header, "HName", "Name", 0, 0, 100, 20);
        AddMemoAt(header, "HNo", "[L.\"No\"]", start, 0, 40, 20);
        auto *master = AddBand<TfrxMasterData>("MasterData1", 40, RowHeight);
        master->SetDataSetName("T");
        master->SetOutlineText("<T.\"Name\">");
        AddMemoAt(master, "Name", "[T.\"Name\"]", 0, 0, 100, 20);
        AddMemoAt(master, "Cell", "[T.\"Name\"]:[L.\"No\"]", start, 0, 40, 20);
        auto *footer = AddBand<TfrxFooter>("Footer1", 200, 20);
        AddMemoAt(footer, "FName", "Rows", 0, 0, 100, 20);
        AddMemoAt(footer, "FCount", "[COUNT(MasterData1)]", start, 0, 40, 20);
        auto *pageFooter = AddBand<TfrxPageFooter>("PageFooter1", 400, 20);
        AddMemoAt(pageFooter, "PageNo", "[Page#]", 0, 0, 100, 20);
        addVBand<TfrxMasterData>(*this, "VMaster", start, 40, "L");
        if (!Totals)
            return;
        AddMemoAt(header, "HLesson", "Lesson", 100, 0, 60, 20);
        AddMemoAt(master, "Row", "[T.\"Id\"]", 100, 0, 60, 20);
        AddMemoAt(header, "HTotal", "Total", 200, 0, 60, 20);
        AddMemoAt(master, "RowTotal", "[SUM(<L.\"No\"> * <T.\"Id\">)]", 200, 0, 60, 20);
        addVBand<TfrxHeader>(*this, "VHeader", 100, 60);
        addVBand<TfrxFooter>(*this, "VFooter", 200, 60);
    }
};


// Trainees down, lessons across grouped by kind (a vertical group header
// at 100, 30 wide, the lessons at 130, 40 wide, the group footer at 170,
// 50 wide, the footer at 220, 60 wide; the lessons over L with rows
// (Group, Qty)): the page header names groups and lessons, each row holds
// Qty x the trainee's Id per lesson, the group's subtotal and the row's
// total, the footer the totals per lesson, per group and overall. The page
// is Width wide (0: A5).
struct TGroupReport : TEngineReport {
    std::unique_ptr<TfrxMemoryDataSet> Trainees = table({"Name", "Id"}, {{"Ann", 1}, {"Bob", 2}});
    std::unique_ptr<TfrxMemoryDataSet> Lessons;
    TfrxGroupHeader *VGroup = nullptr;

    TGroupReport(const QList<QPair<QString, QVariant>> &Rows, double Width = 0) : Lessons(qtyData(Rows))
    {
        AddDataSet(Trainees.get(), "T");
        AddDataSet(Lessons.get(), "L");
        NewPage();
        if (Width > 0)
            Page->SetPaperWidth(Width / fr01cm + 20);
        const QString value = "<L.\"Qty\"> * <T.\"Id\">";
        auto *header = AddBand<TfrxPageHeader>("PageHeader1", 0, 20);
        AddMemoAt(header, "HName", "Name", 0, 0, 100, 20);
        AddMemoAt(header, "HGroup", "[L.\"Group\"]:", 100, 0, 30, 20);
        AddMemoAt(header, "HQty", "[L.\"Qty\"]", 130, 0, 40, 20);
        AddMemoAt(header, "HSub", "sub", 170, 0, 50, 20);
        AddMemoAt(header, "HTotal", "total", 220, 0, 60, 20);
        auto *master = AddBand<TfrxMasterData>("MasterData1", 40, 20);
        master->SetDataSetName("T");
        AddMemoAt(master, "Name", "[T.\"Name\"]", 0, 0, 100, 20);
        AddMemoAt(master, "Value", "[" + value + "]", 130, 0, 40, 20);
        AddMemoAt(master, "Sub", "[SUM(" + value + ")]", 170, 0, 50, 20);
        AddMemoAt(master, "Total", "[SUM(" + value + ")]", 220, 0, 60, 20);
        auto *footer = AddBand<TfrxFooter>("Footer1", 80, 20);
        AddMemoAt(footer, "FName", "Sum", 0, 0, 100, 20);
        AddMemoAt(footer, "FValue", "[SUM(" + value + ", MasterData1)]", 130, 0, 40, 20);
        AddMemoAt(footer, "FSub", "[SUM(" + value + ", MasterData1)]", 170, 0, 50, 20);
        AddMemoAt(footer, "FTotal", "[SUM(" + value + ", MasterData1)]", 220, 0, 60, 20);
        VGroup = addVBand<TfrxGroupHeader>(*this, "VGroup", 100, 30);
        VGroup->SetCondition("<L.\"Group\">");
        addVBand<TfrxMasterData>(*this, "VMaster", 130, 40, "L");
        addVBand<TfrxGroupFooter>(*this, "VGroupFooter", 170, 50);
        addVBand<TfrxFooter>(*this, "VFooter", 220, 60);
    }
};

} // namespace vbandstest
