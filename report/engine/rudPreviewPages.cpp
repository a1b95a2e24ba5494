// The prepared pages store: source pages, adding pages and objects, logical
// page numbers, rebuilding pages with their cache, and page editing. The
// prepared-report file is in rudPreviewPagesFile.cpp.

#include "report/engine/rudPreviewPages.h"

#include "report/model/rudBand.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudDiff.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudReport.h"
#include "report/model/rudXMLSerializer.h"

#include "base/Errors.h"
#include "base/NumberFormat.h"

#include <QRectF>
#include <QSet>
#include <cmath>

namespace {

bool sameText(const QString &A, const char *B)
{
    return A.compare(QLatin1String(B), Qt::CaseInsensitive) == 0;
}

// True when cls is the class named Name or derives from it.
bool classInherits(const QMetaObject *cls, const char *Name)
{
    for (; cls; cls = cls->superClass())
        if (qstrcmp(cls->className(), Name) == 0)
            return true;
    return false;
}

// A float attribute of a page or object item; Default when absent or
// unreadable. A damaged number (a hand-edited or broken prepared-report
// file) goes to Report's error list, as the serializer reports one: the
// work goes on with the default.
double floatProp(const TfrxXMLItem *Item, const char *Name, double Default, TfrxReport *Report)
{
    const QString name = QLatin1String(Name);
    if (!Item->PropExists(name))
        return Default;
    try {
        return rudStrToFloat(Item->Prop(name));
    } catch (const Exception &e) {
        if (Report)
            Report->AddErrors({Item->Name() + QLatin1Char('.') + name + QStringLiteral(": ") + e.Message()});
        return Default;
    }
}

} // namespace


TfrxCustomPreviewPages::TfrxCustomPreviewPages(TfrxReport *AReport) : FReport(AReport) {}

TfrxCustomPreviewPages::~TfrxCustomPreviewPages() = default;

TfrxCustomEngine *TfrxCustomPreviewPages::Engine() const
{
    if (FEngine)
        return FEngine;
    return FReport ? FReport->Engine() : nullptr;
}

TfrxPreviewPages::TfrxPreviewPages(TfrxReport *AReport) : TfrxCustomPreviewPages(AReport)
{
    FOutline = std::make_unique<TfrxOutline>(this);
    FXMLDoc.Root()->SetName(QStringLiteral("preparedreport"));
}

TfrxPreviewPages::~TfrxPreviewPages()
{
    // Rebuilt pages go before the source pages their objects were read from.
    FPageCache.clear();
}

TfrxXMLItem *TfrxPreviewPages::RootChild(const char *Name)
{
    return FXMLDoc.Root()->FindItem(QLatin1String(Name));
}

TfrxXMLItem *TfrxPreviewPages::PagesItem()
{
    return RootChild("previewpages");
}

TfrxXMLItem *TfrxPreviewPages::PageItem(int Index)
{
    TfrxXMLItem *pages = PagesItem();
    if (Index < 0 || Index >= pages->Count())
        return nullptr;
    TfrxXMLItem *item = pages->Items(Index);
    if (!item->Loaded())
        FXMLDoc.LoadItem(item);
    return item;
}

TfrxXMLItem *TfrxPreviewPages::CurPageItem()
{
    return PageItem(FCurPage);
}

bool TfrxPreviewPages::IsWholePage(const TfrxXMLItem *Item) const
{
    return sameText(Item->Name(), "TfrxReportPage") || sameText(Item->Name(), "TfrxDMPPage");
}

int TfrxPreviewPages::SourcePageIndexOf(const TfrxXMLItem *Item) const
{
    const QString &name = Item->Name();
    if (!name.startsWith(QLatin1String("page"), Qt::CaseInsensitive))
        return -1;
    bool ok = false;
    const int n = name.mid(4).toInt(&ok);
    return ok && n >= 0 && n < SourcePageCount() ? n : -1;
}

TfrxReportPage *TfrxPreviewPages::SourcePage(int Index) const
{
    return Index >= 0 && Index < SourcePageCount() ? FSourcePages[size_t(Index)].get() : nullptr;
}

void TfrxPreviewPages::ClearCache()
{
    FPageCache.clear();
}

int TfrxPreviewPages::GetCount()
{
    return PagesItem()->Count();
}

// ---- a run ------------------------------------------------------------------------

void TfrxPreviewPages::Clear()
{
    ClearCache();
    FSourcePages.clear();
    FXMLDoc.Clear();
    FDictionary.Clear();
    FRecipes.clear();
    FPictureCache.Clear();
    FOutline->LevelRoot();
    FCurPage = -1;
    FXMLSize = 0;
    FLastY = 0;
    FLastObjectOver = nullptr;
}

