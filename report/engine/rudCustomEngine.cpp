// The engine state that the store and expressions read.

#include "report/engine/rudCustomEngine.h"

#include "report/model/rudComponent.h"
#include "report/model/rudReport.h"

TfrxCustomEngine::TfrxCustomEngine(TfrxReport *Report) : FReport(Report) {}

TfrxCustomEngine::~TfrxCustomEngine() = default;

TfsVariant TfrxCustomEngine::GetAggregateValue(const QString &, const QString &, TfrxComponent *, int)
{
    return TfsVariant::Null();
}

void TfrxCustomEngine::StartClock()
{
    FStartDate = Date();
    FStartTime = Time();
}

// The preparation engine's own class takes the place of the base here.
TfrxCustomEngine *TfrxReport::Engine()
{
    if (!FEngine)
        FEngine = std::make_shared<TfrxCustomEngine>(this);
    return FEngine.get();
}
