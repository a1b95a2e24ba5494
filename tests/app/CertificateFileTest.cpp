#include "app/CertificateFile.h"
#include "app/main.h"
#include "app/TraineeDetailsDialog.h"

#include "base/CodePages.h"
#include "base/DateTime.h"
#include "base/FormatSettings.h"
#include "base/IniFile.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QStandardPaths>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString numbered(const char *prefix, int i) { return QString::fromLatin1(prefix) + QString::number(i); }

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A Russian system: comma decimals, dd.MM.yyyy dates, Windows-1251 files.
struct TRussianSystem {
    TFormatSettingsScope Settings{russianFormatSettings()};
    TRussianSystem() { setSystemAnsiCodePage(1251); }
    ~TRussianSystem() { setSystemAnsiCodePage(0); }
};

// The fixture: a Russian system, a recording user interface, a temporary
// folder and a fresh entry window.
class CertificateFileTest : public testing::Test {
protected:
    TRussianSystem Russian;
    TRecordingUserInterface Ui;
    QTemporaryDir Dir;
    TfmMain Window;

    QString Path(const QString &name) const { return Dir.filePath(name); }
    void Choose(const QString &path) { Ui.FileAnswers.push_back(TFileDialogResult{path, 1}); }
    TEdit *Edit(const QString &name) const { return Window.Component<TEdit>(name); }
    QComboBox *Combo(const QString &name) const { return Window.Component<QComboBox>(name); }
    TDateTimePicker *Picker(int i) const { return Window.Component<TDateTimePicker>(numbered("DateTimePicker", i)); }

    // Every control of the certificate with a value of its own.
    void FillIn(TfmMain &window) const
    {
        for (int i = 1; i <= 10; ++i) {
            window.Component<TEdit>(numbered("Edit_", i))->setText(QStringLiteral("Текст %1").arg(i));
            window.Component<TEdit>(numbered("edt_", i))->setText(i == 3 ? QStringLiteral("2,5") : QString::number(i));
            window.Component<QComboBox>(numbered("cmb_", i))->setCurrentIndex(i % 4 - 1);
        }
        window.Component<TEdit>("Edit_8")->setText("C1E");
        window.Component<QComboBox>("cmb_10")->setCurrentIndex(5);
        window.Component<QComboBox>("cmb_kpp")->setCurrentIndex(1);
        window.Component<TEdit>("edt_11")->setText("Ошибка!");
        for (int i = 1; i <= 4; ++i)
            window.Component<TDateTimePicker>(numbered("DateTimePicker", i))->SetDate(EncodeDate(2014 + i, i, 10 + i));
    }
};

} // namespace

