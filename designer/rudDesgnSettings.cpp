// The designer settings component: its defaults and the one instance the
// designer window reads.

#include "designer/rudDesgnSettings.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

// Live settings components in creation order; the last one is in use. The
// designer runs on the user-interface thread only.
std::vector<TfrxDesigner *> &liveDesigners()
{
    static std::vector<TfrxDesigner *> live;
    return live;
}

} // namespace

TfrxDesigner::TfrxDesigner(QObject *parent) : FDefaultFont(std::make_unique<TFont>())
{
    static std::once_flag registered;
    std::call_once(registered, [] { rudRegisterPropDescs(&staticMetaObject, PropDescs()); });
    setParent(parent);
    FDefaultFont->SetName(QStringLiteral("Arial"));
    FDefaultFont->SetSize(10);
    FDefaultFont->SetColor(clWindowText);
    FDefaultFont->SetCharset(1); // DEFAULT_CHARSET
    FDefaultFont->SetStyle({});
    liveDesigners().push_back(this);
}

TfrxDesigner::~TfrxDesigner()
{
    std::vector<TfrxDesigner *> &live = liveDesigners();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

TfrxPropDescs TfrxDesigner::PropDescs()
{
    return {{"DefaultScriptLanguage", QStringLiteral("PascalScript")},
            {"DefaultLeftMargin", 10.0},
            {"DefaultRightMargin", 10.0},
            {"DefaultTopMargin", 10.0},
            {"DefaultBottomMargin", 10.0},
            {"DefaultPaperSize", 9},
            {"DefaultOrientation", int(poPortrait)},
            {"TemplatesExt", QStringLiteral("fr3")},
            {"Restrictions", 0},
            {"CloseQuery", true},
            {"GradientStart", clWindow},
            {"GradientEnd", DefaultGradientEnd},
            {"RTLLanguage", false},
            {"MemoParentFont", false},
            {"OpenDir", QString()},
            {"SaveDir", QString()},
            {"TemplateDir", QString()},
            {"Standalone", false}};
}

TfrxDesigner *TfrxDesigner::Current()
{
    const std::vector<TfrxDesigner *> &live = liveDesigners();
    return live.empty() ? nullptr : live.back();
}

void TfrxDesigner::SetDefaultFont(TFont *Value)
{
    if (Value)
        FDefaultFont->Assign(*Value);
}

void TfrxDesigner::SetTemplatesExt(const QString &Value)
{
    FTemplatesExt = Value.startsWith(u'.') ? Value.mid(1) : Value;
}
