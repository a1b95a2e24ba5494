// The designer's Text, Frame and Alignment tool bars and the object bar:
// each acts on the selected objects and records the change.

#include "designer/rudDesgn.h"

#include "report/model/rudBand.h"
#include "report/model/rudFrame.h"
#include "report/model/rudLineView.h"
#include "report/model/rudMemo.h"
#include "report/model/rudPictureView.h"
#include "report/model/rudShapeView.h"
#include "report/model/rudRes.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

// A Qt colour as the report model keeps colours (0x00BBGGRR).
TColor fromQColor(const QColor &Color)
{
    return Color.red() | (Color.green() << 8) | (Color.blue() << 16);
}

// A checkable tool button action with a short text.
QAction *toggle(QToolBar *Bar, const QString &Name, const QString &Text, const QString &Tip)
{
    QAction *action = Bar->addAction(Text);
    action->setObjectName(Name);
    action->setToolTip(Tip);
    action->setCheckable(true);
    return action;
}

} // namespace

void TfrxDesignerForm::ApplyToSelectedViews(const std::function<void(TfrxView *)> &Change)
{
    bool changed = false;
    for (TfrxComponent *object : SelectedPrintable())
        if (auto *view = qobject_cast<TfrxView *>(object); view && !qobject_cast<TfrxBand *>(view)) {
            Change(view);
            changed = true;
        }
    if (changed) {
        SetModified(true);
        UpdateWorkspace();
    }
}

void TfrxDesignerForm::ApplyToSelectedMemos(const std::function<void(TfrxCustomMemoView *)> &Change)
{
    bool changed = false;
    for (TfrxComponent *object : SelectedPrintable())
        if (auto *memo = qobject_cast<TfrxCustomMemoView *>(object)) {
            Change(memo);
            changed = true;
        }
    if (changed) {
        SetModified(true);
        UpdateWorkspace();
    }
}

