#include "report/model/rudReport.h"

#include "report/model/rudClassRegistry.h"
#include "report/model/rudDialogPage.h"
#include "report/model/rudNameIndex.h"
#include "report/model/rudPage.h"
#include "report/model/rudRes.h"
#include "report/model/rudXML.h"
#include "report/model/rudXMLSerializer.h"

#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/InputFile.h"
#include "base/SafeSave.h"
#include "base/UserInterface.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QStandardPaths>

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
    FIsReport = true;
    SetComponentStyle(ComponentStyle() | csHandlesNestedProperties);
    FReportOptions->SetReport(this);
    Clear();
}

TfrxReport::~TfrxReport()
{
    // Children go first: their destructors may still ask for the report.
    while (!Objects().isEmpty())
        delete Objects().last();
    FIsReport = false;
}

// Version and DotMatrixReport have no default: they are always written.
TfrxPropDescs TfrxReport::PropDescs()
{
    TfrxPropDescs descs{{"OldStyleProgress", false}, {"ShowProgress", true}, {"StoreInDFM", true}};
    rudAddTypeName(descs, "TfrxNotifyEvent", {"OnRunDialogs", "OnStartReport", "OnStopReport", "OnReportPrint"});
    return descs;
}

// The order is the one every load relies on: objects first (inherited ones
// are only cleared), then the collections and the option records.
void TfrxReport::Clear()
{
    TfrxComponent::Clear();
    FDataSets->Clear();
    FVariables->Clear();
    FEngineOptions->Clear();
    FPreviewOptions->Clear();
    FPrintOptions->Clear();
    FReportOptions->Clear();
    FStyles->Clear();
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

void TfrxReport::AddError(const QString &Text)
{
    rudAddSortedUnique(FErrors, Text);
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
    const QFileInfo info(FileName);
    const bool exists = info.isFile();
    // A device, a pipe or a folder is refused, not only a missing file.
    if (info.exists() || ExceptionIfNotFound) {
        QFile file;
        openRegularFile(file, FileName);
        FFileName = FileName;
        LoadFromStream(&file);
    }
    return exists;
}

void TfrxReport::LoadFromStream(QIODevice *Stream)
{
    FErrors.clear();
    // A load builds the report anew: the objects of an ancestor report come
    // back only when the template names its parent again.
    RemoveAncestors();
    // Only a load that ends without errors lets a save replace its file; an
    // information-only load or a refused password leaves the report partial.
    FLoadFailed = true;
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
    // A reload by the engine or a thread-safe run never asks for the password.
    bool passed = true;
    if (!FReloading && !FEngineOptions->EnableThreadSafe()) {
        try {
            passed = FReportOptions->CheckPassword();
        } catch (...) {
            // simReThrow: nothing of a protected report may stay loaded.
            Clear();
            throw;
        }
    }
    if (!passed) {
        Clear();
        return;
    }
    FLoadFailed = !FErrors.isEmpty();
    if (!FErrors.isEmpty())
        rudCommonErrorHandler(this, rudResources().Get(QStringLiteral("clErrors")) + QLatin1Char('\n') +
                                        FErrors.join(QLatin1Char('\n')));
}

void TfrxReport::SaveToStream(QIODevice *Stream, bool SaveChildren, bool SaveDefaultValues, bool Streaming)
{
    const QString password = FReportOptions->Password();
    FReportOptions->SetPrevPassword(password);
    FReportOptions->SetPassword(shiftPassword(password, -10));
    const auto restorePassword = qScopeGuard([&] { FReportOptions->SetPassword(password); });
    const QScopedValueRollback<QPointer<QObject>> noPreview(FPreview, nullptr);
    TfrxComponent::SaveToStream(Stream, SaveChildren, SaveDefaultValues, Streaming);
}

void TfrxReport::SaveToFile(const QString &FileName)
{
    if (FLoadFailed && !FFileName.isEmpty() && QFileInfo(FileName) == QFileInfo(FFileName))
        throw EInOutError(QStringLiteral("Cannot save file \"%1\": it did not load completely, and saving would "
                                         "replace it with what was loaded")
                              .arg(QDir::toNativeSeparators(FileName)));
    if (FParentReport.size() > 1 && FParentReport[1] == QLatin1Char(':'))
        FParentReport = QFileInfo(FileName).absoluteDir().relativeFilePath(FParentReport);
    // The template is built in memory and committed atomically: a failed
    // save never leaves a half-written template.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveToStream(&buffer, true, false);
    saveFileAtomically(FileName, buffer.data());
}

void TfrxReport::RemoveAncestors()
{
    const QList<TfrxComponent *> children = Objects();
    for (TfrxComponent *c : children)
        if (c->IsAncestor())
            delete c;
    FParentReportObject.reset();
}

void TfrxReport::SetParentReport(const QString &Value)
{
    FParentReport = Value;
    if (IsLoading())
        LoadParentReport();
}

namespace {

// Ancestor reports that name each other would load without end; a chain
// of distinct ones is cut at this depth.
constexpr int MaxParentReportDepth = 8;
thread_local int parentReportDepth = 0;
// The files of the reports whose parents are being loaded, outermost first.
thread_local QStringList parentReportChain;

// One spelling per file, so that a cycle is seen however its names are written.
QString sameFileKey(const QString &Path)
{
    const QFileInfo info(Path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

// Loads the template named by ParentReport into a report of its own and
// copies its pages, with everything on them, into this report as ancestor
// objects, together with its variables and styles. What goes wrong is
// reported in this report's errors; the rest of this report still loads.
void TfrxReport::LoadParentReport()
{
    RemoveAncestors();
    if (FParentReport.isEmpty())
        return;
    QString path = FParentReport;
    if (QFileInfo(path).isRelative() && !FFileName.isEmpty())
        path = QFileInfo(FFileName).absoluteDir().filePath(path);
    const QString key = sameFileKey(path);
    const QString self = FFileName.isEmpty() ? QString() : sameFileKey(FFileName);
    if (key == self || parentReportChain.contains(key)) {
        AddError(QStringLiteral("The parent report \"%1\" inherits from itself").arg(FParentReport));
        return;
    }
    if (parentReportDepth >= MaxParentReportDepth) {
        AddError(QStringLiteral("Cannot load the parent report \"%1\": the chain of parent reports is deeper than %2")
                     .arg(FParentReport)
                     .arg(MaxParentReportDepth));
        return;
    }
    ++parentReportDepth;
    parentReportChain.append(self);
    const auto leave = qScopeGuard([] {
        --parentReportDepth;
        parentReportChain.removeLast();
    });

    auto parent = std::make_shared<TfrxReport>(nullptr);
    parent->SetServices(FServices);
    parent->EngineOptions()->SetNewSilentMode(simSilent);
    try {
        parent->LoadFromFile(path, true);
    } catch (const Exception &e) {
        AddError(e.Message());
        return;
    }
    AddErrors(parent->Errors());

    for (TfrxComponent *source : parent->Objects()) {
        const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(source->metaObject()->className()));
        if (!entry.Create)
            continue;
        TfrxComponent *copy = entry.Create(this);
        try {
            copy->SetName(source->Name());
        } catch (const Exception &e) {
            AddError(e.Message());
        }
        copy->AssignAll(source);
        copy->SetAncestor(true);
        for (TfrxComponent *c : copy->AllObjects())
            c->SetAncestor(true);
    }
    TfrxXMLSerializer serializer(nullptr);
    for (int i = 0; i < parent->Variables()->Count(); ++i)
        serializer.XMLToObj(serializer.ObjToXML(parent->Variables()->Items(i)), FVariables->Add());
    for (int i = 0; i < parent->Styles()->Count(); ++i)
        serializer.XMLToObj(serializer.ObjToXML(parent->Styles()->Items(i)), FStyles->Add());
    FParentReportObject = std::move(parent);
}

void TfrxReport::CheckDataPage()
{
    // One walk finds a data page or, failing that, the non-visual
    // components of dialog pages, which belong on the new one. Objects are
    // told apart by their meta-objects, which costs no type-name compares.
    QList<TfrxComponent *> moving;
    const TfrxComponent *lastParent = nullptr;
    bool onDialogPage = false;
    for (TfrxComponent *c : AllObjects()) {
        if (qobject_cast<TfrxDataPage *>(c))
            return;
        if (c->Parent() != lastParent) {
            lastParent = c->Parent();
            onDialogPage = qobject_cast<const TfrxDialogPage *>(lastParent);
        }
        if (onDialogPage && qobject_cast<TfrxDialogComponent *>(c))
            moving << c;
    }
    auto *page = new TfrxDataPage(this);
    const QString data = QStringLiteral("Data");
    TfrxNameIndex *index = NameIndex();
    if (index ? index->Find(data) : FindObject(data))
        page->CreateUniqueName();
    else
        page->SetName(QStringLiteral("Data"));
    // First among the report's children: every other child moves behind it.
    const QList<TfrxComponent *> children = Objects();
    for (TfrxComponent *c : children) {
        if (c != page) {
            c->SetParent(nullptr);
            c->SetParent(this);
        }
    }
    // The dialog pages' non-visual components go onto it, in a row.
    double left = 60;
    for (TfrxComponent *c : moving) {
        c->SetParent(page);
        c->SetLeft(left);
        c->SetTop(20);
        left += 64;
    }
}

void TfrxReport::WriteNestedProperties(TfrxXMLItem *Item, TfrxComponent *AAncestor)
{
    TfrxXMLSerializer local(nullptr);
    TfrxXMLSerializer *serializer = FSerializer ? FSerializer : &local;
    auto *ancestor = dynamic_cast<TfrxReport *>(AAncestor);
    // An entry the ancestor report has too is written as its differences,
    // preceded by the name it has there.
    auto entryText = [serializer](QObject *Entry, QObject *AncestorEntry, const QString &Name) {
        if (!AncestorEntry)
            return serializer->ObjToXML(Entry);
        return QStringLiteral(" InheritedName=\"") + rudStrToXML(Name) + QLatin1Char('"') +
               serializer->ObjToXML(Entry, QString(), AncestorEntry);
    };

    if (!FDataSets->IsEmpty()) {
        TfrxXMLItem *element = Item->Add(QStringLiteral("Datasets"));
        for (int i = 0; i < FDataSets->Count(); ++i)
            element->Add(QStringLiteral("item"))->SetText(serializer->ObjToXML(FDataSets->Items(i)));
    }
    if (!FVariables->IsEmpty()) {
        TfrxXMLItem *element = Item->Add(QStringLiteral("Variables"));
        for (int i = 0; i < FVariables->Count(); ++i) {
            TfrxVariable *v = FVariables->Items(i);
            TfrxVariable *a = ancestor ? ancestor->Variables()->Items(ancestor->Variables()->IndexOf(v->Name()))
                                       : nullptr;
            element->Add(QStringLiteral("item"))->SetText(entryText(v, a, v->Name()));
        }
    }
    if (!FStyles->IsEmpty()) {
        TfrxXMLItem *element = Item->Add(QStringLiteral("Styles"));
        for (int i = 0; i < FStyles->Count(); ++i) {
            TfrxStyleItem *style = FStyles->Items(i);
            TfrxStyleItem *a = ancestor ? ancestor->Styles()->Find(style->Name()) : nullptr;
            element->Add(QStringLiteral("item"))->SetText(entryText(style, a, style->Name()));
        }
    }
}

bool TfrxReport::ReadNestedProperty(TfrxXMLItem *Item)
{
    const QString &name = Item->Name();
    if (name.compare(QLatin1String("Datasets"), Qt::CaseInsensitive) == 0)
        ReadCollection(Item, TCollectionKind::DataSets);
    else if (name.compare(QLatin1String("Variables"), Qt::CaseInsensitive) == 0)
        ReadCollection(Item, TCollectionKind::Variables);
    else if (name.compare(QLatin1String("Styles"), Qt::CaseInsensitive) == 0)
        ReadCollection(Item, TCollectionKind::Styles);
    else
        return false;
    return true;
}

bool TfrxReport::ReadUnpublished(QStringView Name, const QString &Value)
{
    if (Name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0)
        return true;
    return TfrxComponent::ReadUnpublished(Name, Value);
}

void TfrxReport::ReadCollection(TfrxXMLItem *Item, TCollectionKind Kind)
{
    // The loading serializer resolves the data set references with the rest
    // of the tree; read on its own, the entries are resolved here.
    TfrxXMLSerializer local(nullptr);
    local.SetOwner(this);
    TfrxXMLSerializer *serializer = FSerializer ? FSerializer : &local;
    const bool inherited = !FParentReport.isEmpty();
    if (Kind == TCollectionKind::DataSets && inherited)
        FDataSets->Clear();

    for (int i = 0; i < Item->Count(); ++i) {
        TfrxXMLItem *child = Item->Items(i);
        if (child->Name().compare(QLatin1String("item"), Qt::CaseInsensitive) != 0)
            continue;
        const QString inheritedName =
            inherited ? rudXMLToStr(child->Prop(QStringLiteral("InheritedName"))) : QString();
        QObject *entry = nullptr;
        switch (Kind) {
        case TCollectionKind::DataSets:
            entry = FDataSets->Add();
            break;
        case TCollectionKind::Variables: {
            const int existing = inheritedName.isEmpty() ? -1 : FVariables->IndexOf(inheritedName);
            entry = existing >= 0 ? FVariables->Items(existing) : FVariables->Add();
            break;
        }
        case TCollectionKind::Styles: {
            TfrxStyleItem *existing = inheritedName.isEmpty() ? nullptr : FStyles->Find(inheritedName);
            entry = existing ? existing : FStyles->Add();
            break;
        }
        }
        serializer->XMLToObj(child->Text(), entry);
    }
    if (serializer == &local) {
        local.FixupReferences();
        AddErrors(local.Errors());
    }
}

namespace {

const QLatin1String settingsKeyPrefix("\\Software\\");

// One key part as a file or folder name that stays inside its folder.
QString safeFileNamePart(const QString &Part)
{
    QString result = Part;
    for (QChar &c : result)
        if (c.unicode() < 32 || QStringLiteral("<>:\"|?*").contains(c))
            c = QLatin1Char('_');
    if (result.count(QLatin1Char('.')) == result.size())
        result.fill(QLatin1Char('_'));
    return result;
}

bool isSettingsKey(const QString &IniFile)
{
    return IniFile.isEmpty() || IniFile.startsWith(settingsKeyPrefix, Qt::CaseInsensitive);
}

} // namespace

QString rudSettingsFileName(const QString &IniFile)
{
    if (!isSettingsKey(IniFile))
        return IniFile;
    QStringList parts;
    QString key = IniFile.mid(settingsKeyPrefix.size());
    key.replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const QString &part : key.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        parts << safeFileNamePart(part);
    if (parts.isEmpty())
        parts << QStringLiteral("Software");
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           parts.join(QLatin1Char('/')) + QStringLiteral(".ini");
}

std::unique_ptr<TIniFile> TfrxReport::GetIniFile() const
{
    const QString fileName = rudSettingsFileName(FIniFile);
    // The folders of a key are made here, so that writing the store succeeds.
    if (isSettingsKey(FIniFile))
        QDir().mkpath(QFileInfo(fileName).absolutePath());
    return std::make_unique<TIniFile>(fileName);
}
