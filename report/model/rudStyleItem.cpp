#include "report/model/rudStyleItem.h"

#include "report/model/rudRes.h"
#include "report/model/rudStyles.h"

#include "base/Errors.h"

#include <QSet>
#include <string>

TfrxStyleItem::TfrxStyleItem(TfrxStyles *Collection)
    : FCollection(Collection), FFont(std::make_unique<TFont>()), FFrame(std::make_unique<TfrxFrame>())
{
}

TfrxPropDescs TfrxStyleItem::PropDescs()
{
    TfrxPropDescs descs;
    rudAddTypeName(descs, "TColor", {"Color"});
    return descs;
}

TfrxStyleItem::~TfrxStyleItem() = default;

void TfrxStyleItem::Assign(const TfrxStyleItem &Source)
{
    rudAssignProps(this, &Source);
}

void TfrxStyleItem::SetName(const QString &Value)
{
    if (FCollection && !Value.isEmpty()) {
        TfrxStyleItem *other = FCollection->Find(Value);
        if (other && other != this)
            throw EGeneralError(rudResources().Get(QStringLiteral("clDupName")));
    }
    FName = Value;
}

void TfrxStyleItem::SetFont(TFont *Value)
{
    if (Value)
        FFont->Assign(*Value);
}

void TfrxStyleItem::SetFrame(TfrxFrame *Value)
{
    if (Value)
        FFrame->Assign(*Value);
}

void TfrxStyleItem::CreateUniqueName()
{
    // The names are gathered once, folded code point by code point as
    // rudAnsiSameText compares them: probing the collection for every
    // number would be quadratic. A candidate is free when the first style
    // of its name (what Find gives) is none or this one.
    auto fold = [](const QString &Name) {
        std::u32string folded;
        for (const char32_t c : Name.toUcs4())
            folded += QChar::toCaseFolded(c);
        return QString::fromUcs4(folded.data(), qsizetype(folded.size()));
    };
    QSet<QString> before, after;
    bool seenThis = false;
    for (int i = 0; FCollection && i < FCollection->Count(); ++i) {
        const TfrxStyleItem *item = FCollection->Items(i);
        if (item == this)
            seenThis = true;
        else
            (seenThis ? after : before).insert(fold(item->Name()));
    }
    const QString own = fold(FName);
    for (int i = 1;; ++i) {
        const QString candidate = fold(QStringLiteral("Style") + QString::number(i));
        if (!before.contains(candidate) && ((seenThis && own == candidate) || !after.contains(candidate))) {
            FName = QStringLiteral("Style") + QString::number(i);
            return;
        }
    }
}
