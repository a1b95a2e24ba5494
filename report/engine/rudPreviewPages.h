#pragma once
// The prepared pages store: what preparation outputs, kept small. Each report
// page is copied once per run as a source page whose objects get short
// aliases ("m1", "b3") in a dictionary; a prepared page is an XML item that
// lists, per output object, its alias and only the properties in which it
// differs from its source copy. Pages are rebuilt from the copies and the
// differences when they are needed, and the most recently used rebuilt pages
// are cached. The same XML document is the prepared-report file (".fp3").
//
// Drawing and printing live in report/render, above this room. They reach
// the store as two of the report's services (DrawPage and PrintPages of
// TfrxServices), which report/render offers: TfrxPreviewPages::DrawPage and
// Print are ordinary virtual members defined here that call the service;
// without one they raise EMissingService. A service gets the store and reads
// the pages through GetPage/GetCount and the drawing settings CopyNo and
// PrintScale (a memo drawn from the store gets the store's page count, copy
// number and print scale before it is drawn).

#include "report/engine/rudCustomEngine.h"
#include "report/model/rudPictureCache.h"
#include "report/model/rudXML.h"
#include "report/model/rudXMLSerializer.h"

#include <QHash>
#include <QIODevice>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <memory>
#include <unordered_map>
#include <vector>

class TfrxCanvas;
class TfrxComponent;
class TfrxPictureView;
class TfrxReport;
class TfrxReportPage;
class TfrxView;
class TfrxXMLSerializer;
class TfrxPreviewPages;

// How AddPage treats a page index that already exists.
enum TfrxAddPageAction { apWriteOver, apAdd };

// Aliases of the source objects: a sorted list of aliases (ignoring case),
// each naming an entry of the source names ("Page" + source page index +
// "." + object name), each carrying its source object.
class TfrxDictionary {
public:
    // Adds an alias; an alias that exists already is left as it is.
    void Add(const QString &Name, const QString &SourceName, TfrxComponent *Obj);
    // Adds Obj under a new unique alias made from Base; returns the alias.
    QString AddUnique(const QString &Base, const QString &SourceName, TfrxComponent *Obj);
    // A free alias Base + n: a halving search from 10000 down to the last
    // taken number below it, then the first free number from there; the
    // first alias of a base is Base + "1".
    QString CreateUniqueName(const QString &Base) const;
    // The source object of an alias, or nullptr (also for an alias whose
    // object was not found when the dictionary was read from a file).
    TfrxComponent *GetObject(const QString &Name) const;
    // The source name of an alias, or "".
    QString GetSourceName(const QString &Name) const;
    // True when Name is an alias.
    bool Contains(const QString &Name) const;
    void Clear();
    int Count() const { return int(FSourceNames.size()); }
    // The aliases in alias order.
    QStringList Names() const;

private:
    struct TEntry {
        QString Name;
        QString SourceName;
        QPointer<TfrxComponent> Obj;
    };
    int IndexOf(const QString &Name) const;

    QMap<QString, int> FNames;          // lower-case alias -> index in FSourceNames
    std::vector<TEntry> FSourceNames;
    // Per lower-case base, per probed number n: a number m > n such that
    // Base + n .. Base + (m - 1) are all aliases. Aliases are only ever
    // added (until Clear), so what a search learnt stays true and the next
    // search steps over a run of taken numbers at once.
    mutable QHash<QString, QHash<int, int>> FTakenRuns;
};

// The outline of the prepared report: a tree of "item" elements under the
// store's "outline" item, each with "text", "page" and "top". Scripts reach
// it as "Outline" (its methods are registered with the report classes).
class TfrxOutline : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Count READ Count)
public:
    explicit TfrxOutline(TfrxPreviewPages *APreviewPages);

    // Appends an item under the current one (page := the current page) and
    // makes it current.
    void AddItem(const QString &Text, int Top);
    // Makes child Index of the current item current.
    void LevelDown(int Index);
    // Makes the outline's root current.
    void LevelRoot();
    // Makes the current item's parent current, unless at the root.
    void LevelUp();
    // Moves the items after From (in the current item's children) to the next
    // page, shifting their tops so that the first starts at NewTop.
    void ShiftItems(TfrxXMLItem *From, int NewTop);
    // Number of children of the current item.
    int Count() const;
    // Text, page and top of child Index of the current item.
    void GetItem(int Index, QString &Text, int &Page, int &Top) const;
    // The current item (nullptr: the root).
    TfrxXMLItem *CurItem() const { return FCurItem; }
    void SetCurItem(TfrxXMLItem *Value) { FCurItem = Value; }
    // The "outline" item of the store's document.
    TfrxXMLItem *Root() const;

