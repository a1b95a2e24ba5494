#include "report/model/rudView.h"

#include "base/NumberFormat.h"
#include "report/model/rudExpansion.h"
#include "report/model/rudReport.h"

#include <QMap>
#include <algorithm>
#include <vector>

TfrxView::TfrxView(TfrxComponent *AOwner)
    : TfrxReportComponent(AOwner)
{
    SetComponentStyle(ComponentStyle() | csDefaultDiff);
}

TfrxView::~TfrxView() = default;

TfrxView::TEvents &TfrxView::Events()
{
    if (!FEvents)
        FEvents = std::make_unique<TEvents>();
    return *FEvents;
}

const QString &TfrxView::NoHandler()
{
    static const QString none;
    return none;
}

TfrxCustomFill *TfrxView::Fill() const
{
    if (!FFill)
        FFill = std::make_unique<TfrxBrushFill>();
    return FFill.get();
}

TfrxFrame *TfrxView::Frame() const
{
    if (!FFrame)
        FFrame = std::make_unique<TfrxFrame>();
    return FFrame.get();
}

TfrxHyperlink *TfrxView::Hyperlink() const
{
    if (!FHyperlink)
        FHyperlink = std::make_unique<TfrxHyperlink>();
    return FHyperlink.get();
}

TfrxExpansionEngine *rudExpansionOf(const TfrxComponent *Component)
{
    const TfrxReport *report = Component->Report();
    return report ? rudNeedService(report->Services().ExpansionEngine, "text expansion").get() : nullptr;
}

void TfrxView::BeforePrint()
{
    TfrxReportComponent::BeforePrint();
    FTempTag = FTagStr;
    FTempHyperlink = FHyperlink ? FHyperlink->Value() : QString();
    if (TfrxExpansionEngine *expansion = rudExpansionOf(this))
        expansion->BeforePrint(this);
}

void TfrxView::GetData()
{
    if (TfrxExpansionEngine *expansion = rudExpansionOf(this))
        expansion->GetViewData(this);
}

void TfrxView::AfterPrint()
{
    FTagStr = FTempTag;
    if (FHyperlink)
        FHyperlink->SetValue(FTempHyperlink);
    TfrxReportComponent::AfterPrint();
}

