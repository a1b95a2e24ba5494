// A report reaches what the rooms above the model provide only through the
// services it is given: one it lacks is named in a clear error.

#include "EngineTestUtil.h"

#include "base/Errors.h"

using namespace enginetest;

TEST(ReportServices, AMissingServiceIsNamedInsteadOfSkipped)
{
    TfrxReport bare;
    try {
        bare.PrepareReport();
        ADD_FAILURE() << "prepared without services";
    } catch (const EMissingService &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The report has no run-side service"));
    }

    // The engine alone cannot measure a memo that stretches: the run
    // reports the missing drawing service instead of keeping the height.
    TEngineReport t;
    t.Report.SetServices(std::make_shared<const TfrxServices>(rudEngineServices()));
    t.Report.EngineOptions()->SetNewSilentMode(simSilent);
    auto *master = t.AddBand<TfrxMasterData>("MasterData1", 20, 20);
    master->SetRowCount(1);
    t.AddMemo(master, "Memo1", "text")->SetStretchMode(smActualHeight);
    EXPECT_FALSE(t.Report.PrepareReport());
    EXPECT_EQ(t.Report.Errors(), QStringList{"The report has no object drawing service"});
    // Showing belongs to the drawing room.
    EXPECT_THROW(t.Report.ShowReport(), EMissingService);
}