void TfrxPreviewPages::Initialize()
{
    if (FReport) {
        const QString tempDir = FReport->EngineOptions()->TempDir();
        FPictureCache.SetUseFileCache(FReport->PreviewOptions()->PictureCacheInFile());
        FPictureCache.SetTempDir(tempDir);
        FXMLDoc.SetTempDir(tempDir);
    }
    if (TfrxCustomEngine *engine = Engine())
        engine->ProgressStart(ptRunning);
}

void TfrxPreviewPages::AddSourcePage(TfrxReportPage *Page)
{
    if (!Page)
        return;
    const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(Page->metaObject()->className()));
    std::unique_ptr<TfrxComponent> created(entry.Create ? entry.Create(nullptr) : new TfrxReportPage(nullptr));
    auto *copy = dynamic_cast<TfrxReportPage *>(created.get());
    if (!copy)
        return;
    created.release();
    std::unique_ptr<TfrxReportPage> page(copy);
    page->Assign(Page);
    page->SetName(Page->Name());
    page->SetOriginalComponent(Page);
    // The copy is the last source page while its objects are copied, so that
    // objects that add their own source objects add them to this page.
    TfrxReportPage *target = page.get();
    FSourcePages.push_back(std::move(page));
    std::vector<TfrxComponent *> pairs;
    for (TfrxComponent *child : Page->Objects())
        CopySourceObject(child, target, pairs);
    for (size_t i = 0; i + 1 < pairs.size(); i += 2)
        RegisterSourceObject(pairs[i], pairs[i + 1]);
}

// Copies Design (preview-visible objects only) under CopyParent with its
// subtree, depth first; Pairs receives design object and copy in turn. An
// object that is not preview-visible is not copied, nor are its children: it
// adds its own source objects instead.
void TfrxPreviewPages::CopySourceObject(TfrxComponent *Design, TfrxComponent *CopyParent,
                                        std::vector<TfrxComponent *> &Pairs)
{
    if (!(Design->ComponentStyle() & csPreviewVisible)) {
        Design->AddSourceObjects();
        return;
    }
    const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(Design->metaObject()->className()));
    if (!entry.Create)
        return;
    TfrxComponent *copy = entry.Create(CopyParent);
    copy->Assign(Design);
    // Pictures reach prepared pages through the picture cache.
    if (auto *picture = dynamic_cast<TfrxPictureView *>(copy))
        picture->Picture()->Clear();
    try {
        copy->SetName(Design->Name());
    } catch (const Exception &) {
        // A copy keeps a name its design object could not pass on; the alias identifies it.
    }
    Pairs.push_back(Design);
    Pairs.push_back(copy);
    for (TfrxComponent *child : Design->Objects())
        CopySourceObject(child, copy, Pairs);
}

// Links a design object and its copy in the last source page, gives both an
// alias and stores the copy's attribute text for rebuilding.
void TfrxPreviewPages::RegisterSourceObject(TfrxComponent *Design, TfrxComponent *Copy)
{
    Design->SetOriginalComponent(Copy);
    Copy->SetOriginalComponent(Design);
    QString base = QStringLiteral("b");
    if (!rudIsBand(Copy)) {
        const QString baseName = Copy->BaseName();
        base = baseName.isEmpty() ? QStringLiteral("o") : baseName.left(1).toLower();
    }
    const QString sourceName =
        QStringLiteral("Page") + QString::number(SourcePageCount() - 1) + QLatin1Char('.') + Copy->Name();
    const QString alias = FDictionary.AddUnique(base, sourceName, Copy);
    if (auto *memo = dynamic_cast<TfrxCustomMemoView *>(Copy)) {
        memo->SetDataSet(nullptr);
        memo->SetDataField(QString());
    }
    if (Copy->ComponentStyle() & csDefaultDiff) {
        Copy->SetBaseName(QString::fromLatin1(Copy->metaObject()->className()));
    } else {
        TfrxXMLSerializer serializer(nullptr);
        Copy->SetBaseName(serializer.WriteComponentStr(Copy));
    }
    Design->SetAliasName(alias);
    Copy->SetAliasName(alias);
}

void TfrxPreviewPages::AddToSourcePage(TfrxComponent *Obj)
{
    if (!Obj || FSourcePages.empty())
        return;
    const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(Obj->metaObject()->className()));
    if (!entry.Create)
        return;
    TfrxReportPage *page = FSourcePages.back().get();
    TfrxComponent *copy = entry.Create(page);
    copy->Assign(Obj);
    if (auto *picture = dynamic_cast<TfrxPictureView *>(copy))
        picture->Picture()->Clear();
    // Unique among the source page's objects and the report's.
    copy->SetName(QString());
    QSet<QString> names;
    for (TfrxComponent *c : page->AllObjects())
        names.insert(c->Name().toUpper());
    if (FReport)
        for (TfrxComponent *c : FReport->AllObjects())
            names.insert(c->Name().toUpper());
    for (int i = 1;; ++i) {
        const QString candidate = copy->BaseName() + QString::number(i);
        if (!names.contains(candidate.toUpper())) {
            copy->SetName(candidate);
            break;
        }
    }
    RegisterSourceObject(Obj, copy);
}

