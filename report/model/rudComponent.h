#pragma once
// The report tree: TfrxComponent, the base of every report node, and
// TfrxReportComponent, the base of printable objects.

#include "report/model/rudEnums.h"
#include "report/model/rudFont.h"
#include "report/model/rudPropInfo.h"

#include <QIODevice>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <memory>

class TfrxPage;
class TfrxReport;
class TfrxXMLItem;
class TfrxUniqueNames;

// A node of the report tree. Positions and sizes are pixels at 96 per inch
// from the parent's top-left corner. A node owns its children (Objects):
// destroying it destroys its subtree. Components created with an owner are
// appended to the owner's Objects; the owner recorded for name lookup is the
// owner's report when there is one.
class TfrxComponent : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
public:
    explicit TfrxComponent(TfrxComponent *AOwner);
    ~TfrxComponent() override;
    static TfrxPropDescs PropDescs();
    TfrxComponent(const TfrxComponent &) = delete;
    TfrxComponent &operator=(const TfrxComponent &) = delete;

    // Creates an object of class T for the designer: IsDesigning is set before
    // any constructor code runs.
    template <class T>
    static T *DesignCreate(TfrxComponent *AOwner, int Flags = 0)
    {
        (void)Flags;
        FDesignCreating = true;
        T *result = new T(AOwner);
        FDesignCreating = false;
        return result;
    }

    // The component that owns this one for name lookup (a report, or the
    // owner given to the constructor), or nullptr.
    TfrxComponent *Owner() const { return FOwner; }
    const QString &Name() const { return FName; }
    // Renames; raises EGeneralError for a duplicate name in the report, for
    // an object of an ancestor report and for a name that is no identifier.
    virtual void SetName(const QString &Value);
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }

    TFont *Font() const { return FFont.get(); }
    // Copies Value and clears ParentFont.
    virtual void SetFont(TFont *Value);
    // Children in paint and file order.
    const QList<TfrxComponent *> &Objects() const { return FObjects; }
    // Every descendant, depth-first, each parent before its children. Rebuilt
    // by every call: do not call it again on this object while iterating.
    const QList<TfrxComponent *> &AllObjects();
    TfrxComponent *Parent() const { return FParent; }
    // Moves the object to the end of Value's Objects (nullptr: detaches it).
    virtual void SetParent(TfrxComponent *Value);

    double Left() const { return FLeft; }
    double Top() const { return FTop; }
    double Width() const { return FWidth; }
    double Height() const { return FHeight; }
    virtual void SetLeft(double Value);
    virtual void SetTop(double Value);
    virtual void SetWidth(double Value);
    virtual void SetHeight(double Value);
    // The four setters in the order left, top, width, height.
    void SetBounds(double ALeft, double ATop, double AWidth, double AHeight);
    // Position relative to the page (sum of the parents' positions).
    double AbsLeft() const;
    double AbsTop() const;

    bool ParentFont() const { return FParentFont; }
    // True with a parent: takes a copy of the parent's font.
    virtual void SetParentFont(bool Value);
    // Sets the flag alone, keeping the present font (copies of an object).
    void SetParentFontFlag(bool Value) { FParentFont = Value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value) { FGroupIndex = Value; }
    TfrxRestrictions Restrictions() const { return FRestrictions; }
    void SetRestrictions(TfrxRestrictions Value) { FRestrictions = Value; }
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value) { FVisible = Value; }
    const QString &Description() const { return FDescription; }
    void SetDescription(const QString &Value) { FDescription = Value; }
    TfrxComponentStyles ComponentStyle() const { return FComponentStyle; }
    void SetComponentStyle(TfrxComponentStyles Value) { FComponentStyle = Value; }
    const QString &AliasName() const { return FAliasName; }
    void SetAliasName(const QString &Value) { FAliasName = Value; }
    // The stem of generated names: the class name without its first "Tfrx"
    // and its first "View" ("Memo" for TfrxMemoView) unless set.
    QString BaseName() const;
    void SetBaseName(const QString &Value) { FBaseName = Value; }
    bool Ancestor() const { return FAncestor; }
    void SetAncestor(bool Value) { FAncestor = Value; }
    bool IsAncestor() const { return FAncestor; }

    bool IsDesigning() const { return FIsDesigning; }
    void SetIsDesigning(bool Value) { FIsDesigning = Value; }
    bool IsLoading() const { return FIsLoading; }
    void SetIsLoading(bool Value) { FIsLoading = Value; }
    bool IsPrinting() const { return FIsPrinting; }
    void SetIsPrinting(bool Value) { FIsPrinting = Value; }
    bool IsWriting() const { return FIsWriting; }
    void SetIsWriting(bool Value) { FIsWriting = Value; }

    // The nearest ancestor-or-self page / report, or nullptr.
    TfrxPage *Page() const;
    TfrxReport *Report() const;

    // The font changed: clears ParentFont and passes the font on to every
    // child that takes its parent's font.
    virtual void FontChanged();
    // Destroys the children, except those of an ancestor report, which are cleared.
    virtual void Clear();
    // Copies Source's properties (not its children) through the template
    // form: those whose values differ from this object's.
    virtual void Assign(TfrxComponent *Source);
    // As Assign, with the children.
    void AssignAll(TfrxComponent *Source, bool Streaming = false);
    // The template form of this object: reads (after Clear) / writes it.
    virtual void LoadFromStream(QIODevice *Stream);
    virtual void SaveToStream(QIODevice *Stream, bool SaveChildren = true, bool SaveDefaultValues = false,
                              bool Streaming = false);
    // Names the object BaseName + the first free number in its report.
    void CreateUniqueName();
    // Names the object BaseName + the first number free in Names (which
    // then holds it): one set serves many objects named in a row.
    void CreateUniqueName(TfrxUniqueNames &Names);
    // The first descendant named AName (ASCII case ignored), depth-first; never this object.
    TfrxComponent *FindObject(const QString &AName);
    // Places children by their Align (containers such as bands).
    virtual void AlignChildren();

    // Called when loading of this object (and the whole tree) is done.
    virtual void Loaded() {}
    virtual QString GetDescription() const { return FDescription; }
    // Writes the object's collections as child elements of Item.
    virtual void WriteNestedProperties(TfrxXMLItem *Item, TfrxComponent *AAncestor);
    // Offered every child element while loading; true when it was a collection of this object.
    virtual bool ReadNestedProperty(TfrxXMLItem *Item);
    // The short names of object differences: l, t, w, h set the position
    // and size through the setters; x and u (a memo's text) are ignored by
    // objects without text.
    bool ReadUnpublished(QStringView Name, const QString &Value) override;
    // Called by the prepared pages store for an object that is not
    // preview-visible, instead of copying it into a source page: an object
    // that prints through objects of its own adds them here (through the
    // store's AddToSourcePage). Does nothing by default.
    virtual void AddSourceObjects() {}
    virtual void BeforeStartReport() {}

    // The properties in which this object differs from AComponent (its
    // source copy, an object of the same class) as attribute text, each
    // attribute preceded by one space (see rudDiff.h). Views, memos and
    // pictures extend the base part written here.
    virtual QString Diff(TfrxComponent *AComponent);
    // The object's complete attribute text as the serializer writes it,
    // followed, with AComponent, by the base part of the difference.
    virtual QString AllDiff(TfrxComponent *AComponent);
    // The base part of Diff alone: geometry, Visible, the font when it is not
    // the parent's, ParentFont and Tag.
    QString DiffBase(TfrxComponent *AComponent);
    // The object this one was copied from or to while a report is prepared
    // (design object <-> source copy); none once that object is destroyed.
    TfrxComponent *OriginalComponent() const { return FOriginalComponent; }
    void SetOriginalComponent(TfrxComponent *Value) { FOriginalComponent = Value; }
    // Moves Child to position Index of the children (drawing order: later
    // is on top); -1 or an index past the end moves it to the end.
    void MoveChild(TfrxComponent *Child, int Index);

