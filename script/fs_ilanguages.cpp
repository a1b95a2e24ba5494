// The languages built into the engine, registered on first use of the registry.

#include "script/fs_ibasic.h"
#include "script/fs_icpp.h"
#include "script/fs_igrammar.h"
#include "script/fs_ijs.h"
#include "script/fs_ipascal.h"

void fsRegisterBuiltinLanguages()
{
    fsRegisterPascalScript();
    fsRegisterCPlusScript();
    fsRegisterBasicScript();
    fsRegisterJScript();
}
