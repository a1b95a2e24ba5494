#include "report/model/rudViewClasses.h"

#include "report/model/rudClassRegistry.h"

void rudRegisterViewClasses()
{
    rudRegisterClass<TfrxCustomLineView>();
    rudRegisterClass<TfrxLineView>();
    rudRegisterClass<TfrxShapeView>();
    rudRegisterClass<TfrxPictureView>();
    rudRegisterClass<TfrxSysMemoView>();
    rudRegisterClass<TfrxSubreport>();
    rudRegisterClass<TfrxDialogPage>();
    rudRegisterClass<TfrxStyleItem>();
}
