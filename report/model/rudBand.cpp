#include "report/model/rudBand.h"

#include "report/model/rudClassRegistry.h"
#include "report/model/rudDataSet.h"

TfrxBand::TfrxBand(TfrxComponent *AOwner) : TfrxView(AOwner)
{
    // A band on a prepared page writes only what differs from its source copy.
    SetComponentStyle(TfrxComponentStyles((ComponentStyle() | csContainer) & ~TfrxComponentStyles(csDefaultDiff)));
}

TfrxPropDescs TfrxBand::PropDescs()
{
    TfrxPropDescs descs{{"FillType", int(ftBrush)},   {"AllowSplit", false},   {"KeepChild", false},
                        {"OutlineText", QString()},   {"PrintChildIfInvisible", false},
                        {"StartNewPage", false},      {"Stretched", false},    {"Vertical", false},
                        {"OnAfterCalcHeight", QString()}};
    rudAddTypeName(descs, "TfrxNotifyEvent", {"OnAfterCalcHeight"});
    return descs;
}

TfrxChild *TfrxBand::Child() const
{
    return static_cast<TfrxChild *>(FChild.data());
}

void TfrxBand::SetChild(TfrxChild *Value)
{
    // A chain that leads back to this band would be shown forever.
    for (TfrxBand *b = Value; b; b = b->Child())
        if (b == this)
            return;
    FChild = Value;
}

TfrxPropDescs TfrxPageHeader::PropDescs()
{
    return {{"PrintOnFirstPage", true}};
}

TfrxPropDescs TfrxPageFooter::PropDescs()
{
    return {{"PrintOnFirstPage", true}, {"PrintOnLastPage", true}};
}

TfrxDataBand::TfrxDataBand(TfrxComponent *AOwner) : TfrxBand(AOwner) {}

TfrxDataBand::~TfrxDataBand() = default;

TfrxPropDescs TfrxDataBand::PropDescs()
{
    TfrxPropDescs descs{{"ColumnCount", 0},         {"ColumnWidth", 0.0},       {"ColumnGap", 0.0},
                        {"DataSetName", QString()}, {"Filter", QString()},      {"FooterAfterEach", false},
                        {"KeepFooter", false},      {"KeepHeader", false},      {"KeepTogether", false},
                        {"PrintIfDetailEmpty", false}, {"RowCount", 0},         {"OnMasterDetail", QString()}};
    rudAddTypeName(descs, "TfrxNotifyEvent", {"OnMasterDetail"});
    return descs;
}

TfrxDataSet *TfrxDataBand::RunDataSet() const
{
    if (FRunDataSet)
        return FRunDataSet;
    return qobject_cast<TfrxDataSet *>(FDataSet.data());
}

TfrxDataSet *TfrxDataBand::VirtualDataSet()
{
    if (!FVirtualDataSet)
        FVirtualDataSet = std::make_unique<TfrxVirtualDataSet>();
    static_cast<TfrxVirtualDataSet *>(FVirtualDataSet.get())->SetRecordCount(FRowCount);
    return FVirtualDataSet.get();
}

TfrxPropDescs TfrxGroupHeader::PropDescs()
{
    return {{"Condition", QString()}, {"KeepTogether", false}, {"ReprintOnNewPage", false},
            {"ResetPageNumbers", false}};
}

TfrxPropDescs TfrxOverlay::PropDescs()
{
    return {{"PrintOnTop", false}};
}

TfrxNullBand::~TfrxNullBand()
{
    ReleaseObjects();
}

void TfrxNullBand::ListObject(TfrxComponent *Obj)
{
    ObjectsList().append(Obj);
}

void TfrxNullBand::ReleaseObjects()
{
    // Only the listed objects go: objects that have the band as their parent
    // (a prepared page rebuilt from its item) are the band's own and are
    // freed with it.
    ObjectsList().removeIf([this](TfrxComponent *Obj) { return Obj->Parent() != this; });
}

namespace {
// The band classes in number order: the number is the index.
const QMetaObject *const bandClasses[] = {
    &TfrxReportTitle::staticMetaObject,  &TfrxReportSummary::staticMetaObject, &TfrxPageHeader::staticMetaObject,
    &TfrxPageFooter::staticMetaObject,   &TfrxHeader::staticMetaObject,        &TfrxFooter::staticMetaObject,
    &TfrxMasterData::staticMetaObject,   &TfrxDetailData::staticMetaObject,    &TfrxSubdetailData::staticMetaObject,
    &TfrxDataBand4::staticMetaObject,    &TfrxDataBand5::staticMetaObject,     &TfrxDataBand6::staticMetaObject,
    &TfrxGroupHeader::staticMetaObject,  &TfrxGroupFooter::staticMetaObject,   &TfrxChild::staticMetaObject,
    &TfrxColumnHeader::staticMetaObject, &TfrxColumnFooter::staticMetaObject,  &TfrxOverlay::staticMetaObject};
} // namespace

const QMetaObject *rudBandClass(int N)
{
    return N >= 0 && N < int(std::size(bandClasses)) ? bandClasses[N] : nullptr;
}

void rudRegisterBandClasses()
{
    rudRegisterClass<TfrxBand>();
    rudRegisterClass<TfrxDataBand>();
    rudRegisterClass<TfrxReportTitle>();
    rudRegisterClass<TfrxReportSummary>();
    rudRegisterClass<TfrxPageHeader>();
    rudRegisterClass<TfrxPageFooter>();
    rudRegisterClass<TfrxHeader>();
    rudRegisterClass<TfrxFooter>();
    rudRegisterClass<TfrxMasterData>();
    rudRegisterClass<TfrxDetailData>();
    rudRegisterClass<TfrxSubdetailData>();
    rudRegisterClass<TfrxDataBand4>();
    rudRegisterClass<TfrxDataBand5>();
    rudRegisterClass<TfrxDataBand6>();
    rudRegisterClass<TfrxGroupHeader>();
    rudRegisterClass<TfrxGroupFooter>();
    rudRegisterClass<TfrxChild>();
    rudRegisterClass<TfrxColumnHeader>();
    rudRegisterClass<TfrxColumnFooter>();
    rudRegisterClass<TfrxOverlay>();
    rudRegisterClass<TfrxNullBand>();
}