void TfrxPreviewPages::BeginPass()
{
    FFirstPageIndex = GetCount() - 1;
    if (FFirstPageIndex >= 0) {
        FFirstObjectIndex = PageItem(FFirstPageIndex)->Count();
        FFirstOutlineIndex = FOutline->Root()->Count();
    }
    ResetLogicalPageNumber();
}

// Moves page text out of memory: from the second-to-last page backwards,
// stopping at the first page that is already out (packed pages are still
// in memory).
void TfrxPreviewPages::UnloadPages()
{
    TfrxXMLItem *pages = PagesItem();
    for (int i = pages->Count() - 2; i >= 0; --i) {
        TfrxXMLItem *item = pages->Items(i);
        if (!item->Loaded() && !item->Packed())
            break;
        if (item->Unloadable())
            FXMLDoc.UnloadItem(item);
    }
}

// Pages the output has left behind are packed: a page item holds an item
// per output object, which costs several times the text it carries. The
// last two pages stay open, as the ones output may still reach (and the
// first two are never unloadable); a page left for an earlier one is packed
// as soon as it is left. Walking back stops at the first page already
// packed, so each page is looked at once.
void TfrxPreviewPages::PackPagesBehind(int Left)
{
    TfrxXMLItem *pages = PagesItem();
    const int open = pages->Count() - 2;
    auto pack = [&](int Index) {
        TfrxXMLItem *item = pages->Items(Index);
        if (Index != FCurPage && item->Loaded() && item->Unloadable())
            item->Pack();
    };
    if (Left >= 0 && Left < open)
        pack(Left);
    for (int i = open - 1; i >= 0 && pages->Items(i)->Loaded(); --i)
        pack(i);
}

void TfrxPreviewPages::AddPage(TfrxReportPage *Page)
{
    TfrxXMLItem *pages = PagesItem();
    if (FReport && FReport->EngineOptions()->UseFileCache() &&
        FXMLSize > qint64(FReport->EngineOptions()->MaxMemSize()) * 1048576) {
        UnloadPages();
        FXMLSize = 0;
    }
    ClearCache();
    const int left = FCurPage;
    ++FCurPage;
    if (FCurPage < pages->Count() && FAddPageAction == apWriteOver) {
        PackPagesBehind(left);
        return;
    }
    int source = -1;
    for (int i = 0; i < SourcePageCount(); ++i)
        if (FSourcePages[size_t(i)]->OriginalComponent() == Page) {
            source = i;
            break;
        }
    TfrxXMLItem *item = pages->Add(PageItemName(source));
    item->SetUnloadable(pages->Count() > 2);
    if (TfrxCustomEngine *engine = Engine())
        engine->Progress(ptRunning, FCurPage + 1);
    FAddPageAction = apWriteOver;
    FCurPage = pages->Count() - 1;
    PackPagesBehind(left);
    IncLogicalPageNumber();
}

// "page" + the source page index; one shared string per source page.
QString TfrxPreviewPages::PageItemName(int Source)
{
    const size_t slot = size_t(Source + 1);
    if (FPageItemNames.size() <= slot)
        FPageItemNames.resize(slot + 1);
    if (FPageItemNames[slot].isEmpty())
        FPageItemNames[slot] = QStringLiteral("page") + QString::number(Source);
    return FPageItemNames[slot];
}

void TfrxPreviewPages::AddObject(TfrxComponent *Obj)
{
    TfrxXMLItem *page = CurPageItem();
    if (!page || !Obj)
        return;
    if (!page->Loaded())
        FXMLDoc.LoadItem(page);
    AddObjectItem(page, Obj, IsWholePage(page), 0);
}

// Maximum nesting of object items: far beyond any report, and a bound on
// the recursion of adding, checking and rebuilding them.
static constexpr int MaxObjectDepth = 256;

