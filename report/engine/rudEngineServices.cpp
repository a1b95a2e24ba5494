// The services the engine room offers a report.

#include "report/engine/rudDataFields.h"
#include "report/engine/rudEngineRuntime.h"
#include "report/engine/rudViewExpand.h"
#include "report/model/rudExpansion.h"
#include "report/model/rudPictureView.h"

TfrxServices rudEngineServices()
{
    TfrxServices services;
    services.MakeRuntime = [](TfrxReport *Report) { return std::make_unique<TfrxEngineRuntime>(Report); };
    services.ExpansionEngine = rudMakeExpansionEngine();
    services.PictureEngine = rudMakePictureEngine();
    services.DataFieldSource = rudMakeDataSetSource();
    return services;
}
