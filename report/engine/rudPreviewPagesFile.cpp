// The prepared-report file (".fp3"): the store's XML document with the
// report's preview settings, the source pages, the dictionary and the
// picture cache written beside the pages; and the compressor hook.

#include "report/engine/rudPreviewPages.h"

#include "report/model/rudClassRegistry.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/model/rudXMLSerializer.h"

#include "base/Errors.h"
#include "base/InputFile.h"
#include "base/SafeSave.h"

#include <QBuffer>
#include <QFile>
#include <QHash>

namespace {

// A compressor of the report's services, or nullptr: files are plain XML.
std::unique_ptr<TfrxCustomCompressor> makeCompressor(TfrxReport *Report)
{
    const auto &factory = rudServicesOf(Report).Compressor;
    return factory ? factory() : nullptr;
}

bool sameText(const QString &A, const char *B)
{
    return A.compare(QLatin1String(B), Qt::CaseInsensitive) == 0;
}

QString boolText(bool Value)
{
    return Value ? QStringLiteral("True") : QStringLiteral("False");
}

// Deepest object nesting a prepared page may have (as when adding objects).
constexpr int MaxObjectDepth = 256;

// Raises the load error of a prepared-report file.
[[noreturn]] void badFile(const QString &Detail)
{
    throw EGeneralError(QStringLiteral("Invalid prepared report: ") + Detail);
}

} // namespace

// ---- saving ------------------------------------------------------------------------

void TfrxPreviewPages::BeforeSave()
{
    TfrxXMLItem *report = RootChild("report");
    report->Clear();
    if (FReport) {
        TfrxXMLItem *item = report->Add(QString::fromLatin1(FReport->metaObject()->className()));
        item->SetText(QStringLiteral("DotMatrixReport=\"%1\" PreviewOptions.OutlineVisible=\"%2\" "
                                     "PreviewOptions.OutlineWidth=\"%3\" ReportOptions.Name=\"%4\"")
                          .arg(boolText(FReport->DotMatrixReport()),
                               boolText(FReport->PreviewOptions()->OutlineVisible()),
                               QString::number(FReport->PreviewOptions()->OutlineWidth()),
                               rudStrToXML(FReport->ReportOptions()->Name())));
    }
    TfrxXMLItem *sources = RootChild("sourcepages");
    sources->Clear();
    for (const auto &page : FSourcePages) {
        TfrxXMLSerializer serializer(nullptr);
        serializer.WriteRootComponent(page.get(), true, sources->Add());
    }
    TfrxXMLItem *dictionary = RootChild("dictionary");
    dictionary->Clear();
    for (const QString &alias : FDictionary.Names())
        dictionary->Add(alias)->SetText(QStringLiteral("name=\"") + rudStrToXML(FDictionary.GetSourceName(alias)) +
                                        QLatin1Char('"'));
    FPictureCache.SaveToXML(RootChild("picturecache"));
}

void TfrxPreviewPages::SaveToStream(QIODevice *Stream)
{
    BeforeSave();
    std::unique_ptr<TfrxCustomCompressor> compressor;
    if (FReport && FReport->ReportOptions()->Compressed())
        compressor = makeCompressor(FReport);
    if (!compressor) {
        FXMLDoc.SaveToStream(Stream);
        return;
    }
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    FXMLDoc.SaveToStream(&buffer);
    compressor->Compress(buffer.data(), Stream);
}

void TfrxPreviewPages::SaveToFile(const QString &FileName)
{
    // The whole file is made in memory first: a save that fails on the way
    // leaves the old file as it was.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    SaveToStream(&buffer);
    saveFileAtomically(FileName, buffer.data());
}

// ---- loading -------------------------------------------------------------------------

bool TfrxPreviewPages::LoadFromFile(const QString &FileName, bool ExceptionIfNotFound)
{
    const bool exists = QFile::exists(FileName);
    if (!exists && !ExceptionIfNotFound)
        return false;
    QFile file;
    openRegularFile(file, FileName);
    LoadFromStream(&file, false);
    return exists;
}

void TfrxPreviewPages::LoadFromStream(QIODevice *Stream, bool AllowPartialLoading)
{
    Clear();
    FAllowPartialLoading = AllowPartialLoading;
    std::unique_ptr<QBuffer> decompressed;
    if (std::unique_ptr<TfrxCustomCompressor> compressor = makeCompressor(FReport)) {
        FAllowPartialLoading = false;
        try {
            if (std::optional<QByteArray> data = compressor->Decompress(Stream)) {
                decompressed = std::make_unique<QBuffer>();
                decompressed->setData(*data);
                decompressed->open(QIODevice::ReadOnly);
            }
        } catch (const std::exception &) {
            if (FReport) {
                FReport->AddErrors({rudResources().Get(QStringLiteral("clDecompressError"))});
                rudCommonErrorHandler(FReport, rudResources().Get(QStringLiteral("clErrors")) + QStringLiteral("\n") +
                                                   FReport->Errors().join(QLatin1Char('\n')));
            }
            return;
        }
    }
    try {
        if (decompressed)
            FXMLDoc.LoadFromStream(std::unique_ptr<QIODevice>(decompressed.release()), false);
        else
            FXMLDoc.LoadFromStream(Stream, FAllowPartialLoading);
        AfterLoad();
    } catch (...) {
        // Nothing of a damaged file stays behind for the preview to trip on.
        Clear();
        throw;
    }
}

