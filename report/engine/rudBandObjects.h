#pragma once
// Objects of a band during output: copies of output objects and the shift
// of the objects below those that grew.

#include <QHash>

class TfrxBand;
class TfrxComponent;

// A copy of an output object (its values as they are now, its alias, no
// name) made a child of Parent; nullptr for a class that cannot be made.
TfrxComponent *rudCopyOutput(TfrxComponent *Obj, TfrxComponent *Parent);
// Moves the objects of Band below those in Grown (object -> growth) down as
// their ShiftMode says.
void rudShiftObjects(TfrxBand *Band, const QHash<TfrxComponent *, double> &Grown);
