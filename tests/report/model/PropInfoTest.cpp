// The published-property lists: order (inherited first), kinds, defaults,
// stored rules and typed access, as every consumer walks them.

#include "report/model/rudClass.h"

#include <gtest/gtest.h>

namespace {

QStringList names(const QMetaObject *cls)
{
    QStringList result;
    for (const TfrxPropInfo &p : rudGetPropList(cls))
        result.append(p.Name);
    return result;
}

} // namespace

TEST(PropInfo, OrderIsInheritedFirstAsTemplatesWriteIt)
{
    const QStringList view = names(&TfrxView::staticMetaObject);
    const QStringList expectedView = {
        "Name", "Tag", "Description", "Align", "Printable", "ShiftMode", "Left", "Top", "Width", "Height",
        "GroupIndex", "Restrictions", "Visible", "OnAfterData", "OnAfterPrint", "OnBeforePrint", "OnMouseEnter",
        "OnMouseLeave", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnPreviewClick", "OnPreviewDblClick",
        "Hyperlink", "Hint", "ShowHint", "Visibility"};
    EXPECT_EQ(view, expectedView);

    const QStringList memo = names(&TfrxMemoView::staticMetaObject);
    ASSERT_GT(memo.size(), view.size() + 1);
    EXPECT_EQ(memo.mid(0, view.size()), view);
    EXPECT_EQ(memo[view.size()], QStringLiteral("StretchMode"));
    EXPECT_EQ(memo[view.size() + 1], QStringLiteral("FirstParaBreak"));
    EXPECT_EQ(memo.last(), QStringLiteral("VAlign"));
    EXPECT_LT(memo.indexOf("Font"), memo.indexOf("Frame"));
    EXPECT_LT(memo.indexOf("FillType"), memo.indexOf("Fill"));

    EXPECT_EQ(names(&TfrxDataPage::staticMetaObject),
              (QStringList{"Name", "Tag", "Font", "Visible", "Height", "Left", "Top", "Width"}));
    EXPECT_EQ(names(&TFont::staticMetaObject).mid(0, 4), (QStringList{"Charset", "Color", "Height", "Name"}));
}

TEST(PropInfo, KindsDefaultsAndStoredRules)
{
    TfrxReport report;
    auto *page = new TfrxReportPage(&report);
    auto *memo = new TfrxMemoView(page);
    auto kind = [](const QMetaObject *cls, const char *name) { return rudFindProp(cls, name)->Kind; };
    const QMetaObject *m = &TfrxMemoView::staticMetaObject;
    EXPECT_EQ(kind(m, "HAlign"), TfrxPropKind::Enumeration);
    EXPECT_EQ(kind(m, "Restrictions"), TfrxPropKind::Set);
    EXPECT_EQ(kind(m, "WordWrap"), TfrxPropKind::Boolean);
    EXPECT_EQ(kind(m, "GapX"), TfrxPropKind::Float);
    EXPECT_EQ(kind(m, "Rotation"), TfrxPropKind::Integer);
    EXPECT_EQ(kind(m, "Style"), TfrxPropKind::String);
    EXPECT_EQ(kind(m, "FlowTo"), TfrxPropKind::Component);
    EXPECT_EQ(kind(m, "Font"), TfrxPropKind::Object);
    EXPECT_EQ(kind(m, "Memo"), TfrxPropKind::WideStringList);
    EXPECT_EQ(kind(&TfrxReport::staticMetaObject, "ScriptText"), TfrxPropKind::StringList);
    EXPECT_EQ(kind(&TfrxReportOptions::staticMetaObject, "CreateDate"), TfrxPropKind::DateTime);
    EXPECT_EQ(rudFindProp(m, "halign"), rudFindProp(m, "HAlign")); // names ignore case
    EXPECT_EQ(rudFindProp(m, "NoSuchThing"), nullptr);

    const TfrxPropInfo *gapX = rudFindProp(m, "GapX");
    EXPECT_TRUE(gapX->IsDefault(memo));
    memo->SetGapX(2.5);
    EXPECT_FALSE(gapX->IsDefault(memo));
    const TfrxPropInfo *font = rudFindProp(m, "Font");
    EXPECT_FALSE(font->IsStored(memo)); // ParentFont
    memo->SetParentFont(false);
    EXPECT_TRUE(font->IsStored(memo));
    EXPECT_FALSE(rudFindProp(m, "Color")->IsStored(memo));
    EXPECT_FALSE(rudFindProp(m, "URL")->IsStored(memo));
    EXPECT_FALSE(rudFindProp(&TfrxView::staticMetaObject, "Left")->HasDefault()); // always written
}

