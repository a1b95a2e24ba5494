// The published-property registry checks itself: every descriptor names a
// property, every declared default is a new object's value (where not
// declared to differ); and the generic copy and comparison that the records
// use instead of hand-written ones.

#include "report/model/rudClass.h"
#include "report/model/rudStyleItem.h"

#include "base/PropKind.h"

#include <QDateTime>

#include <gtest/gtest.h>
#include <memory>

namespace {

// Checks the declared defaults of Obj and, in depth, of its sub-objects.
void checkDefaults(const QObject *Obj, const QString &Path, QStringList &Wrong)
{
    for (const TfrxPropInfo &prop : rudGetPropList(Obj)) {
        if (prop.Kind == TfrxPropKind::Object) {
            if (QObject *sub = prop.ObjectValue(Obj))
                checkDefaults(sub, Path + prop.Name + QLatin1Char('.'), Wrong);
            continue;
        }
        if (!prop.HasDefault() || prop.IsDefault(Obj))
            continue;
        // A file default that deliberately differs is declared so.
        if (!prop.NewObjectDiffers)
            Wrong << Path + prop.Name + QStringLiteral(" = ") + prop.Read(Obj).toString() +
                         QStringLiteral(", declared ") + prop.Default.toString();
    }
}

// A class whose descriptor misspells its property.
class TMisspelt : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(int Colour READ Colour WRITE SetColour)
public:
    int Colour() const { return 0; }
    void SetColour(int) {}
};

// Properties of the kinds where the model and scripts used to disagree.
class TKinds : public TfrxPersistent {
    Q_OBJECT
    Q_PROPERTY(uint Count READ Count WRITE SetCount)
    Q_PROPERTY(QDateTime Stamp READ Stamp WRITE SetStamp)
public:
    uint Count() const { return 0; }
    void SetCount(uint) {}
    QDateTime Stamp() const { return {}; }
    void SetStamp(const QDateTime &) {}
};

} // namespace

TEST(PropRegistry, KindsComeFromTheSharedClassifier)
{
    const TfrxPropList &list = rudGetPropList(&TKinds::staticMetaObject);
    ASSERT_EQ(list.size(), 2u); // no objectName
    EXPECT_EQ(list[0].Kind, TfrxPropKind::Int64);
    EXPECT_EQ(list[1].Kind, TfrxPropKind::DateTime);
    EXPECT_EQ(propKindOfType(list[0].Meta), TfrxPropKind::Int64);
    EXPECT_TRUE(isQObjectOwnProperty(&TKinds::staticMetaObject, 0));
}

TEST(PropRegistry, EveryDescriptorNamesAPropertyAndEveryDefaultIsANewObjectsValue)
{
    const QStringList names = rudRegisteredClassNames();
    ASSERT_FALSE(names.isEmpty());
    EXPECT_TRUE(rudPropDescErrors().isEmpty()) << rudPropDescErrors().join(u'\n').toStdString();
    QStringList wrong;
    int checked = 0;
    for (const QString &name : names) {
        const TfrxClassEntry entry = rudFindClass(name);
        if (!entry.New)
            continue;
        std::unique_ptr<QObject> fresh(entry.New());
        checkDefaults(fresh.get(), name + QLatin1Char('.'), wrong);
        ++checked;
    }
    EXPECT_GT(checked, 30);
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(u'\n').toStdString();
}

// The inspector and the property editors go by the declared type: a colour
// or an event handler declared without its type would be edited as a number
// or a plain text.
TEST(PropRegistry, EveryPublishedPropertyHasAKindAndATypeName)
{
    QStringList wrong;
    for (const QString &name : rudRegisteredClassNames()) {
        for (const TfrxPropInfo &prop : rudGetPropList(rudFindClass(name).Class)) {
            const QString where = name + QLatin1Char('.') + prop.Name;
            if (prop.Kind == TfrxPropKind::Unknown || prop.TypeName.isEmpty())
                wrong << where + QStringLiteral(" has no kind or type");
            if (prop.Kind == TfrxPropKind::Integer && prop.Name.endsWith(QLatin1String("Color")) &&
                prop.TypeName != QLatin1String("TColor"))
                wrong << where + QStringLiteral(" is ") + prop.TypeName;
            const bool eventName = prop.Name.size() > 2 && prop.Name.startsWith(QLatin1String("On")) &&
                                   prop.Name.at(2).isUpper();
            if (prop.Kind == TfrxPropKind::String && eventName &&
                !(prop.TypeName.startsWith(QLatin1String("Tfrx")) && prop.TypeName.endsWith(QLatin1String("Event"))))
                wrong << where + QStringLiteral(" is ") + prop.TypeName;
        }
    }
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join(u'\n').toStdString();
}

