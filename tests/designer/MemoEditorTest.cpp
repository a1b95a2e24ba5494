// The memo editor on the certificate template's memos, answered through the
// user-interface seam, with its settings in a real INI file.

#include "DesignerServices.h"
#include "base/FormatSettings.h"
#include "base/IniFile.h"
#include "designer/rudAggregateDialog.h"
#include "designer/rudCustomDesigner.h"
#include "designer/rudEditMemo.h"
#include "designer/rudMemoTabEditors.h"
#include "designer/rudPageMemoEditors.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The designer window as the memo editor sees it; expressions come from
// the test.
class TStandInDesigner : public TfrxCustomDesigner {
public:
    using TfrxCustomDesigner::TfrxCustomDesigner;
};

QByteArray templateText(TfrxReport &Report)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Report.SaveToStream(&buffer);
    return buffer.data();
}

TfrxMemoEditorForm *form(QObject *Dialog) { return qobject_cast<TfrxMemoEditorForm *>(Dialog); }

void press(QWidget *Target, int Key, Qt::KeyboardModifiers Modifiers = Qt::NoModifier,
           const QString &Text = QString())
{
    QKeyEvent event(QEvent::KeyPress, Key, Modifiers, Text);
    QApplication::sendEvent(Target, &event);
}

void type(QWidget *Target, const QString &Text)
{
    for (QChar c : Text)
        press(Target, 0, Qt::NoModifier, QString(c));
}

int result(QObject *Dialog) { return qobject_cast<QDialog *>(Dialog)->result(); }

// The certificate template with its settings store in a temporary folder.
class MemoEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        ASSERT_TRUE(Report.LoadFromFile(sourceDir() + QStringLiteral("/resources/shablon.fr3")));
        Report.SetIniFile(Dir.filePath(QStringLiteral("settings.ini")));
        Memo5 = qobject_cast<TfrxMemoView *>(Report.FindObject(QStringLiteral("Memo5")));
        ASSERT_NE(Memo5, nullptr);
        rudRegisterPageMemoEditors();
    }

    // Runs Memo's component editor, answering its window with Answer.
    bool Edit(TfrxComponent *Memo, std::function<int(QObject *)> Answer)
    {
        Ui.DialogAnswers.push_back(std::move(Answer));
        std::unique_ptr<TfrxComponentEditor> editor = rudComponentEditorFor(Memo, &Designer);
        EXPECT_NE(editor, nullptr);
        return editor && editor->Edit();
    }

    TFormatSettingsScope Settings{englishFormatSettings()};
    QTemporaryDir Dir;
    TRecordingUserInterface Ui;
    TDesignerReport Report;
    TStandInDesigner Designer{&Report};
    TfrxMemoView *Memo5 = nullptr;
};

} // namespace

TEST_F(MemoEditor, CtrlEnterReplacesTheTextEscapeKeepsIt)
{
    Memo5->SetDataField(QStringLiteral("Name"));
    EXPECT_TRUE(Edit(Memo5, [](QObject *d) {
        QPlainTextEdit *edit = form(d)->MemoE;
        EXPECT_EQ(edit->toPlainText(), QStringLiteral("ФИО обучающегося"));
        EXPECT_EQ(edit->textCursor().position(), 0);
        press(edit, Qt::Key_A, Qt::ControlModifier);
        type(edit, QStringLiteral("Иванов Иван"));
        press(edit, Qt::Key_Return);
        type(edit, QStringLiteral("Петрович"));
        press(edit, Qt::Key_Return, Qt::ControlModifier);
        return result(d);
    }));
    EXPECT_EQ(Ui.DialogCaptions, QStringList{"Memo"});
    EXPECT_EQ(Memo5->Text(), QStringLiteral("Иванов Иван\r\nПетрович\r\n"));
    EXPECT_TRUE(Memo5->DataField().isEmpty());

    const QByteArray before = templateText(Report);
    EXPECT_FALSE(Edit(Memo5, [](QObject *d) {
        type(form(d)->MemoE, QStringLiteral("typed"));
        press(form(d)->MemoE, Qt::Key_Escape);
        return result(d);
    }));
    EXPECT_EQ(templateText(Report), before);
}

