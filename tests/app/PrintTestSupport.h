#pragma once
// The entry window set up for the print command: a copy of the delivered
// print template in a temporary folder that the window reads it from, and
// the certificate the print tests fill in.

#include "AppTestSupport.h"
#include "report/render/CupsSupport.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <functional>

class TfrxMemoView;

// A shown entry window whose print template is a fresh copy in Folder.
struct TPrintWindow {
    TPrintWindow();
    TShownMainWindow Shown;
    QTemporaryDir Folder;
};

// Fills every field: "Автошкола [филиал]" as the school, training from
// 3 May to 28 July 2015, issue on 1 September 2015, protocol of 31 August
// 2015, grades and transmission chosen; with withHours the hours 10, 20,5,
// 3 ... 9, 0 and the total 72,5.
void fillCertificate(TfmMain &w, bool withHours = true);
// The memo of that name in the window's report (fails the test when absent).
TfrxMemoView *memo(TfmMain &w, const QString &name);
QString memoText(TfmMain &w, const QString &name);
// Rewrites the window's template file from the delivered one after edit.
void writeTemplate(TfmMain &w, const std::function<void(QByteArray &)> &edit);
// Preview windows open right now.
int openPreviewCount();

// The first page of a PDF file as pdftotext -bbox reads it: the sheet's
// size and its words (entities decoded), all in millimetres.
struct TPdfText {
    double Width = 0, Height = 0;
    QList<TPdfWord> Words;
};
TPdfText readPdf(const QString &File);
