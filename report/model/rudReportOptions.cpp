#include "report/model/rudReportOptions.h"

#include "report/model/rudReport.h"
#include "report/model/rudRes.h"

#include "base/UserInterface.h"

TfrxPropDescs TfrxEngineOptions::PropDescs()
{
    return rudNewObjectDefaults<TfrxEngineOptions>({"ConvertNulls", "DoublePass", "MaxMemSize", "PrintIfEmpty",
                                                    "SilentMode", "NewSilentMode", "UseFileCache",
                                                    "IgnoreDevByZero"});
}

void TfrxEngineOptions::Assign(const TfrxEngineOptions &Source)
{
    rudAssignProps(this, &Source);
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
    return rudNewObjectDefaults<TfrxPreviewOptions>({"AllowEdit", "DoubleBuffered", "Maximized", "MDIChild", "Modal",
                                                     "OutlineExpand", "OutlineVisible", "OutlineWidth",
                                                     "PagesInCache", "ThumbnailVisible", "ShowCaptions",
                                                     "ZoomMode", "PictureCacheInFile"});
}

void TfrxPreviewOptions::Assign(const TfrxPreviewOptions &Source)
{
    rudAssignProps(this, &Source);
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
    return rudNewObjectDefaults<TfrxPrintOptions>(
        {"Copies", "Collate", "PrintMode", "PrintPages", "Reverse", "ShowDialog"});
}

void TfrxPrintOptions::Assign(const TfrxPrintOptions &Source)
{
    rudAssignProps(this, &Source);
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