private:
    TfrxXMLItem *Current() const;

    TfrxPreviewPages *FPreviewPages;
    TfrxXMLItem *FCurItem = nullptr;
};

// Moves the children of Parent from index From on, with their subtrees, to
// the next page ("page" + 1), shifting every "top" so that the first
// starts at NewTop (outline and anchor items).
void rudShiftOutlineItems(TfrxXMLItem *Parent, int From, int NewTop);

// The store's interface as the engine, the preview and printing see it. The
// virtual operations are in the order of the store's contract.
class TfrxCustomPreviewPages {
public:
    // Number of prepared pages.
    virtual int GetCount() = 0;
    // The rebuilt page Index, owned by the store's cache (never free it);
    // nullptr when there is no such page.
    virtual TfrxReportPage *GetPage(int Index) = 0;
    // Width and height of page Index in whole units; (0, 0) out of range.
    virtual QSize GetPageSize(int Index) = 0;

    explicit TfrxCustomPreviewPages(TfrxReport *AReport);
    virtual ~TfrxCustomPreviewPages();
    TfrxCustomPreviewPages(const TfrxCustomPreviewPages &) = delete;
    TfrxCustomPreviewPages &operator=(const TfrxCustomPreviewPages &) = delete;

    // Empties the store: pages, source pages, dictionary, pictures.
    virtual void Clear() = 0;
    // Begins a run: picture cache and temporary folder from the report's
    // options, progress start.
    virtual void Initialize() = 0;
    // Adds Obj (and its children) to the current page.
    virtual void AddObject(TfrxComponent *Obj) = 0;
    // Begins a prepared page for the design page Page (or continues on an
    // existing one under apWriteOver).
    virtual void AddPage(TfrxReportPage *Page) = 0;
    // Copies a design page and its objects as the next source page.
    virtual void AddSourcePage(TfrxReportPage *Page) = 0;
    // Copies an object made during preparation into the last source page.
    virtual void AddToSourcePage(TfrxComponent *Obj) = 0;
    // Remembers where a pass begins.
    virtual void BeginPass() = 0;
    // Drops what the first pass of a double pass output.
    virtual void ClearFirstPassPages() = 0;
    // Moves the objects of the current page from APosition on aside.
    virtual void CutObjects(int APosition) = 0;
    // Ends a run.
    virtual void Finish() = 0;
    virtual void IncLogicalPageNumber() = 0;
    virtual void ResetLogicalPageNumber() = 0;
    // Puts the cut objects back, the first one moved to (X, Y).
    virtual void PasteObjects(double X, double Y) = 0;
    // Shifts the anchors from index From on to the next page, the first at NewTop.
    virtual void ShiftAnchors(int From, int NewTop) = 0;
    // Numbers the object's image in the picture cache (its ImageIndex).
    virtual void AddPicture(TfrxPictureView *Picture) = 0;
    // True when the current page already holds Band (see the store).
    virtual bool BandExists(TfrxComponent *Band) = 0;
    // Number of object items on the current page.
    virtual int GetCurPosition() = 0;
    // Number of anchors.
    virtual int GetAnchorCurPosition() = 0;
    // Lowest bottom of the bands on the current page.
    virtual double GetLastY(double ColumnPosition = 0) = 0;
    virtual int GetLogicalPageNo() = 0;
    virtual int GetLogicalTotalPages() = 0;
    virtual void AddEmptyPage(int Index) = 0;
    virtual void DeletePage(int Index) = 0;
    // Replaces page Index by Page, stored whole.
    virtual void ModifyPage(int Index, TfrxReportPage *Page) = 0;
    // Draws page Index on Canvas (through the report's DrawPage service).
    virtual void DrawPage(int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                          double OffsetY) = 0;
    // The topmost view of page Index under the point (X, Y), in units from
    // the page's printable corner; nullptr for none.
    virtual TfrxView *ObjectOver(int Index, double X, double Y) = 0;
    // Appends the pages of another report's store.
    virtual void AddFrom(TfrxReport *Report) = 0;
    virtual void LoadFromStream(QIODevice *Stream, bool AllowPartialLoading = false) = 0;
    virtual void SaveToStream(QIODevice *Stream) = 0;
    // Returns whether the file existed; a missing file raises EInOutError
    // only with ExceptionIfNotFound.
    virtual bool LoadFromFile(const QString &FileName, bool ExceptionIfNotFound = false) = 0;
    virtual void SaveToFile(const QString &FileName) = 0;
    // Prints the pages (through the report's PrintPages service).
    virtual bool Print() = 0;
    // Exports the pages through an export filter; there are none, so false.
    virtual bool Export(QObject *Filter) = 0;

