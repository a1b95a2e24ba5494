// A printer's calibration: computed from the sheet's readings, kept per
// queue within its limits.

#include "app/Calibration.h"
#include "base/Errors.h"
#include "report/render/rudPrinterCalibrationSheet.h"

#include <gtest/gtest.h>

namespace {

void expectNear(const TfrxPaperCalibration &Actual, const TfrxPaperCalibration &Expected)
{
    EXPECT_NEAR(Actual.OffsetX, Expected.OffsetX, 1e-9);
    EXPECT_NEAR(Actual.OffsetY, Expected.OffsetY, 1e-9);
    EXPECT_NEAR(Actual.ScaleX, Expected.ScaleX, 1e-9);
    EXPECT_NEAR(Actual.ScaleY, Expected.ScaleY, 1e-9);
}

// The readings a printer that maps designed (x, y) to (Sx x + Ox, Sy y + Oy)
// gives at every mark.
QList<TfrxCalibrationReading> readingsOf(double Sx, double Ox, double Sy, double Oy)
{
    QList<TfrxCalibrationReading> readings;
    for (const TfrxCalibrationMark &mark : rudCalibrationMarks())
        readings.append({Sx * mark.Designed.x() + Ox, Sy * mark.Designed.y() + Oy});
    return readings;
}

} // namespace

// The correction undoes what the printer does: printed through both, every
// mark lands on its designed place.
TEST(Calibration, ReadingsGiveTheCorrectionTheyStandFor)
{
    struct {
        double Sx, Ox, Sy, Oy;
    } printers[] = {{1, 0, 1, 0}, {1, 1.2, 1, -0.7}, {0.99, 0.3, 1.005, -1.1}, {1.01, -2, 0.98, 4}};
    for (const auto &p : printers) {
        const TfrxPaperCalibration c = rudCalibrationFromReadings(readingsOf(p.Sx, p.Ox, p.Sy, p.Oy));
        for (const TfrxCalibrationMark &mark : rudCalibrationMarks()) {
            EXPECT_NEAR(p.Sx * (c.ScaleX * mark.Designed.x() + c.OffsetX) + p.Ox, mark.Designed.x(), 1e-9);
            EXPECT_NEAR(p.Sy * (c.ScaleY * mark.Designed.y() + c.OffsetY) + p.Oy, mark.Designed.y(), 1e-9);
        }
    }
    // A printer 1 mm to the right and 0.5 mm high is moved back.
    const TfrxPaperCalibration shift = rudCalibrationFromReadings(readingsOf(1, 1, 1, -0.5));
    expectNear(shift, {-1, 0.5, 1, 1});
    // Readings at one place along an axis give its offset only; none leave it.
    QList<TfrxCalibrationReading> few(rudCalibrationMarks().size());
    few[0].X = rudCalibrationMarks()[0].Designed.x() + 0.4;
    expectNear(rudCalibrationFromReadings(few), {-0.4, 0, 1, 1});
}

// Offsets are kept in 0.05 mm steps within ±10 mm, scales within
// 0.95..1.05; a queue's values are its own; identity removes them.
TEST(Calibration, KeptPerQueueWithinItsLimits)
{
    savePrinterCalibration(QStringLiteral("Office"), {1.52, -0.74, 1.01, 0.995});
    EXPECT_EQ(printerCalibration(QStringLiteral("Office")), (TfrxPaperCalibration{1.5, -0.75, 1.01, 0.995}));
    EXPECT_EQ(printerCalibration(QStringLiteral("office")), printerCalibration(QStringLiteral("Office")));
    EXPECT_TRUE(printerCalibration(QStringLiteral("Hall")).IsIdentity());
    for (const TfrxPaperCalibration &wrong : {TfrxPaperCalibration{10.1, 0, 1, 1}, TfrxPaperCalibration{0, -11, 1, 1},
                                              TfrxPaperCalibration{0, 0, 1.06, 1}, TfrxPaperCalibration{0, 0, 1, 0.9}})
        EXPECT_THROW(savePrinterCalibration(QStringLiteral("Office"), wrong), EConvertError);
    EXPECT_EQ(printerCalibration(QStringLiteral("Office")).OffsetX, 1.5);
    savePrinterCalibration(QStringLiteral("Office"), {});
    EXPECT_TRUE(printerCalibration(QStringLiteral("Office")).IsIdentity());
}