TEST_F(CertificateFileTest, SaveAsThenOpenRestoresEveryControl)
{
    TfmMain source;
    FillIn(source);
    const QString path = Path("certificate.vod");
    Choose(path);
    source.N2Click();
    EXPECT_EQ(Ui.MessageTexts(), QStringList{"Файл сохранен : " + path});
    ASSERT_EQ(Ui.SaveDialogs.size(), 1u);
    EXPECT_EQ(Ui.SaveDialogs[0].InitialDir, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_EQ(Ui.SaveDialogs[0].Filter, "файл свидетельства о профессии водителя|*.vod");
    EXPECT_FALSE(Ui.SaveDialogs[0].OverwritePrompt);
    EXPECT_EQ(Ui.SaveDialogs[0].DefaultExt, "1");
    EXPECT_TRUE(source.FileOpenName.isEmpty()) << "save as does not choose the current file";
    EXPECT_FALSE(source.N3->isEnabled());

    const TDateTime timeOfDay = Window.DateTimePicker1->DateTime() - Window.DateTimePicker1->Date();
    Choose(path);
    Window.N10Click();
    ASSERT_EQ(Ui.OpenDialogs.size(), 1u);
    EXPECT_EQ(Ui.OpenDialogs[0].InitialDir, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    EXPECT_TRUE(Ui.OpenDialogs[0].Filter.isEmpty());
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(Edit(numbered("Edit_", i))->text(), source.Component<TEdit>(numbered("Edit_", i))->text());
        EXPECT_EQ(Edit(numbered("edt_", i))->text(), source.Component<TEdit>(numbered("edt_", i))->text());
        EXPECT_EQ(Combo(numbered("cmb_", i))->currentIndex(), source.Component<QComboBox>(numbered("cmb_", i))->currentIndex());
    }
    EXPECT_EQ(Combo("cmb_10")->currentIndex(), 5) << "the empty sixth grade";
    EXPECT_EQ(Combo("cmb_10")->currentText(), "");
    EXPECT_EQ(Combo("cmb_4")->currentIndex(), -1) << "no selection";
    EXPECT_EQ(Combo("cmb_kpp")->currentIndex(), 1);
    EXPECT_EQ(Window.Label1->text(), "C1E") << "the category mirrors follow Edit_8";
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(Picker(i)->Date(), EncodeDate(2014 + i, i, 10 + i));
        EXPECT_DOUBLE_EQ(Picker(i)->DateTime() - Picker(i)->Date(), timeOfDay) << "the picker keeps its time";
    }
    EXPECT_EQ(Edit("edt_11")->text(), "54,5") << "the stored total is replaced by the sum";
    EXPECT_EQ(Window.FileOpenName, path);
    EXPECT_TRUE(Window.N3->isEnabled());
    EXPECT_EQ(Ui.MessageTexts().size(), 1) << "opening confirms nothing";

    // Once a file has been opened, both dialogs start in its folder.
    Window.N2Click();
    Window.N10Click();
    EXPECT_EQ(Ui.SaveDialogs.back().InitialDir, Dir.path());
    EXPECT_EQ(Ui.OpenDialogs.back().InitialDir, Dir.path());
}

TEST_F(CertificateFileTest, SaveWritesToTheFileLastOpened)
{
    const QString opened = Path("opened.vod"), other = Path("other.vod");
    FillIn(Window);
    Choose(opened);
    Window.N2Click();
    Choose(opened);
    Window.N10Click();

    Edit("Edit_5")->setText("Иванов");
    Choose(other);
    Window.N2Click();
    EXPECT_EQ(Window.FileOpenName, opened);
    EXPECT_TRUE(Window.N3->isEnabled());

    Edit("Edit_5")->setText("Петров");
    Ui.Messages.clear();
    Window.N3Click();
    EXPECT_EQ(Ui.MessageTexts(), QStringList{"Файл сохранен : " + opened});
    EXPECT_EQ(TIniFile(opened).ReadString("Слева", "edit_5", ""), "Петров");
    EXPECT_EQ(TIniFile(other).ReadString("Слева", "edit_5", ""), "Иванов");
}