void TfrxDesignerForm::CreateTextToolBar()
{
    FTextTB = addToolBar(QStringLiteral("Text"));
    FTextTB->setObjectName(QStringLiteral("TextTB"));
    FFontNameBox = new QComboBox(FTextTB);
    FFontNameBox->setObjectName(QStringLiteral("FontNameCB"));
    FFontNameBox->setEditable(true);
    FFontNameBox->addItems(QFontDatabase::families());
    FFontNameBox->setMinimumContentsLength(14);
    FTextTB->addWidget(FFontNameBox);
    connect(FFontNameBox, &QComboBox::textActivated, this, [this](const QString &Name) {
        if (!FUpdatingTextBar && !Name.isEmpty())
            ApplyToSelectedMemos([&](TfrxCustomMemoView *m) { m->Font()->SetName(Name); });
    });
    FFontSizeBox = new QComboBox(FTextTB);
    FFontSizeBox->setObjectName(QStringLiteral("FontSizeCB"));
    FFontSizeBox->setEditable(true);
    for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        FFontSizeBox->addItem(QString::number(size));
    FFontSizeBox->setMinimumContentsLength(3);
    FTextTB->addWidget(FFontSizeBox);
    connect(FFontSizeBox, &QComboBox::textActivated, this, [this](const QString &Text) {
        bool ok = false;
        const int size = Text.toInt(&ok);
        if (!FUpdatingTextBar && ok && size > 0 && size < 1000)
            ApplyToSelectedMemos([&](TfrxCustomMemoView *m) { m->Font()->SetSize(size); });
    });
    auto styleToggle = [this](const QString &Name, const QString &Text, const QString &Tip, TFontStyle Style) {
        QAction *action = toggle(FTextTB, Name, Text, Tip);
        connect(action, &QAction::triggered, this, [this, Style](bool On) {
            ApplyToSelectedMemos([&](TfrxCustomMemoView *m) {
                TFontStyles styles = m->Font()->Style();
                styles.setFlag(Style, On);
                m->Font()->SetStyle(styles);
            });
        });
        FActions.insert(Name, action);
    };
    styleToggle(QStringLiteral("BoldB"), QStringLiteral("B"), QStringLiteral("Bold"), fsBold);
    styleToggle(QStringLiteral("ItalicB"), QStringLiteral("I"), QStringLiteral("Italic"), fsItalic);
    styleToggle(QStringLiteral("UnderlineB"), QStringLiteral("U"), QStringLiteral("Underline"), fsUnderline);
    FTextTB->addSeparator();
    auto *hGroup = new QActionGroup(this);
    const struct {
        const char *Name, *Text, *Tip;
        TfrxHAlign Align;
    } hAligns[] = {{"TextAlignLeftB", "L", "Align Left", haLeft},
                   {"TextAlignCenterB", "C", "Align Center", haCenter},
                   {"TextAlignRightB", "R", "Align Right", haRight},
                   {"TextAlignBlockB", "J", "Justify", haBlock}};
    for (const auto &a : hAligns) {
        QAction *action = toggle(FTextTB, QLatin1String(a.Name), QLatin1String(a.Text), QLatin1String(a.Tip));
        hGroup->addAction(action);
        const TfrxHAlign align = a.Align;
        connect(action, &QAction::triggered, this,
                [this, align] { ApplyToSelectedMemos([&](TfrxCustomMemoView *m) { m->SetHAlign(align); }); });
        FActions.insert(QLatin1String(a.Name), action);
    }
    FTextTB->addSeparator();
    auto *vGroup = new QActionGroup(this);
    const struct {
        const char *Name, *Text, *Tip;
        TfrxVAlign Align;
    } vAligns[] = {{"TextAlignTopB", "T", "Align Top", vaTop},
                   {"TextAlignMiddleB", "M", "Align Middle", vaCenter},
                   {"TextAlignBottomB", "Bt", "Align Bottom", vaBottom}};
    for (const auto &a : vAligns) {
        QAction *action = toggle(FTextTB, QLatin1String(a.Name), QLatin1String(a.Text), QLatin1String(a.Tip));
        vGroup->addAction(action);
        const TfrxVAlign align = a.Align;
        connect(action, &QAction::triggered, this,
                [this, align] { ApplyToSelectedMemos([&](TfrxCustomMemoView *m) { m->SetVAlign(align); }); });
        FActions.insert(QLatin1String(a.Name), action);
    }
    FToolbarsMenu->addAction(FTextTB->toggleViewAction());
}

void TfrxDesignerForm::UpdateTextToolBar()
{
    TfrxCustomMemoView *memo = nullptr;
    for (TfrxComponent *object : SelectedPrintable())
        if ((memo = qobject_cast<TfrxCustomMemoView *>(object)))
            break;
    FTextTB->setEnabled(memo != nullptr);
    if (!memo)
        return;
    FUpdatingTextBar = true;
    FFontNameBox->setEditText(memo->Font()->Name());
    FFontSizeBox->setEditText(QString::number(memo->Font()->Size()));
    const TFontStyles styles = memo->Font()->Style();
    Action(QStringLiteral("BoldB"))->setChecked(styles.testFlag(fsBold));
    Action(QStringLiteral("ItalicB"))->setChecked(styles.testFlag(fsItalic));
    Action(QStringLiteral("UnderlineB"))->setChecked(styles.testFlag(fsUnderline));
    const char *hName[] = {"TextAlignLeftB", "TextAlignRightB", "TextAlignCenterB", "TextAlignBlockB"};
    Action(QLatin1String(hName[memo->HAlign()]))->setChecked(true);
    const char *vName[] = {"TextAlignTopB", "TextAlignBottomB", "TextAlignMiddleB"};
    Action(QLatin1String(vName[memo->VAlign()]))->setChecked(true);
    FUpdatingTextBar = false;
}