    // GetCount under its short name.
    int Count() { return GetCount(); }
    TfrxAddPageAction AddPageAction() const { return FAddPageAction; }
    void SetAddPageAction(TfrxAddPageAction Value) { FAddPageAction = Value; }
    // Index of the current prepared page, -1 when empty.
    int CurPage() const { return FCurPage; }
    void SetCurPage(int Value) { FCurPage = Value; }
    // The page the preview shows.
    int CurPreviewPage() const { return FCurPreviewPage; }
    void SetCurPreviewPage(int Value) { FCurPreviewPage = Value; }
    // First page of the current report run; page numbers count from it.
    int FirstPage() const { return FFirstPage; }
    void SetFirstPage(int Value) { FFirstPage = Value; }
    TfrxOutline *Outline() const { return FOutline.get(); }
    TfrxReport *Report() const { return FReport; }
    // The engine preparing into this store: the one set with SetEngine (not
    // owned), else the report's engine; nullptr without either.
    TfrxCustomEngine *Engine() const;
    void SetEngine(TfrxCustomEngine *Value) { FEngine = Value; }

protected:
    TfrxAddPageAction FAddPageAction = apAdd;
    int FCurPage = -1;
    int FCurPreviewPage = 0;
    int FFirstPage = 0;
    std::unique_ptr<TfrxOutline> FOutline;
    TfrxReport *FReport;
    TfrxCustomEngine *FEngine = nullptr;
};

// Compression of prepared-report files, offered as the report's Compressor
// service; none is part of the program, so files are plain XML unless a
// build adds one.
class TfrxCustomCompressor {
public:
    TfrxCustomCompressor() = default;
    virtual ~TfrxCustomCompressor() = default;
    TfrxCustomCompressor(const TfrxCustomCompressor &) = delete;
    TfrxCustomCompressor &operator=(const TfrxCustomCompressor &) = delete;
    // Compresses Source into Dest.
    virtual void Compress(const QByteArray &Source, QIODevice *Dest) = 0;
    // The decompressed bytes when Source holds compressed data; nullopt when
    // it does not (it is then read as it is). Throws when compressed data
    // cannot be decompressed.
    virtual std::optional<QByteArray> Decompress(QIODevice *Source) = 0;
};

// The store itself.
class TfrxPreviewPages : public TfrxCustomPreviewPages {
public:
    explicit TfrxPreviewPages(TfrxReport *AReport);
    ~TfrxPreviewPages() override;

    int GetCount() override;
    TfrxReportPage *GetPage(int Index) override;
    QSize GetPageSize(int Index) override;
    void Clear() override;
    void Initialize() override;
    void AddObject(TfrxComponent *Obj) override;
    void AddPage(TfrxReportPage *Page) override;
    void AddSourcePage(TfrxReportPage *Page) override;
    void AddToSourcePage(TfrxComponent *Obj) override;
    void BeginPass() override;
    void ClearFirstPassPages() override;
    void CutObjects(int APosition) override;
    void Finish() override;
    void IncLogicalPageNumber() override;
    void ResetLogicalPageNumber() override;
    void PasteObjects(double X, double Y) override;
    void ShiftAnchors(int From, int NewTop) override;
    void AddPicture(TfrxPictureView *Picture) override;
    bool BandExists(TfrxComponent *Band) override;
    int GetCurPosition() override;
    int GetAnchorCurPosition() override;
    double GetLastY(double ColumnPosition = 0) override;
    int GetLogicalPageNo() override;
    int GetLogicalTotalPages() override;
    void AddEmptyPage(int Index) override;
    void DeletePage(int Index) override;
    void ModifyPage(int Index, TfrxReportPage *Page) override;
    void DrawPage(int Index, TfrxCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX,
                  double OffsetY) override;
    TfrxView *ObjectOver(int Index, double X, double Y) override;
    void AddFrom(TfrxReport *Report) override;
    // Reads a prepared report after Clear. Malformed input raises an
    // exception with a message and leaves the store empty.
    void LoadFromStream(QIODevice *Stream, bool AllowPartialLoading = false) override;
    void SaveToStream(QIODevice *Stream) override;
    bool LoadFromFile(const QString &FileName, bool ExceptionIfNotFound = false) override;
    // Writes the file atomically: a failed save leaves an existing file intact.
    void SaveToFile(const QString &FileName) override;
    bool Print() override;
    bool Export(QObject *Filter) override;