TEST_F(CertificateFileTest, CancelledDialogs)
{
    Window.N3Click();
    EXPECT_TRUE(Ui.Messages.empty()) << "save does nothing before a file has been opened";

    Window.N2Click();
    EXPECT_EQ(Ui.MessageTexts(), QStringList{"Файл не сохранен!"});
    EXPECT_TRUE(QDir(Dir.path()).isEmpty());

    Ui.Messages.clear();
    Edit("edt_1")->setText("1,5");
    Edit("edt_2")->setText("-3");
    Edit("edt_11")->setText("99");
    Window.N10Click();
    EXPECT_TRUE(Ui.Messages.empty());
    EXPECT_EQ(Edit("edt_11")->text(), "-1,5") << "the total is recomputed after a cancel too";
    EXPECT_TRUE(Window.FileOpenName.isEmpty());
    EXPECT_FALSE(Window.N3->isEnabled());

    // Through the menu, a cell that does not parse reaches the error box.
    Edit("edt_2")->setText("abc");
    Window.N10->trigger();
    ASSERT_EQ(Ui.Messages.size(), 1u);
    EXPECT_EQ(Ui.Messages[0].Text, "'abc' is not a valid floating point value");
    EXPECT_EQ(Ui.Messages[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(Edit("edt_11")->text(), "-1,5");
}

// A certificate file named on the command line opens as "Открыть" opens it
// (a relative name becomes the full path); one that fails shows what
// "Открыть" would show and leaves the form as at start, with no current file.
TEST_F(CertificateFileTest, FileNamedAtStartOpensAsOpenDoes)
{
    TfmMain source;
    FillIn(source);
    const QString path = Path("named.vod");
    saveCertificate(source, path);
    const QString folder = QDir::currentPath();
    QDir::setCurrent(Dir.path());
    Window.OpenAtStart("named.vod");
    QDir::setCurrent(folder);
    EXPECT_TRUE(Ui.Messages.empty()) << qPrintable(Ui.MessageTexts().join('\n'));
    EXPECT_EQ(Window.FileOpenName, path);
    EXPECT_TRUE(Window.N3->isEnabled());
    EXPECT_EQ(Edit("Edit_1")->text(), "Текст 1");
    EXPECT_EQ(Edit("edt_11")->text(), "54,5");

    const QString partial = Path("partial.vod");
    writeBytes(partial, encodeCodePage("[Слева]\r\nedit_1=есть\r\n", 1251));
    const QString missing = Path("none.vod");
    // Beyond the size limit (a sparse file: nothing is written to the disk).
    const QString huge = Path("huge.vod");
    writeBytes(huge, encodeCodePage("[Слева]\r\nedit_1=есть\r\n", 1251));
    ASSERT_TRUE(QFile::resize(huge, TIniFile::MaxFileSize + 1));
    const QList<QPair<QString, QString>> failures = {
        {partial, "'Ошибка при чтении!' is not a valid floating point value"},
        {huge, "Не удалось прочитать файл свидетельства: " + huge},
        {missing, "Не найден файл свидетельства: " + missing},
        {Dir.path(), "Не найден файл свидетельства: " + Dir.path()},
    };
    for (const auto &[file, message] : failures) {
        TfmMain fresh;
        Ui.Messages.clear();
        fresh.OpenAtStart(file);
        EXPECT_EQ(Ui.MessageTexts(), QStringList{message});
        EXPECT_EQ(fresh.Edit_1->text(), "") << qPrintable(file);
        EXPECT_EQ(fresh.edt_1->text(), "0");
        EXPECT_EQ(fresh.edt_11->text(), "0");
        EXPECT_TRUE(fresh.FileOpenName.isEmpty());
        EXPECT_FALSE(fresh.N3->isEnabled());
    }
}

TEST_F(CertificateFileTest, NewFileIsWindows1251InKeyOrder)
{
    Edit("Edit_1")->setText("Автошкола");
    Edit("edt_3")->setText("2,5");
    Combo("cmb_10")->setCurrentIndex(5);
    Combo("cmb_kpp")->setCurrentIndex(0);
    for (int i = 1; i <= 4; ++i)
        Picker(i)->SetDate(EncodeDate(2015, 5, i));
    const QString path = Path("new.vod");
    Choose(path);
    Window.N2Click();

    QByteArray expected = "[\xD1\xEB\xE5\xE2\xE0]\r\nedit_1=\xC0\xE2\xF2\xEE\xF8\xEA\xEE\xEB\xE0\r\n";
    for (int i = 2; i <= 10; ++i)
        expected += "edit_" + QByteArray::number(i) + "=\r\n";
    for (int i = 1; i <= 4; ++i)
        expected += "date" + QByteArray::number(i) + "=0" + QByteArray::number(i) + ".05.2015\r\n";
    expected += "[\xD2\xE0\xE1\xEB\xE8\xF6\xE0]\r\n";
    for (int i = 1; i <= 10; ++i)
        expected += "edt_" + QByteArray::number(i) + (i == 3 ? "=2,5\r\n" : "=0\r\n");
    expected += "edt_11=0\r\n";
    for (int i = 1; i <= 9; ++i)
        expected += "cmb_" + QByteArray::number(i) + "=-1\r\n";
    expected += "cmb_10=5\r\ncmb_kpp=0\r\n";
    EXPECT_EQ(readBytes(path), expected);
}

TEST_F(CertificateFileTest, ExistingFilesKeepTheirOtherContentAndEncoding)
{
    const QByteArray other = "; school settings\r\n[Школа]\r\nтелефон=123\r\n\r\n";
    const QString ansi = Path("ansi.vod");
    writeBytes(ansi, encodeCodePage(QString::fromUtf8(other) + "[слева]\r\nEDIT_1=old\r\n", 1251));
    Edit("Edit_1")->setText("new");
    Choose(ansi);
    Window.N2Click();
    const QByteArray written = readBytes(ansi);
    EXPECT_TRUE(written.startsWith(encodeCodePage(QString::fromUtf8(other) + "[слева]\r\nEDIT_1=new\r\nedit_2=\r\n", 1251)));
    EXPECT_EQ(TIniFile(ansi).ReadSections(), (QStringList{"Школа", "слева", "Таблица"}));

    const QString unicode = Path("unicode.vod");
    QByteArray utf16 = "\xFF\xFE";
    for (QChar c : QStringLiteral("[Школа]\r\nтелефон=123\r\n"))
        utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
    writeBytes(unicode, utf16);
    Edit("Edit_1")->setText("Ωмега");
    Choose(unicode);
    Window.N2Click();
    EXPECT_TRUE(readBytes(unicode).startsWith(utf16)) << "the other section keeps its bytes";
    EXPECT_EQ(TIniFile(unicode).Encoding(), TIniEncoding::Utf16LE);
    Choose(unicode);
    Window.N10Click();
    EXPECT_EQ(Edit("Edit_1")->text(), "Ωмега") << "characters outside 1251 survive in a UTF-16 file";
}

TEST_F(CertificateFileTest, FileLackingKeysGetsTheDefaultsThenTheConversionError)
{
    const QString path = Path("partial.vod");
    writeBytes(path, encodeCodePage("[Слева]\r\nedit_2=есть\r\ndate1=2015-05-03\r\ndate2=03.05.2015\r\n"
                                    "[Таблица]\r\ncmb_1=abc\r\ncmb_2=3\r\ncmb_3=1\r\n",
                                    1251));
    for (int i = 1; i <= 9; ++i)
        Combo(numbered("cmb_", i))->setCurrentIndex(0);
    Choose(path);
    Window.N10->trigger();

    EXPECT_EQ(Ui.MessageTexts(), QStringList{"'Ошибка при чтении!' is not a valid floating point value"});
    EXPECT_EQ(Edit("Edit_1")->text(), "Ошибка при чтении!");
    EXPECT_EQ(Edit("Edit_2")->text(), "есть");
    EXPECT_EQ(Edit("edt_10")->text(), "Ошибка при чтении!");
    EXPECT_EQ(Edit("edt_11")->text(), "Ошибка!");
    EXPECT_EQ(Picker(1)->Date(), EncodeDate(2015, 5, 3)) << "ISO dates are read too";
    EXPECT_EQ(Picker(2)->Date(), EncodeDate(2015, 5, 3));
    EXPECT_EQ(Picker(3)->Date(), Date());
    EXPECT_EQ(Combo("cmb_1")->currentIndex(), -1);
    EXPECT_EQ(Combo("cmb_2")->currentIndex(), -1) << "outside the list";
    EXPECT_EQ(Combo("cmb_3")->currentIndex(), 1);
    EXPECT_EQ(Combo("cmb_4")->currentIndex(), -1);
    EXPECT_EQ(Window.FileOpenName, path);
    EXPECT_TRUE(Window.N3->isEnabled());

    // A stored empty hours value fails the same way, on the empty text.
    const QString emptyHours = Path("empty.vod");
    writeBytes(emptyHours, "[Таблица]\r\n");
    TIniFile file(emptyHours);
    for (int i = 1; i <= 10; ++i)
        file.WriteString("Таблица", numbered("edt_", i), i == 4 ? "" : "1");
    file.UpdateFile();
    Ui.Messages.clear();
    Choose(emptyHours);
    Window.N10->trigger();
    EXPECT_EQ(Ui.MessageTexts(), QStringList{"'' is not a valid floating point value"});
}

TEST_F(CertificateFileTest, ReadOnlyTargetIsLeftExactlyAsItWas)
{
    FillIn(Window);
    const QString path = Path("locked.vod");
    Choose(path);
    Window.N2Click();
    Choose(path);
    Window.N10Click();
    const QByteArray before = readBytes(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    Edit("Edit_1")->setText("changed");
    Edit("Edit_10")->setText("changed too");
    Ui.Messages.clear();
    Window.N3->trigger();
    Choose(path);
    Window.N2->trigger();
    const QString error = "Unable to write to " + QDir::toNativeSeparators(path);
    EXPECT_EQ(Ui.MessageTexts(), (QStringList{error, error}));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"locked.vod"});
}

namespace {

// Another desktop for the length of a scope: its regional settings and its
// ANSI code page (1252 unless Russian, as QLocale gives them).
struct TDesktop {
    TFormatSettingsScope Settings;
    int PreviousCodePage = systemAnsiCodePage();
    explicit TDesktop(const QLocale &system, int codePage)
        : Settings(localeFormatSettings(homeLocale(system)))
    {
        setSystemAnsiCodePage(codePage);
    }
    ~TDesktop() { setSystemAnsiCodePage(PreviousCodePage); }
};

int count(const QByteArray &bytes, const QByteArray &part)
{
    return int(bytes.count(part));
}

} // namespace

// The desktop of a fresh Debian machine (C locale, no Cyrillic code page):
// a certificate with Cyrillic values is written in Windows-1251 with each
// section once, and every value and date comes back.
TEST_F(CertificateFileTest, CyrillicSurvivesTheCLocale)
{
    TDesktop c(QLocale::c(), 1252);
    TfmMain source;
    FillIn(source);
    source.Component<TEdit>("Edit_3")->setText("Ёлкино «Север»");
    const QString path = Path("c-locale.vod");
    Choose(path);
    source.N2Click();
    Choose(path);
    Window.N10Click();
    Window.N3Click(); // writing into the same file again keeps one copy of each section

    const QByteArray bytes = readBytes(path);
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(count(bytes, encodeCodePage("[Слева]", 1251)), 1);
    EXPECT_EQ(count(bytes, encodeCodePage("[Таблица]", 1251)), 1);
    EXPECT_TRUE(bytes.contains(encodeCodePage("edit_3=Ёлкино «Север»\r\n", 1251)));
    EXPECT_TRUE(bytes.contains("date1=11.01.2015\r\n")) << "short dates of the Russian settings";
    EXPECT_FALSE(bytes.contains('?'));
    EXPECT_EQ(TIniFile(path, CertificateCodePage).ReadSection("Слева").size(), 14);
    EXPECT_EQ(TIniFile(path, CertificateCodePage).ReadSection("Таблица").size(), 22);

    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(Edit(numbered("Edit_", i))->text(), source.Component<TEdit>(numbered("Edit_", i))->text());
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(Picker(i)->Date(), EncodeDate(2014 + i, i, 10 + i));
    EXPECT_EQ(Edit("edt_11")->text(), "54,5");
}

// A character Windows-1251 lacks makes the file UTF-8 with a byte-order mark
// instead of a "?"; the file opens unchanged and stays UTF-8.
TEST_F(CertificateFileTest, CharactersOutside1251GiveUtf8)
{
    FillIn(Window);
    Edit("edt_3")->setText("3"); // a number under English settings too
    Edit("Edit_5")->setText("Әлия Сейітқызы 😀");
    const QString path = Path("utf8.vod");
    Choose(path);
    Window.N2Click();
    const QByteArray bytes = readBytes(path);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains(QStringLiteral("[Слева]\r\nedit_1=Текст 1\r\n").toUtf8()));
    EXPECT_TRUE(bytes.contains(QStringLiteral("edit_5=Әлия Сейітқызы 😀\r\n").toUtf8()));

    TfmMain reader;
    {
        TDesktop english(QLocale(QLocale::English, QLocale::UnitedStates), 1252);
        Choose(path);
        reader.N10Click();
    }
    EXPECT_EQ(reader.Component<TEdit>("Edit_5")->text(), "Әлия Сейітқызы 😀");
    EXPECT_EQ(reader.Component<TEdit>("Edit_1")->text(), "Текст 1");
    EXPECT_EQ(reader.Component<TDateTimePicker>("DateTimePicker2")->Date(), EncodeDate(2016, 2, 12));

    // An existing Windows-1251 certificate turns UTF-8 once such a value
    // goes in; its other lines keep their text.
    const QString old = Path("old.vod");
    writeBytes(old, encodeCodePage("; Автошкола\r\n[Слева]\r\nedit_1=Старое\r\n", 1251));
    Choose(old);
    Window.N2Click();
    EXPECT_TRUE(readBytes(old).startsWith(QByteArray("\xEF\xBB\xBF") + QStringLiteral("; Автошкола\r\n[Слева]\r\nedit_1=Текст 1\r\n").toUtf8()));
}

