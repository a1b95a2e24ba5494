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

bool TfrxCustomEngine::Run(bool, bool, TfrxComponent *)
{
    return false;
}

void TfrxCustomEngine::ShowBandByName(const QString &BandName)
{
    if (TfrxComponent *band = FReport->FindObject(BandName))
        ShowBand(band);
}

void TfrxCustomEngine::StopReport()
{
    FReport->SetTerminated(true);
}

bool TfrxCustomEngine::DoublePass() const
{
    return FReport->EngineOptions()->DoublePass();
}

void TfrxCustomEngine::ProgressStart(TfrxProgressType Type)
{
    FReport->InternalOnProgressStart(Type);
}

void TfrxCustomEngine::Progress(TfrxProgressType Type, int Page)
{
    FReport->InternalOnProgress(Type, Page);
}

void TfrxCustomEngine::ProgressStop(TfrxProgressType Type)
{
    FReport->InternalOnProgressStop(Type);
}