    // Sets the text ("u") of the child named Name (its first) of object item
    // Position of the current page; false when there is no such child. With
    // Grow > 0 that child grows by Grow and the siblings below it move down
    // as their ShiftMode says; with GrowParent the item at Position grows
    // too, with the siblings that reach its bottom (its fill), and the items
    // after it that lie below it move down.
    bool SetObjectText(int Position, const QString &Name, const QString &Text, double Grow, bool GrowParent);
    // Adds an anchor at the engine's current position on the current page.
    void AddAnchor(const QString &Text);
    // The last anchor item whose text equals Text ignoring case, or nullptr.
    TfrxXMLItem *FindAnchor(const QString &Text);
    // The page of that anchor, or -1.
    int GetAnchorPage(const QString &Text);
    // Sets the paper of Page's source copy (endless pages): custom size of
    // Width x Height units, also in its stored attribute text.
    void UpdatePageDimensions(TfrxReportPage *Page, double Height, double Width);

    TfrxDictionary &Dictionary() { return FDictionary; }
    TfrxPictureCache &PictureCache() { return FPictureCache; }
    TfrxXMLDocument &XMLDoc() { return FXMLDoc; }
    // The "previewpages" item (made when missing).
    TfrxXMLItem *PagesItem();
    int SourcePageCount() const { return int(FSourcePages.size()); }
    TfrxReportPage *SourcePage(int Index) const;
    // Number of rebuilt pages held by the cache.
    int PagesInCacheCount() const { return int(FPageCache.size()); }
    // Pages rebuilt from the store since it was made (cache misses).
    qint64 PagesBuilt() const { return FPagesBuilt; }
    // Copy number given to memos while printing ("[CopyName#]").
    int CopyNo() const { return FCopyNo; }
    void SetCopyNo(int Value) { FCopyNo = Value; }
    // Scale given to memos drawn on a printer.
    double PrintScale() const { return FPrintScale; }
    void SetPrintScale(double Value) { FPrintScale = Value; }
    // Approximate bytes of page text added since the last unload.
    qint64 XMLSize() const { return FXMLSize; }
    // Lowest used position of the last page appended with AddFrom.
    double LastY() const { return FLastY; }

private:
    friend class TfrxOutline;
    struct TCachedPage {
        int Index;
        std::unique_ptr<TfrxReportPage> Page;
    };
    // A source object's attribute text, read for rebuilding its objects.
    struct TSourceRecipe {
        QString Base; // the text it was read from
        bool Usable = false; // false: the text is read object by object, errors and all
        TfrxObjectRecipe Recipe;
    };

    TfrxXMLItem *RootChild(const char *Name);
    // Page item Index with its object items in memory (read back when
    // packed or unloaded); nullptr out of range.
    TfrxXMLItem *PageItem(int Index);
    TfrxXMLItem *CurPageItem();
    QString PageItemName(int Source);
    void PackPagesBehind(int Left);
    bool IsWholePage(const TfrxXMLItem *Item) const;
    int SourcePageIndexOf(const TfrxXMLItem *Item) const;
    void ClearCache();
    void AddObjectItem(TfrxXMLItem *Parent, TfrxComponent *Obj, bool Whole, int Depth);
    void CopySourceObject(TfrxComponent *Design, TfrxComponent *CopyParent, std::vector<TfrxComponent *> &Copies);
    void RegisterSourceObject(TfrxComponent *Design, TfrxComponent *Copy);
    std::unique_ptr<TfrxReportPage> BuildPage(TfrxXMLItem *Item);
    void ReadObjects(TfrxXMLItem *Item, TfrxComponent *Parent, TfrxXMLSerializer &Serializer, int Depth);
    // The recipe of Source's attribute text, or nullptr when it must be read as text.
    const TfrxObjectRecipe *RecipeOf(const TfrxComponent *Source);
    void UnloadPages();
    void BeforeSave();
    void AfterLoad();
    void CheckPageItem(const TfrxXMLItem *Item, int Depth) const;

    bool FAllowPartialLoading = false;
    int FCopyNo = 1;
    TfrxDictionary FDictionary;
    std::unordered_map<const TfrxComponent *, TSourceRecipe> FRecipes;
    int FFirstObjectIndex = 0;
    int FFirstPageIndex = -1;
    int FFirstOutlineIndex = 0;
    int FLogicalPageN = 0;
    std::vector<TCachedPage> FPageCache;   // most recently used first
    TfrxPictureCache FPictureCache;
    double FPrintScale = 1;
    std::vector<std::unique_ptr<TfrxReportPage>> FSourcePages;
    std::vector<QString> FPageItemNames;   // by source page index + 1
    TfrxXMLDocument FXMLDoc;
    qint64 FXMLSize = 0;
    qint64 FPagesBuilt = 0;
    double FLastY = 0;
    QPointer<TfrxView> FLastObjectOver;
    bool FBuilding = false;
};
