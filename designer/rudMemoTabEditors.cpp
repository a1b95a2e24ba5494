// The display format and highlight editors hosted on the memo editor's
// tabs.

#include "designer/rudMemoTabEditors.h"

#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/NumberFormat.h"
#include "report/model/rudMemo.h"
#include "report/model/rudUnits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The colours the highlight offers, as the colour lists of the designer
// name them (red in the lowest byte).
struct TNamedColor {
    const char *Name;
    TColor Color;
};
const TNamedColor namedColors[] = {
    {"Transparent", clTransparent}, {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},
    {"Olive", 0x008080},            {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},
    {"Gray", 0x808080},             {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},
    {"Yellow", 0x00FFFF},           {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},
    {"White", 0xFFFFFF},
};

QComboBox *colorList(const char *Name, bool WithTransparent, QWidget *Parent)
{
    auto *box = new QComboBox(Parent);
    box->setObjectName(QLatin1String(Name));
    for (const TNamedColor &c : namedColors)
        if (WithTransparent || c.Color != clTransparent)
            box->addItem(QLatin1String(c.Name), c.Color);
    return box;
}

// Selects Color in Box, adding it as "$BBGGRR" when the list lacks it.
void selectColor(QComboBox *Box, TColor Color)
{
    int index = Box->findData(Color);
    if (index < 0) {
        Box->addItem(QStringLiteral("$") + IntToHex(Color, 6), Color);
        index = Box->count() - 1;
    }
    Box->setCurrentIndex(index);
}

QLineEdit *lineEdit(const char *Name, QWidget *Parent)
{
    auto *edit = new QLineEdit(Parent);
    edit->setObjectName(QLatin1String(Name));
    return edit;
}

} // namespace

void rudSplitDelimiters(const QString &Delimiters, QString &Open, QString &Close)
{
    const qsizetype comma = Delimiters.indexOf(QLatin1Char(','));
    Open = comma < 0 ? Delimiters : Delimiters.left(comma);
    Close = comma < 0 ? QString() : Delimiters.mid(comma + 1);
}

QStringList rudMemoExpressions(const QString &Text, const QString &Delimiters)
{
    QString open, close;
    rudSplitDelimiters(Delimiters, open, close);
    QStringList result;
    if (open.isEmpty() || close.isEmpty())
        return result;
    qsizetype pos = 0;
    while ((pos = Text.indexOf(open, pos)) >= 0) {
        // Nested openings ("[IIF([A] > 0, 1, 2)]") belong to the outer expression.
        int depth = 0;
        qsizetype i = pos;
        qsizetype end = -1;
        while (i < Text.size()) {
            if (Text.mid(i, open.size()) == open) {
                ++depth;
                i += open.size();
            } else if (Text.mid(i, close.size()) == close) {
                if (--depth == 0) {
                    end = i;
                    break;
                }
                i += close.size();
            } else {
                ++i;
            }
        }
        if (end < 0)
            break;
        result << Text.mid(pos + open.size(), end - pos - open.size());
        pos = end + close.size();
    }
    return result;
}

// ---- TfrxFormatEditor ----

TfrxFormatEditor::TfrxFormatEditor(TfrxCustomMemoView *Memo, QWidget *Parent) : QWidget(Parent), FMemo(Memo)
{
    setObjectName(QStringLiteral("TfrxFormatEditor"));
    // Reading the memo's format must not give the memo one.
    if (FMemo->Formats().Count() > 0)
        FFormat.Assign(*FMemo->Formats().Items(0));

    auto *layout = new QFormLayout(this);
    ExpressionsL = new QLabel(this);
    ExpressionsL->setObjectName(QStringLiteral("ExpressionsL"));
    ExpressionsL->setWordWrap(true);
    KindCB = new QComboBox(this);
    KindCB->setObjectName(QStringLiteral("KindCB"));
    KindCB->addItems({QStringLiteral("Text (no formatting)"), QStringLiteral("Number"),
                      QStringLiteral("Date/Time"), QStringLiteral("Boolean")});
    FormatE = lineEdit("FormatE", this);
    DecimalSeparatorE = lineEdit("DecimalSeparatorE", this);
    ThousandSeparatorE = lineEdit("ThousandSeparatorE", this);
    SampleL = new QLabel(this);
    SampleL->setObjectName(QStringLiteral("SampleL"));
    layout->addRow(QStringLiteral("Expressions:"), ExpressionsL);
    layout->addRow(QStringLiteral("Category:"), KindCB);
    layout->addRow(QStringLiteral("Format string:"), FormatE);
    layout->addRow(QStringLiteral("Decimal separator:"), DecimalSeparatorE);
    layout->addRow(QStringLiteral("Thousand separator:"), ThousandSeparatorE);
    layout->addRow(QStringLiteral("Sample:"), SampleL);

    FUpdating = true;
    KindCB->setCurrentIndex(int(FFormat.Kind()));
    FormatE->setText(FFormat.FormatStr());
    DecimalSeparatorE->setText(FFormat.DecimalSeparator());
    ThousandSeparatorE->setText(FFormat.ThousandSeparator());
    FUpdating = false;
    UpdateSample();
    SetMemoText(FMemo->Text());

    connect(KindCB, &QComboBox::currentIndexChanged, this, [this] { FieldsChanged(); });
    for (QLineEdit *edit : {FormatE, DecimalSeparatorE, ThousandSeparatorE})
        connect(edit, &QLineEdit::textChanged, this, [this] { FieldsChanged(); });
}