void TfrxPreviewPages::AddObjectItem(TfrxXMLItem *Parent, TfrxComponent *Obj, bool Whole, int Depth)
{
    if (!Obj->Visible() || !(Obj->ComponentStyle() & csPreviewVisible) || Depth > MaxObjectDepth)
        return;
    TfrxComponent *source = Obj->AliasName().isEmpty() ? nullptr : FDictionary.GetObject(Obj->AliasName());
    TfrxXMLItem *item = Parent->Add();
    QString text;
    if (!source || Whole) {
        item->SetName(QString::fromLatin1(Obj->metaObject()->className()));
        text = Obj->AllDiff(nullptr);
    } else {
        item->SetName(Obj->AliasName());
        const TfrxCustomEngine *engine = Engine();
        const bool finalPass = !engine || engine->FFinalPass;
        if (!finalPass)
            text = Obj->DiffBase(source);
        else if (Obj->ComponentStyle() & csDefaultDiff)
            text = Obj->AllDiff(source);
        else
            text = Obj->Diff(source);
    }
    // Kept at its exact size: a store holds hundreds of thousands.
    if (text.startsWith(QLatin1Char(' ')))
        text = QStringView(text).mid(1).toString();
    else
        text.squeeze();
    item->SetText(text);
    FXMLSize += item->Name().size() + text.size() + qint64(sizeof(TfrxXMLItem)) + 16;
    for (TfrxComponent *child : Obj->Objects())
        AddObjectItem(item, child, Whole, Depth + 1);
}

bool TfrxPreviewPages::BandExists(TfrxComponent *Band)
{
    TfrxXMLItem *page = CurPageItem();
    if (!page || !Band)
        return false;
    TfrxComponent *source = Band->AliasName().isEmpty() ? nullptr : FDictionary.GetObject(Band->AliasName());
    const bool pageFooter = Band->inherits("TfrxPageFooter");
    const bool columnFooter = Band->inherits("TfrxColumnFooter");
    for (int i = 0; i < page->Count(); ++i) {
        const TfrxXMLItem *item = page->Items(i);
        TfrxComponent *itemSource = FDictionary.GetObject(item->Name());
        if (source && itemSource == source)
            return true;
        const QMetaObject *cls = itemSource ? itemSource->metaObject() : rudFindClass(item->Name()).Class;
        if ((pageFooter && classInherits(cls, "TfrxPageFooter")) ||
            (columnFooter && classInherits(cls, "TfrxColumnFooter")))
            return true;
    }
    return false;
}

int TfrxPreviewPages::GetCurPosition()
{
    TfrxXMLItem *page = CurPageItem();
    return page ? page->Count() : 0;
}

// The lowest bottom of the band items of one page item (see GetLastY).
static double lastYOfPage(const TfrxXMLItem *Page, const TfrxDictionary &Dictionary, double ColumnPosition,
                          TfrxReport *Report)
{
    double result = 0;
    for (int i = 0; i < Page->Count(); ++i) {
        const TfrxXMLItem *item = Page->Items(i);
        TfrxComponent *source = Dictionary.GetObject(item->Name());
        const QMetaObject *cls = source ? source->metaObject() : rudFindClass(item->Name()).Class;
        if (!(classInherits(cls, "TfrxBand") || classInherits(cls, "TfrxNullBand")) ||
            classInherits(cls, "TfrxPageFooter") || classInherits(cls, "TfrxOverlay"))
            continue;
        const double top = floatProp(item, "t", source ? source->Top() : 0, Report);
        const double height = floatProp(item, "h", source ? source->Height() : 0, Report);
        if (ColumnPosition != 0) {
            const double left = floatProp(item, "l", source ? source->Left() : 0, Report);
            if (std::fabs(left - ColumnPosition) >= 0.001 && !classInherits(cls, "TfrxPageHeader") &&
                !classInherits(cls, "TfrxReportTitle"))
                continue;
        }
        result = std::max(result, top + height);
    }
    return result;
}

double TfrxPreviewPages::GetLastY(double ColumnPosition)
{
    TfrxXMLItem *page = CurPageItem();
    const double result = page ? lastYOfPage(page, FDictionary, ColumnPosition, FReport) : 0;
    return result == 0 && FLastY != 0 ? FLastY : result;
}

void TfrxPreviewPages::CutObjects(int APosition)
{
    TfrxXMLItem *page = CurPageItem();
    if (!page)
        return;
    TfrxXMLItem *cut = RootChild("cutted");
    while (APosition >= 0 && page->Count() > APosition)
        cut->AddItem(page->Items(APosition));
}

void TfrxPreviewPages::PasteObjects(double X, double Y)
{
    TfrxXMLItem *root = FXMLDoc.Root();
    const int index = root->Find(QStringLiteral("cutted"));
    if (index < 0)
        return;
    TfrxXMLItem *cut = root->Items(index);
    TfrxXMLItem *page = CurPageItem();
    if (page && cut->Count() > 0) {
        // An alias item without "l"/"t" stands where its source copy stands.
        auto position = [this](const TfrxXMLItem *Item, const char *Name, bool Vertical) {
            TfrxComponent *source = FDictionary.GetObject(Item->Name());
            return floatProp(Item, Name, source ? (Vertical ? source->Top() : source->Left()) : 0, FReport);
        };
        const double dx = X - position(cut->Items(0), "l", false);
        const double dy = Y - position(cut->Items(0), "t", true);
        while (cut->Count() > 0) {
            TfrxXMLItem *item = cut->Items(0);
            const double left = position(item, "l", false) + dx;
            const double top = position(item, "t", true) + dy;
            page->AddItem(item);
            item->SetProp(QStringLiteral("l"), FloatToStr(left));
            item->SetProp(QStringLiteral("t"), FloatToStr(top));
        }
    }
    delete cut;
    ClearCache();
}