// Checks the object items of a loaded page: nesting within bounds and every
// item naming an alias or a registered class of printable objects.
void TfrxPreviewPages::CheckPageItem(const TfrxXMLItem *Item, int Depth) const
{
    if (Depth > MaxObjectDepth)
        badFile(QStringLiteral("objects are nested too deeply"));
    for (int i = 0; i < Item->Count(); ++i) {
        const TfrxXMLItem *child = Item->Items(i);
        if (!FDictionary.GetObject(child->Name())) {
            const TfrxClassEntry entry = rudFindClass(child->Name());
            if (!entry.Create || entry.Class->inherits(&TfrxPage::staticMetaObject) ||
                entry.Class->inherits(&TfrxReport::staticMetaObject))
                badFile(rudResources().Get(QStringLiteral("xrCantFindClass")) + QLatin1Char(' ') + child->Name());
        }
        CheckPageItem(child, Depth + 1);
    }
}

void TfrxPreviewPages::AfterLoad()
{
    TfrxXMLItem *root = FXMLDoc.Root();
    if (!sameText(root->Name(), "preparedreport"))
        badFile(QStringLiteral("the document is not a prepared report"));

    // Only the preview settings and the name follow the file into the live report.
    if (const int index = root->Find(QStringLiteral("report")); FReport && index >= 0 && root->Items(index)->Count()) {
        const TfrxXMLItem *item = root->Items(index)->Items(0);
        TfrxXMLSerializer serializer(nullptr);
        QString text;
        for (const char *name : {"DotMatrixReport", "PreviewOptions.OutlineVisible", "PreviewOptions.OutlineWidth",
                                 "ReportOptions.Name"})
            if (item->PropExists(QLatin1String(name)))
                text += QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") +
                        rudStrToXML(item->Prop(QLatin1String(name))) + QLatin1Char('"');
        serializer.XMLToObj(text, FReport);
        FReport->AddErrors(serializer.Errors());
    }

    if (const int index = root->Find(QStringLiteral("sourcepages")); index >= 0) {
        TfrxXMLItem *sources = root->Items(index);
        for (int i = 0; i < sources->Count(); ++i) {
            TfrxXMLItem *item = sources->Items(i);
            auto page = std::make_unique<TfrxReportPage>(nullptr);
            TfrxXMLSerializer serializer(nullptr);
            serializer.ReadRootComponent(page.get(), item);
            if (FReport)
                FReport->AddErrors(serializer.Errors());
            for (TfrxComponent *c : page->AllObjects()) {
                if (c->ComponentStyle() & csDefaultDiff) {
                    c->SetBaseName(QString::fromLatin1(c->metaObject()->className()));
                } else {
                    TfrxXMLSerializer writer(nullptr);
                    c->SetBaseName(writer.WriteComponentStr(c));
                }
            }
            FSourcePages.push_back(std::move(page));
        }
        sources->Clear();
    }

    if (const int index = root->Find(QStringLiteral("dictionary")); index >= 0) {
        // Objects by name per source page, so that the lookups stay linear.
        std::vector<QHash<QString, TfrxComponent *>> names(FSourcePages.size());
        for (size_t p = 0; p < FSourcePages.size(); ++p)
            for (TfrxComponent *c : FSourcePages[p]->AllObjects())
                names[p].insert(c->Name().toUpper(), c);
        const TfrxXMLItem *dictionary = root->Items(index);
        for (int i = 0; i < dictionary->Count(); ++i) {
            const TfrxXMLItem *item = dictionary->Items(i);
            const QString sourceName = item->Prop(QStringLiteral("name"));
            const qsizetype dot = sourceName.indexOf(QLatin1Char('.'));
            bool ok = false;
            const int page = dot > 4 ? sourceName.mid(4, dot - 4).toInt(&ok) : -1;
            TfrxComponent *obj = nullptr;
            if (ok && page >= 0 && page < int(names.size()))
                obj = names[size_t(page)].value(sourceName.mid(dot + 1).toUpper());
            if (obj)
                obj->SetAliasName(item->Name());
            FDictionary.Add(item->Name(), sourceName, obj);
        }
    }

    TfrxXMLItem *pages = PagesItem();
    for (int i = 0; i < pages->Count(); ++i) {
        const TfrxXMLItem *item = pages->Items(i);
        if (!IsWholePage(item)) {
            const QString &name = item->Name();
            bool ok = false;
            const int n = name.startsWith(QLatin1String("page"), Qt::CaseInsensitive) ? name.mid(4).toInt(&ok) : -2;
            if (!ok || n < -1 || n >= SourcePageCount())
                badFile(QStringLiteral("page %1 has no source page (%2)").arg(i + 1).arg(name));
        }
        if (item->Loaded())
            CheckPageItem(item, 0);
    }
    // Pages beyond the second are kept packed, as while preparing. Read
    // whole, such a page keeps the unloadable mark of the file as an
    // attribute; it goes, or the page would be written with two.
    for (int i = 2; i < pages->Count(); ++i) {
        TfrxXMLItem *item = pages->Items(i);
        if (!IsWholePage(item) && item->Loaded()) {
            if (item->PropExists(QStringLiteral("ld")))
                item->DeleteProp(QStringLiteral("ld"));
            item->SetUnloadable(true);
            item->Pack();
        }
    }

    if (const int index = root->Find(QStringLiteral("picturecache")); index >= 0)
        FPictureCache.LoadFromXML(root->Items(index));
    FCurPage = pages->Count() - 1;
}
