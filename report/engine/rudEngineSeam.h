#pragma once
// The part of the preparation engine that its collaborators (kept blocks,
// suppressed values, vertical output, sub-reports) reach: the run's public
// state and the few band-walk steps they take part in.

class TfrxBand;
class TfrxCustomEngine;

// What the engine offers its collaborators; the engine implements it
// privately, so nothing else calls these.
class TfrxEngineSeam {
public:
    // The run's report, output position and page size.
    virtual TfrxCustomEngine &State() = 0;
    // Makes Band the band being output (events and expressions see it).
    virtual void SetCurBand(TfrxBand *Band) = 0;

protected:
    ~TfrxEngineSeam() = default;
};
