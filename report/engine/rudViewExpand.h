#pragma once
// The preparation engine's side of the view expansion seam
// (report/model/rudExpansion.h): TagStr, hyperlinks and memo texts.

// Installs the engine's expansion of views and pictures into the model
// (done by rudEngineInit).
void rudInstallExpansionEngine();
