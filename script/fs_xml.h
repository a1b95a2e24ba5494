#pragma once
// The script engine's XML document: grammar documents and the intermediate
// form of a compiled script are kept in the runtime's one XML document.

#include "base/Xml.h"

using TfsXMLItem = TfrxXMLItem;
using TfsXMLDocument = TfrxXMLDocument;