bool TfrxPreviewPages::SetObjectText(int Position, const QString &Name, const QString &Text, double Grow,
                                     bool GrowParent)
{
    TfrxXMLItem *page = CurPageItem();
    if (!page || Position < 0 || Position >= page->Count())
        return false;
    TfrxXMLItem *parent = page->Items(Position);
    TfrxXMLItem *item = nullptr;
    for (int i = 0; i < parent->Count() && !item; ++i)
        if (parent->Items(i)->Name().compare(Name, Qt::CaseInsensitive) == 0)
            item = parent->Items(i);
    if (!item)
        return false;
    item->SetProp(QStringLiteral("u"), Text);
    ClearCache();
    if (Grow <= 0)
        return true;
    // An item without an attribute has its source copy's value.
    auto bounds = [this](const TfrxXMLItem *Item) {
        TfrxComponent *source = FDictionary.GetObject(Item->Name());
        return QRectF(floatProp(Item, "l", source ? source->Left() : 0, FReport),
                      floatProp(Item, "t", source ? source->Top() : 0, FReport),
                      floatProp(Item, "w", source ? source->Width() : 0, FReport),
                      floatProp(Item, "h", source ? source->Height() : 0, FReport));
    };
    const QRectF grown = bounds(item);
    const QRectF band = bounds(parent);
    item->SetProp(QStringLiteral("h"), FloatToStr(grown.height() + Grow));
    for (int i = 0; i < parent->Count(); ++i) {
        TfrxXMLItem *sibling = parent->Items(i);
        if (sibling == item)
            continue;
        const QRectF r = bounds(sibling);
        auto *view = qobject_cast<TfrxView *>(FDictionary.GetObject(sibling->Name()));
        const TfrxShiftMode mode = view ? view->ShiftMode() : smAlways;
        const bool overlaps = r.left() < grown.right() && grown.left() < r.right();
        if (r.top() >= grown.bottom() - 1e-4 && (mode == smAlways || (mode == smWhenOverlapped && overlaps)))
            sibling->SetProp(QStringLiteral("t"), FloatToStr(r.top() + Grow));
        else if (GrowParent && std::fabs(r.bottom() - band.height()) < 1e-4)
            sibling->SetProp(QStringLiteral("h"), FloatToStr(r.height() + Grow));
    }
    if (!GrowParent)
        return true;
    parent->SetProp(QStringLiteral("h"), FloatToStr(band.height() + Grow));
    for (int i = Position + 1; i < page->Count(); ++i) {
        TfrxXMLItem *next = page->Items(i);
        const double top = bounds(next).top();
        if (top >= band.bottom() - 1e-4)
            next->SetProp(QStringLiteral("t"), FloatToStr(top + Grow));
    }
    return true;
}

// ---- logical page numbers ---------------------------------------------------------

// True in the final pass of a double pass, whose page numbers the first pass recorded.
static bool numbersRecorded(const TfrxReport *Report, const TfrxCustomEngine *Engine)
{
    return Report && Engine && Report->EngineOptions()->DoublePass() && Engine->FFinalPass;
}

void TfrxPreviewPages::IncLogicalPageNumber()
{
    if (numbersRecorded(FReport, Engine()))
        return;
    ++FLogicalPageN;
    RootChild("logicalpagenumbers")
        ->Add(QStringLiteral("page"))
        ->SetProp(QStringLiteral("n"), QString::number(FLogicalPageN));
}

void TfrxPreviewPages::ResetLogicalPageNumber()
{
    if (numbersRecorded(FReport, Engine()))
        return;
    TfrxXMLItem *numbers = RootChild("logicalpagenumbers");
    for (int i = std::min(FCurPage, numbers->Count() - 1); i > FFirstPageIndex; --i) {
        TfrxXMLItem *item = numbers->Items(i);
        item->SetProp(QStringLiteral("t"), QString::number(FLogicalPageN));
        if (item->Prop(QStringLiteral("n")) == QLatin1String("1"))
            break;
    }
    FLogicalPageN = 0;
}

int TfrxPreviewPages::GetLogicalPageNo()
{
    TfrxXMLItem *numbers = RootChild("logicalpagenumbers");
    if (FCurPage >= 0 && FCurPage < numbers->Count())
        return numbers->Items(FCurPage)->Prop(QStringLiteral("n")).toInt();
    return FCurPage - FFirstPage + 1;
}

