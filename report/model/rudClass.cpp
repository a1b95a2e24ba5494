#include "report/model/rudClass.h"
#include "report/model/rudBand.h"
#include "report/model/rudDataSet.h"
#include "report/model/rudViewClasses.h"

// Every class of the report objects that exists so far, registered by name
// for the template reader and with its property descriptors. Object kinds
// added later (bands, dialog controls) join here.
void rudRegisterClasses()
{
    rudRegisterClass<TfrxPersistent>();
    rudRegisterClass<TFont>();
    rudRegisterClass<TfrxFrameLine>();
    rudRegisterClass<TfrxFrame>();
    rudRegisterClass<TfrxCustomFill>();
    rudRegisterClass<TfrxBrushFill>();
    rudRegisterClass<TfrxGradientFill>();
    rudRegisterClass<TfrxGlassFill>();
    rudRegisterClass<TfrxHyperlink>();
    rudRegisterClass<TfrxFormat>();
    rudRegisterClass<TfrxHighlight>();
    rudRegisterClass<TfrxPicture>();
    rudRegisterClass<TfrxComponent>();
    rudRegisterClass<TfrxReportComponent>();
    rudRegisterClass<TfrxView>();
    rudRegisterClass<TfrxStretcheable>();
    rudRegisterClass<TfrxCustomMemoView>();
    rudRegisterClass<TfrxMemoView>();
    rudRegisterClass<TfrxPage>();
    rudRegisterClass<TfrxReportPage>();
    rudRegisterClass<TfrxDataPage>();
    rudRegisterClass<TfrxEngineOptions>();
    rudRegisterClass<TfrxPreviewOptions>();
    rudRegisterClass<TfrxPrintOptions>();
    rudRegisterClass<TfrxReportOptions>();
    rudRegisterClass<TfrxReport>();
    rudRegisterViewClasses();
    rudRegisterBandClasses();
    rudRegisterClass<TfrxDataSet>();
    rudRegisterClass<TfrxVirtualDataSet>();
    rudRegisterClass<TfrxMemoryDataSet>();
}
