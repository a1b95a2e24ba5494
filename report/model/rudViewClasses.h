#pragma once
// The report object classes beyond memos and pages: pictures, lines,
// shapes, system texts, subreports, dialog pages and styles.

#include "report/model/rudDialogPage.h"
#include "report/model/rudLineView.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudShapeView.h"
#include "report/model/rudStyleItem.h"
#include "report/model/rudSubreport.h"
#include "report/model/rudSysMemoView.h"

// Registers these classes by name with their property descriptors, so that
// templates can hold them. Called once from the start-up registration.
void rudRegisterViewClasses();