TEST_F(MemoEditor, InsertsExpressionsBetweenTheMemosDelimiters)
{
    QStringList answers{"<Date>", "Date + 1", "<A> + <B>", ""};
    Designer.ExpressionHook = [&answers](const QString &) { return answers.takeFirst(); };
    EXPECT_FALSE(Edit(Memo5, [](QObject *d) {
        form(d)->MemoE->clear();
        for (int i = 0; i < 4; ++i)
            form(d)->ExprB->click();
        EXPECT_EQ(form(d)->MemoE->toPlainText(), "[Date][Date + 1][<A> + <B>]");
        return 0;
    }));
    EXPECT_TRUE(answers.isEmpty());

    // Other delimiters; the selection is replaced.
    Memo5->SetExpressionDelimiters(QStringLiteral("<%,%>"));
    Designer.ExpressionHook = [](const QString &) { return QStringLiteral("<Date>"); };
    EXPECT_TRUE(Edit(Memo5, [](QObject *d) {
        QPlainTextEdit *edit = form(d)->MemoE;
        edit->setPlainText("at: X.");
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(4);
        cursor.setPosition(5, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
        form(d)->ExprB->click();
        EXPECT_EQ(edit->toPlainText(), "at: <%Date%>.");
        qobject_cast<QDialog *>(d)->accept();
        return result(d);
    }));
    EXPECT_EQ(Memo5->Text(), "at: <%Date%>.\r\n");

    QString open, close;
    rudSplitDelimiters(QStringLiteral("{"), open, close);
    EXPECT_EQ(open, "{");
    EXPECT_TRUE(close.isEmpty());
}

TEST_F(MemoEditor, InsertsAnAggregateCall)
{
    EXPECT_TRUE(Edit(Memo5, [this](QObject *d) {
        Ui.DialogAnswers.push_back([](QObject *a) {
            auto *dialog = qobject_cast<TfrxAggregateDialog *>(a);
            dialog->FunctionCB->setCurrentText("AVG");
            dialog->ExpressionE->setText("<Qty>");
            dialog->RunningTotalCB->setChecked(true);
            EXPECT_EQ(dialog->Call(), "AVG(<Qty>,0,2)");
            dialog->RunningTotalCB->setChecked(false);
            dialog->accept();
            return dialog->result();
        });
        form(d)->MemoE->clear();
        form(d)->AggregateB->click();
        EXPECT_EQ(form(d)->MemoE->toPlainText(), "[AVG(<Qty>)]");
        press(form(d)->MemoE, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        return result(d);
    }));
    EXPECT_EQ(Ui.DialogCaptions, (QStringList{"Memo", "Insert Aggregate"}));
    EXPECT_EQ(Memo5->Text(), "[AVG(<Qty>)]\r\n");

    TfrxAggregateDialog count(&Designer, &Report, nullptr);
    count.FunctionCB->setCurrentText("COUNT");
    EXPECT_FALSE(count.ExpressionE->isEnabled());
    count.CountInvisibleCB->setChecked(true);
    EXPECT_EQ(count.Call(), "COUNT(0,1)");
}

TEST_F(MemoEditor, WordWrapAndPlaceSurviveReopening)
{
    EXPECT_FALSE(Edit(Memo5, [](QObject *d) {
        EXPECT_FALSE(form(d)->WordWrapB->isChecked());
        EXPECT_EQ(form(d)->MemoE->lineWrapMode(), QPlainTextEdit::NoWrap);
        form(d)->WordWrapB->click();
        EXPECT_EQ(form(d)->MemoE->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(form(d)->MemoE->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        qobject_cast<QWidget *>(d)->setGeometry(30, 40, 520, 360);
        return 0;
    }));
    const TIniFile ini(Report.IniFile());
    EXPECT_TRUE(ini.ReadBool("Form5.TfrxMemoEditorForm", "Visible", false));
    EXPECT_TRUE(ini.ReadBool("Form5.TfrxMemoEditorForm", "WordWrap", false));

    Edit(Memo5, [](QObject *d) {
        EXPECT_TRUE(form(d)->WordWrapB->isChecked());
        EXPECT_EQ(form(d)->MemoE->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_EQ(qobject_cast<QWidget *>(d)->size(), QSize(520, 360));
        EXPECT_EQ(qobject_cast<QWidget *>(d)->pos(), QPoint(30, 40));
        form(d)->WordWrapB->click();
        return 0;
    });
    EXPECT_FALSE(TIniFile(Report.IniFile()).ReadBool("Form5.TfrxMemoEditorForm", "WordWrap", true));
}

TEST_F(MemoEditor, EditFontFollowsTheDesignersOption)
{
    Memo5->Font()->SetColor(0xFFFFFF);
    Edit(Memo5, [](QObject *d) {
        const QFont font = form(d)->MemoE->font();
        EXPECT_EQ(font.family(), "Times New Roman");
        EXPECT_EQ(font.pixelSize(), 13);
        EXPECT_TRUE(font.italic());
        EXPECT_EQ(form(d)->MemoE->palette().color(QPalette::Text), QColor(Qt::black));
        EXPECT_FALSE(form(d)->IsUnicode()); // Cyrillic charset, no default charset
        return 0;
    });
    Designer.SetUseObjectFont(false);
    Designer.SetMemoFontName(QStringLiteral("Courier New"));
    Designer.SetMemoFontSize(12);
    Memo5->SetUseDefaultCharset(true);
    Edit(Memo5, [](QObject *d) {
        const QFont font = form(d)->MemoE->font();
        EXPECT_EQ(font.family(), "Courier New");
        EXPECT_EQ(font.pointSize(), 12);
        EXPECT_FALSE(font.italic());
        EXPECT_TRUE(form(d)->IsUnicode());
        return 0;
    });
}

TEST_F(MemoEditor, FormatAndHighlightTabsApplyOnOkOnly)
{
    auto edit = [](QObject *d) {
        TfrxMemoEditorForm *f = form(d);
        f->PageControl->setCurrentWidget(f->FormatTS);
        EXPECT_EQ(f->FormatEditor->ExpressionsL->text(), "(none)");
        f->PageControl->setCurrentWidget(f->TextTS);
        f->MemoE->setPlainText("[Sum] and [IIF([A] > 0, 1, 2)]");
        f->PageControl->setCurrentWidget(f->FormatTS);
        EXPECT_EQ(f->FormatEditor->ExpressionsL->text(), "Sum, IIF([A] > 0, 1, 2)");
        f->FormatEditor->KindCB->setCurrentIndex(int(fkNumeric));
        f->FormatEditor->FormatE->setText("%2.2f");
        EXPECT_EQ(f->FormatEditor->SampleL->text(), "1234.50");
        f->HighlightEditor->ConditionE->setText("Value < 0");
        f->HighlightEditor->FillColorCB->setCurrentText("Yellow");
    };
    Edit(Memo5, [&](QObject *d) {
        edit(d);
        return 0;
    });
    EXPECT_EQ(Memo5->Formats().Count(), 0);
    EXPECT_EQ(Memo5->Highlights().Count(), 0);

    EXPECT_TRUE(Edit(Memo5, [&](QObject *d) {
        edit(d);
        qobject_cast<QDialog *>(d)->accept();
        return result(d);
    }));
    EXPECT_EQ(Memo5->DisplayFormat()->Kind(), fkNumeric);
    EXPECT_EQ(Memo5->DisplayFormat()->FormatStr(), "%2.2f");
    EXPECT_EQ(Memo5->Highlight()->Condition(), "Value < 0");
    EXPECT_EQ(Memo5->Highlight()->Color(), 0x00FFFF);

    // OK without touching the tabs gives no memo a format or highlight.
    TfrxComponent *memo6 = Report.FindObject(QStringLiteral("Memo6"));
    EXPECT_TRUE(Edit(memo6, [](QObject *d) {
        qobject_cast<QDialog *>(d)->accept();
        return result(d);
    }));
    EXPECT_EQ(qobject_cast<TfrxMemoView *>(memo6)->Formats().Count(), 0);
    EXPECT_EQ(qobject_cast<TfrxMemoView *>(memo6)->Highlights().Count(), 0);
}