int TfrxPreviewPages::GetLogicalTotalPages()
{
    TfrxXMLItem *numbers = RootChild("logicalpagenumbers");
    if (FCurPage >= 0 && FCurPage < numbers->Count())
        return numbers->Items(FCurPage)->Prop(QStringLiteral("t")).toInt();
    const TfrxCustomEngine *engine = Engine();
    return (engine ? engine->FTotalPages : 0) - FFirstPage;
}

void TfrxPreviewPages::ClearFirstPassPages()
{
    TfrxXMLItem *root = FXMLDoc.Root();
    if (FFirstPageIndex == -1) {
        for (int i = root->Count() - 1; i >= 0; --i) {
            TfrxXMLItem *item = root->Items(i);
            if (!sameText(item->Name(), "anchors") && !sameText(item->Name(), "logicalpagenumbers"))
                delete item;
        }
    } else {
        TfrxXMLItem *pages = PagesItem();
        if (FFirstPageIndex < pages->Count()) {
            TfrxXMLItem *first = pages->Items(FFirstPageIndex);
            if (!first->Loaded())
                FXMLDoc.LoadItem(first);
            while (first->Count() > FFirstObjectIndex)
                delete first->Items(first->Count() - 1);
        }
        while (pages->Count() > FFirstPageIndex + 1)
            delete pages->Items(pages->Count() - 1);
        TfrxXMLItem *outline = FOutline->Root();
        while (outline->Count() > FFirstOutlineIndex)
            delete outline->Items(outline->Count() - 1);
    }
    FOutline->LevelRoot();
    ResetLogicalPageNumber();
    FCurPage = FFirstPageIndex;
    FXMLSize = 0;
    ClearCache();
}

void TfrxPreviewPages::Finish()
{
    FLastY = 0;
    ClearCache();
    for (const auto &page : FSourcePages) {
        page->SetOriginalComponent(nullptr);
        for (TfrxComponent *c : page->AllObjects())
            c->SetOriginalComponent(nullptr);
    }
    if (TfrxCustomEngine *engine = Engine())
        engine->ProgressStop(ptRunning);
}

void TfrxPreviewPages::UpdatePageDimensions(TfrxReportPage *Page, double Height, double Width)
{
    for (const auto &source : FSourcePages)
        if (source->OriginalComponent() == Page) {
            source->SetSizeAndDimensions(256, Width / fr01cm, Height / fr01cm);
            break;
        }
    ClearCache();
}

// ---- pictures, anchors ---------------------------------------------------------------

void TfrxPreviewPages::AddPicture(TfrxPictureView *Picture)
{
    FPictureCache.AddPicture(Picture);
}

void TfrxPreviewPages::AddAnchor(const QString &Text)
{
    TfrxXMLItem *item = RootChild("anchors")->Add(QStringLiteral("item"));
    item->SetProp(QStringLiteral("text"), Text);
    item->SetProp(QStringLiteral("page"), QString::number(FCurPage));
    const TfrxCustomEngine *engine = Engine();
    item->SetProp(QStringLiteral("top"), QString::number(engine ? RoundHalfEven(engine->FCurY) : 0));
}

TfrxXMLItem *TfrxPreviewPages::FindAnchor(const QString &Text)
{
    TfrxXMLItem *anchors = RootChild("anchors");
    for (int i = anchors->Count() - 1; i >= 0; --i)
        if (anchors->Items(i)->Prop(QStringLiteral("text")).compare(Text, Qt::CaseInsensitive) == 0)
            return anchors->Items(i);
    return nullptr;
}

int TfrxPreviewPages::GetAnchorPage(const QString &Text)
{
    TfrxXMLItem *anchor = FindAnchor(Text);
    return anchor ? anchor->Prop(QStringLiteral("page")).toInt() : -1;
}

int TfrxPreviewPages::GetAnchorCurPosition()
{
    return RootChild("anchors")->Count();
}

void TfrxPreviewPages::ShiftAnchors(int From, int NewTop)
{
    rudShiftOutlineItems(RootChild("anchors"), From, NewTop);
}

// ---- rebuilding pages ------------------------------------------------------------------

