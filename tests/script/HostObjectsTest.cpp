// Host objects seen through their published properties, and the string lists
// of the classes module.

#include "ScriptTestUtil.h"

#include "script/fs_iclassesrtti.h"
#include "script/fs_istrings.h"

#include <QObject>
#include <QStringList>
#include <memory>

class TBoxFont : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(TStyles Style READ Style WRITE SetStyle)
public:
    enum TStyle { stBold = 1, stItalic = 2, stUnderline = 4 };
    Q_DECLARE_FLAGS(TStyles, TStyle)
    Q_FLAG(TStyles)

    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    QString Name() const { return FName; }
    void SetName(const QString &v) { FName = v; }
    TStyles Style() const { return FStyle; }
    void SetStyle(TStyles v) { FStyle = v; }

private:
    int FSize = 10;
    QString FName = QStringLiteral("Arial");
    TStyles FStyle;
};

class TBox : public QObject {
    Q_OBJECT
    Q_PROPERTY(TKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(TBoxFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TBox *Link READ Link WRITE SetLink)
    Q_PROPERTY(QStringList Lines READ Lines WRITE SetLines)
    Q_PROPERTY(double Width READ Width WRITE SetWidth)
    Q_PROPERTY(bool Shown READ Shown WRITE SetShown)
    Q_PROPERTY(int Id READ Id)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(qint64 Big READ Big WRITE SetBig)
    Q_PROPERTY(uint Count READ Count WRITE SetCount)
public:
    enum TKind { kdPlain, kdFramed, kdFancy = 5 };
    Q_ENUM(TKind)

    TKind Kind() const { return FKind; }
    void SetKind(TKind v) { FKind = v; }
    TBoxFont *Font() const { return FFont.get(); }
    // Assigning a font copies it, as report objects do.
    void SetFont(TBoxFont *v)
    {
        if (v) {
            FFont->SetSize(v->Size());
            FFont->SetName(v->Name());
        }
    }
    TBox *Link() const { return FLink; }
    void SetLink(TBox *v) { FLink = v; }
    QStringList Lines() const { return FLines; }
    void SetLines(const QStringList &v) { FLines = v; }
    double Width() const { return FWidth; }
    void SetWidth(double v) { FWidth = v; }
    bool Shown() const { return FShown; }
    void SetShown(bool v) { FShown = v; }
    int Id() const { return 7; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &v) { FCaption = v; }
    qint64 Big() const { return FBig; }
    void SetBig(qint64 v) { FBig = v; }
    uint Count() const { return FCount; }
    void SetCount(uint v) { FCount = v; }

private:
    TKind FKind = kdPlain;
    std::unique_ptr<TBoxFont> FFont = std::make_unique<TBoxFont>();
    TBox *FLink = nullptr;
    QStringList FLines;
    double FWidth = 0;
    bool FShown = true;
    QString FCaption;
    qint64 FBig = 0;
    uint FCount = 0;
};

// A descendant no script registers: its own properties resolve at run time.
class TBigBox : public TBox {
    Q_OBJECT
    Q_PROPERTY(int Depth READ Depth WRITE SetDepth)
public:
    int Depth() const { return FDepth; }
    void SetDepth(int v) { FDepth = v; }

private:
    int FDepth = 0;
};

namespace {

// A script with the system and classes modules, and two boxes registered as
// Box1 (class TBox) and Box2 (a TBigBox).
struct THostScript {
    bool Registered = (fsRegisterClassesRTTI(), true); // before the script takes its built-ins
    TTestScript T;
    TBox Box1;
    TBigBox Box2;
    void Register()
    {
        T.Script.AddClass(QStringLiteral("TBox"), QStringLiteral("TComponent"), &TBox::staticMetaObject);
        T.Script.AddObject(QStringLiteral("Box1"), &Box1);
        T.Script.AddObject(QStringLiteral("Box2"), &Box2);
    }
    QString CompileMessage(const QString &text) { return T.CompileError(text).section(QStringLiteral(": "), 1); }
};

} // namespace

TEST(HostObjects, StringListFromScripts)
{
    THostScript h;
    EXPECT_EQ(h.T.Run(QStringLiteral(
                  "var L: TStringList; i: Integer;\n"
                  "begin\n"
                  "  L := TStringList.Create;\n"
                  "  L.Add('one'); i := L.Add('two'); L.Add('three');\n"
                  "  ShowMessage(i); ShowMessage(L.Count); ShowMessage(L[1] + ' ' + L.ClassName);\n"
                  "  L[1] := 'TWO'; L.Insert(0, 'zero'); L.Delete(3);\n"
                  "  ShowMessage(L.Text);\n"
                  "  ShowMessage(L.IndexOf('two')); ShowMessage(L.IndexOf('none'));\n"
                  "  L.CommaText := 'b, \"c d\",a,';\n"
                  "  ShowMessage(L.Count); ShowMessage(L.CommaText);\n"
                  "  L.Sorted := True;\n"
                  "  ShowMessage(L.CommaText);\n"
                  "  L.Add('B'); L.Duplicates := dupAccept; L.Add('B');\n"
                  "  ShowMessage(L.CommaText);\n"
                  "  L.Clear; ShowMessage(L.Count);\n"
                  "  L.Free\n"
                  "end.")),
              (QStringList{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("two TStringList"),
                           QStringLiteral("zero\r\none\r\nTWO\r\n"), QStringLiteral("2"), QStringLiteral("-1"),
                           QStringLiteral("4"), QStringLiteral("b,\"c d\",a,"), QStringLiteral(",a,b,\"c d\""),
                           QStringLiteral(",a,B,b,\"c d\""), QStringLiteral("0")}));

    // Errors of lists are ordinary script errors; a list a script never frees
    // goes with the script (the leak checker watches this test).
    EXPECT_EQ(h.T.Run(QStringLiteral(
                  "var L, M: TStringList;\n"
                  "begin\n"
                  "  L := TStringList.Create; M := TStringList.Create;\n"
                  "  try L[0] := 'x' except ShowMessage(ExceptionClassName + ': ' + ExceptionMessage) end;\n"
                  "  L.Sorted := True;\n"
                  "  try L.Insert(0, 'x') except ShowMessage(ExceptionMessage) end;\n"
                  "  L.Duplicates := dupError; L.Add('a');\n"
                  "  try L.Add('A') except ShowMessage(ExceptionMessage) end;\n"
                  "  M.Add('x'); M.Add('y'); L.AddStrings(M); M.Assign(L);\n"
                  "  ShowMessage(M.CommaText);\n"
                  "  try M.Assign(nil) except ShowMessage(ExceptionMessage) end;\n"
                  "  M.Free; M := nil; M.Free\n"
                  "end.")),
              (QStringList{QStringLiteral("EStringListError: List index out of bounds (0)"),
                           QStringLiteral("Operation not allowed on sorted list"),
                           QStringLiteral("String list does not allow duplicates"), QStringLiteral("a,x,y"),
                           QStringLiteral("Cannot assign a nil to a TStringList")}));

    // The named default property takes its brackets as arguments, to read and to write.
    EXPECT_EQ(h.T.Run(QStringLiteral(
                  "var L: TStringList;\n"
                  "begin\n"
                  "  L := TStringList.Create; L.Add('a'); L.Add('b');\n"
                  "  L.Strings[0] := 'z'; ShowMessage(L.Strings[0] + L.Strings[1] + L.Strings(1));\n"
                  "  L.Free\n"
                  "end.")),
              QStringList{QStringLiteral("zbb")});
}

TEST(HostObjects, StringListTextRules)
{
    TStringList list;
    list.SetText(QStringLiteral("a\r\nb\nc\rd\r\n"));
    EXPECT_EQ(list.Lines(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    list.SetText(QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(list.Lines(), (QStringList{QString(), QString()}));
    list.SetLines({QString()});
    EXPECT_EQ(list.CommaText(), QStringLiteral("\"\""));
    list.SetCommaText(QStringLiteral("  \"say \"\"hi\"\"\" , x y,,\"open"));
    EXPECT_EQ(list.Lines(), (QStringList{QStringLiteral("say \"hi\""), QStringLiteral("x"), QStringLiteral("y"),
                                         QString(), QStringLiteral("open")}));
    EXPECT_EQ(list.CommaText(), QStringLiteral("\"say \"\"hi\"\"\",x,y,,open"));
    // A sorted list keeps order and its duplicate rule through every way in.
    list.SetSorted(true);
    list.SetText(QStringLiteral("b\na\nB\nc"));
    EXPECT_EQ(list.Lines(), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    list.SetCaseSensitive(true);
    list.Add(QStringLiteral("B"));
    EXPECT_EQ(list.Lines(), (QStringList{QStringLiteral("B"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(list.IndexOf(QStringLiteral("b")), 2);
    EXPECT_EQ(list.IndexOf(QStringLiteral("C")), -1);
}

TEST(HostObjects, SubObjectsReferencesAndLateBinding)
{
    THostScript h;
    h.Register();
    EXPECT_EQ(h.T.Run(QStringLiteral(
                  "var o, f: Variant;\n"
                  "begin\n"
                  "  Box1.Font.Size := 12; Box1.Font.Name := 'Tahoma';\n"
                  "  Box1.Width := Box1.Width + 2.5; Box1.Shown := False; Box1.Big := 5000000000;\n"
                  "  ShowMessage(Box1.Font.Size + 1); ShowMessage(Box1.Width = 2.5);\n"
                  "  if Box1.Link = nil then ShowMessage('no link');\n"
                  "  Box1.Link := Box2; Box1.Link.Caption := 'second';\n"
                  "  o := Box1; f := o.Link.Font; f.Size := 20;\n"
                  "  ShowMessage(o.Link.Caption); ShowMessage(Box2.Font.Size);\n"
                  "  o := Box2; o.Depth := 3; ShowMessage(o.Depth);\n"
                  "  Box2.Font := Box1.Font;\n"
                  "  Box1.Link := nil\n"
                  "end.")),
              (QStringList{QStringLiteral("13"), QStringLiteral("True"), QStringLiteral("no link"),
                           QStringLiteral("second"), QStringLiteral("20"), QStringLiteral("3")}));
    EXPECT_EQ(h.Box1.Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_FALSE(h.Box1.Shown());
    EXPECT_EQ(h.Box1.Big(), 5000000000LL);
    EXPECT_EQ(h.Box2.Caption(), QStringLiteral("second"));
    EXPECT_EQ(h.Box2.Depth(), 3);
    EXPECT_EQ(h.Box2.Font()->Size(), 12);
    EXPECT_EQ(h.Box1.Link(), nullptr);

    // The sub-object's class was registered from its meta-object, under TObject.
    TfsClassVariable *font = h.T.Script.FindClass(QStringLiteral("TBoxFont"));
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font->FParentClass, nullptr);
    EXPECT_EQ(font->FParentClass->FName, QStringLiteral("TObject"));
    // So its members are checked when the script is compiled.
    EXPECT_EQ(h.CompileMessage(QStringLiteral("begin Box1.Font.Sise := 1 end.")),
              QStringLiteral("Undeclared identifier: 'Sise'"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("begin Box1.Link.Caption := 'x' end.")),
              QStringLiteral("Access to member 'Caption' of a nil object"));
    EXPECT_EQ(h.T.Run(QStringLiteral("begin ShowMessage(Box1 is TComponent); ShowMessage(Box1.Font is TComponent) end.")),
              (QStringList{QStringLiteral("True"), QStringLiteral("False")}));
}

TEST(HostObjects, EnumerationsAndSets)
{
    THostScript h;
    h.Register();
    // Registering the class registered its enumerations' identifiers; the
    // sub-object's class brings its own set.
    EXPECT_EQ(h.T.Run(QStringLiteral(
                  "var o: Variant;\n"
                  "begin\n"
                  "  Box1.Kind := kdFancy; ShowMessage(Box1.Kind);\n"
                  "  if Box1.Kind = kdFancy then ShowMessage('fancy');\n"
                  "  Box1.Font.Style := [stBold, stUnderline]; ShowMessage(Box1.Font.Style);\n"
                  "  Box1.Font.Style := stItalic; ShowMessage(Box1.Font.Style);\n"
                  "  o := Box1; o.Kind := 'kdFramed'; o.Font.Style := '[stBold,stItalic]'\n"
                  "end.")),
              (QStringList{QStringLiteral("5"), QStringLiteral("fancy"), QStringLiteral("5"), QStringLiteral("2")}));
    EXPECT_EQ(h.Box1.Kind(), TBox::kdFramed);
    EXPECT_EQ(h.Box1.Font()->Style(), TBoxFont::stBold | TBoxFont::stItalic);
    // A value that is no identifier's, or a bit outside the set, is refused.
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; o.Kind := 3 end.")),
              QStringLiteral("Invalid value for property 'Kind'"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; o.Kind := 'kdNone' end.")),
              QStringLiteral("Invalid value for property 'Kind'"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("begin Box1.Font.Style := 8 end.")),
              QStringLiteral("Invalid value for property 'Style'"));
    EXPECT_EQ(h.Box1.Kind(), TBox::kdFramed);
    EXPECT_EQ(h.CompileMessage(QStringLiteral("begin Box1.Kind := 'kdPlain' end.")),
              QStringLiteral("Incompatible types: 'TKind', 'String'"));
}

TEST(HostObjects, StringListProperties)
{
    THostScript h;
    h.Register();
    h.Box1.SetLines({QStringLiteral("first")});
    EXPECT_EQ(h.T.Run(QStringLiteral(
                  "var L: TStrings;\n"
                  "begin\n"
                  "  Box1.Lines.Add('second'); ShowMessage(Box1.Lines[1]); ShowMessage(Box1.Lines.Count);\n"
                  "  L := Box1.Lines; L[0] := 'FIRST'; L.Insert(0, 'zero');\n"
                  "  ShowMessage(Box1.Lines.Text);\n"
                  "  ShowMessage(L.ClassName); ShowMessage(L.IndexOf('second'))\n"
                  "end.")),
              (QStringList{QStringLiteral("second"), QStringLiteral("2"), QStringLiteral("zero\r\nFIRST\r\nsecond\r\n"),
                           QStringLiteral("TStrings"), QStringLiteral("2")}));
    // Every change reached the host at once, through its setter.
    EXPECT_EQ(h.Box1.Lines(), (QStringList{QStringLiteral("zero"), QStringLiteral("FIRST"), QStringLiteral("second")}));

    // A list kept after its host is gone raises instead of touching freed memory.
    auto box = std::make_unique<TBox>();
    h.T.Script.AddObject(QStringLiteral("Box3"), box.get());
    ASSERT_TRUE(h.T.Compile(QStringLiteral("var Kept: TStrings; procedure Keep; begin Kept := Box3.Lines end;\n"
                                           "procedure Use; begin Kept.Add('x') end; begin end.")));
    h.T.Script.CallFunction(QStringLiteral("Keep"), {});
    box.reset();
    try {
        h.T.Script.CallFunction(QStringLiteral("Use"), {});
        FAIL() << "no error";
    } catch (const EfsRuntimeError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The object of this string list no longer exists"));
    }
}

TEST(HostObjects, ErrorsOfMembersAndValues)
{
    THostScript h;
    h.Register();
    EXPECT_EQ(h.CompileMessage(QStringLiteral("begin Box1.Colour := 1 end.")),
              QStringLiteral("Undeclared identifier: 'Colour'"));
    EXPECT_EQ(h.CompileMessage(QStringLiteral("begin Box1.Id := 1 end.")), QStringLiteral("Left side cannot be assigned to"));
    EXPECT_EQ(h.CompileMessage(QStringLiteral("begin Box1.Width := 'wide' end.")),
              QStringLiteral("Incompatible types: 'Extended', 'String'"));
    EXPECT_EQ(h.CompileMessage(QStringLiteral("begin Box1.Font := Box2 end.")),
              QStringLiteral("Incompatible types: 'TBoxFont', 'TBox'"));
    // Through a Variant the same mistakes are caught when the script runs.
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; o.Width := 'wide' end.")),
              QStringLiteral("Could not convert variant of type (String) into type (Double)"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; o.Id := 2 end.")),
              QStringLiteral("Left side cannot be assigned to"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; o.Link := 12345 end.")),
              QStringLiteral("Invalid value for property 'Link'"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; o.Font := Box2 end.")),
              QStringLiteral("Invalid value for property 'Font'"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; o.Colour := 1 end.")),
              QStringLiteral("Undeclared identifier: 'Colour'"));
    // The host owns its objects: a script cannot free them.
    EXPECT_EQ(h.T.RunError(QStringLiteral("begin Box1.Font.Free end.")),
              QStringLiteral("Cannot free an object of class TBoxFont: it belongs to its host"));
    EXPECT_EQ(h.Box1.Font()->Size(), 10);
}

TEST(HostObjects, KindsFollowTheModelsClassifier)
{
    THostScript h;
    h.Register();
    h.Box1.setObjectName(QStringLiteral("hidden"));
    // An unsigned property holds every value it can take.
    EXPECT_EQ(h.T.Run(QStringLiteral("begin Box1.Count := 3000000000; ShowMessage(Box1.Count) end.")),
              QStringList{QStringLiteral("3000000000")});
    EXPECT_EQ(h.Box1.Count(), 3000000000u);
    // QObject's own objectName is no published property.
    EXPECT_EQ(h.CompileMessage(QStringLiteral("begin ShowMessage(Box1.objectName) end.")),
              QStringLiteral("Undeclared identifier: 'objectName'"));
    EXPECT_EQ(h.T.RunError(QStringLiteral("var o: Variant; begin o := Box1; ShowMessage(o.objectName) end.")),
              QStringLiteral("Undeclared identifier: 'objectName'"));
}

#include "HostObjectsTest.moc"
