#pragma once
// A small report for the expression tests: one page, memos made on demand,
// the script prepared, and the steps the engine runs around each memo.

#include "EngineServices.h"
#include "base/DateTime.h"
#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudEngineInit.h"
#include "report/engine/rudExpressionCache.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "script/fs_iinterpreter.h"

#include <gtest/gtest.h>

struct TExpressionReport {
    bool Initialised = (rudEngineInit(), true);
    TfrxReport Report;
    TfrxReportPage *Page = new TfrxReportPage(&Report);

    TExpressionReport()
    {
        Report.SetServices(enginetest::engineServices());
        Page->SetName(QStringLiteral("Page1"));
    }

    // A memo named Name holding Text, on the page.
    TfrxMemoView *AddMemo(const QString &Name, const QString &Text)
    {
        auto *memo = new TfrxMemoView(Page);
        memo->SetName(Name);
        memo->SetText(Text);
        return memo;
    }
    // Prepares the script; the run starts on 5 March 2024 at 14:30.
    void Prepare()
    {
        ASSERT_TRUE(Report.PrepareScript()) << Report.Errors().join(u'\n').toStdString();
        Report.Engine()->FStartDate = EncodeDate(2024, 3, 5);
        Report.Engine()->FStartTime = EncodeTime(14, 30, 0, 0);
    }
    // BeforePrint and GetData as the engine runs them; the printed text
    // without its final line break.
    QString Expand(TfrxCustomMemoView *Memo)
    {
        Report.SetCurObject(Memo->Name());
        Memo->BeforePrint();
        Memo->GetData();
        return Memo->Memo().join(QStringLiteral("\r\n"));
    }
    // A memo's text expanded once, with its design text put back afterwards.
    QString ExpandText(const QString &Text)
    {
        TfrxMemoView *memo = AddMemo(QStringLiteral("Probe%1").arg(++FProbes), Text);
        const QString result = Expand(memo);
        memo->AfterPrint();
        return result;
    }

private:
    int FProbes = 0;
};