void TfrxFormatEditor::SetMemoText(const QString &Text)
{
    const QStringList expressions = rudMemoExpressions(Text, FMemo->ExpressionDelimiters());
    ExpressionsL->setText(expressions.isEmpty() ? QStringLiteral("(none)") : expressions.join(QStringLiteral(", ")));
}

void TfrxFormatEditor::FieldsChanged()
{
    if (FUpdating)
        return;
    FFormat.SetKind(TfrxFormatKind(qMax(0, KindCB->currentIndex())));
    FFormat.SetFormatStr(FormatE->text());
    FFormat.SetDecimalSeparator(DecimalSeparatorE->text());
    FFormat.SetThousandSeparator(ThousandSeparatorE->text());
    UpdateSample();
}

void TfrxFormatEditor::UpdateSample()
{
    const QString picture = FFormat.FormatStr();
    QString sample;
    try {
        switch (FFormat.Kind()) {
        case fkText:
            sample = QStringLiteral("1234.5");
            break;
        case fkNumeric:
            sample = picture.isEmpty() ? FloatToStr(1234.5) : ::Format(picture, {1234.5});
            break;
        case fkDateTime:
            sample = picture.isEmpty() ? DateToStr(EncodeDate(2024, 12, 31))
                                       : FormatDateTime(picture, EncodeDate(2024, 12, 31));
            break;
        case fkBoolean:
            sample = picture.section(QLatin1Char(','), 1, 1);
            break;
        }
    } catch (const Exception &e) {
        sample = e.Message();
    }
    SampleL->setText(sample);
}

void TfrxFormatEditor::Apply()
{
    const TfrxFormat none;
    const TfrxFormat &current = FMemo->Formats().Count() > 0 ? *FMemo->Formats().Items(0) : none;
    if (!(current == FFormat))
        FMemo->SetDisplayFormat(&FFormat);
}

// ---- TfrxHighlightEditor ----

TfrxHighlightEditor::TfrxHighlightEditor(TfrxCustomMemoView *Memo, QWidget *Parent) : QWidget(Parent), FMemo(Memo)
{
    setObjectName(QStringLiteral("TfrxHighlightEditor"));
    if (FMemo->Highlights().Count() > 0)
        FHighlight.Assign(*FMemo->Highlights().Items(0));

    auto *layout = new QFormLayout(this);
    ConditionE = lineEdit("ConditionE", this);
    ApplyFontCB = new QCheckBox(QStringLiteral("Font colour"), this);
    ApplyFontCB->setObjectName(QStringLiteral("ApplyFontCB"));
    FontColorCB = colorList("FontColorCB", false, this);
    ApplyFillCB = new QCheckBox(QStringLiteral("Background"), this);
    ApplyFillCB->setObjectName(QStringLiteral("ApplyFillCB"));
    FillColorCB = colorList("FillColorCB", true, this);
    VisibleCB = new QCheckBox(QStringLiteral("Visible"), this);
    VisibleCB->setObjectName(QStringLiteral("VisibleCB"));
    layout->addRow(QStringLiteral("Condition:"), ConditionE);
    layout->addRow(ApplyFontCB, FontColorCB);
    layout->addRow(ApplyFillCB, FillColorCB);
    layout->addRow(VisibleCB);

    ConditionE->setText(FHighlight.Condition());
    ApplyFontCB->setChecked(FHighlight.ApplyFont());
    selectColor(FontColorCB, FHighlight.Font()->Color());
    ApplyFillCB->setChecked(FHighlight.ApplyFill());
    selectColor(FillColorCB, FHighlight.Color());
    VisibleCB->setChecked(FHighlight.Visible());

    connect(ConditionE, &QLineEdit::textChanged, this, [this] { FieldsChanged(); });
    for (QCheckBox *box : {ApplyFontCB, ApplyFillCB, VisibleCB})
        connect(box, &QCheckBox::toggled, this, [this] { FieldsChanged(); });
    for (QComboBox *box : {FontColorCB, FillColorCB})
        connect(box, &QComboBox::currentIndexChanged, this, [this] { FieldsChanged(); });
}

void TfrxHighlightEditor::FieldsChanged()
{
    FHighlight.SetCondition(ConditionE->text());
    FHighlight.SetApplyFont(ApplyFontCB->isChecked());
    FHighlight.Font()->SetColor(FontColorCB->currentData().toInt());
    FHighlight.SetApplyFill(ApplyFillCB->isChecked());
    FHighlight.SetColor(FillColorCB->currentData().toInt());
    FHighlight.SetVisible(VisibleCB->isChecked());
}

void TfrxHighlightEditor::Apply()
{
    const TfrxHighlight none;
    const TfrxHighlight &current = FMemo->Highlights().Count() > 0 ? *FMemo->Highlights().Items(0) : none;
    const bool same = current.Condition() == FHighlight.Condition() &&
                      current.ApplyFont() == FHighlight.ApplyFont() &&
                      current.Font()->Color() == FHighlight.Font()->Color() &&
                      current.ApplyFill() == FHighlight.ApplyFill() && current.Color() == FHighlight.Color() &&
                      current.Visible() == FHighlight.Visible();
    if (!same)
        FMemo->SetHighlight(&FHighlight);
}
