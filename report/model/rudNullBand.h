#pragma once
// The null band (declared with the other bands in rudBand.h) and the test
// the prepared pages store uses to treat bands apart.

#include "report/model/rudBand.h"

// True for band objects (TfrxNullBand and the band classes): on prepared
// pages a band always writes its top and gets an alias of base "b".
bool rudIsBand(const QObject *Obj);
