#pragma once
// The report object model: units, fonts, frames, fills, the component tree,
// memos, pages, the report root, published properties, the class registry
// and the template serializer.

#include "report/model/rudClassRegistry.h"
#include "report/model/rudComponent.h"
#include "report/model/rudEnums.h"
#include "report/model/rudFill.h"
#include "report/model/rudFont.h"
#include "report/model/rudFrame.h"
#include "report/model/rudHighlight.h"
#include "report/model/rudHyperlink.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudPropInfo.h"
#include "report/model/rudReport.h"
#include "report/model/rudReportOptions.h"
#include "report/model/rudUnits.h"
#include "report/model/rudView.h"
#include "report/model/rudXMLSerializer.h"
