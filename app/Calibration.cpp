#include "app/Calibration.h"

#include "app/RegisterLocation.h"
#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/UserInterface.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace {

QString sectionOf(const QString &Queue) { return QStringLiteral("Calibration ") + Queue; }

// Numbers are kept with a point whatever the regional settings say, so that
// the file reads the same after the operator changes them.
double readNumber(const TIniFile &Settings, const QString &Section, const QString &Key, double Default)
{
    bool ok = false;
    const double value = Settings.ReadString(Section, Key, QString()).toDouble(&ok);
    return ok && std::isfinite(value) ? value : Default;
}

QString number(double Value) { return QString::number(Value, 'f', 4).remove(QRegularExpression(QStringLiteral("\\.?0+$"))); }

QString russianNumber(double Value, int Digits)
{
    return QString::number(Value, 'f', Digits).replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

TfrxPaperCalibration printerCalibration(const QString &Queue)
{
    TfrxPaperCalibration value;
    if (Queue.isEmpty())
        return value;
    const TIniFile settings(programSettingsFile());
    const QString section = sectionOf(Queue);
    if (!settings.SectionExists(section))
        return value;
    value.OffsetX = readNumber(settings, section, QStringLiteral("OffsetX"), 0);
    value.OffsetY = readNumber(settings, section, QStringLiteral("OffsetY"), 0);
    value.ScaleX = readNumber(settings, section, QStringLiteral("ScaleX"), 1);
    value.ScaleY = readNumber(settings, section, QStringLiteral("ScaleY"), 1);
    // A hand-edited file out of the limits is not applied at all: a wild
    // value would put every certificate off its blank. The operator is told,
    // or the prints would be off by the calibration with no word why.
    try {
        return checkedCalibration(value);
    } catch (const Exception &error) {
        userInterface().MessageBox(
            QStringLiteral("Калибровка принтера «%1» в настройках вне пределов и не применяется:\n%2")
                .arg(Queue, error.Message()),
            applicationTitle(), TMsgIcon::Warning, TMsgButtons::Ok);
        return {};
    }
}

TfrxPaperCalibration checkedCalibration(const TfrxPaperCalibration &Value)
{
    auto offset = [](double Mm, const char *Axis) {
        if (!std::isfinite(Mm) || std::abs(Mm) > calibrationMaxOffset + 1e-9)
            throw EConvertError(QStringLiteral("Смещение по %1 (%2 мм) вне пределов ±%3 мм.")
                                    .arg(QLatin1String(Axis), russianNumber(Mm, 2))
                                    .arg(calibrationMaxOffset));
        const double rounded = std::round(Mm / calibrationOffsetStep) * calibrationOffsetStep;
        return std::round(rounded * 100) / 100 + 0.0;
    };
    auto scale = [](double S, const char *Axis) {
        if (!std::isfinite(S) || S < calibrationMinScale - 1e-9 || S > calibrationMaxScale + 1e-9)
            throw EConvertError(QStringLiteral("Масштаб по %1 (%2) вне пределов %3…%4.")
                                    .arg(QLatin1String(Axis), russianNumber(S, 4), russianNumber(calibrationMinScale, 2),
                                         russianNumber(calibrationMaxScale, 2)));
        return S;
    };
    TfrxPaperCalibration result;
    result.OffsetX = offset(Value.OffsetX, "X");
    result.OffsetY = offset(Value.OffsetY, "Y");
    result.ScaleX = scale(Value.ScaleX, "X");
    result.ScaleY = scale(Value.ScaleY, "Y");
    return result;
}

void savePrinterCalibration(const QString &Queue, const TfrxPaperCalibration &Value)
{
    if (Queue.trimmed().isEmpty())
        throw EConvertError(QStringLiteral("Не указан принтер."));
    const TfrxPaperCalibration value = checkedCalibration(Value);
    const QString file = programSettingsFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    TIniFile settings(file);
    const QString section = sectionOf(Queue);
    if (value.IsIdentity()) {
        settings.EraseSection(section);
    } else {
        settings.WriteString(section, QStringLiteral("OffsetX"), number(value.OffsetX));
        settings.WriteString(section, QStringLiteral("OffsetY"), number(value.OffsetY));
        settings.WriteString(section, QStringLiteral("ScaleX"), number(value.ScaleX));
        settings.WriteString(section, QStringLiteral("ScaleY"), number(value.ScaleY));
    }
    settings.UpdateFile();
}

QString calibrationText(const TfrxPaperCalibration &Value)
{
    return QStringLiteral("смещение %1; %2 мм, масштаб %3; %4")
        .arg(russianNumber(Value.OffsetX, 2), russianNumber(Value.OffsetY, 2), russianNumber(Value.ScaleX, 4),
             russianNumber(Value.ScaleY, 4));
}
