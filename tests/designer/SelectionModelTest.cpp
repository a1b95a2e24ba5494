// The designer's selection on a real report page: the page stands in for
// an empty selection, picks complete groups, Shift takes a group out whole,
// select all keeps to a band, freed objects leave, and the part that made
// a change is named when it is announced.

#include "designer/rudSelectionModel.h"
#include "report/model/rudBand.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using TList = QList<TfrxComponent *>;

TEST(SelectionModel, KeepsItsRulesWhateverPartChangesIt)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    auto *band = new TfrxMasterData(page);
    auto *a = new TfrxMemoView(band);
    auto *b = new TfrxMemoView(page);
    auto *c = new TfrxMemoView(page);
    b->SetGroupIndex(3);
    c->SetGroupIndex(3);
    TfrxSelectionModel selection;
    selection.SetPage(page);
    EXPECT_EQ(selection.Objects(), TList{page});

    // A pick drops the page and repeats and brings the rest of a group.
    EXPECT_TRUE(selection.Select({page, b, b}));
    EXPECT_EQ(selection.Objects(), (TList{b, c}));
    EXPECT_FALSE(selection.Select({b}));
    // Shift on a grouped object takes the group out; the page remains.
    EXPECT_TRUE(selection.Toggle(c));
    EXPECT_EQ(selection.Objects(), TList{page});
    EXPECT_TRUE(selection.Toggle(a));
    EXPECT_EQ(selection.Objects(), TList{a});
    // A list pick is taken as it stands, groups or not.
    selection.Assign({b});
    EXPECT_EQ(selection.Objects(), TList{b});

    // Select all: the page's children, or the children of the band of the
    // single selected object.
    selection.Assign({a});
    selection.SelectAll();
    EXPECT_EQ(selection.Objects(), TList{a});
    selection.Clear();
    selection.SelectAll();
    EXPECT_EQ(selection.Objects(), (TList{band, b, c}));

    // A band about to be freed takes its objects out of the selection.
    selection.Assign({a, b});
    selection.Forget(band);
    EXPECT_EQ(selection.Objects(), TList{b});
    selection.Forget(b);
    EXPECT_EQ(selection.Objects(), TList{page});
    // Objects freed elsewhere leave when the parts catch up.
    selection.Assign({b, c});
    delete b;
    selection.KeepExisting();
    EXPECT_EQ(selection.Objects(), TList{c});

    QSignalSpy changed(&selection, &TfrxSelectionModel::Changed);
    selection.Notify(&report);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().first().value<QObject *>(), &report);
}
