#include "PrintTestSupport.h"

#include "base/DateTime.h"
#include "report/model/rudMemo.h"
#include "report/model/rudReport.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QByteArray deliveredTemplate()
{
    QFile file(sourceDir() + QStringLiteral("/resources/shablon.fr3"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TPrintWindow::TPrintWindow()
{
    Shown.Window->TemplateFolder = Folder.path();
    writeTemplate(*Shown.Window, [](QByteArray &) {});
}

void fillCertificate(TfmMain &w, bool withHours)
{
    w.Edit_1->setText(QStringLiteral("Автошкола [филиал]"));
    w.Edit_2->setText(QStringLiteral("Тверской области"));
    w.Edit_3->setText(QStringLiteral("г. Тверь"));
    w.Edit_4->setText(QStringLiteral("АБ"));
    w.Edit_5->setText(QStringLiteral("Иванов Иван Иванович"));
    w.Edit_6->setText(QStringLiteral("категории \"В\""));
    w.Edit_7->setText(QStringLiteral("водитель"));
    w.Edit_8->setText(QStringLiteral("B"));
    w.Edit_9->setText(QStringLiteral("Петров П. П."));
    w.Edit_10->setText(QStringLiteral("17"));
    w.DateTimePicker1->SetDate(EncodeDate(2015, 5, 3));
    w.DateTimePicker2->SetDate(EncodeDate(2015, 7, 28));
    w.DateTimePicker3->SetDate(EncodeDate(2015, 9, 1));
    w.DateTimePicker4->SetDate(EncodeDate(2015, 8, 31));
    if (withHours) {
        const char *hours[] = {"10", "20,5", "3", "4", "5", "6", "7", "8", "9", "0"};
        for (int i = 1; i <= 10; ++i)
            w.Component<TEdit>(QStringLiteral("edt_%1").arg(i))->setText(QString::fromLatin1(hours[i - 1]));
        w.edt_11->setText(QStringLiteral("72,5"));
        const int grades[] = {0, 1, 2, 0, 0, 0, 0, 0, 0, 5};
        for (int i = 1; i <= 10; ++i)
            w.Component<QComboBox>(QStringLiteral("cmb_%1").arg(i))->setCurrentIndex(grades[i - 1]);
        w.cmb_kpp->setCurrentIndex(0);
    }
}

TfrxMemoView *memo(TfmMain &w, const QString &name)
{
    auto *found = qobject_cast<TfrxMemoView *>(w.rudReport1->FindObject(name));
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

QString memoText(TfmMain &w, const QString &name)
{
    TfrxMemoView *found = memo(w, name);
    return found ? found->Text().chopped(found->Text().endsWith(QLatin1String("\r\n")) ? 2 : 0) : QString();
}

void writeTemplate(TfmMain &w, const std::function<void(QByteArray &)> &edit)
{
    QByteArray xml = deliveredTemplate();
    edit(xml);
    writeFile(w.TemplatePath(), xml);
}

int openPreviewCount()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->inherits("TfrxPreviewForm") && widget->isVisible())
            ++count;
    return count;
}

TPdfText readPdf(const QString &File)
{
    constexpr double mmPerPoint = 25.4 / 72;
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-l"), QStringLiteral("1"), File,
                                            QStringLiteral("-")});
    EXPECT_TRUE(run.waitForFinished(60000));
    const QString html = QString::fromUtf8(run.readAllStandardOutput());
    TPdfText pdf;
    const QRegularExpression page(QStringLiteral(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    if (const auto m = page.match(html); m.hasMatch()) {
        pdf.Width = m.captured(1).toDouble() * mmPerPoint;
        pdf.Height = m.captured(2).toDouble() * mmPerPoint;
    }
    const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QString text = m.captured(5);
        text.replace(QLatin1String("&quot;"), QLatin1String("\"")).replace(QLatin1String("&apos;"), QLatin1String("'"));
        text.replace(QLatin1String("&lt;"), QLatin1String("<")).replace(QLatin1String("&gt;"), QLatin1String(">"));
        text.replace(QLatin1String("&amp;"), QLatin1String("&"));
        pdf.Words.append({text, m.captured(1).toDouble() * mmPerPoint, m.captured(2).toDouble() * mmPerPoint,
                          m.captured(3).toDouble() * mmPerPoint, m.captured(4).toDouble() * mmPerPoint});
    }
    return pdf;
}