// A file written on a Russian system opens on desktops with other settings,
// dates included: dd.mm.yyyy is read whatever the short date format is, and
// hours take the desktop's decimal separator.
TEST_F(CertificateFileTest, RussianFileOpensUnderCAndEnglish)
{
    TfmMain source;
    FillIn(source);
    const QString path = Path("russian.vod");
    Choose(path);
    source.N2Click();
    ASSERT_TRUE(readBytes(path).contains("date4=14.04.2018\r\n"));
    Ui.Messages.clear();

    for (const QLocale &system : {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        TDesktop desktop(system, 1252);
        TfmMain reader;
        Choose(path);
        reader.N10Click();
        for (int i = 1; i <= 10; ++i)
            EXPECT_EQ(reader.Component<TEdit>(numbered("Edit_", i))->text(),
                      source.Component<TEdit>(numbered("Edit_", i))->text()) << system.name().toStdString();
        for (int i = 1; i <= 4; ++i)
            EXPECT_EQ(reader.Component<TDateTimePicker>(numbered("DateTimePicker", i))->Date(),
                      EncodeDate(2014 + i, i, 10 + i)) << system.name().toStdString() << " date" << i;
        EXPECT_EQ(reader.Component<QComboBox>("cmb_kpp")->currentIndex(), 1);
        const bool point = FormatSettings().DecimalSeparator == u'.';
        EXPECT_EQ(reader.Component<TEdit>("edt_3")->text(), point ? "2.5" : "2,5") << system.name().toStdString();
        EXPECT_EQ(reader.Component<TEdit>("edt_11")->text(), point ? "54.5" : "54,5");
        EXPECT_TRUE(Ui.Messages.empty()) << qPrintable(Ui.MessageTexts().join('\n'));
    }

    // Back under Russian settings, a point from an English file reads as a
    // comma; a text that is no number either way stays as the file has it.
    TIniFile english(path);
    english.WriteString("Таблица", "edt_3", "2.5");
    english.WriteString("Таблица", "edt_4", "4.5.1");
    english.UpdateFile();
    Choose(path);
    Window.N10->trigger();
    EXPECT_EQ(Edit("edt_3")->text(), "2,5");
    EXPECT_EQ(Edit("edt_4")->text(), "4.5.1");
    EXPECT_EQ(Ui.MessageTexts(), QStringList{"'4.5.1' is not a valid floating point value"});

    // Other forms a date may have been stored in.
    TDateTime date = 0;
    EXPECT_TRUE(readCertificateDate("3.5.2015", date));
    EXPECT_EQ(date, EncodeDate(2015, 5, 3));
    EXPECT_TRUE(readCertificateDate(" 2015-05-03 ", date));
    EXPECT_EQ(date, EncodeDate(2015, 5, 3));
    for (const char *bad : {"31.02.2015", "2015-13-01", "03.05.15.1", "03-05-2015", "2015.05.03", "", "abc"})
        EXPECT_FALSE(readCertificateDate(bad, date)) << bad;
}

// A file of an older version, without the details' section, saves byte for
// byte as it was; details entered in their dialog (a wrong СНИЛС shown at
// once and refused) add their own section and nothing else, come back on
// opening, and are cleared with the form.
TEST_F(CertificateFileTest, OldFileSavesUnchangedApartFromTheEnteredDetails)
{
    QString text = QStringLiteral("[Школа]\r\nтелефон=123\r\n[Слева]\r\n");
    for (int i = 1; i <= 10; ++i)
        text += QStringLiteral("edit_%1=%2\r\n").arg(i).arg(i == 5 ? QStringLiteral("Орлов Олег") : QString());
    for (int i = 1; i <= 4; ++i)
        text += QStringLiteral("date%1=0%1.05.2015\r\n").arg(i);
    text += QStringLiteral("[Таблица]\r\n");
    for (int i = 1; i <= 10; ++i)
        text += QStringLiteral("edt_%1=%2\r\n").arg(i).arg(i);
    text += QStringLiteral("edt_11=55\r\n");
    for (int i = 1; i <= 10; ++i)
        text += QStringLiteral("cmb_%1=0\r\n").arg(i);
    text += QStringLiteral("cmb_kpp=1\r\n");
    const QByteArray old = encodeCodePage(text, 1251);
    const QString path = Path("old.vod");
    writeBytes(path, old);
    Choose(path);
    Window.N10Click();
    Window.N3Click();
    EXPECT_EQ(readBytes(path), old);

    Ui.DialogAnswers.push_back([](QObject *dialog) {
        auto *d = qobject_cast<TTraineeDetailsDialog *>(dialog);
        EXPECT_NE(d, nullptr);
        if (!d)
            return 0;
        EXPECT_EQ(d->SurnameE->text(), "Орлов") << "split from the full name";
        EXPECT_EQ(d->PatronymicE->text(), "");
        d->SnilsE->setText("112-233-445 96");
        EXPECT_EQ(d->FaultL->text(), "СНИЛС 112-233-445 96 неверен: не сходится контрольное число (должно быть 95).");
        d->SnilsE->setText("11223344595");
        d->BirthE->setText("31.12.1899");
        EXPECT_EQ(d->FaultL->text(), "Дата рождения 31.12.1899 раньше 1900 года.");
        d->BirthE->setText("14.02.1990");
        d->SexCB->setCurrentText("М");
        EXPECT_EQ(d->FaultL->text(), "");
        return 1;
    });
    Window.N17Click();
    Window.N3Click();
    EXPECT_EQ(readBytes(path), old + encodeCodePage(QStringLiteral("[Получатель]\r\nsurname=\r\nname=\r\npatronymic=\r\n"
                                                                   "birth=14.02.1990\r\nsex=М\r\nsnils=112-233-445 95\r\n"
                                                                   "citizenship=643\r\n"),
                                                    1251));
    Window.N6Click();
    EXPECT_TRUE(Window.TraineeDetails.IsEmpty());
    Choose(path);
    Window.N10Click();
    EXPECT_EQ(Window.TraineeDetails.Snils, "112-233-445 95");
    EXPECT_EQ(Window.TraineeDetails.BirthDate, QDate(1990, 2, 14));
    EXPECT_EQ(Window.TraineeDetails.NameOf(Edit("Edit_5")->text()).Name, "Олег");
}