TfrxReportPage *TfrxPreviewPages::GetPage(int Index)
{
    TfrxXMLItem *pages = PagesItem();
    if (Index < 0 || Index >= pages->Count())
        return nullptr;
    const TfrxCustomEngine *engine = Engine();
    const bool running = engine && engine->FRunning;
    for (auto it = FPageCache.begin(); it != FPageCache.end(); ++it) {
        if (it->Index != Index)
            continue;
        if (running) {
            FPageCache.erase(it);
            break;
        }
        std::rotate(FPageCache.begin(), it, it + 1);
        return FPageCache.front().Page.get();
    }
    std::unique_ptr<TfrxReportPage> page;
    try {
        TfrxXMLItem *item = pages->Items(Index);
        if (item->Packed()) {
            // A packed page stays packed: it is rebuilt from a copy read
            // back for the time it takes.
            page = BuildPage(item->UnpackedCopy().get());
        } else {
            if (!item->Loaded()) {
                FXMLDoc.LoadItem(item);
                CheckPageItem(item, 0);
            }
            page = BuildPage(item);
        }
    } catch (const Exception &e) {
        // A page that cannot be rebuilt is reported and shown as missing.
        if (FReport)
            FReport->AddErrors({e.Message()});
        return nullptr;
    }
    FPageCache.insert(FPageCache.begin(), TCachedPage{Index, std::move(page)});
    const int limit = FReport ? FReport->PreviewOptions()->PagesInCache() : 50;
    if (FPageCache.size() > 1 && int(FPageCache.size()) > limit) {
        const int dropped = FPageCache.back().Index;
        if (FReport && FReport->EngineOptions()->UseFileCache() && dropped < pages->Count() &&
            pages->Items(dropped)->Unloadable())
            FXMLDoc.UnloadItem(pages->Items(dropped));
        FPageCache.pop_back();
    }
    return FPageCache.front().Page.get();
}

std::unique_ptr<TfrxReportPage> TfrxPreviewPages::BuildPage(TfrxXMLItem *Item)
{
    ++FPagesBuilt;
    if (IsWholePage(Item)) {
        auto page = std::make_unique<TfrxReportPage>(nullptr);
        TfrxXMLSerializer serializer(nullptr);
        serializer.ReadRootComponent(page.get(), Item);
        if (FReport && !serializer.Errors().isEmpty())
            FReport->AddErrors(serializer.Errors());
        return page;
    }
    const TfrxReportPage *source = SourcePage(SourcePageIndexOf(Item));
    std::unique_ptr<TfrxReportPage> page;
    if (source) {
        const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(source->metaObject()->className()));
        page.reset(entry.Create ? dynamic_cast<TfrxReportPage *>(entry.Create(nullptr)) : nullptr);
    }
    if (!page)
        page = std::make_unique<TfrxReportPage>(nullptr);
    if (source) {
        page->Assign(const_cast<TfrxReportPage *>(source));
        page->SetName(source->Name());
    }
    // One serializer reads the whole page, object by object.
    TfrxXMLSerializer serializer(nullptr);
    ReadObjects(Item, page.get(), serializer, 0);
    if (FReport && !serializer.Errors().isEmpty())
        FReport->AddErrors(serializer.Errors());
    return page;
}

void TfrxPreviewPages::ReadObjects(TfrxXMLItem *Item, TfrxComponent *Parent, TfrxXMLSerializer &Serializer,
                                   int Depth)
{
    if (Depth > MaxObjectDepth)
        throw EGeneralError(QStringLiteral("Objects of a prepared page are nested too deeply"));
    for (int i = 0; i < Item->Count(); ++i) {
        TfrxXMLItem *child = Item->Items(i);
        TfrxComponent *source = FDictionary.GetObject(child->Name());
        const TfrxObjectRecipe *recipe = source ? RecipeOf(source) : nullptr;
        TfrxComponent *obj = recipe ? Serializer.ReadComponentRecipe(Parent, *recipe, child->Text())
                                    : Serializer.ReadComponentStr(Parent,
                                                                  (source ? source->BaseName() : child->Name()) +
                                                                      QLatin1Char(' ') + child->Text(),
                                                                  true);
        if (!obj)
            continue;
        if (source) {
            try {
                obj->SetName(source->Name());
            } catch (const Exception &) {
                // The rebuilt object works without its source's name.
            }
            obj->SetAliasName(source->AliasName());
        }
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(obj))
            memo->ApplyPreviewHighlight();
        if (auto *picture = qobject_cast<TfrxPictureView *>(obj); picture && !picture->Picture()->HasImage()) {
            try {
                FPictureCache.GetPicture(picture);
            } catch (const Exception &e) {
                if (FReport)
                    FReport->AddErrors({e.Message()});
            }
        }
        ReadObjects(child, obj, Serializer, Depth + 1);
    }
}

// A source's attribute text is the same for each of the thousands of
// objects rebuilt from it: it is read once, and again only when it changes.
const TfrxObjectRecipe *TfrxPreviewPages::RecipeOf(const TfrxComponent *Source)
{
    const QString base = Source->BaseName();
    const auto [at, added] = FRecipes.try_emplace(Source);
    TSourceRecipe &entry = at->second;
    if (added || entry.Base != base) {
        entry.Base = base;
        entry.Usable = TfrxXMLSerializer::MakeRecipe(base, entry.Recipe);
    }
    return entry.Usable ? &entry.Recipe : nullptr;
}

