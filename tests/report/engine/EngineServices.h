#pragma once
// The services engine tests hand their reports: the engine room's own, with
// a painter of the test's choosing (the engine room has no fonts).

#include "report/engine/rudEngineRuntime.h"
#include "report/model/rudReport.h"
#include "report/model/rudMemo.h"
#include "report/model/rudViewPainter.h"

#include <memory>

namespace enginetest {

// Measures a memo as its own size and keeps its whole text in bounds.
class TOwnSizePainter : public TfrxViewPainter {
public:
    void Draw(TfrxView *, TfrxCanvas *, double, double, double, double) override {}
    double CalcHeight(TfrxCustomMemoView *Memo) override { return Memo->Height(); }
    double CalcWidth(TfrxCustomMemoView *Memo) override { return Memo->Width(); }
    TfrxMemoSplit Split(TfrxCustomMemoView *Memo) override { return {Memo->Text(), QString(), false, 0}; }
    QString WrapText(TfrxCustomMemoView *Memo, bool) override { return Memo->Text(); }
};

// The engine's services with Painter (not owned), or an own-size painter.
inline std::shared_ptr<const TfrxServices> engineServices(TfrxViewPainter *Painter = nullptr)
{
    TfrxServices services = rudEngineServices();
    if (Painter)
        services.ViewPainter = std::shared_ptr<TfrxViewPainter>(Painter, [](TfrxViewPainter *) {});
    else
        services.ViewPainter = std::make_shared<TOwnSizePainter>();
    return std::make_shared<const TfrxServices>(std::move(services));
}

} // namespace enginetest

namespace enginetest {

// A report with the engine test services.
class TServedReport : public TfrxReport {
public:
    TServedReport() { SetServices(engineServices()); }
};

} // namespace enginetest
