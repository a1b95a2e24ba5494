#pragma once
// The variables shared by every report of the process ("CopyName0",
// "CopyName1", ... among them), read after a report's own variables.

#include "report/model/rudVariables.h"

// The process's global variables.
TfrxVariables &rudGlobalVariables();
