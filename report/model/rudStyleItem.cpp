#include "report/model/rudStyleItem.h"

#include "report/model/rudRes.h"
#include "report/model/rudStyles.h"

#include "base/Errors.h"

TfrxStyleItem::TfrxStyleItem(TfrxStyles *Collection)
    : FCollection(Collection), FFont(std::make_unique<TFont>()), FFrame(std::make_unique<TfrxFrame>())
{
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
    for (int i = 1;; ++i) {
        const QString candidate = QStringLiteral("Style") + QString::number(i);
        TfrxStyleItem *other = FCollection ? FCollection->Find(candidate) : nullptr;
        if (!other || other == this) {
            FName = candidate;
            return;
        }
    }
}
