// The entry window's two non-visual components: the report that prints the
// certificate, holding the built-in print template, and the designer
// settings used by the template command.

#include "app/main.h"

#include "app/Calibration.h"
#include "report/render/rudPaperCalibration.h"

#include "base/Errors.h"
#include "designer/rudDesgnInit.h"
#include "designer/rudDesgnSettings.h"
#include "report/model/rudReport.h"

#include <QFile>

// Outside any namespace: the resource's initialiser is a global function.
static void initTemplateResources() { Q_INIT_RESOURCE(printtemplate); }

namespace {

// The print template delivered with the program, embedded so that the
// report holds its definition even without the file beside the program.
const char *const builtInTemplate = ":/template/shablon.fr3";

} // namespace

bool loadTemplateQuietly(TfrxReport *Report, const QString &Path)
{
    QFile file(Path);
    if (!file.open(QIODevice::ReadOnly)) {
        Report->Clear();
        Report->AddErrors({QStringLiteral("Cannot open %1").arg(Path)});
        return false;
    }
    TfrxEngineOptions *engine = Report->EngineOptions();
    const TfrxSilentMode mode = engine->NewSilentMode();
    engine->SetNewSilentMode(simSilent);
    try {
        Report->LoadFromStream(&file);
    } catch (const Exception &error) {
        Report->AddErrors({error.Message()});
    } catch (const std::exception &error) {
        Report->AddErrors({QString::fromLocal8Bit(error.what())});
    }
    engine->SetNewSilentMode(mode);
    return Report->Errors().isEmpty();
}

void TfmMain::CreateComponents()
{
    rudReport1 = new TfrxReport;
    rudReport1->setParent(this); // freed with the window
    // The program's services: drawing, printing, preview and the designer.
    rudReport1->SetServices(rudSharedDesignerServices());
    rudReport1->setObjectName(QStringLiteral("rudReport1"));
    rudReport1->SetName(QStringLiteral("rudReport1"));
    initTemplateResources();
    loadTemplateQuietly(rudReport1, QString::fromLatin1(builtInTemplate));
    // Each printer queue prints with its own calibration; the preview and
    // the template stay as designed.
    rudSetPaperCalibration(rudReport1, &printerCalibration);

    // The values the window was designed with; most equal the component's
    // own defaults, and are set here so that the window states them.
    rudDesigner1 = new TfrxDesigner(this);
    rudDesigner1->setObjectName(QStringLiteral("rudDesigner1"));
    rudDesigner1->SetDefaultScriptLanguage(QStringLiteral("PascalScript"));
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    font.SetColor(clWindowText);
    font.SetStyle({});
    font.SetCharset(1); // DEFAULT_CHARSET
    rudDesigner1->SetDefaultFont(&font);
    rudDesigner1->SetDefaultLeftMargin(10);
    rudDesigner1->SetDefaultRightMargin(10);
    rudDesigner1->SetDefaultTopMargin(10);
    rudDesigner1->SetDefaultBottomMargin(10);
    rudDesigner1->SetDefaultPaperSize(9);
    rudDesigner1->SetDefaultOrientation(poPortrait);
    rudDesigner1->SetGradientStart(TfrxDesigner::clWindow);
    rudDesigner1->SetGradientEnd(11982554);
    rudDesigner1->SetTemplatesExt(QStringLiteral("fr3"));
    rudDesigner1->SetRestrictions({});
    rudDesigner1->SetRTLLanguage(false);
    rudDesigner1->SetMemoParentFont(false);
}