protected:
    bool FParentFont = true;
    // Set by the report itself: Report() runs on every value a view shows
    // and finds its root by this flag, not by a walk of meta-objects.
    bool FIsReport = false;
    // The children list itself, for containers that list objects they do
    // not own (the engine's null band); such a container must empty it
    // before it is destroyed.
    QList<TfrxComponent *> &ObjectsList() { return FObjects; }

private:
    static thread_local bool FDesignCreating;

    TfrxComponent *FOwner = nullptr;
    TfrxComponent *FParent = nullptr;
    QList<TfrxComponent *> FObjects;
    QList<TfrxComponent *> FAllObjects;
    std::unique_ptr<TFont> FFont;
    QString FName;
    int FTag = 0;
    double FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    int FGroupIndex = 0;
    TfrxRestrictions FRestrictions;
    bool FVisible = true;
    QString FDescription;
    TfrxComponentStyles FComponentStyle = csPreviewVisible;
    QString FAliasName;
    QString FBaseName;
    QPointer<TfrxComponent> FOriginalComponent;
    bool FAncestor = false;
    bool FIsDesigning = false;
    bool FIsLoading = false;
    bool FIsPrinting = false;
    bool FIsWriting = false;
};

// Base of printable objects: publishes Description.
class TfrxReportComponent : public TfrxComponent {
    Q_OBJECT
    Q_PROPERTY(QString Description READ Description WRITE SetDescription)
public:
    explicit TfrxReportComponent(TfrxComponent *AOwner);
    // Objects the engine moves together with this one (filled while preparing).
    QList<TfrxReportComponent *> &ShiftChildren() { return FShiftChildren; }

    // The preparation steps around the output of the object, in this order:
    // BeforePrint saves what the run may change (here the bounds), GetData
    // fills in the object's data, AfterPrint restores what BeforePrint saved.
    virtual void BeforePrint();
    virtual void GetData() {}
    virtual void AfterPrint();

private:
    QList<TfrxReportComponent *> FShiftChildren;
    QRectF FSaveBounds;
};

// Text helpers of the report objects.
// Names compared ignoring ASCII case.
bool rudSameName(const QString &A, const QString &B);
// True when Name is an identifier: a letter or '_', then letters, digits, '_'.
bool rudIsValidIdent(const QString &Name);