TfrxPropDescs TfrxView::PropDescs()
{
    TfrxPropDescs descs{{"Align", int(baNone)},
                        {"ShiftMode", int(smAlways)},
                        {"GroupIndex", 0},
                        {"Restrictions", 0},
                        {"Visible", true},
                        {"ShowHint", false},
                        {"Visibility", int(vsPreview | vsExport | vsPrint)}};
    rudAddTypeName(descs, "TfrxNotifyEvent", {"OnAfterData", "OnAfterPrint", "OnBeforePrint", "OnMouseEnter", "OnMouseLeave", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnPreviewClick", "OnPreviewDblClick"});
    return descs;
}

void TfrxView::SetPrintable(bool Value)
{
    if (Value)
        FVisibility |= vsPrint;
    else
        FVisibility &= ~TfrxVisibilityTypes(vsPrint);
}

void TfrxView::SetHyperlink(TfrxHyperlink *Value)
{
    if (Value)
        Hyperlink()->Assign(*Value);
}

void TfrxView::SetFrame(TfrxFrame *Value)
{
    if (Value)
        Frame()->Assign(*Value);
}

void TfrxView::SetFill(TfrxCustomFill *Value)
{
    if (!Value)
        return;
    SetFillType(Value->FillType());
    Fill()->Assign(*Value);
}

void TfrxView::SetFillType(TfrxFillType Value)
{
    if (FillType() == Value)
        return;
    FFill = TfrxCustomFill::Create(Value);
}

// Without a fill the view has the default brush: transparent, solid.
TColor TfrxView::Color() const
{
    if (const auto *brush = dynamic_cast<const TfrxBrushFill *>(FFill.get()))
        return brush->BackColor();
    if (const auto *gradient = dynamic_cast<const TfrxGradientFill *>(FFill.get()))
        return gradient->GetColor();
    return clTransparent;
}

void TfrxView::SetColor(TColor Value)
{
    if (auto *brush = dynamic_cast<TfrxBrushFill *>(Fill()))
        brush->SetBackColor(Value);
}

TBrushStyle TfrxView::BrushStyle() const
{
    if (!FFill)
        return bsSolid;
    if (const auto *brush = dynamic_cast<const TfrxBrushFill *>(FFill.get()))
        return brush->Style();
    return bsClear;
}

void TfrxView::SetBrushStyle(TBrushStyle Value)
{
    if (auto *brush = dynamic_cast<TfrxBrushFill *>(Fill()))
        brush->SetStyle(Value);
}

void TfrxView::SetURL(const QString &Value)
{
    if (Value.isEmpty())
        return;
    TfrxHyperlink *link = Hyperlink();
    if (Value[0] == QLatin1Char('@')) {
        link->SetKind(hkPageNumber);
        link->SetValue(Value.mid(1, 254));
    } else if (Value[0] == QLatin1Char('#')) {
        link->SetKind(hkAnchor);
        link->SetValue(Value.mid(1, 254));
    } else {
        link->SetKind(hkURL);
        link->SetValue(Value);
    }
}

TfrxStretcheable::TfrxStretcheable(TfrxComponent *AOwner) : TfrxView(AOwner) {}

TfrxPropDescs TfrxStretcheable::PropDescs()
{
    return {{"StretchMode", int(smDontStretch)}};
}

namespace {

// Two views overlap vertically unless one starts where the other ends (with
// a small tolerance for float noise).
bool overlapsVertically(const TfrxView *a, const TfrxView *b)
{
    return !(b->AbsTop() >= a->AbsTop() + a->Height() - 1e-4 || a->AbsTop() >= b->AbsTop() + b->Height() - 1e-4);
}

QString sortKey(double left)
{
    const QString text = left >= 0 ? Format(QStringLiteral("%9.2f"), {left}) : Format(QStringLiteral("%9.2f"), {-left});
    return (left >= 0 ? QStringLiteral("1") : QStringLiteral("0")) + text;
}

} // namespace

void TfrxComponent::AlignChildren()
{
    QList<TfrxView *> views;
    bool sideAligned = false;
    for (TfrxComponent *c : Objects())
        if (auto *v = qobject_cast<TfrxView *>(c)) {
            views.append(v);
            sideAligned = sideAligned || v->Align() == baLeft || v->Align() == baRight || v->Align() == baWidth;
        }
    // Sorted by the text key, duplicates kept in Objects order. Only the
    // views aligned to a side use the order, so without one there is no
    // sort; each key is made once (a formatted number).
    if (sideAligned) {
        std::vector<std::pair<QString, TfrxView *>> keyed;
        keyed.reserve(size_t(views.size()));
        for (TfrxView *v : views)
            keyed.emplace_back(sortKey(v->Left()), v);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (size_t i = 0; i < keyed.size(); ++i)
            views[qsizetype(i)] = keyed[i].second;
    }

    for (qsizetype i = 0; i < views.size(); ++i) {
        TfrxView *v = views[i];
        if (v->Align() != baLeft && v->Align() != baWidth)
            continue;
        TfrxView *neighbour = nullptr;
        for (qsizetype j = i; j >= 0; --j) {
            TfrxView *n = views[j];
            if (n == v || !overlapsVertically(v, n))
                continue;
            if (v->Align() == baWidth && n->Left() > v->Left())
                continue;
            neighbour = n;
            break;
        }
        v->SetLeft(neighbour ? neighbour->Left() + neighbour->Width() : 0);
    }

    for (qsizetype i = views.size() - 1; i >= 0; --i) {
        TfrxView *v = views[i];
        if (v->Align() != baRight && v->Align() != baWidth)
            continue;
        TfrxView *neighbour = nullptr;
        for (qsizetype j = i; j < views.size(); ++j) {
            TfrxView *n = views[j];
            if (n == v || !overlapsVertically(v, n))
                continue;
            if (v->Align() == baWidth && n->Left() + n->Width() < v->Left() + v->Width())
                continue;
            neighbour = n;
            break;
        }
        const double edge = neighbour ? neighbour->Left() : Width();
        if (v->Align() == baRight)
            v->SetLeft(edge - v->Width());
        else
            v->SetWidth(edge - v->Left());
    }

    for (TfrxComponent *c : Objects()) {
        auto *v = qobject_cast<TfrxView *>(c);
        if (!v)
            continue;
        switch (v->Align()) {
        case baCenter:
            v->SetLeft((Width() - v->Width()) / 2);
            break;
        case baBottom:
            v->SetTop(Height() - v->Height());
            break;
        case baClient:
            v->SetBounds(0, 0, Width(), Height());
            break;
        default:
            break;
        }
    }
}
