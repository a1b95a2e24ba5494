// Objects of a band during output: copies of output objects for the band
// that carries them, and the shift of the objects below those that grew.

#include "report/engine/rudBandObjects.h"

#include "report/model/rudBand.h"
#include "report/model/rudClassRegistry.h"

#include <QList>
#include <algorithm>

TfrxComponent *rudCopyOutput(TfrxComponent *Obj, TfrxComponent *Parent)
{
    const TfrxClassEntry entry = rudFindClass(QString::fromLatin1(Obj->metaObject()->className()));
    if (!entry.Create)
        return nullptr;
    // Made outside the report: the copy carries the object's name until it
    // is cleared, and two objects of one name may not share a report.
    TfrxComponent *copy = entry.Create(nullptr);
    copy->Assign(Obj);
    copy->SetName(QString());
    copy->SetAliasName(Obj->AliasName());
    copy->SetParent(Parent);
    if (!(*copy->Font() == *Obj->Font()))
        copy->SetFont(Obj->Font());
    return copy;
}

// Objects below a grown object move down by as much as everything above
// them moved and grew: always (smAlways), only when they lie under it
// horizontally (smWhenOverlapped), or never (smDontShift).
void rudShiftObjects(TfrxBand *Band, const QHash<TfrxComponent *, double> &Grown)
{
    QList<TfrxComponent *> objects;
    for (TfrxComponent *c : Band->Objects())
        if (qobject_cast<TfrxView *>(c))
            objects.append(c);
    std::stable_sort(objects.begin(), objects.end(),
                     [](TfrxComponent *a, TfrxComponent *b) { return a->Top() < b->Top(); });
    QHash<TfrxComponent *, double> moved;
    QHash<TfrxComponent *, double> designBottom;
    for (TfrxComponent *c : objects)
        designBottom.insert(c, c->Top() + c->Height() - Grown.value(c));
    for (TfrxComponent *o : objects) {
        auto *view = static_cast<TfrxView *>(o);
        double shift = 0;
        if (view->ShiftMode() != smDontShift)
            for (TfrxComponent *p : objects) {
                if (p == o || designBottom.value(p) > o->Top() + 1e-4 || p->Top() >= o->Top() + moved.value(o))
                    continue;
                const double by = moved.value(p) + Grown.value(p);
                if (by <= 0)
                    continue;
                const bool overlaps = p->Left() < o->Left() + o->Width() && o->Left() < p->Left() + p->Width();
                if (view->ShiftMode() == smAlways || overlaps)
                    shift = std::max(shift, by);
            }
        if (shift > 0) {
            moved.insert(o, shift);
            o->SetTop(o->Top() + shift);
        }
    }
}
