#pragma once
// The preparation engine's side of the view expansion seam
// (report/model/rudExpansion.h): TagStr, hyperlinks and memo texts, and the
// picture object's file names, data fields and picture cache.

#include <memory>

class TfrxExpansionEngine;
class TfrxPictureEngine;

// The engine's expansion of views, as a report service.
std::shared_ptr<TfrxExpansionEngine> rudMakeExpansionEngine();
// The engine's side of picture objects, as a report service.
std::shared_ptr<TfrxPictureEngine> rudMakePictureEngine();
