// The designer settings component: its defaults as the property list
// publishes them, the template extension, the restriction flags and which
// instance the designer finds.

#include "designer/rudDesgnSettings.h"

#include <QMetaEnum>
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>

TEST(DesignerSettings, NewComponentHasTheDefaults)
{
    TfrxDesigner d;
    EXPECT_EQ(d.DefaultScriptLanguage(), QStringLiteral("PascalScript"));
    const TFont *font = d.DefaultFont();
    EXPECT_EQ(font->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(font->Size(), 10);
    EXPECT_EQ(font->Height(), -13);
    EXPECT_EQ(font->Color(), clWindowText);
    EXPECT_EQ(font->Charset(), 1);
    EXPECT_EQ(font->Style(), TFontStyles());
    for (double margin : {d.DefaultLeftMargin(), d.DefaultRightMargin(), d.DefaultTopMargin(), d.DefaultBottomMargin()})
        EXPECT_EQ(margin, 10);
    EXPECT_EQ(d.DefaultPaperSize(), 9);
    EXPECT_EQ(d.DefaultOrientation(), poPortrait);
    EXPECT_EQ(d.TemplatesExt(), QStringLiteral("fr3"));
    EXPECT_EQ(d.Restrictions(), TfrxDesignerRestrictions());
    EXPECT_TRUE(d.CloseQuery());
    EXPECT_EQ(d.GradientStart(), TfrxDesigner::clWindow);
    EXPECT_LT(d.GradientStart(), 0); // a system colour, not an RGB value
    const TColor end = d.GradientEnd();
    EXPECT_EQ(end & 0xFF, 218);
    EXPECT_EQ((end >> 8) & 0xFF, 214);
    EXPECT_EQ((end >> 16) & 0xFF, 182);
    EXPECT_FALSE(d.RTLLanguage());
    EXPECT_FALSE(d.MemoParentFont());
    EXPECT_TRUE(d.OpenDir().isEmpty());
    EXPECT_TRUE(d.SaveDir().isEmpty());
    EXPECT_TRUE(d.TemplateDir().isEmpty());
    EXPECT_FALSE(d.Standalone());
    EXPECT_FALSE(d.OnLoadReport || d.OnLoadRecentReport || d.OnSaveReport || d.OnShow || d.OnInsertObject ||
                 d.OnShowStartupScreen || d.OnGetTemplateList);
}

TEST(DesignerSettings, PublishesItsSettingsWithTheirDefaults)
{
    TfrxDesigner d;
    const TfrxPropList &props = rudGetPropList(&d);
    QStringList names;
    for (const TfrxPropInfo &p : props)
        names << p.Name;
    EXPECT_EQ(names, (QStringList{"DefaultScriptLanguage", "DefaultFont", "DefaultLeftMargin", "DefaultRightMargin",
                                  "DefaultTopMargin", "DefaultBottomMargin", "DefaultPaperSize",
                                  "DefaultOrientation", "TemplatesExt", "Restrictions", "CloseQuery",
                                  "GradientStart", "GradientEnd", "RTLLanguage", "MemoParentFont", "OpenDir",
                                  "SaveDir", "TemplateDir", "Standalone"}));
    // Every setting but the font declares its default, and a new component is at it.
    for (const TfrxPropInfo &p : props) {
        SCOPED_TRACE(p.Name.toStdString());
        if (p.Name == QLatin1String("DefaultFont")) {
            EXPECT_EQ(p.Kind, TfrxPropKind::Object);
            EXPECT_EQ(p.ObjectValue(&d), d.DefaultFont());
            continue;
        }
        EXPECT_TRUE(p.HasDefault());
        EXPECT_TRUE(p.IsDefault(&d));
    }
    EXPECT_EQ(rudFindProp(&d, QStringLiteral("restrictions"))->Kind, TfrxPropKind::Set);
    EXPECT_EQ(rudFindProp(&d, QStringLiteral("DefaultOrientation"))->Kind, TfrxPropKind::Enumeration);

    // Changed values are seen as such, and writes go through the setters.
    const TfrxPropInfo *ext = rudFindProp(&d, QStringLiteral("TemplatesExt"));
    ASSERT_TRUE(ext->SetStrValue(&d, QStringLiteral(".xml")));
    EXPECT_EQ(d.TemplatesExt(), QStringLiteral("xml"));
    EXPECT_FALSE(ext->IsDefault(&d));
    const TfrxPropInfo *orientation = rudFindProp(&d, QStringLiteral("DefaultOrientation"));
    ASSERT_TRUE(orientation->SetOrdValue(&d, poLandscape));
    EXPECT_EQ(d.DefaultOrientation(), poLandscape);
    EXPECT_EQ(orientation->IdentOf(orientation->OrdValue(&d)), QStringLiteral("poLandscape"));
}

TEST(DesignerSettings, TemplatesExtLosesOneLeadingDot)
{
    TfrxDesigner d;
    const struct {
        const char *In, *Out;
    } cases[] = {{".fr3", "fr3"}, {"fr3", "fr3"}, {"..fr3", ".fr3"}, {".", ""}, {"", ""}, {"my.fr3", "my.fr3"}};
    for (const auto &c : cases) {
        d.SetTemplatesExt(QString::fromLatin1(c.In));
        EXPECT_EQ(d.TemplatesExt(), QString::fromLatin1(c.Out)) << c.In;
    }
}

TEST(DesignerSettings, RestrictionsAreFourteenBitsInTheirOrder)
{
    const char *order[] = {"drDontInsertObject",      "drDontDeletePage",        "drDontCreatePage",
                           "drDontChangePageOptions", "drDontCreateReport",      "drDontLoadReport",
                           "drDontSaveReport",        "drDontPreviewReport",     "drDontEditVariables",
                           "drDontChangeReportOptions", "drDontEditReportData",  "drDontShowRecentFiles",
                           "drDontEditReportScript",  "drDontEditInternalDatasets"};
    TfrxDesigner d;
    const TfrxPropInfo *prop = rudFindProp(&d, QStringLiteral("Restrictions"));
    ASSERT_NE(prop, nullptr);
    const QMetaEnum flags = prop->Enumerator();
    ASSERT_TRUE(flags.isFlag());
    ASSERT_EQ(flags.keyCount(), 14);
    for (int i = 0; i < 14; ++i) {
        EXPECT_STREQ(flags.key(i), order[i]);
        EXPECT_EQ(flags.value(i), 1 << i) << order[i];
    }
    EXPECT_EQ(prop->SetMask(), 0x3FFF);

    d.SetRestrictions(drDontSaveReport | drDontInsertObject);
    EXPECT_TRUE(d.IsRestricted(drDontSaveReport));
    EXPECT_TRUE(d.IsRestricted(drDontInsertObject));
    EXPECT_FALSE(d.IsRestricted(drDontLoadReport));
    EXPECT_EQ(prop->OrdValue(&d), 0x41);
    ASSERT_TRUE(prop->SetOrdValue(&d, 1 << 13));
    EXPECT_EQ(d.Restrictions(), TfrxDesignerRestrictions(drDontEditInternalDatasets));
}

TEST(DesignerSettings, TheDesignerFindsTheNewestLiveComponent)
{
    EXPECT_EQ(TfrxDesigner::Current(), nullptr);
    auto first = std::make_unique<TfrxDesigner>();
    EXPECT_EQ(TfrxDesigner::Current(), first.get());
    auto second = std::make_unique<TfrxDesigner>();
    EXPECT_EQ(TfrxDesigner::Current(), second.get());
    // Freeing an older one leaves the newer in use, and the other way round.
    auto third = std::make_unique<TfrxDesigner>();
    second.reset();
    EXPECT_EQ(TfrxDesigner::Current(), third.get());
    third.reset();
    EXPECT_EQ(TfrxDesigner::Current(), first.get());
    first.reset();
    EXPECT_EQ(TfrxDesigner::Current(), nullptr);

    // A component owned by a parent object goes with it.
    auto owner = std::make_unique<QObject>();
    QPointer<TfrxDesigner> owned = new TfrxDesigner(owner.get());
    EXPECT_EQ(TfrxDesigner::Current(), owned.data());
    owner.reset();
    EXPECT_TRUE(owned.isNull());
    EXPECT_EQ(TfrxDesigner::Current(), nullptr);
}
