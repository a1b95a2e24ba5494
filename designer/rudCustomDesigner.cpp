// The designer window's face towards its parts: the shown page, the shared
// selection, the modified flag, units and the per-user settings store.

#include "designer/rudCustomDesigner.h"

#include "base/IniFile.h"
#include "designer/rudDesgnSettings.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "base/UserInterface.h"

#include <QHash>
#include <cmath>

namespace {

// The open designer of each report; the user-interface thread only.
QHash<const TfrxReport *, TfrxCustomDesigner *> &openDesigners()
{
    static QHash<const TfrxReport *, TfrxCustomDesigner *> designers;
    return designers;
}

void appendTree(QList<TfrxComponent *> &List, TfrxComponent *Parent)
{
    for (TfrxComponent *child : Parent->Objects()) {
        List.append(child);
        appendTree(List, child);
    }
}

} // namespace

TfrxCustomDesigner::TfrxCustomDesigner(TfrxReport *Report, QWidget *Parent) : QMainWindow(Parent), FReport(Report)
{
    if (FReport)
        openDesigners().insert(FReport, this);
    connect(&FSelection, &TfrxSelectionModel::Changed, this, [this](QObject *Sender) { SelectionChanged(Sender); });
}

TfrxCustomDesigner::~TfrxCustomDesigner()
{
    auto &designers = openDesigners();
    auto it = designers.find(FReport);
    if (it != designers.end() && it.value() == this)
        designers.erase(it);
}

TfrxCustomDesigner *TfrxCustomDesigner::DesignerOf(const TfrxReport *Report)
{
    return openDesigners().value(Report, nullptr);
}

void TfrxCustomDesigner::SetPage(TfrxPage *Value)
{
    FPage = Value;
    FSelection.SetPage(Value);
}

void TfrxCustomDesigner::RebuildObjects()
{
    FObjects.clear();
    if (!FPage)
        return;
    FObjects.append(FPage);
    appendTree(FObjects, FPage);
}

void TfrxCustomDesigner::SetModified(bool Value, QObject *)
{
    FModified = Value;
}

void TfrxCustomDesigner::SelectionChanged(QObject *) {}

double TfrxCustomDesigner::mmToUnits(double mm, bool Horizontal) const
{
    switch (FUnits) {
    case duCM:
        return mm / 10;
    case duInches:
        return mm / 25.4;
    case duPixels:
        return mm * 96 / 25.4;
    case duChars:
        return std::round(mm * 3.77953 / (Horizontal ? 9.6 : 17));
    }
    return mm;
}

double TfrxCustomDesigner::UnitsTomm(double Value, bool Horizontal) const
{
    switch (FUnits) {
    case duCM:
        return Value * 10;
    case duInches:
        return Value * 25.4;
    case duPixels:
        return Value * 25.4 / 96;
    case duChars:
        return std::round(Value) * (Horizontal ? 9.6 : 17) / 3.77953;
    }
    return Value;
}

QString TfrxCustomDesigner::UnitsName() const
{
    static const char *const keys[] = {"uCm", "uInch", "uPix", "uChar"};
    return rudResources().Get(QLatin1String(keys[FUnits]));
}

TfrxDesigner *TfrxCustomDesigner::Settings() const
{
    return TfrxDesigner::Current();
}

bool TfrxCustomDesigner::IsRestricted(int Flag) const
{
    const TfrxDesigner *settings = Settings();
    return settings && settings->IsRestricted(TfrxDesignerRestriction(Flag));
}

std::unique_ptr<TIniFile> TfrxCustomDesigner::GetIniFile() const
{
    return FReport->GetIniFile();
}

void TfrxCustomDesigner::SettingsFailed(const QString &Detail, bool Writing)
{
    // Once is enough: every window of the designer uses the same store, and
    // a store that fails once fails for all of them.
    if (FSettingsFailureShown)
        return;
    FSettingsFailureShown = true;
    const QString text = Writing ? QStringLiteral("Настройки дизайнера не сохранены:\n%1")
                                 : QStringLiteral("Настройки дизайнера не прочитаны, действуют исходные:\n%1");
    userInterface().MessageBox(text.arg(Detail), windowTitle(), TMsgIcon::Warning, TMsgButtons::Ok);
}

QString TfrxCustomDesigner::InsertExpression(const QString &Current)
{
    return ExpressionHook ? ExpressionHook(Current) : QString();
}
