// Keep-together of vertical groups: a group that starts where the rest of
// the column set cannot hold it, but a whole set can, starts the next set,
// so that its header, records and footer come out side by side. A group
// wider than a whole set comes out as any output does, cut where the sets
// end.
//
// The group's width is known before it is output by a walk over its
// records that outputs nothing and runs no events: it follows the real walk
// (filter, RowCount, inner groups, detail bands, child chains) and counts
// the room of every band as its visibility stands when the group starts.

#include "report/engine/rudVerticalOutput.h"

#include "report/engine/rudCustomEngine.h"
#include "report/engine/rudEngineSeam.h"
#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"

#include <algorithm>

void TfrxVerticalOutput::KeepVGroup(TfrxBand *Band, TfrxDataBand *VBand, int Index, int Counted,
                            QHash<TfrxComponent *, double> &Grown)
{
    if (!FVPlaced || !VWidthLimited())
        return;
    const double width = MeasureVGroup(Band, VBand, Index, Counted);
    const double origin = State().FCurX - Band->Left();
    const bool fitsHere = origin + FCurVX - FVShift + width <= State().FPageWidth + 0.0001;
    const bool fitsASet = origin + FVStart + width <= State().FPageWidth + 0.0001;
    if (!fitsHere && fitsASet)
        StartVSet(Band, width, Grown);
}

double TfrxVerticalOutput::MeasureVGroup(TfrxBand *Band, TfrxDataBand *VBand, int Index, int Counted)
{
    TfrxDataSet *ds = FEngine.BandDataSet(VBand);
    const int recNo = ds->RecNo();
    // The group's first record is counted again by the measuring walk.
    const double width = MeasureVRecords(Band, VBand, Counted - 1, Index);
    ds->First();
    while (!ds->Eof() && ds->RecNo() < recNo)
        ds->Next();
    return width;
}

double TfrxVerticalOutput::MeasureVRecords(TfrxBand *Band, TfrxDataBand *VBand, int Counted, int Group)
{
    TfrxDataSet *ds = FEngine.BandDataSet(VBand);
    const QList<TfrxBand *> groups = VBand->Group();
    const int from = std::max(Group, 0);
    auto headers = [&](int From) {
        double width = 0;
        for (int i = From; i < groups.size(); ++i)
            width += VChainWidth(groups[i]);
        return width;
    };
    auto footers = [&](int From) {
        double width = 0;
        for (int i = From; i < groups.size(); ++i)
            if (TfrxBand *footer = static_cast<TfrxGroupHeader *>(groups[i])->GroupFooter())
                width += VChainWidth(footer);
        return width;
    };
    QVariantList last;
    bool first = true;
    double width = 0;
    while (FEngine.WalkGoesOn(VBand, ds, Counted)) {
        if (FEngine.PassesFilter(VBand, Band)) {
            ++Counted;
            QVariantList values;
            for (TfrxBand *g : groups) {
                FEngine.SetCurBand(g);
                values << FEngine.EvalValue(static_cast<TfrxGroupHeader *>(g)->Condition());
            }
            if (first) {
                if (Group < 0 && VBand->Header())
                    width += VChainWidth(VBand->Header());
                width += headers(from);
                first = false;
            } else {
                int changed = -1;
                for (int i = 0; i < values.size() && changed < 0; ++i)
                    if (values[i] != last[i] || values[i].typeId() != last[i].typeId())
                        changed = i;
                // A change of the group or of a group around it ends it.
                if (changed >= 0 && changed <= Group)
                    break;
                if (changed >= 0)
                    width += footers(changed) + headers(changed);
            }
            last = values;
            width += VChainWidth(VBand);
            for (TfrxBand *sub : VBand->SubBands()) {
                auto *detail = qobject_cast<TfrxDataBand *>(sub);
                if (TfrxDataSet *detailData = FEngine.BandDataSet(detail)) {
                    detailData->First();
                    width += MeasureVRecords(Band, detail, 0, -1);
                }
            }
        }
        ds->Next();
    }
    if (first)
        return 0;
    width += footers(from);
    if (Group < 0 && VBand->Footer())
        width += VChainWidth(VBand->Footer());
    return width;
}
