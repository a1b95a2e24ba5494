// Report objects in scripts: the report-object module over a real report
// tree, the order of the registration modules, and the script messages
// taken from the engine string resources.

#include "EngineServices.h"
#include "script/ScriptTestUtil.h"

#include "report/engine/rudClassRTTI.h"
#include "report/engine/rudEngineInit.h"
#include "report/model/rudClassRegistry.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPage.h"
#include "report/model/rudRes.h"
#include "report/model/rudReport.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_isysrtti.h"

namespace {

// A report with one page holding two memos, registered in a script by name
// as the report does before it compiles its script.
struct TReportScript {
    bool Initialised = (rudEngineInit(), true); // before the script takes its built-ins
    TTestScript T;
    enginetest::TServedReport Report;
    TfrxReportPage *Page1 = new TfrxReportPage(&Report);
    TfrxMemoView *Memo1 = new TfrxMemoView(Page1);
    TfrxMemoView *Memo2 = new TfrxMemoView(Page1);

    TReportScript()
    {
        Page1->SetName(QStringLiteral("Page1"));
        Memo1->SetName(QStringLiteral("Memo1"));
        Memo2->SetName(QStringLiteral("Memo2"));
        T.Script.AddObject(QStringLiteral("Report"), &Report);
        for (TfrxComponent *c : Report.AllObjects())
            T.Script.AddObject(c->Name(), c);
    }
};

} // namespace

TEST(ReportObjects, ModulesInTheirOrder)
{
    rudEngineInit();
    rudEngineInit();
    rudRegisterClassRTTI();
    fsRegisterClassesRTTI();
    const auto &modules = fsRTTIModules();
    ASSERT_EQ(modules.size(), 3u);
    TfsScript scratch;
    auto first = modules[0](&scratch), second = modules[1](&scratch), third = modules[2](&scratch);
    EXPECT_NE(dynamic_cast<TfsSysFunctions *>(first.get()), nullptr);
    EXPECT_NE(dynamic_cast<TfsClassesRTTI *>(second.get()), nullptr);
    EXPECT_NE(dynamic_cast<TfrxClassRTTI *>(third.get()), nullptr);

    // Every registered report class is a script class with its parent chain.
    TReportScript r;
    TfsClassVariable *memo = r.T.Script.FindClass(QStringLiteral("TfrxMemoView"));
    ASSERT_NE(memo, nullptr);
    QStringList chain;
    for (TfsClassVariable *c = memo; c; c = c->FParentClass)
        chain << c->FName;
    EXPECT_EQ(chain, (QStringList{QStringLiteral("TfrxMemoView"), QStringLiteral("TfrxCustomMemoView"),
                                  QStringLiteral("TfrxStretcheable"), QStringLiteral("TfrxView"),
                                  QStringLiteral("TfrxReportComponent"), QStringLiteral("TfrxComponent"),
                                  QStringLiteral("TComponent"),
                                  QStringLiteral("TPersistent"), QStringLiteral("TObject")}));
    for (const QString &name : rudRegisteredClassNames())
        EXPECT_NE(r.T.Script.FindClass(name), nullptr) << name.toStdString();
}