TEST(PropInfo, TypedAccessGoesThroughTheSetters)
{
    TfrxMemoView memo(nullptr);
    const TfrxPropInfo *hAlign = rudFindProp(&memo, "HAlign");
    EXPECT_TRUE(hAlign->SetOrdValue(&memo, haCenter));
    EXPECT_EQ(memo.HAlign(), haCenter);
    EXPECT_EQ(hAlign->IdentOf(hAlign->OrdValue(&memo)), QStringLiteral("haCenter"));
    EXPECT_EQ(hAlign->ValueOfIdent(QStringLiteral("HABLOCK")), std::optional<qint64>(haBlock));
    EXPECT_FALSE(hAlign->ValueOfIdent(QStringLiteral("haMiddle")).has_value());
    EXPECT_FALSE(hAlign->IsValidOrd(4));

    const TfrxPropInfo *restrictions = rudFindProp(&memo, "Restrictions");
    EXPECT_TRUE(restrictions->SetOrdValue(&memo, rfDontMove | rfDontEdit));
    EXPECT_EQ(memo.Restrictions(), TfrxRestrictions(rfDontMove | rfDontEdit));
    EXPECT_EQ(restrictions->SetMask(), 31);

    rudFindProp(&memo, "Rotation")->SetOrdValue(&memo, 450);
    EXPECT_EQ(memo.Rotation(), 90);
    auto *fontObj = qobject_cast<TFont *>(rudFindProp(&memo, "Font")->ObjectValue(&memo));
    ASSERT_EQ(fontObj, memo.Font());
    rudFindProp(fontObj, "Name")->SetStrValue(fontObj, QStringLiteral("Tahoma"));
    EXPECT_EQ(memo.Font()->Name(), QStringLiteral("Tahoma"));

    TfrxMemoView other(nullptr);
    const TfrxPropInfo *flowTo = rudFindProp(&memo, "FlowTo");
    EXPECT_TRUE(flowTo->SetObjectValue(&memo, &other));
    EXPECT_EQ(memo.FlowTo(), &other);
    TfrxReportPage notAMemo(nullptr);
    EXPECT_FALSE(flowTo->SetObjectValue(&memo, &notAMemo));
    EXPECT_EQ(memo.FlowTo(), &other);
}

TEST(PropInfo, RegistryKnowsTheClassesByName)
{
    for (const char *name : {"TfrxReport", "TfrxReportPage", "TfrxDataPage", "TfrxMemoView", "TfrxCustomMemoView",
                             "TfrxFrame", "TfrxHighlight"})
        EXPECT_NE(rudFindClass(QString::fromLatin1(name)).Class, nullptr) << name;
    EXPECT_NE(rudFindClass(QStringLiteral("tfrxmemoview")).Create, nullptr);
    EXPECT_EQ(rudFindClass(QStringLiteral("TfrxFrame")).Create, nullptr); // no component
    EXPECT_EQ(rudFindClass(QStringLiteral("TfrxNoSuchView")).Class, nullptr);
    std::unique_ptr<TfrxComponent> made(rudFindClass(QStringLiteral("TfrxMemoView")).Create(nullptr));
    EXPECT_NE(dynamic_cast<TfrxMemoView *>(made.get()), nullptr);
}

namespace {

// A new object of a registered class, or nullptr when it needs arguments.
std::unique_ptr<QObject> fresh(const TfrxClassEntry &entry)
{
    if (entry.Create)
        return std::unique_ptr<QObject>(entry.Create(nullptr));
    return std::unique_ptr<QObject>(entry.New ? entry.New() : nullptr);
}

// A value that differs from Current and fits the property.
qint64 otherOrd(const TfrxPropInfo &prop, qint64 current)
{
    if (prop.Kind == TfrxPropKind::Boolean)
        return current ? 0 : 1;
    if (prop.Kind == TfrxPropKind::Set)
        return current ^ (prop.SetMask() & 1 ? 1 : prop.SetMask());
    if (prop.Kind == TfrxPropKind::Enumeration) {
        const QMetaEnum e = prop.Enumerator();
        for (int i = 0; i < e.keyCount(); ++i)
            if (e.value(i) != current)
                return e.value(i);
        return current;
    }
    return current + 7;
}

} // namespace

