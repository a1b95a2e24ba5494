// Opening the designer on a report, from the host and from the preview: the
// designer's services.

#include "designer/rudDesgn.h"
#include "designer/rudDesgnEditors.h"
#include "designer/rudDesgnInit.h"
#include "designer/rudPageMemoEditors.h"

#include "base/UserInterface.h"
#include "report/engine/rudEngineInit.h"
#include "report/model/rudReport.h"
#include "report/render/rudRenderInit.h"
#include "report/render/rudRenderRuntime.h"
#include "script/fs_iinterpreter.h"

#include <QCoreApplication>

namespace {

// Opens a designer on Report and returns when it closes.
void runDesigner(TfrxReport *Report, bool PreviewDesigner, QWidget *Parent)
{
    auto *designer = new TfrxDesignerForm(Report, Parent);
    designer->setWindowFlag(Qt::Window);
    designer->SetIsPreviewDesigner(PreviewDesigner);
    designer->setWindowModality(Qt::ApplicationModal);
    designer->Init();
    userInterface().ExecDialog(designer);
    delete designer;
    QCoreApplication::processEvents();
}

void designReport(TfrxReport *Report, bool Modal)
{
    if (TfrxCustomDesigner::DesignerOf(Report))
        return;
    rudDesignerInit();
    Report->Script()->Clear();
    Report->SetModified(false);
    if (Modal) {
        runDesigner(Report, false, nullptr);
        return;
    }
    // A window of its own with its own taskbar button, freed when it closes.
    auto *designer = new TfrxDesignerForm(Report, nullptr);
    designer->setAttribute(Qt::WA_DeleteOnClose);
    designer->show();
}

bool designPreviewPage(TfrxReport *Report, QObject *Parent)
{
    if (TfrxCustomDesigner::DesignerOf(Report))
        return false;
    Report->SetModified(false);
    runDesigner(Report, true, qobject_cast<QWidget *>(Parent));
    return Report->Modified();
}

} // namespace

void rudDesignerInit()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    rudEngineInit();
    rudRenderInit();
    rudRegisterPageMemoEditors();
    rudRegisterDesignerEditors();
}

TfrxServices rudDesignerServices()
{
    TfrxServices services = rudStandardServices();
    services.DesignReport = &designReport;
    services.DesignPreviewPage = &designPreviewPage;
    return services;
}

std::shared_ptr<const TfrxServices> rudSharedDesignerServices()
{
    static const auto services = std::make_shared<const TfrxServices>(rudDesignerServices());
    return services;
}
