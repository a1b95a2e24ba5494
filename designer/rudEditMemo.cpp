// The memo editor window: a memo's text with expressions and aggregates,
// its display format and highlight tabs.

#include "designer/rudEditMemo.h"

#include "base/Errors.h"
#include "base/IniFile.h"
#include "base/UserInterface.h"
#include "designer/rudAggregateDialog.h"
#include "designer/rudCustomDesigner.h"
#include "designer/rudMemoTabEditors.h"
#include "report/model/rudMemo.h"
#include "report/model/rudRes.h"
#include "report/render/rudPreviewDialogs.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString settingsSection = QStringLiteral("Form5.TfrxMemoEditorForm");

// The main button images shown on the tool bar.
constexpr int exprImage = 5, aggregateImage = 7, wordWrapImage = 3;

QToolButton *toolButton(const char *Name, int HintId, int Image, QToolBar *Bar)
{
    auto *button = new QToolButton(Bar);
    button->setObjectName(QLatin1String(Name));
    button->setToolTip(rudGet(HintId));
    button->setText(rudGet(HintId));
    const TfrxImageList &images = rudResources().GetMainButtonImages();
    if (Image < images.Count())
        button->setIcon(QIcon(QPixmap::fromImage(images.Image(Image))));
    button->setToolButtonStyle(button->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    Bar->addWidget(button);
    return button;
}

bool isEnterKey(int Key) { return Key == Qt::Key_Return || Key == Qt::Key_Enter; }

} // namespace

TfrxMemoEditorForm::TfrxMemoEditorForm(TfrxCustomDesigner *Designer, TfrxCustomMemoView *Memo)
    : QDialog(Designer), FDesigner(Designer), FMemo(Memo)
{
    setObjectName(QStringLiteral("TfrxMemoEditorForm"));
    setWindowTitle(rudGet(3900));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    resize(430, 300);
    FIsUnicode = FMemo->Font()->Charset() == 1 || FMemo->UseDefaultCharset();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl1"));
    TextTS = new QWidget(PageControl);
    TextTS->setObjectName(QStringLiteral("TextTS"));
    FormatTS = new QWidget(PageControl);
    FormatTS->setObjectName(QStringLiteral("FormatTS"));
    HighlightTS = new QWidget(PageControl);
    HighlightTS->setObjectName(QStringLiteral("HighlightTS"));
    PageControl->addTab(TextTS, rudGet(3905));
    PageControl->addTab(FormatTS, rudGet(3906));
    PageControl->addTab(HighlightTS, rudGet(3907));
    layout->addWidget(PageControl, 1);
    BuildTextTab();

    FormatEditor = new TfrxFormatEditor(FMemo, FormatTS);
    (new QVBoxLayout(FormatTS))->addWidget(FormatEditor);
    HighlightEditor = new TfrxHighlightEditor(FMemo, HighlightTS);
    (new QVBoxLayout(HighlightTS))->addWidget(HighlightEditor);
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int Index) {
        if (PageControl->widget(Index) == FormatTS)
            FormatEditor->SetMemoText(MemoE->toPlainText());
    });

    QDialogButtonBox *buttons = rudOkCancelButtons(this);
    OkB = buttons->findChild<QPushButton *>(QStringLiteral("OkB"));
    CancelB = buttons->findChild<QPushButton *>(QStringLiteral("CancelB"));
    layout->addWidget(buttons);

    SetEditFont();
    MemoE->setPlainText(FMemo->Memo().join(QLatin1Char('\n')));
    MemoE->moveCursor(QTextCursor::Start);
    MemoE->ensureCursorVisible();
    MemoE->setFocus();
}

TfrxMemoEditorForm::~TfrxMemoEditorForm() = default;

void TfrxMemoEditorForm::BuildTextTab()
{
    auto *layout = new QVBoxLayout(TextTS);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *bar = new QToolBar(TextTS);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setIconSize(QSize(16, 16));
    ExprB = toolButton("ExprB", 3901, exprImage, bar);
    AggregateB = toolButton("AggregateB", 3902, aggregateImage, bar);
    bar->addSeparator();
    WordWrapB = toolButton("WordWrapB", 3904, wordWrapImage, bar);
    WordWrapB->setCheckable(true);
    layout->addWidget(bar);

    MemoE = new QPlainTextEdit(TextTS);
    MemoE->setObjectName(QStringLiteral("MemoE"));
    MemoE->installEventFilter(this);
    layout->addWidget(MemoE, 1);
    SetWordWrap(false);

    connect(ExprB, &QToolButton::clicked, this, [this] { InsertExpression(); });
    connect(AggregateB, &QToolButton::clicked, this, [this] { InsertAggregate(); });
    connect(WordWrapB, &QToolButton::toggled, this, [this](bool Down) { SetWordWrap(Down); });
}

void TfrxMemoEditorForm::SetEditFont()
{
    QFont font;
    QPalette palette = MemoE->palette();
    if (FDesigner->UseObjectFont()) {
        const TFont *source = FMemo->Font();
        font.setFamily(source->Name());
        font.setPixelSize(std::max(1, std::abs(source->Height())));
        font.setBold(source->Style().testFlag(fsBold));
        font.setItalic(source->Style().testFlag(fsItalic));
        font.setUnderline(source->Style().testFlag(fsUnderline));
        font.setStrikeOut(source->Style().testFlag(fsStrikeOut));
        // A white or pale object font would vanish on the edit's background.
        palette.setColor(QPalette::Text, Qt::black);
    } else {
        font.setFamily(FDesigner->MemoFontName());
        font.setPointSize(std::max(1, FDesigner->MemoFontSize()));
    }
    MemoE->setFont(font);
    MemoE->setPalette(palette);
}

