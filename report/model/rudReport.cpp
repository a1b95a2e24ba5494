#include "report/model/rudReport.h"

#include "report/model/rudPage.h"
#include "report/model/rudRes.h"
#include "report/model/rudXMLSerializer.h"

#include "base/Errors.h"
#include "base/UserInterface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

void rudAddSortedUnique(QStringList &List, const QString &Text)
{
    auto less = [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; };
    const auto pos = std::lower_bound(List.begin(), List.end(), Text, less);
    if (pos != List.end() && pos->compare(Text, Qt::CaseInsensitive) == 0)
        return;
    List.insert(pos, Text);
}

void rudCommonErrorHandler(TfrxReport *Report, const QString &Text)
{
    const TfrxSilentMode mode = Report ? Report->EngineOptions()->NewSilentMode() : simMessageBoxes;
    switch (mode) {
    case simMessageBoxes:
        userInterface().MessageBox(Text, rudResources().Get(QStringLiteral("mbError")), TMsgIcon::Error,
                                   TMsgButtons::Ok);
        break;
    case simSilent:
        break;
    case simReThrow:
        throw EGeneralError(Text);
    }
}

namespace {

// Without a crypter the password is kept in the file with every character
// code shifted by ten.
QString shiftPassword(const QString &Password, int Delta)
{
    QString result = Password;
    for (QChar &c : result)
        c = QChar(char16_t(c.unicode() + Delta));
    return result;
}

} // namespace

TfrxReport::TfrxReport(TfrxComponent *AOwner)
    : TfrxComponent(AOwner), FEngineOptions(std::make_unique<TfrxEngineOptions>()),
      FPreviewOptions(std::make_unique<TfrxPreviewOptions>()), FPrintOptions(std::make_unique<TfrxPrintOptions>()),
      FReportOptions(std::make_unique<TfrxReportOptions>())
{
    SetComponentStyle(ComponentStyle() | csHandlesNestedProperties);
    Clear();
}

TfrxReport::~TfrxReport()
{
    // Children go first: their destructors may still ask for the report.
    while (!Objects().isEmpty())
        delete Objects().last();
}

// Version and DotMatrixReport have no default: they are always written.
TfrxPropDescs TfrxReport::PropDescs()
{
    return {{"OldStyleProgress", false}, {"ShowProgress", true}, {"StoreInDFM", true}};
}

void TfrxReport::Clear()
{
    TfrxComponent::Clear();
    FEngineOptions->Clear();
    FPreviewOptions->Clear();
    FPrintOptions->Clear();
    FReportOptions->Clear();
    FDataSet = nullptr;
    FDataSetName.clear();
    FDotMatrixReport = false;
    FParentReport.clear();
    FScriptLanguage = QStringLiteral("PascalScript");
    FScriptText = {QStringLiteral("begin"), QString(), QStringLiteral("end.")};
    FSysVariables = {QStringLiteral("Date"),       QStringLiteral("Time"),        QStringLiteral("Page"),
                     QStringLiteral("Page#"),      QStringLiteral("TotalPages"),  QStringLiteral("TotalPages#"),
                     QStringLiteral("Line"),       QStringLiteral("Line#"),       QStringLiteral("CopyName#")};
    FOnRunDialogs.clear();
    FOnStartReport.clear();
    FOnStopReport.clear();
}

void TfrxReport::AddErrors(const QStringList &List)
{
    for (const QString &e : List)
        rudAddSortedUnique(FErrors, e);
}

void TfrxReport::SetEngineOptions(TfrxEngineOptions *Value)
{
    if (Value)
        FEngineOptions->Assign(*Value);
}

void TfrxReport::SetPreviewOptions(TfrxPreviewOptions *Value)
{
    if (Value)
        FPreviewOptions->Assign(*Value);
}

void TfrxReport::SetPrintOptions(TfrxPrintOptions *Value)
{
    if (Value)
        FPrintOptions->Assign(*Value);
}

void TfrxReport::SetReportOptions(TfrxReportOptions *Value)
{
    if (!Value)
        return;
    // Through the template form: the records have many fields and one list.
    TfrxXMLSerializer serializer(nullptr);
    serializer.SetSerializeDefaultValues(true);
    serializer.XMLToObj(serializer.ObjToXML(Value), FReportOptions.get());
}

bool TfrxReport::LoadFromFile(const QString &FileName, bool ExceptionIfNotFound)
{
    Clear();
    FFileName.clear();
    const bool exists = QFileInfo(FileName).isFile();
    if (exists || ExceptionIfNotFound) {
        QFile file(FileName);
        if (!file.open(QIODevice::ReadOnly))
            throw EInOutError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
        FFileName = FileName;
        LoadFromStream(&file);
    }
    return exists;
}

