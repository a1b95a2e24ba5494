#pragma once
// The null band: a band without a kind of its own that never occurs in a
// template. The preparation engine makes one to carry the objects that lie
// directly on a page; on a prepared page it is stored whole, by class name.
// (The band classes of the band engine join it later; this is the part the
// prepared pages store needs.)

#include "report/model/rudComponent.h"

// A band that only carries objects; it has no source copy on prepared pages.
class TfrxNullBand : public TfrxReportComponent {
    Q_OBJECT
    Q_PROPERTY(double Height READ Height WRITE SetHeight)
    Q_PROPERTY(double Left READ Left WRITE SetLeft)
    Q_PROPERTY(double Top READ Top WRITE SetTop)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
public:
    explicit TfrxNullBand(TfrxComponent *AOwner);
    // The complete attribute text, then its position as "l" and "t".
    QString AllDiff(TfrxComponent *AComponent) override;
};

// True for band objects (TfrxNullBand and the band classes, by class name so
// that this room does not need to know them): on prepared pages a band
// always writes its top and gets an alias of base "b".
bool rudIsBand(const QObject *Obj);
