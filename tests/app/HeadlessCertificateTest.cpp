// The print command without the window: the certificate file read into its
// values fills the print template exactly as the window filled from the
// same file does, and no widget is built for it.

#include "PrintTestSupport.h"

#include "app/CertificateFile.h"
#include "app/HeadlessCertificate.h"
#include "base/Errors.h"
#include "base/IniFile.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"
#include "report/render/rudDrawingServices.h"

#include <gtest/gtest.h>

TEST(HeadlessCertificate, FillsTheTemplateAsTheWindowDoesWithoutAnyWidget)
{
    TPrintWindow print;
    TfmMain &w = *print.Shown.Window;
    fillCertificate(w);
    w.TraineeDetails.Snils = QStringLiteral("112-233-445 95");
    const QString vod = print.Folder.filePath(QStringLiteral("sample.vod"));
    saveCertificate(w, vod);
    w.OpenCertificate(vod);
    ASSERT_TRUE(w.FillReport());

    const qsizetype widgets = QApplication::allWidgets().size();
    THeadlessCertificate headless(rudSharedDrawingServices());
    headless.TemplateFolder = w.TemplateFolder;
    headless.Open(vod);
    ASSERT_TRUE(headless.FillReport());
    EXPECT_EQ(QApplication::allWidgets().size(), widgets);
    EXPECT_EQ(headless.Values.Details, w.TraineeDetails);
    EXPECT_EQ(certificateValues(headless.Values), certificateValues(w));
    int memos = 0;
    for (TfrxComponent *object : w.rudReport1->AllObjects()) {
        const auto *shown = qobject_cast<TfrxMemoView *>(object);
        if (!shown)
            continue;
        const auto *filled = qobject_cast<TfrxMemoView *>(headless.Report()->FindObject(shown->Name()));
        ASSERT_NE(filled, nullptr) << qPrintable(shown->Name());
        EXPECT_EQ(filled->Text(), shown->Text()) << qPrintable(shown->Name());
        EXPECT_EQ(filled->AllowExpressions(), shown->AllowExpressions()) << qPrintable(shown->Name());
        ++memos;
    }
    EXPECT_EQ(memos, 48);

    // A file whose hours are no number fails as the window's "Открыть" does.
    TIniFile file(vod, CertificateCodePage);
    file.WriteString(CertificateTableSection, QStringLiteral("edt_3"), QStringLiteral("три"));
    file.UpdateFile();
    EXPECT_THROW(headless.Open(vod), EConvertError);
    EXPECT_THROW(w.OpenCertificate(vod), EConvertError);
}
