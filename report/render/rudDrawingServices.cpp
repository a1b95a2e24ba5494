#include "report/render/rudDrawingServices.h"

#include "report/engine/rudEngineRuntime.h"
#include "report/render/rudPreviewPagesDraw.h"
#include "report/render/rudViewDraw.h"

TfrxServices rudDrawingServices()
{
    TfrxServices services = rudEngineServices();
    services.ViewPainter = std::make_shared<TfrxViewDrawer>();
    services.DrawPage = &rudDrawPreparedPage;
    return services;
}

std::shared_ptr<const TfrxServices> rudSharedDrawingServices()
{
    static const auto services = std::make_shared<const TfrxServices>(rudDrawingServices());
    return services;
}