void TfrxMemoEditorForm::SetWordWrap(bool Value)
{
    if (WordWrapB->isChecked() != Value)
        WordWrapB->setChecked(Value);
    MemoE->setLineWrapMode(Value ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    MemoE->setHorizontalScrollBarPolicy(Value ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    MemoE->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void TfrxMemoEditorForm::ReplaceSelection(const QString &Text)
{
    MemoE->textCursor().insertText(Text);
    MemoE->setFocus();
}

void TfrxMemoEditorForm::InsertExpression()
{
    QString expression = FDesigner->InsertExpression(QString());
    if (expression.isEmpty())
        return;
    QString open, close;
    rudSplitDelimiters(FMemo->ExpressionDelimiters(), open, close);
    // "<Date>" names one variable: the delimiters take the place of its brackets.
    if (expression.startsWith(QLatin1Char('<')) && expression.endsWith(QLatin1Char('>')) &&
        expression.count(QLatin1Char('<')) == 1)
        expression = expression.mid(1, expression.size() - 2);
    ReplaceSelection(open + expression + close);
}

void TfrxMemoEditorForm::InsertAggregate()
{
    TfrxAggregateDialog dialog(FDesigner, FMemo->Report(), this);
    if (!dialog.Execute())
        return;
    QString open, close;
    rudSplitDelimiters(FMemo->ExpressionDelimiters(), open, close);
    ReplaceSelection(open + dialog.Call() + close);
}

bool TfrxMemoEditorForm::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == MemoE && Event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(Event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (isEnterKey(key->key()) && modifiers == Qt::ControlModifier) {
            accept();
            return true;
        }
        if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
            reject();
            return true;
        }
        if (key->key() == Qt::Key_A && modifiers == Qt::ControlModifier) {
            MemoE->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(Watched, Event);
}

void TfrxMemoEditorForm::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_F1 && Event->modifiers() == Qt::NoModifier) {
        rudResources().Help(this);
        return;
    }
    QDialog::keyPressEvent(Event);
}

void TfrxMemoEditorForm::FormShow()
{
    const std::unique_ptr<TIniFile> ini = FDesigner->GetIniFile();
    ini->WriteBool(settingsSection, QStringLiteral("Visible"), true);
    SetWordWrap(ini->ReadBool(settingsSection, QStringLiteral("WordWrap"), false));
    if (ini->ValueExists(settingsSection, QStringLiteral("Width"))) {
        const int w = ini->ReadInteger(settingsSection, QStringLiteral("Width"), width());
        const int h = ini->ReadInteger(settingsSection, QStringLiteral("Height"), height());
        resize(std::max(w, minimumSizeHint().width()), std::max(h, minimumSizeHint().height()));
        move(ini->ReadInteger(settingsSection, QStringLiteral("Left"), x()),
             ini->ReadInteger(settingsSection, QStringLiteral("Top"), y()));
    }
    if (ini->ReadBool(settingsSection, QStringLiteral("Maximized"), false))
        setWindowState(windowState() | Qt::WindowMaximized);
    try {
        ini->UpdateFile();
    } catch (const Exception &e) {
        // The window works on without them.
        FDesigner->SettingsFailed(e.Message(), true);
    }
}

void TfrxMemoEditorForm::FormHide()
{
    const std::unique_ptr<TIniFile> ini = FDesigner->GetIniFile();
    ini->WriteBool(settingsSection, QStringLiteral("WordWrap"), WordWrapB->isChecked());
    const bool maximized = windowState().testFlag(Qt::WindowMaximized);
    // A maximised window keeps the place it returns to.
    const QRect place = maximized ? normalGeometry() : QRect(pos(), size());
    ini->WriteInteger(settingsSection, QStringLiteral("Left"), place.x());
    ini->WriteInteger(settingsSection, QStringLiteral("Top"), place.y());
    ini->WriteInteger(settingsSection, QStringLiteral("Width"), place.width());
    ini->WriteInteger(settingsSection, QStringLiteral("Height"), place.height());
    ini->WriteBool(settingsSection, QStringLiteral("Maximized"), maximized);
    try {
        ini->UpdateFile();
    } catch (const Exception &e) {
        // As on opening: the settings are lost, the edit is not.
        FDesigner->SettingsFailed(e.Message(), true);
    }
}

bool TfrxMemoEditorForm::Execute()
{
    FormShow();
    const bool ok = userInterface().ExecDialog(this) == QDialog::Accepted;
    FormHide();
    const QString plain = MemoE->toPlainText();
    FText1000.clear();
    if (!plain.isEmpty())
        for (const QString &line : plain.split(QLatin1Char('\n')))
            FText1000 += line + QStringLiteral("\r\n");
    if (ok) {
        FormatEditor->Apply();
        HighlightEditor->Apply();
    }
    return ok;
}

bool TfrxMemoEditor::Edit()
{
    auto *memo = qobject_cast<TfrxCustomMemoView *>(Component());
    if (!memo || !Designer())
        return false;
    TfrxMemoEditorForm form(Designer(), memo);
    if (!form.Execute())
        return false;
    memo->SetText(form.Text());
    memo->SetDataField(QString());
    return true;
}
