#pragma once
// The preparation engine's side of the view expansion seam
// (report/model/rudExpansion.h): TagStr, hyperlinks and memo texts.

#include <QString>
#include <functional>

class TfrxCustomMemoView;

// Installs the engine's expansion into the model (done by rudEngineInit).
void rudInstallExpansionEngine();

// Text layout's answer to "what part of this memo's text does not fit":
// GetData hands that part to the memo's FlowTo memo. Until a splitter is
// installed, FlowTo memos are left alone.
using TfrxFlowSplitter = std::function<QString(TfrxCustomMemoView *Memo)>;
void rudSetFlowSplitter(TfrxFlowSplitter Splitter);
