#include "report/model/rudReportOptions.h"

#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include "base/UserInterface.h"

TfrxPropDescs TfrxEngineOptions::PropDescs()
{
    return {{"ConvertNulls", true},   {"DoublePass", false},   {"MaxMemSize", 10},
            {"PrintIfEmpty", true},   {"SilentMode", false},   {"NewSilentMode", int(simMessageBoxes)},
            {"UseFileCache", false},  {"IgnoreDevByZero", false}};
}

void TfrxEngineOptions::Assign(const TfrxEngineOptions &Source)
{
    FConvertNulls = Source.FConvertNulls;
    FDoublePass = Source.FDoublePass;
    FMaxMemSize = Source.FMaxMemSize;
    FPrintIfEmpty = Source.FPrintIfEmpty;
    FNewSilentMode = Source.FNewSilentMode;
    FTempDir = Source.FTempDir;
    FUseFileCache = Source.FUseFileCache;
    FIgnoreDevByZero = Source.FIgnoreDevByZero;
    FEnableThreadSafe = Source.FEnableThreadSafe;
    FUseGlobalDataSetList = Source.FUseGlobalDataSetList;
    FDestroyForms = Source.FDestroyForms;
}

void TfrxEngineOptions::Clear()
{
    FConvertNulls = true;
    FIgnoreDevByZero = false;
    FDoublePass = false;
}

// Buttons and Zoom have no default: they are always written.
TfrxPropDescs TfrxPreviewOptions::PropDescs()
{
    return {{"AllowEdit", true},      {"DoubleBuffered", true},  {"Maximized", true},
            {"MDIChild", false},      {"Modal", true},           {"OutlineExpand", true},
            {"OutlineVisible", false}, {"OutlineWidth", 120},    {"PagesInCache", 50},
            {"ThumbnailVisible", false}, {"ShowCaptions", false}, {"ZoomMode", int(zmDefault)},
            {"PictureCacheInFile", false}};
}

void TfrxPreviewOptions::Assign(const TfrxPreviewOptions &Source)
{
    FAllowEdit = Source.FAllowEdit;
    FButtons = Source.FButtons;
    FDoubleBuffered = Source.FDoubleBuffered;
    FMaximized = Source.FMaximized;
    FMDIChild = Source.FMDIChild;
    FModal = Source.FModal;
    FOutlineExpand = Source.FOutlineExpand;
    FOutlineVisible = Source.FOutlineVisible;
    FOutlineWidth = Source.FOutlineWidth;
    FPagesInCache = Source.FPagesInCache;
    FThumbnailVisible = Source.FThumbnailVisible;
    FShowCaptions = Source.FShowCaptions;
    FZoom = Source.FZoom;
    FZoomMode = Source.FZoomMode;
    FPictureCacheInFile = Source.FPictureCacheInFile;
}

void TfrxPreviewOptions::Clear()
{
    FOutlineExpand = true;
    FOutlineVisible = false;
    FOutlineWidth = 120;
    FPagesInCache = 50;
    FThumbnailVisible = false;
}

TfrxPrintOptions::TfrxPrintOptions() : FPrinter(rudResources().Get(QStringLiteral("prDefault"))) {}

// PrintOnSheet has no default: it is always written.
TfrxPropDescs TfrxPrintOptions::PropDescs()
{
    return {{"Copies", 1},         {"Collate", true},      {"PrintMode", int(pmDefault)},
            {"PrintPages", int(ppAll)}, {"Reverse", false}, {"ShowDialog", true}};
}

void TfrxPrintOptions::Assign(const TfrxPrintOptions &Source)
{
    FCopies = Source.FCopies;
    FCollate = Source.FCollate;
    FPageNumbers = Source.FPageNumbers;
    FPrinter = Source.FPrinter;
    FPrintMode = Source.FPrintMode;
    FPrintOnSheet = Source.FPrintOnSheet;
    FPrintPages = Source.FPrintPages;
    FReverse = Source.FReverse;
    FShowDialog = Source.FShowDialog;
    FSwapPageSize = Source.FSwapPageSize;
    FPagesOnSheet = Source.FPagesOnSheet;
    FSplicingLine = Source.FSplicingLine;
    FDuplex = Source.FDuplex;
    FPrnOutFileName = Source.FPrnOutFileName;
}

void TfrxPrintOptions::Clear()
{
    const bool swap = FSwapPageSize;
    TfrxPrintOptions defaults;
    Assign(defaults);
    FSwapPageSize = swap;
}

TfrxReportOptions::TfrxReportOptions() : FPicture(std::make_unique<TfrxPicture>()) {}

TfrxReportOptions::~TfrxReportOptions() = default;

TfrxPropDescs TfrxReportOptions::PropDescs()
{
    return {{"Compressed", false},
            {"CreateDate", {}, nullptr, TfrxPropKind::DateTime},
            {"LastChange", {}, nullptr, TfrxPropKind::DateTime}};
}

void TfrxReportOptions::Clear()
{
    if (!FInfo) {
        FAuthor.clear();
        FCompressed = false;
        FCreateDate = Now();
        FLastChange = FCreateDate;
        FDescription.clear();
        FPicture->Clear();
        FVersionBuild.clear();
        FVersionMajor.clear();
        FVersionMinor.clear();
        FVersionRelease.clear();
    }
    FConnectionName.clear();
    FInitString.clear();
    FName.clear();
    FPassword.clear();
    FPrevPassword.clear();
}

void TfrxReportOptions::SetPicture(TfrxPicture *Value)
{
    if (Value)
        FPicture->Assign(*Value);
}

bool TfrxReportOptions::CheckPassword()
{
    if (FPassword.isEmpty())
        return true;
    if (FPassword != FPrevPassword && FPassword != FHiddenPassword) {
        const std::optional<QString> answer = userInterface().InputPassword(QStringLiteral("Password"));
        if (!answer || *answer != FPassword) {
            if (FReport) {
                FReport->AddErrors({QStringLiteral("Invalid password")});
                rudCommonErrorHandler(FReport, rudResources().Get(QStringLiteral("clErrors")) + QLatin1Char('\n') +
                                                   FReport->Errors().join(QLatin1Char('\n')));
            }
            return false;
        }
    }
    FPrevPassword = FPassword;
    return true;
}