TEST(PropRegistry, AMisspeltDescriptorIsCaught)
{
    rudRegisterPropDescs(&TMisspelt::staticMetaObject, {{"Color", 0}});
    EXPECT_TRUE(rudPropDescErrors().contains(QStringLiteral("TMisspelt.Color names no property")));
    const TfrxPropDescs fromNew = rudDefaultsOf(TMisspelt(), {"Colour", "Colr"});
    ASSERT_EQ(fromNew.size(), 1u);
    EXPECT_EQ(fromNew[0].Default.toLongLong(), 0);
    EXPECT_TRUE(rudPropDescErrors().contains(QStringLiteral("TMisspelt.Colr names no property")));
}

TEST(PropRegistry, RecordsCopyAndCompareThroughThePublishedList)
{
    // The frame's own colour resets the lines; the copy keeps the source's lines.
    TfrxFrame frame, copy;
    frame.SetColor(clRed);
    frame.LeftLine()->SetColor(clBlack);
    frame.SetTyp(TfrxFrameTypes(ftLeft | ftTop));
    copy.Assign(frame);
    EXPECT_TRUE(copy == frame);
    EXPECT_EQ(copy.LeftLine()->Color(), clBlack);
    EXPECT_EQ(copy.TopLine()->Color(), clRed);
    copy.BottomLine()->SetWidth(3);
    EXPECT_FALSE(copy == frame);

    // The frame copies and compares its fields itself (so as not to make
    // its lines): every published value must be among them.
    for (const TfrxPropInfo &prop : rudGetPropList(&TfrxFrame::staticMetaObject)) {
        if (prop.Kind == TfrxPropKind::Object)
            continue;
        TfrxFrame changed, fresh, copy;
        if (prop.Kind == TfrxPropKind::Float)
            prop.SetFloatValue(&changed, prop.FloatValue(&changed) + 1.5);
        else
            prop.SetOrdValue(&changed, prop.OrdValue(&changed) + 1);
        EXPECT_FALSE(changed == fresh) << prop.Name.toStdString();
        copy.Assign(changed);
        EXPECT_TRUE(copy == changed) << prop.Name.toStdString();
        EXPECT_EQ(prop.Read(&copy), prop.Read(&changed)) << prop.Name.toStdString();
    }

    // A font copy notifies once.
    TFont font, source;
    source.SetName(QStringLiteral("Times New Roman"));
    source.SetHeight(-16);
    source.SetStyle(TFontStyles(fsBold | fsItalic));
    int changes = 0;
    font.OnChange = [&changes] { ++changes; };
    font.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(font == source);

    // A highlight takes the fill's kind before its values.
    TfrxHighlight highlight, other;
    other.SetFillType(ftGradient);
    dynamic_cast<TfrxGradientFill *>(other.Fill())->SetEndColor(clRed);
    other.SetCondition(QStringLiteral("<Value> > 0"));
    other.Font()->SetSize(14);
    highlight.Assign(other);
    ASSERT_EQ(highlight.FillType(), ftGradient);
    EXPECT_EQ(dynamic_cast<TfrxGradientFill *>(highlight.Fill())->EndColor(), clRed);
    EXPECT_EQ(highlight.Condition(), other.Condition());
    EXPECT_TRUE(*highlight.Font() == *other.Font());
    // Fills of other kinds are never equal; a fill copies only its own kind.
    TfrxBrushFill brush;
    EXPECT_FALSE(brush.Equals(*other.Fill()));
    brush.Assign(*other.Fill());
    EXPECT_EQ(brush.BackColor(), clTransparent);

    // Option records: published values through the list, the rest by hand.
    TfrxPrintOptions print, printCopy;
    print.SetCopies(3);
    print.SetPrinter(QStringLiteral("PDF"));
    print.SetSwapPageSize(true);
    print.SetSplicingLine(7);
    printCopy.Assign(print);
    EXPECT_EQ(printCopy.Copies(), 3);
    EXPECT_EQ(printCopy.Printer(), QStringLiteral("PDF"));
    EXPECT_TRUE(printCopy.SwapPageSize());
    EXPECT_EQ(printCopy.SplicingLine(), 7);
    TfrxEngineOptions engine, engineCopy;
    engine.SetNewSilentMode(simReThrow);
    engine.SetMaxMemSize(3);
    engine.SetDestroyForms(false);
    engineCopy.Assign(engine);
    EXPECT_EQ(engineCopy.NewSilentMode(), simReThrow);
    EXPECT_EQ(engineCopy.MaxMemSize(), 3);
    EXPECT_FALSE(engineCopy.DestroyForms());

    // Style items: name, colour, font and frame.
    TfrxStyleItem style(nullptr), styleCopy(nullptr);
    style.SetName(QStringLiteral("Title"));
    style.SetColor(clRed);
    style.Frame()->SetWidth(2);
    styleCopy.Assign(style);
    EXPECT_EQ(styleCopy.Name(), QStringLiteral("Title"));
    EXPECT_EQ(styleCopy.Color(), clRed);
    EXPECT_TRUE(*styleCopy.Frame() == *style.Frame());
}

#include "PropRegistryTest.moc"
