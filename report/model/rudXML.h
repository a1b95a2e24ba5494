#pragma once
// The XML document of templates, prepared reports and the string table:
// the runtime's one XML implementation (base/Xml.h), under its own names.

#include "base/Xml.h"