TEST(ReportObjects, PublishedPropertiesAndSubObjects)
{
    TReportScript r;
    r.Memo1->SetText(QStringLiteral("old"));
    EXPECT_EQ(r.T.Run(QStringLiteral(
                  "begin\n"
                  "  Memo1.Font.Size := 12; Memo1.Font.Style := [fsBold, fsItalic]; Memo1.Font.Name := 'Tahoma';\n"
                  "  ShowMessage(Memo1.Text); Memo1.Text := 'x';\n"
                  "  Memo1.HAlign := haCenter; Memo1.VAlign := vaBottom;\n"
                  "  Memo1.Frame.Typ := [ftLeft, ftTop]; Memo1.Frame.Width := 2; Memo1.Frame.LeftLine.Color := 255;\n"
                  "  ShowMessage(Memo1.Frame.Typ); ShowMessage(Memo1.Frame.TopLine.Width);\n"
                  "  Memo1.Left := 10; Memo1.Memo.Add('second');\n"
                  "  Page1.Visible := False; Page1.Orientation := poLandscape;\n"
                  "  ShowMessage(Report.FindObject('Memo1').Left + Report.FindObject('memo1').Font.Size);\n"
                  "  if Report.FindObject('NoSuch') = nil then ShowMessage('none');\n"
                  "  if Memo1.DataSet = nil then ShowMessage('no data set');\n"
                  "  Memo1.FlowTo := Memo2; ShowMessage(Memo1.FlowTo.Name);\n"
                  "  Memo2.Memo := Memo1.Memo;\n"
                  "  Report.EngineOptions.NewSilentMode := simSilent;\n"
                  "  Report.ScriptText.Text := 'x'; Report.ScriptText[0] := 'begin'; Report.ScriptText.Add('end.');\n"
                  "  ShowMessage(Memo2.Parent.Name + ' ' + Memo2.Report.Name + ' ' + Memo1.ClassName)\n"
                  "end.")),
              (QStringList{QStringLiteral("old\r\n"), QStringLiteral("5"), QStringLiteral("2"), QStringLiteral("22"),
                           QStringLiteral("none"), QStringLiteral("no data set"), QStringLiteral("Memo2"),
                           QStringLiteral("Page1  TfrxMemoView")}));
    EXPECT_EQ(r.Memo1->Font()->Size(), 12);
    EXPECT_EQ(r.Memo1->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(r.Memo1->Font()->Style(), fsBold | fsItalic);
    EXPECT_EQ(r.Memo1->Text(), QStringLiteral("x\r\nsecond\r\n"));
    EXPECT_EQ(r.Memo1->HAlign(), haCenter);
    EXPECT_EQ(r.Memo1->VAlign(), vaBottom);
    EXPECT_EQ(r.Memo1->Frame()->Typ(), ftLeft | ftTop);
    EXPECT_EQ(r.Memo1->Frame()->LeftLine()->Width(), 2.0);
    EXPECT_EQ(r.Memo1->Frame()->LeftLine()->Color(), 255);
    EXPECT_EQ(r.Memo1->Left(), 10.0);
    EXPECT_FALSE(r.Page1->Visible());
    EXPECT_EQ(r.Page1->Orientation(), poLandscape);
    EXPECT_EQ(r.Memo1->FlowTo(), r.Memo2);
    EXPECT_EQ(r.Memo2->Memo(), r.Memo1->Memo());
    EXPECT_EQ(r.Report.EngineOptions()->NewSilentMode(), simSilent);
    EXPECT_EQ(r.Report.ScriptText(), (QStringList{QStringLiteral("begin"), QStringLiteral("end.")}));
}

TEST(ReportObjects, CreatingFreeingAndErrors)
{
    TReportScript r;
    EXPECT_EQ(r.T.Run(QStringLiteral(
                  "var m, loose: TfrxMemoView;\n"
                  "begin\n"
                  "  m := TfrxMemoView.Create(Page1); m.Name := 'Memo3'; m.SetBounds(1, 2, 30, 40);\n"
                  "  ShowMessage(Report.FindObject('Memo3').Height);\n"
                  "  loose := TfrxMemoView.Create(nil); loose.Text := 'mine'; loose.Free;\n"
                  "  TfrxMemoView.Create(nil);\n"
                  "  loose := TfrxMemoView.Create(nil); loose.Name := 'Memo4'; loose.Parent := Page1;\n"
                  "  Memo2.Parent := nil;\n"
                  "  ShowMessage(Memo1 is TfrxView); ShowMessage(Memo1 is TComponent); ShowMessage(Page1 is TfrxView)\n"
                  "end.")),
              (QStringList{QStringLiteral("40"), QStringLiteral("True"), QStringLiteral("True"), QStringLiteral("False")}));
    // The object made with an owner stays in the tree after the script.
    TfrxComponent *memo3 = r.Report.FindObject(QStringLiteral("Memo3"));
    ASSERT_NE(memo3, nullptr);
    EXPECT_EQ(memo3->Parent(), r.Page1);
    // So does the one placed in the tree later; the one taken out of the
    // tree went with the script's objects (the leak checker watches).
    EXPECT_NE(r.Report.FindObject(QStringLiteral("Memo4")), nullptr);
    EXPECT_EQ(r.Report.FindObject(QStringLiteral("Memo2")), nullptr);
    r.Memo2 = nullptr;

    EXPECT_EQ(r.T.RunError(QStringLiteral("begin Memo1.Free end.")),
              QStringLiteral("Cannot free an object of class TfrxMemoView: it belongs to its host"));
    EXPECT_EQ(r.T.RunError(QStringLiteral("begin Memo1.Parent := Memo1 end.")),
              QStringLiteral("An object cannot be placed inside itself"));
    EXPECT_EQ(r.T.RunError(QStringLiteral("begin Report.FindObject('NoSuch').Left := 1 end.")),
              QStringLiteral("Access to member 'Left' of a nil object"));
    EXPECT_EQ(r.T.RunError(QStringLiteral("var v: Variant; begin v := Memo1; v.HAlign := 7 end.")),
              QStringLiteral("Invalid value for property 'HAlign'"));
    EXPECT_EQ(r.T.CompileError(QStringLiteral("begin Memo1.Font.Colour := 1 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Undeclared identifier: 'Colour'"));

    // Clear destroys the children; the page is empty afterwards.
    EXPECT_EQ(r.T.RunError(QStringLiteral("begin Page1.Clear end.")), QString());
    EXPECT_TRUE(r.Page1->Objects().isEmpty());
}

TEST(ReportObjects, ScriptMessagesFollowTheResources)
{
    rudEngineInit();
    const QString original = rudResources().Get(QStringLiteral("SIdUndeclared"));
    rudResources().AddW(QStringLiteral("SIdUndeclared"), QStringLiteral("Unknown name: "));
    rudResources().UpdateFSResources();
    EXPECT_EQ(fsResource(QStringLiteral("SIdUndeclared")), QStringLiteral("Unknown name: "));
    TTestScript t;
    EXPECT_EQ(t.CompileError(QStringLiteral("begin Nothing := 1 end.")).section(QStringLiteral(": "), 1),
              QStringLiteral("Unknown name: 'Nothing'"));
    rudResources().AddW(QStringLiteral("SIdUndeclared"), original);
    rudResources().UpdateFSResources();
    EXPECT_EQ(fsResource(QStringLiteral("SIdUndeclared")), original);
}