void TfrxDesignerForm::CreateFrameToolBar()
{
    FFrameTB = addToolBar(QStringLiteral("Frame"));
    FFrameTB->setObjectName(QStringLiteral("FrameTB"));
    const struct {
        const char *Name, *Text, *Tip;
        int Lines; // -1: all, 0: none, else the line to switch
    } lines[] = {{"FrameTopB", "\u2594", "Top Line", ftTop},       {"FrameBottomB", "\u2581", "Bottom Line", ftBottom},
                 {"FrameLeftB", "\u258F", "Left Line", ftLeft},    {"FrameRightB", "\u2595", "Right Line", ftRight},
                 {"FrameAllB", "\u25A1", "All Frame Lines", -1}, {"FrameNoB", "\u2B1A", "No Frame", 0}};
    for (const auto &l : lines) {
        QAction *action = FFrameTB->addAction(QString::fromUtf8(l.Text));
        action->setObjectName(QLatin1String(l.Name));
        action->setToolTip(QLatin1String(l.Tip));
        const int which = l.Lines;
        connect(action, &QAction::triggered, this, [this, which] {
            ApplyToSelectedViews([&](TfrxView *v) {
                TfrxFrameTypes typ = v->Frame()->Typ();
                if (which == -1)
                    typ = TfrxFrameTypes(ftLeft | ftRight | ftTop | ftBottom);
                else if (which == 0)
                    typ = {};
                else
                    typ ^= TfrxFrameType(which);
                v->Frame()->SetTyp(typ);
            });
        });
        FActions.insert(QLatin1String(l.Name), action);
    }
    FFrameTB->addSeparator();
    auto *width = new QComboBox(FFrameTB);
    width->setObjectName(QStringLiteral("FrameWidthCB"));
    width->setEditable(true);
    width->addItems({QStringLiteral("0.1"), QStringLiteral("0.5"), QStringLiteral("1"), QStringLiteral("1.5"),
                     QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")});
    FFrameTB->addWidget(width);
    connect(width, &QComboBox::textActivated, this, [this](const QString &Text) {
        bool ok = false;
        const double value = QString(Text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        if (ok && value > 0 && value < 100)
            ApplyToSelectedViews([&](TfrxView *v) { v->Frame()->SetWidth(value); });
    });
    auto *style = new QToolButton(FFrameTB);
    style->setObjectName(QStringLiteral("FrameStyleB"));
    style->setText(QStringLiteral("Style"));
    style->setPopupMode(QToolButton::InstantPopup);
    auto *styles = new QMenu(style);
    const char *styleNames[] = {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot", "Double"};
    for (int i = 0; i < 6; ++i)
        styles->addAction(QLatin1String(styleNames[i]), this, [this, i] {
            ApplyToSelectedViews([&](TfrxView *v) { v->Frame()->SetStyle(TfrxFrameStyle(i)); });
        });
    style->setMenu(styles);
    FFrameTB->addWidget(style);
    QAction *frameColor = FFrameTB->addAction(QStringLiteral("Frame colour"));
    frameColor->setObjectName(QStringLiteral("FrameColorB"));
    connect(frameColor, &QAction::triggered, this, [this] {
        const QColor color = QColorDialog::getColor(Qt::black, this);
        if (color.isValid())
            ApplyToSelectedViews([&](TfrxView *v) { v->Frame()->SetColor(fromQColor(color)); });
    });
    QAction *fillColor = FFrameTB->addAction(QStringLiteral("Fill colour"));
    fillColor->setObjectName(QStringLiteral("FillColorB"));
    connect(fillColor, &QAction::triggered, this, [this] {
        const QColor color = QColorDialog::getColor(Qt::white, this);
        if (color.isValid())
            ApplyToSelectedViews([&](TfrxView *v) { v->SetColor(fromQColor(color)); });
    });
    QAction *noFill = FFrameTB->addAction(QStringLiteral("No fill"));
    noFill->setObjectName(QStringLiteral("NoFillB"));
    connect(noFill, &QAction::triggered, this,
            [this] { ApplyToSelectedViews([&](TfrxView *v) { v->SetColor(clTransparent); }); });
    FToolbarsMenu->addAction(FFrameTB->toggleViewAction());
}

void TfrxDesignerForm::CreateAlignToolBar()
{
    FAlignTB = addToolBar(QStringLiteral("Alignment Palette"));
    FAlignTB->setObjectName(QStringLiteral("AlignTB"));
    const struct {
        const char *Name, *Text;
    } commands[] = {{"AlignLeftB", "Align Left"},
                    {"AlignMiddleB", "Align Middle"},
                    {"AlignRightB", "Align Right"},
                    {"AlignTopB", "Align Top"},
                    {"AlignCenterB", "Align Center"},
                    {"AlignBottomB", "Align Bottom"},
                    {"SpaceHorzB", "Space Horizontally"},
                    {"SpaceVertB", "Space Vertically"},
                    {"CenterHorzB", "Center Horizontally in Band"},
                    {"CenterVertB", "Center Vertically in Band"},
                    {"SameWidthB", "Same Width"},
                    {"SameHeightB", "Same Height"}};
    for (const auto &c : commands) {
        QAction *action = FAlignTB->addAction(QLatin1String(c.Text));
        action->setObjectName(QLatin1String(c.Name));
        const QString name = QLatin1String(c.Name);
        connect(action, &QAction::triggered, this, [this, name] { WorkspaceAlign(name); });
        FActions.insert(name, action);
    }
    FToolbarsMenu->addAction(FAlignTB->toggleViewAction());
}

void TfrxDesignerForm::CreateObjectBar()
{
    FObjectTB = new QToolBar(QStringLiteral("Objects"), this);
    FObjectTB->setObjectName(QStringLiteral("ObjectsTB"));
    addToolBar(Qt::LeftToolBarArea, FObjectTB);
    auto *tools = new QActionGroup(this);
    auto tool = [&](const char *Name, const QString &Text, const QMetaObject *Class) {
        QAction *action = FObjectTB->addAction(Text);
        action->setObjectName(QLatin1String(Name));
        action->setCheckable(true);
        tools->addAction(action);
        connect(action, &QAction::triggered, this, [this, Class] { WorkspaceArm(Class); });
        FActions.insert(QLatin1String(Name), action);
        return action;
    };
    tool("ObjectSelectB", QStringLiteral("Select"), nullptr)->setChecked(true);
    tool("ObjectTextB", QStringLiteral("Text"), &TfrxMemoView::staticMetaObject);
    tool("ObjectPictureB", QStringLiteral("Picture"), &TfrxPictureView::staticMetaObject);
    tool("ObjectLineB", QStringLiteral("Line"), &TfrxLineView::staticMetaObject);
    tool("ObjectShapeB", QStringLiteral("Shape"), &TfrxShapeView::staticMetaObject);
    // The band button offers every band class.
    auto *bands = new QToolButton(FObjectTB);
    bands->setObjectName(QStringLiteral("ObjectBandsB"));
    bands->setText(QStringLiteral("Band"));
    bands->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(bands);
    const QMetaObject *bandClasses[] = {&TfrxReportTitle::staticMetaObject,  &TfrxReportSummary::staticMetaObject,
                                        &TfrxPageHeader::staticMetaObject,   &TfrxPageFooter::staticMetaObject,
                                        &TfrxMasterData::staticMetaObject,   &TfrxColumnHeader::staticMetaObject,
                                        &TfrxColumnFooter::staticMetaObject};
    for (const QMetaObject *cls : bandClasses)
        menu->addAction(QString::fromLatin1(cls->className()).mid(4), this, [this, cls] { WorkspaceArm(cls); });
    bands->setMenu(menu);
    FObjectTB->addWidget(bands);
}
