// The process-wide objects of the expression side.

#include "report/engine/rudFR2Events.h"
#include "report/engine/rudGlobalVariables.h"

TfrxFR2Events &rudFR2Events()
{
    static TfrxFR2Events events;
    return events;
}

TfrxVariables &rudGlobalVariables()
{
    static TfrxVariables variables;
    return variables;
}