QSize TfrxPreviewPages::GetPageSize(int Index)
{
    TfrxXMLItem *pages = PagesItem();
    if (Index < 0 || Index >= pages->Count())
        return QSize(0, 0);
    const TfrxReportPage *page = SourcePage(SourcePageIndexOf(pages->Items(Index)));
    if (IsWholePage(pages->Items(Index)))
        page = GetPage(Index);
    if (!page)
        return QSize(0, 0);
    return QSize(int(RoundHalfEven(page->Width())), int(RoundHalfEven(page->Height())));
}

// ---- editing ------------------------------------------------------------------------------

void TfrxPreviewPages::AddEmptyPage(int Index)
{
    TfrxXMLItem *pages = PagesItem();
    if (Index < 0 || Index >= pages->Count())
        return;
    auto *item = new TfrxXMLItem;
    item->SetName(pages->Items(Index)->Name());
    pages->InsertItem(Index, item);
    ClearCache();
}

void TfrxPreviewPages::DeletePage(int Index)
{
    TfrxXMLItem *pages = PagesItem();
    if (pages->Count() < 2 || Index < 0 || Index >= pages->Count())
        return;
    delete pages->Items(Index);
    FCurPage = std::min(FCurPage, pages->Count() - 1);
    ClearCache();
}

void TfrxPreviewPages::ModifyPage(int Index, TfrxReportPage *Page)
{
    TfrxXMLItem *pages = PagesItem();
    if (!Page || Index < 0 || Index >= pages->Count())
        return;
    TfrxXMLItem *item = pages->Items(Index);
    item->Clear();
    item->SetLoaded(true);
    item->SetUnloadable(false);
    TfrxXMLSerializer serializer(nullptr);
    serializer.WriteRootComponent(Page, true, item);
    item->SetName(QStringLiteral("TfrxReportPage"));
    ClearCache();
}

void TfrxPreviewPages::DrawPage(int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                                double OffsetY)
{
    rudNeedService(rudServicesOf(FReport).DrawPage, "page drawing")(this, Index, Canvas, ScaleX, ScaleY, OffsetX,
                                                                    OffsetY);
}

TfrxView *TfrxPreviewPages::ObjectOver(int Index, double X, double Y)
{
    TfrxReportPage *page = GetPage(Index);
    if (!page)
        return nullptr;
    const QList<TfrxComponent *> &all = page->AllObjects();
    for (qsizetype i = all.size() - 1; i >= 0; --i) {
        auto *view = dynamic_cast<TfrxView *>(all[i]);
        if (!view)
            continue;
        const double left = view->AbsLeft(), top = view->AbsTop();
        if (X >= left && X < left + view->Width() && Y >= top && Y < top + view->Height()) {
            FLastObjectOver = view;
            return view;
        }
    }
    FLastObjectOver = nullptr;
    return nullptr;
}

bool TfrxPreviewPages::Print()
{
    return rudNeedService(rudServicesOf(FReport).PrintPages, "printing")(this);
}

bool TfrxPreviewPages::Export(QObject *)
{
    return false;
}

void TfrxPreviewPages::AddFrom(TfrxReport *Report)
{
    auto *other = Report ? dynamic_cast<TfrxPreviewPages *>(Report->PreviewPages()) : nullptr;
    if (!other || other == this)
        return;
    TfrxXMLItem *pages = PagesItem();
    const int offset = pages->Count();
    const int count = other->GetCount();
    for (int i = 0; i < count; ++i) {
        TfrxReportPage *page = other->GetPage(i);
        if (!page)
            continue;
        TfrxXMLItem *item = pages->Add();
        TfrxXMLSerializer serializer(nullptr);
        serializer.WriteRootComponent(page, true, item);
        item->SetName(QStringLiteral("TfrxReportPage"));
    }
    // Anchors and outline follow their pages.
    TfrxXMLItem *anchors = RootChild("anchors");
    auto copyItem = [offset](auto &self, const TfrxXMLItem *From, TfrxXMLItem *To) -> void {
        TfrxXMLItem *item = To->Add(From->Name());
        item->SetText(From->Text());
        item->SetProp(QStringLiteral("page"), QString::number(From->Prop(QStringLiteral("page")).toInt() + offset));
        for (int i = 0; i < From->Count(); ++i)
            self(self, From->Items(i), item);
    };
    TfrxXMLItem *otherAnchors = other->RootChild("anchors");
    for (int i = 0; i < otherAnchors->Count(); ++i)
        copyItem(copyItem, otherAnchors->Items(i), anchors);
    TfrxXMLItem *outline = FOutline->Root();
    TfrxXMLItem *otherOutline = other->FOutline->Root();
    for (int i = 0; i < otherOutline->Count(); ++i)
        copyItem(copyItem, otherOutline->Items(i), outline);
    TfrxXMLItem *last = other->PageItem(count - 1);
    FLastY = last ? lastYOfPage(last, other->FDictionary, 0, FReport) : 0;
    ClearCache();
}
