#include "report/model/rudComponent.h"

#include "report/model/rudDialogPage.h"
#include "report/model/rudNameIndex.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/model/rudRes.h"
#include "report/model/rudXMLSerializer.h"

#include "base/Errors.h"
#include "base/NumberFormat.h"

#include <QBuffer>
#include <QScopeGuard>
#include <QSet>

thread_local bool TfrxComponent::FDesignCreating = false;

bool rudSameName(const QString &A, const QString &B)
{
    if (A.size() != B.size())
        return false;
    for (qsizetype i = 0; i < A.size(); ++i) {
        char16_t a = A[i].unicode(), b = B[i].unicode();
        if (a >= 'a' && a <= 'z')
            a -= 32;
        if (b >= 'a' && b <= 'z')
            b -= 32;
        if (a != b)
            return false;
    }
    return true;
}

bool rudIsValidIdent(const QString &Name)
{
    if (Name.isEmpty())
        return false;
    for (qsizetype i = 0; i < Name.size(); ++i) {
        const char16_t c = Name[i].unicode();
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

TfrxComponent::TfrxComponent(TfrxComponent *AOwner)
    : FFont(std::make_unique<TFont>())
{
    FIsDesigning = FDesignCreating;
    FDesignCreating = false;
    if (AOwner) {
        TfrxReport *report = AOwner->Report();
        FOwner = report ? static_cast<TfrxComponent *>(report) : AOwner;
    }
    FFont->OnChange = [this] { FontChanged(); };
    if (AOwner)
        SetParent(AOwner);
}

TfrxPropDescs TfrxComponent::PropDescs()
{
    return {{"Tag", 0}};
}

TfrxComponent::~TfrxComponent()
{
    FFont->OnChange = nullptr;
    SetParent(nullptr);
    // Every child goes, ancestors included: a node owns its whole subtree.
    while (!FObjects.isEmpty())
        delete FObjects.last();
}

QString TfrxComponent::BaseName() const
{
    if (!FBaseName.isEmpty())
        return FBaseName;
    QString name = QString::fromLatin1(metaObject()->className());
    const qsizetype frx = name.indexOf(QLatin1String("Tfrx"));
    if (frx >= 0)
        name.remove(frx, 4);
    const qsizetype view = name.indexOf(QLatin1String("View"));
    if (view >= 0)
        name.remove(view, 4);
    return name;
}

void TfrxComponent::SetName(const QString &Value)
{
    if (Value.compare(FName, Qt::CaseInsensitive) == 0)
        return;
    TfrxReport *report = Report();
    TfrxNameIndex *index = report ? report->NameIndex() : nullptr;
    if (!Value.isEmpty()) {
        if (report) {
            TfrxComponent *other = index ? index->Find(Value) : report->FindObject(Value);
            if (other && other != this)
                throw EGeneralError(rudResources().Get(QStringLiteral("prDupl")));
            if (IsAncestor())
                throw EGeneralError(Format(rudResources().Get(QStringLiteral("clCantRen")), {FName}));
        }
        if (!rudIsValidIdent(Value))
            throw EGeneralError(QStringLiteral("'%1' is not a valid component name").arg(Value));
    }
    FName = Value;
    if (index)
        index->Note(this);
}

void TfrxComponent::SetFont(TFont *Value)
{
    if (Value)
        FFont->Assign(*Value);
    FParentFont = false;
}

const QList<TfrxComponent *> &TfrxComponent::AllObjects()
{
    FAllObjects.clear();
    // Iterative pre-order walk: deep trees do not exhaust the stack.
    QList<TfrxComponent *> stack;
    for (qsizetype i = FObjects.size() - 1; i >= 0; --i)
        stack.append(FObjects[i]);
    while (!stack.isEmpty()) {
        TfrxComponent *c = stack.takeLast();
        FAllObjects.append(c);
        for (qsizetype i = c->FObjects.size() - 1; i >= 0; --i)
            stack.append(c->FObjects[i]);
    }
    return FAllObjects;
}

void TfrxComponent::SetParent(TfrxComponent *Value)
{
    if (FParent != Value) {
        // A node never becomes its own descendant.
        for (TfrxComponent *p = Value; p; p = p->FParent)
            if (p == this)
                return;
        if (FParent) {
            // Children leave from either end (Clear takes the first, the
            // destructor the last): look there first, so that freeing many
            // siblings stays linear.
            QList<TfrxComponent *> &siblings = FParent->FObjects;
            if (!siblings.isEmpty() && siblings.first() == this)
                siblings.removeFirst();
            else if (const qsizetype at = siblings.lastIndexOf(this); at >= 0)
                siblings.removeAt(at);
        }
        if (Value)
            Value->FObjects.append(this);
    }
    FParent = Value;
    if (FParent)
        SetParentFont(FParentFont);
}

void TfrxComponent::SetLeft(double Value)
{
    if (!IsDesigning() || !(FRestrictions & rfDontMove))
        FLeft = Value;
}

void TfrxComponent::SetTop(double Value)
{
    if (!IsDesigning() || !(FRestrictions & rfDontMove))
        FTop = Value;
}

void TfrxComponent::SetWidth(double Value)
{
    if (!IsDesigning() || !(FRestrictions & rfDontSize))
        FWidth = Value;
}

void TfrxComponent::SetHeight(double Value)
{
    if (!IsDesigning() || !(FRestrictions & rfDontSize))
        FHeight = Value;
}

void TfrxComponent::SetBounds(double ALeft, double ATop, double AWidth, double AHeight)
{
    SetLeft(ALeft);
    SetTop(ATop);
    SetWidth(AWidth);
    SetHeight(AHeight);
}

namespace {

// Controls on a dialog page are placed in its window, not on a sheet.
bool placedInWindow(const TfrxComponent *Parent)
{
    return Parent->metaObject()->inherits(&TfrxDialogPage::staticMetaObject);
}

} // namespace

double TfrxComponent::AbsLeft() const
{
    if (!FParent || placedInWindow(FParent))
        return FLeft;
    return FParent->AbsLeft() + FLeft;
}

double TfrxComponent::AbsTop() const
{
    if (!FParent || placedInWindow(FParent))
        return FTop;
    return FParent->AbsTop() + FTop;
}

void TfrxComponent::SetParentFont(bool Value)
{
    if (Value && FParent)
        SetFont(FParent->Font());
    FParentFont = Value;
}

void TfrxComponent::FontChanged()
{
    FParentFont = false;
    for (TfrxComponent *c : std::as_const(FObjects))
        if (c->FParentFont)
            c->SetParentFont(true);
}

// Both walks run for every expression and every attribute read, so they
// test the meta-object chain (a few pointer compares) instead of dynamic_cast.
TfrxPage *TfrxComponent::Page() const
{
    for (const TfrxComponent *c = this; c; c = c->FParent)
        if (c->metaObject()->inherits(&TfrxPage::staticMetaObject))
            return static_cast<TfrxPage *>(const_cast<TfrxComponent *>(c));
    return nullptr;
}

TfrxReport *TfrxComponent::Report() const
{
    for (const TfrxComponent *c = this; c; c = c->FParent)
        if (c->FIsReport)
            return static_cast<TfrxReport *>(const_cast<TfrxComponent *>(c));
    return nullptr;
}

void TfrxComponent::Clear()
{
    const QList<TfrxComponent *> children = FObjects;
    for (TfrxComponent *c : children) {
        if (c->IsAncestor())
            c->Clear();
        else
            delete c;
    }
}

namespace {

// Reading a font attribute clears ParentFont (the font changed), and a class
// that does not publish ParentFont (bands) cannot write it back: a copy made
// through the template form takes the flag from its source here, so that it
// equals the source and differences against it stay empty. The copied font
// is the source's, which is what the flag promises for the copy too.
void copyParentFont(TfrxComponent *Target, TfrxComponent *Source, bool Children, int Depth = 0)
{
    Target->SetParentFontFlag(Source->ParentFont());
    if (!Children || Depth > 512)
        return;
    const QList<TfrxComponent *> &targets = Target->Objects();
    const QList<TfrxComponent *> &sources = Source->Objects();
    for (qsizetype i = 0; i < targets.size() && i < sources.size(); ++i)
        if (targets[i]->metaObject() == sources[i]->metaObject() && rudSameName(targets[i]->Name(), sources[i]->Name()))
            copyParentFont(targets[i], sources[i], true, Depth + 1);
}

} // namespace

void TfrxComponent::Assign(TfrxComponent *Source)
{
    if (!Source || Source == this)
        return;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    if (qobject_cast<TfrxReport *>(Source)) {
        // A report writes itself its own way (its password shifted).
        Source->SaveToStream(&buffer, false, true, false);
    } else {
        // Only the values that differ from this object's are written and
        // read back: a copy made for a page (a new object) reads the dozen
        // its source sets instead of every one of its hundred.
        TfrxXMLSerializer serializer(&buffer);
        serializer.SetHandleNestedProperties(true);
        serializer.SetOwner(Source->Report());
        serializer.SetExactDifferences(true);
        serializer.OnGetAncestor = [this](const QString &) { return this; };
        serializer.WriteRootComponent(Source, false, nullptr, false);
    }
    buffer.seek(0);
    LoadFromStream(&buffer);
    copyParentFont(this, Source, false);
}

void TfrxComponent::AssignAll(TfrxComponent *Source, bool Streaming)
{
    if (!Source || Source == this)
        return;
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    Source->SaveToStream(&buffer, true, true, Streaming);
    buffer.seek(0);
    LoadFromStream(&buffer);
    copyParentFont(this, Source, true);
}

void TfrxComponent::LoadFromStream(QIODevice *Stream)
{
    Clear();
    TfrxReport *report = Report();
    TfrxXMLSerializer serializer(Stream);
    serializer.SetHandleNestedProperties(true);
    serializer.SetOwner(report);
    // A load inside another load (an object reading a nested template) hands
    // the report back to the outer load's serializer, also when it fails.
    TfrxXMLSerializer *outer = report ? report->Serializer() : nullptr;
    const auto restore = qScopeGuard([&] {
        if (report) {
            report->SetSerializer(outer);
            report->AddErrors(serializer.Errors());
        }
    });
    if (report) {
        report->SetSerializer(&serializer);
        serializer.OnGetCustomData = report->OnGetCustomData;
    }
    serializer.ReadRootComponent(this);
}

void TfrxComponent::SaveToStream(QIODevice *Stream, bool SaveChildren, bool SaveDefaultValues, bool Streaming)
{
    TfrxReport *report = Report();
    TfrxXMLSerializer serializer(Stream);
    serializer.SetHandleNestedProperties(true);
    serializer.SetOwner(report);
    serializer.SetSerializeDefaultValues(SaveDefaultValues);
    if (report && report == this) {
        serializer.OnSaveCustomData = report->OnSaveCustomData;
        // An inherited report writes its ancestor objects as their
        // differences from the parent report's objects.
        if (TfrxReport *parent = report->ParentReportObject()) {
            auto ancestors = std::make_shared<TfrxNameIndex>(parent);
            auto own = std::make_shared<TfrxNameIndex>(report);
            serializer.OnGetAncestor = [ancestors, own](const QString &Name) -> TfrxComponent * {
                const TfrxComponent *written = own->Find(Name);
                return written && written->IsAncestor() ? ancestors->Find(Name) : nullptr;
            };
        }
    }
    serializer.WriteRootComponent(this, SaveChildren, nullptr, Streaming);
}

void TfrxComponent::CreateUniqueName()
{
    TfrxReport *report = Report();
    if (TfrxNameIndex *index = report ? report->NameIndex() : nullptr) {
        for (int i = 1;; ++i) {
            const QString candidate = BaseName() + QString::number(i);
            if (!index->Find(candidate)) {
                FName = candidate;
                index->Note(this);
                return;
            }
        }
    }
    TfrxUniqueNames names;
    if (TfrxComponent *owner = report ? report : FParent)
        for (TfrxComponent *c : owner->AllObjects())
            names.Add(c->Name());
    CreateUniqueName(names);
}

void TfrxComponent::CreateUniqueName(TfrxUniqueNames &Names)
{
    FName = Names.Make(BaseName());
    TfrxReport *report = Report();
    if (TfrxNameIndex *index = report ? report->NameIndex() : nullptr)
        index->Note(this);
}

TfrxComponent *TfrxComponent::FindObject(const QString &AName)
{
    for (TfrxComponent *c : AllObjects())
        if (rudSameName(c->Name(), AName))
            return c;
    return nullptr;
}

void TfrxComponent::WriteNestedProperties(TfrxXMLItem *, TfrxComponent *) {}

bool TfrxComponent::ReadNestedProperty(TfrxXMLItem *)
{
    return false;
}

bool TfrxComponent::ReadUnpublished(QStringView Name, const QString &Value)
{
    if (Name.size() != 1)
        return TfrxPersistent::ReadUnpublished(Name, Value);
    switch (Name[0].unicode()) {
    case 'l':
        SetLeft(rudStrToFloat(Value));
        return true;
    case 't':
        SetTop(rudStrToFloat(Value));
        return true;
    case 'w':
        SetWidth(rudStrToFloat(Value));
        return true;
    case 'h':
        SetHeight(rudStrToFloat(Value));
        return true;
    case 'x':
    case 'u':
        return true;
    default:
        return false;
    }
}

TfrxReportComponent::TfrxReportComponent(TfrxComponent *AOwner) : TfrxComponent(AOwner) {}

void TfrxReportComponent::BeforePrint()
{
    FSaveBounds = QRectF(Left(), Top(), Width(), Height());
}

void TfrxReportComponent::AfterPrint()
{
    SetBounds(FSaveBounds.x(), FSaveBounds.y(), FSaveBounds.width(), FSaveBounds.height());
}

void TfrxComponent::MoveChild(TfrxComponent *Child, int Index)
{
    const qsizetype from = FObjects.indexOf(Child);
    if (from < 0)
        return;
    FObjects.removeAt(from);
    if (Index < 0 || Index > FObjects.size())
        Index = int(FObjects.size());
    FObjects.insert(Index, Child);
}