// The typed reads and writes take a short way for the common value types;
// they must see and leave exactly what QMetaProperty::read/write do, for
// every published property of every registered class.
TEST(PropInfo, TypedAccessAgreesWithVariantAccessForEveryClass)
{
    for (const QString &name : rudRegisteredClassNames()) {
        const TfrxClassEntry entry = rudFindClass(name);
        std::unique_ptr<QObject> typed = fresh(entry), plain = fresh(entry), copy = fresh(entry);
        if (!typed)
            continue;
        for (const TfrxPropInfo &prop : rudGetPropList(typed.get())) {
            if (!prop.IsReadable())
                continue;
            const std::string where = (name + QLatin1Char('.') + prop.Name).toStdString();
            const QVariant before = prop.Read(typed.get());
            if (isOrdinalPropKind(prop.Kind) && prop.Kind != TfrxPropKind::Char) {
                const qint64 v = prop.OrdValue(typed.get());
                if (prop.Kind == TfrxPropKind::Boolean)
                    EXPECT_EQ(v, before.toBool() ? 1 : 0) << where;
                else if (before.metaType().sizeOf() == int(sizeof(int)))
                    EXPECT_EQ(v, *static_cast<const int *>(before.constData())) << where;
                else
                    EXPECT_EQ(v, before.toLongLong()) << where;
                if (!prop.IsWritable() || prop.Name == QLatin1String("Name"))
                    continue;
                const qint64 next = otherOrd(prop, v);
                EXPECT_EQ(prop.SetOrdValue(typed.get(), next), true) << where;
                int raw = int(next);
                const QVariant value = prop.Kind == TfrxPropKind::Boolean ? QVariant(next != 0)
                                       : prop.Kind == TfrxPropKind::Int64 ? QVariant(next)
                                       : before.metaType().sizeOf() == int(sizeof(int)) ? QVariant(before.metaType(), &raw)
                                                                                        : QVariant(raw);
                prop.Write(plain.get(), value);
                EXPECT_EQ(prop.Read(typed.get()), prop.Read(plain.get())) << where;
            } else if (prop.Kind == TfrxPropKind::Float) {
                EXPECT_EQ(prop.FloatValue(typed.get()), before.toDouble()) << where;
                if (!prop.IsWritable())
                    continue;
                prop.SetFloatValue(typed.get(), 12.375);
                prop.Write(plain.get(), 12.375);
                EXPECT_EQ(prop.Read(typed.get()), prop.Read(plain.get())) << where;
            } else if (prop.Kind == TfrxPropKind::String) {
                EXPECT_EQ(prop.StrValue(typed.get()), before.toString()) << where;
                if (!prop.IsWritable() || prop.Name == QLatin1String("Name"))
                    continue;
                prop.SetStrValue(typed.get(), QStringLiteral("Arial Narrow"));
                prop.Write(plain.get(), QStringLiteral("Arial Narrow"));
                EXPECT_EQ(prop.Read(typed.get()), prop.Read(plain.get())) << where;
            } else if (prop.Kind == TfrxPropKind::Object || prop.Kind == TfrxPropKind::Component) {
                const QObject *held = before.metaType().flags() & QMetaType::PointerToQObject
                                          ? *static_cast<QObject *const *>(before.constData())
                                          : nullptr;
                EXPECT_EQ(prop.ObjectValue(typed.get()), held) << where;
            }
        }
        // Copying property by property leaves what reading and writing
        // through QVariant leaves.
        for (const TfrxPropInfo &prop : rudGetPropList(typed.get())) {
            if (!prop.IsReadable() || !prop.IsWritable() || prop.Kind == TfrxPropKind::Object ||
                prop.Kind == TfrxPropKind::Component || prop.Name == QLatin1String("Name"))
                continue;
            prop.CopyValue(copy.get(), typed.get());
            EXPECT_EQ(prop.Read(copy.get()), prop.Read(typed.get())) << (name + '.' + prop.Name).toStdString();
        }
    }
}

TEST(PropInfo, FontCopyCarriesEveryPublishedProperty)
{
    // Each stored property of a font set away from a new font's value:
    // a copy (and a child's inherited font) has them all, in one change.
    TFont source, copy;
    const QMetaObject *meta = &TFont::staticMetaObject;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (!p.isStored())
            continue;
        const QVariant fresh = p.read(&copy);
        QVariant changed = fresh.typeId() == QMetaType::QString ? QVariant(QStringLiteral("Courier New"))
                                                               : QVariant(fresh.toInt() + 2);
        ASSERT_TRUE(p.write(&source, changed)) << p.name();
        ASSERT_NE(p.read(&source), fresh) << p.name();
    }
    int changes = 0;
    copy.OnChange = [&changes] { ++changes; };
    copy.Assign(source);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(copy == source);
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        EXPECT_EQ(meta->property(i).read(&copy), meta->property(i).read(&source)) << meta->property(i).name();
}