void TfrxReport::LoadFromStream(QIODevice *Stream)
{
    FErrors.clear();
    TfrxEngineOptions engine;
    engine.Assign(*FEngineOptions);
    TfrxPreviewOptions preview;
    preview.Assign(*FPreviewOptions);
    const QString iniFile = FIniFile;
    QObject *previewControl = FPreview;
    const bool oldStyleProgress = FOldStyleProgress, showProgress = FShowProgress, storeInDFM = FStoreInDFM;

    try {
        TfrxComponent::LoadFromStream(Stream);
    } catch (const Exception &e) {
        rudAddSortedUnique(FErrors, e.Message());
    }

    CheckDataPage();
    const bool convertNulls = FEngineOptions->ConvertNulls(), ignoreDevByZero = FEngineOptions->IgnoreDevByZero(),
               doublePass = FEngineOptions->DoublePass();
    FEngineOptions->Assign(engine);
    FEngineOptions->SetConvertNulls(convertNulls);
    FEngineOptions->SetIgnoreDevByZero(ignoreDevByZero);
    FEngineOptions->SetDoublePass(doublePass);
    const bool outlineVisible = FPreviewOptions->OutlineVisible(), outlineExpand = FPreviewOptions->OutlineExpand(),
               thumbnailVisible = FPreviewOptions->ThumbnailVisible();
    const int outlineWidth = FPreviewOptions->OutlineWidth(), pagesInCache = FPreviewOptions->PagesInCache();
    FPreviewOptions->Assign(preview);
    FPreviewOptions->SetOutlineVisible(outlineVisible);
    FPreviewOptions->SetOutlineWidth(outlineWidth);
    FPreviewOptions->SetOutlineExpand(outlineExpand);
    FPreviewOptions->SetPagesInCache(pagesInCache);
    FPreviewOptions->SetThumbnailVisible(thumbnailVisible);
    FIniFile = iniFile;
    FPreview = previewControl;
    FOldStyleProgress = oldStyleProgress;
    FShowProgress = showProgress;
    FStoreInDFM = storeInDFM;
    FReportOptions->SetPassword(shiftPassword(FReportOptions->Password(), 10));

    if (FReportOptions->Info()) {
        Clear();
        return;
    }
    const QString heading = rudResources().Get(QStringLiteral("clErrors"));
    if (FReportOptions->CheckPassword()) {
        FReportOptions->SetPrevPassword(FReportOptions->Password());
        if (!FErrors.isEmpty())
            rudCommonErrorHandler(this, heading + QLatin1Char('\n') + FErrors.join(QLatin1Char('\n')));
    } else {
        rudAddSortedUnique(FErrors, QStringLiteral("Invalid password"));
        Clear();
        rudCommonErrorHandler(this, heading + QLatin1Char('\n') + FErrors.join(QLatin1Char('\n')));
    }
}

void TfrxReport::SaveToStream(QIODevice *Stream, bool SaveChildren, bool SaveDefaultValues, bool Streaming)
{
    const QString password = FReportOptions->Password();
    FReportOptions->SetPrevPassword(password);
    FReportOptions->SetPassword(shiftPassword(password, -10));
    QObject *previewControl = FPreview;
    FPreview = nullptr;
    try {
        TfrxComponent::SaveToStream(Stream, SaveChildren, SaveDefaultValues, Streaming);
    } catch (...) {
        FPreview = previewControl;
        FReportOptions->SetPassword(password);
        throw;
    }
    FPreview = previewControl;
    FReportOptions->SetPassword(password);
}

void TfrxReport::SaveToFile(const QString &FileName)
{
    if (FParentReport.size() > 1 && FParentReport[1] == QLatin1Char(':'))
        FParentReport = QFileInfo(FileName).absoluteDir().relativeFilePath(FParentReport);
    // QSaveFile writes beside the target and renames over it on commit: an
    // interrupted or failed save never leaves a half-written template.
    QSaveFile file(FileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    SaveToStream(&file, true, false);
    if (!file.commit())
        throw EInOutError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
}

void TfrxReport::CheckDataPage()
{
    for (TfrxComponent *c : AllObjects())
        if (dynamic_cast<TfrxDataPage *>(c))
            return;
    auto *page = new TfrxDataPage(this);
    if (FindObject(QStringLiteral("Data")))
        page->CreateUniqueName();
    else
        page->SetName(QStringLiteral("Data"));
    // First among the report's children.
    QList<TfrxComponent *> pages = Objects();
    for (TfrxComponent *c : pages)
        if (c != page)
            c->SetParent(nullptr);
    for (TfrxComponent *c : pages)
        if (c != page)
            c->SetParent(this);
}
