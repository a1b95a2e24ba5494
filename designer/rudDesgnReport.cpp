// Opening the designer on a report, from the host and from the preview.

#include "designer/rudDesgn.h"
#include "designer/rudDesgnEditors.h"
#include "designer/rudDesgnInit.h"
#include "designer/rudPageMemoEditors.h"

#include "base/UserInterface.h"
#include "report/engine/rudEngineInit.h"
#include "report/model/rudReport.h"
#include "report/render/rudPreview.h"
#include "report/render/rudRenderInit.h"
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
    TfrxPreview::DesignerHook() = [](TfrxReport *Report, QWidget *Parent) {
        if (TfrxCustomDesigner::DesignerOf(Report))
            return false;
        Report->SetModified(false);
        runDesigner(Report, true, Parent);
        return Report->Modified();
    };
}

void TfrxReport::DesignReport(bool Modal, bool)
{
    if (TfrxCustomDesigner::DesignerOf(this))
        return;
    rudDesignerInit();
    Script()->Clear();
    SetModified(false);
    if (Modal) {
        runDesigner(this, false, nullptr);
        return;
    }
    // A window of its own with its own taskbar button, freed when it closes.
    auto *designer = new TfrxDesignerForm(this, nullptr);
    designer->setAttribute(Qt::WA_DeleteOnClose);
    designer->show();
}
