#include "base/CodePages.h"
#include "base/Errors.h"
#include "base/IniFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Makes the system ANSI code page a fixed one for a test.
struct TAnsiCodePageScope {
    explicit TAnsiCodePageScope(int codePage) { setSystemAnsiCodePage(codePage); }
    ~TAnsiCodePageScope() { setSystemAnsiCodePage(0); }
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray utf16(const QString &text, bool littleEndian)
{
    QByteArray bytes;
    for (QChar c : text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        bytes += littleEndian ? QByteArray{} + lo + hi : QByteArray{} + hi + lo;
    }
    return bytes;
}

QStringList folderEntries(const QString &path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

TEST(IniFile, NewFileIsWrittenInTheAnsiCodePageInWriteOrder)
{
    TAnsiCodePageScope cp(1251);
    QTemporaryDir dir;
    const QString path = dir.filePath("new.vod");
    TIniFile ini(path);
    EXPECT_EQ(ini.Encoding(), TIniEncoding::Ansi);
    ini.WriteString("Слева", "edit_1", "Автошкола");
    ini.WriteString("Слева", "edit_2", "");
    ini.WriteString("Таблица", "edt_1", "2,5");
    ini.WriteInteger("Таблица", "cmb_1", -1);
    ini.WriteString("Слева", "date1", "03.05.2015");
    EXPECT_FALSE(QFile::exists(path)) << "nothing is written before UpdateFile";
    ini.UpdateFile();

    const QByteArray expected = "[\xD1\xEB\xE5\xE2\xE0]\r\n"
                                "edit_1=\xC0\xE2\xF2\xEE\xF8\xEA\xEE\xEB\xE0\r\n"
                                "edit_2=\r\n"
                                "date1=03.05.2015\r\n"
                                "[\xD2\xE0\xE1\xEB\xE8\xF6\xE0]\r\n"
                                "edt_1=2,5\r\n"
                                "cmb_1=-1\r\n";
    EXPECT_EQ(readBytes(path), expected);
    EXPECT_FALSE(ini.Modified());

    const TIniFile again(path);
    EXPECT_EQ(again.ReadString("Слева", "edit_1", "?"), "Автошкола");
    EXPECT_EQ(again.ReadInteger("Таблица", "cmb_1", 7), -1);
    EXPECT_EQ(folderEntries(dir.path()), QStringList{"new.vod"});
}

TEST(IniFile, ReadingFollowsThePrivateProfileRules)
{
    TAnsiCodePageScope cp(1251);
    QTemporaryDir dir;
    const QString path = dir.filePath("read.ini");
    const QString longValue(3000, QChar(u'ж'));
    writeBytes(path, encodeCodePage(QStringLiteral("; comment=not a key\n"
                                                   "top=outside any section\n"
                                                   "  [ Слева ]  \n"
                                                   "EDIT_1 =  padded value  \t\n"
                                                   "q1=\"quoted\"\n"
                                                   "q2=' single '\n"
                                                   "q3=\"\"inner\"\"\n"
                                                   "q4=\"unbalanced\n"
                                                   "q5=\"\n"
                                                   "empty=\n"
                                                   "dup=first\n"
                                                   "dup=second\n"
                                                   "no equals sign\n"
                                                   "long=%1\n"
                                                   "[слева]\n"
                                                   "later=hidden by the first section\n"
                                                   "[Other]\r\n"
                                                   "n=0x1F\r\n"
                                                   "bad=12abc\r\n"
                                                   "yes=5\r\n"
                                                   "last=no newline at the end")
                                        .arg(longValue),
                                    1251));
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("слева", "edit_1", "?"), "padded value");
    EXPECT_EQ(ini.ReadString("СЛЕВА", "Edit_1", "?"), "padded value");
    EXPECT_EQ(ini.ReadString(" Слева ", " edit_1 ", "?"), "padded value");
    EXPECT_EQ(ini.ReadString("Слева", "q1", "?"), "quoted");
    EXPECT_EQ(ini.ReadString("Слева", "q2", "?"), " single ");
    EXPECT_EQ(ini.ReadString("Слева", "q3", "?"), "\"inner\"");
    EXPECT_EQ(ini.ReadString("Слева", "q4", "?"), "\"unbalanced");
    EXPECT_EQ(ini.ReadString("Слева", "q5", "?"), "\"");
    EXPECT_EQ(ini.ReadString("Слева", "empty", "?"), "");
    EXPECT_EQ(ini.ReadString("Слева", "dup", "?"), "first");
    EXPECT_EQ(ini.ReadString("Слева", "no equals sign", "?"), "?");
    EXPECT_EQ(ini.ReadString("Слева", "; comment", "?"), "?");
    EXPECT_EQ(ini.ReadString("Слева", "later", "?"), "?");
    EXPECT_EQ(ini.ReadString("Слева", "missing", "default"), "default");
    EXPECT_EQ(ini.ReadString("Missing", "edit_1", "default"), "default");
    EXPECT_EQ(ini.ReadString("Other", "last", "?"), "no newline at the end");
    EXPECT_EQ(ini.ReadString("Слева", "long", "?"), longValue.left(TIniFile::MaxValueLength));

    EXPECT_EQ(ini.ReadInteger("Other", "n", 0), 31);
    EXPECT_EQ(ini.ReadInteger("Other", "bad", -1), -1);
    EXPECT_EQ(ini.ReadInteger("Other", "missing", 42), 42);
    EXPECT_TRUE(ini.ReadBool("Other", "yes", false));
    EXPECT_FALSE(ini.ReadBool("Other", "bad", false));
    EXPECT_TRUE(ini.ReadBool("Other", "missing", true));

    EXPECT_EQ(ini.ReadSections(), (QStringList{"Слева", "Other"}));
    EXPECT_EQ(ini.ReadSection("слева"),
              (QStringList{"EDIT_1", "q1", "q2", "q3", "q4", "q5", "empty", "dup", "long"}));
    EXPECT_TRUE(ini.SectionExists("other"));
    EXPECT_TRUE(ini.ValueExists("other", "LAST"));
    EXPECT_FALSE(ini.ValueExists("other", "top"));
}

TEST(IniFile, LongValuesAreStoredWholeButReadToTheLimit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("long.ini");
    const QString exact(TIniFile::MaxValueLength, QChar(u'a'));
    const QString longer = exact + "tail";
    // A character outside the BMP across the limit is not cut in half.
    const QString pair = QString(TIniFile::MaxValueLength - 1, QChar(u'b')) + QString::fromUcs4(U"\U0001F600");
    TIniFile ini(path);
    ini.WriteString("S", "exact", exact);
    ini.WriteString("S", "longer", longer);
    ini.WriteString("S", "pair", pair);
    ini.UpdateFile();
    EXPECT_TRUE(readBytes(path).contains(longer.toLatin1()));
    const TIniFile again(path);
    EXPECT_EQ(again.ReadString("S", "exact", ""), exact);
    EXPECT_EQ(again.ReadString("S", "longer", ""), exact);
    const QString readPair = again.ReadString("S", "pair", "");
    EXPECT_LE(readPair.size(), TIniFile::MaxValueLength);
    EXPECT_FALSE(readPair.back().isSurrogate());
}

TEST(IniFile, WritingKeepsEveryOtherLineByteForByte)
{
    TAnsiCodePageScope cp(1251);
    QTemporaryDir dir;
    const QString path = dir.filePath("merge.vod");
    // LF and CRLF lines, a byte 1251 does not define (0x98), comments, blank
    // lines, unknown lines and odd spacing, and no terminator at the end.
    const QByteArray original = "; written by hand\n"
                                "[Other]\r\n"
                                "keep = this \x98 spacing\r\n"
                                "\r\n"
                                "[\xD1\xEB\xE5\xE2\xE0]\n"
                                "EDIT_1 =old value\n"
                                "odd line without equals\n"
                                "date1=01.01.2001\n"
                                "\n"
                                "; before the next section\n"
                                "[Tail]\n"
                                "x=1";
    writeBytes(path, original);

    TIniFile ini(path);
    ini.WriteString("слева", "edit_1", "Новое");
    ini.WriteString("Слева", "edit_2", "second");
    ini.WriteString("Слева", "date1", "01.01.2001");
    ini.WriteString("Слева", "edit_3", "third");
    ini.WriteString("Таблица", "edt_1", "1");
    ini.WriteString("tail", "y", "2");
    ini.UpdateFile();

    const QByteArray expected = "; written by hand\n"
                                "[Other]\r\n"
                                "keep = this \x98 spacing\r\n"
                                "\r\n"
                                "[\xD1\xEB\xE5\xE2\xE0]\n"
                                "EDIT_1 =\xCD\xEE\xE2\xEE\xE5\n"
                                "odd line without equals\n"
                                "date1=01.01.2001\n"
                                "edit_2=second\r\n"
                                "edit_3=third\r\n"
                                "\n"
                                "; before the next section\n"
                                "[Tail]\n"
                                "x=1\r\n"
                                "y=2\r\n"
                                "[\xD2\xE0\xE1\xEB\xE8\xF6\xE0]\r\n"
                                "edt_1=1\r\n";
    EXPECT_EQ(readBytes(path), expected);

    // Writing the values a file already holds changes nothing at all.
    TIniFile same(path);
    same.WriteString("Tail", "x", "1");
    EXPECT_FALSE(same.Modified());
}

TEST(IniFile, ExistingUnicodeFilesKeepTheirEncoding)
{
    TAnsiCodePageScope cp(1251);
    QTemporaryDir dir;
    for (const bool little : {true, false}) {
        const QString path = dir.filePath(little ? "le.vod" : "be.vod");
        const QByteArray bom = little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
        writeBytes(path, bom + utf16("[Слева]\r\nedit_1=старое\r\n; Ωμέγα\r\n", little));
        TIniFile ini(path);
        EXPECT_EQ(ini.Encoding(), little ? TIniEncoding::Utf16LE : TIniEncoding::Utf16BE);
        EXPECT_EQ(ini.ReadString("СЛЕВА", "EDIT_1", ""), "старое");
        ini.WriteString("Слева", "edit_1", "новое ☺");
        ini.WriteString("Таблица", "cmb_10", "5");
        ini.UpdateFile();
        EXPECT_EQ(readBytes(path),
                  bom + utf16("[Слева]\r\nedit_1=новое ☺\r\n; Ωμέγα\r\n[Таблица]\r\ncmb_10=5\r\n", little));
        EXPECT_EQ(TIniFile(path).ReadString("слева", "edit_1", ""), "новое ☺");
    }

    const QString utf8 = dir.filePath("utf8.ini");
    writeBytes(utf8, "\xEF\xBB\xBF[S]\nk=\xE2\x98\xBA\n");
    TIniFile ini(utf8);
    EXPECT_EQ(ini.ReadString("s", "k", ""), "☺");
    ini.WriteString("S", "k", "Ж");
    ini.UpdateFile();
    EXPECT_EQ(readBytes(utf8), QByteArray("\xEF\xBB\xBF[S]\nk=\xD0\x96\n"));
}

TEST(IniFile, FailedWritesLeaveTheFileAsItWas)
{
    QTemporaryDir dir;
    const QByteArray original = "[Слева]\r\nedit_1=old\r\n";

    // A read-only file.
    const QString readOnly = dir.filePath("readonly.vod");
    writeBytes(readOnly, original);
    QFile::setPermissions(readOnly, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    TIniFile ini(readOnly);
    ini.WriteString("Слева", "edit_1", "new");
    ini.WriteString("Таблица", "edt_1", "1");
    try {
        ini.UpdateFile();
        ADD_FAILURE() << "a read-only file was written";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + QDir::toNativeSeparators(readOnly));
    }
    EXPECT_EQ(readBytes(readOnly), original);
    EXPECT_TRUE(ini.Modified());

    // A folder without write permission, for an existing and for a new file.
    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkdir(locked));
    const QString inside = locked + "/cert.vod";
    writeBytes(inside, original);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    for (const QString &path : {inside, locked + "/new.vod"}) {
        TIniFile file(path);
        file.WriteString("Слева", "edit_1", "new");
        EXPECT_THROW(file.UpdateFile(), EInOutError) << path.toStdString();
    }
    EXPECT_EQ(readBytes(inside), original);
    EXPECT_EQ(folderEntries(locked), QStringList{"cert.vod"});
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // A path that is a folder reads as empty and is never replaced.
    const QString folderPath = dir.filePath("folder.vod");
    ASSERT_TRUE(QDir().mkdir(folderPath));
    TIniFile folder(folderPath);
    EXPECT_EQ(folder.ReadString("Слева", "edit_1", "default"), "default");
    folder.WriteString("Слева", "edit_1", "x");
    EXPECT_THROW(folder.UpdateFile(), EInOutError);
    EXPECT_TRUE(QFileInfo(folderPath).isDir());

    // So does a file beyond the size limit (sparse: nothing is written to the disk).
    const QString huge = dir.filePath("huge.vod");
    writeBytes(huge, original);
    ASSERT_TRUE(QFile::resize(huge, TIniFile::MaxFileSize + 1));
    TIniFile large(huge);
    EXPECT_TRUE(large.Unreadable());
    EXPECT_FALSE(TIniFile(readOnly).Unreadable());
    EXPECT_EQ(large.ReadString("Слева", "edit_1", "default"), "default");
    large.WriteString("Слева", "edit_1", "x");
    EXPECT_THROW(large.UpdateFile(), EInOutError);
    EXPECT_EQ(QFileInfo(huge).size(), TIniFile::MaxFileSize + 1);

    // A missing folder.
    TIniFile missing(dir.filePath("no/such/folder.vod"));
    missing.WriteString("S", "k", "v");
    EXPECT_THROW(missing.UpdateFile(), EInOutError);

    EXPECT_EQ(folderEntries(dir.path()), (QStringList{"folder.vod", "huge.vod", "locked", "readonly.vod"}));
}

TEST(IniFile, ReplacingKeepsThePermissionsOfTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("perm.ini");
    writeBytes(path, "[S]\nk=1\n");
    const auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(path, permissions);
    TIniFile ini(path);
    ini.WriteString("S", "k", "2");
    ini.UpdateFile();
    // Owner, group and others; the "user" bits describe the running user.
    EXPECT_EQ(QFile::permissions(path) & 0xF0FF, permissions);
    EXPECT_EQ(readBytes(path), QByteArray("[S]\nk=2\n"));
}

TEST(IniFile, EditingSectionsAndKeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("edit.ini");
    writeBytes(path, "[A]\nx=1\ny=2\nX=3\n[B]\nz=1\n[a]\nw=1\n");
    TIniFile ini(path);
    ini.DeleteKey("a", "X");
    ini.DeleteKey("missing", "x");
    ini.DeleteKey("B", "missing");
    EXPECT_EQ(ini.ReadSection("A"), QStringList{"y"});
    ini.EraseSection("A");
    EXPECT_EQ(ini.ReadSections(), QStringList{"B"});
    ini.WriteBool("B", "flag", true);
    ini.WriteInteger("B", "n", -12);
    ini.UpdateFile();
    EXPECT_EQ(readBytes(path), QByteArray("[B]\nz=1\nflag=1\r\nn=-12\r\n"));
    EXPECT_TRUE(TIniFile(path).ReadBool("b", "flag", false));
}

TEST(IniFile, NamesAndValuesCannotBreakTheFileStructure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("unsafe.ini");
    TIniFile ini(path);
    ini.WriteString("S", "k", "a\r\n[Injected]\r\nb=c\0d");
    for (const QString &key : {QString(), QString("  "), QString("a=b"), QString("[x"), QString(";x"),
                               QString("a\nb")})
        EXPECT_THROW(ini.WriteString("S", key, "v"), EGeneralError) << key.toStdString();
    EXPECT_THROW(ini.WriteString("", "k", "v"), EGeneralError);
    EXPECT_THROW(ini.WriteString("a\rb", "k", "v"), EGeneralError);
    ini.UpdateFile();
    const TIniFile again(path);
    EXPECT_EQ(again.ReadSections(), QStringList{"S"});
    EXPECT_EQ(again.ReadSection("S"), QStringList{"k"});
    EXPECT_EQ(again.ReadString("S", "k", ""), "a  [Injected]  b=c");
}

// Random and mutated files must load, answer and write without crashing, and
// a key written into any of them must read back after the file is replaced.
TEST(IniFile, FuzzedFilesNeverCrash)
{
    TAnsiCodePageScope cp(1251);
    QTemporaryDir dir;
    QRandomGenerator random(20240611);
    const QByteArray seed = "[\xD1\xEB\xE5\xE2\xE0]\r\nedit_1=\"x\"\r\n; c\n[T]\nk = v\n[]\n=\n[[x]]\n";
    const QByteArray boms[] = {"", "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
    const char alphabet[] = "[]=;\r\n \t\"'\0\xFF\xFE\xD1k";
    for (int round = 0; round < 400; ++round) {
        QByteArray data;
        if (round % 2 == 0) {
            data = seed;
            const int mutations = 1 + int(random.bounded(8));
            for (int m = 0; m < mutations && !data.isEmpty(); ++m) {
                const int at = int(random.bounded(data.size()));
                switch (random.bounded(3)) {
                case 0: data[at] = alphabet[random.bounded(int(sizeof alphabet - 1))]; break;
                case 1: data.remove(at, 1 + int(random.bounded(3))); break;
                default: data.insert(at, alphabet[random.bounded(int(sizeof alphabet - 1))]); break;
                }
            }
        } else {
            const int size = int(random.bounded(200));
            for (int i = 0; i < size; ++i)
                data += random.bounded(2) ? char(random.bounded(256)) : alphabet[random.bounded(int(sizeof alphabet - 1))];
        }
        data.prepend(boms[random.bounded(4)]);
        const QString path = dir.filePath(QStringLiteral("fuzz%1.ini").arg(round));
        writeBytes(path, data);

        TIniFile ini(path);
        for (const QString &section : ini.ReadSections())
            for (const QString &key : ini.ReadSection(section))
                EXPECT_LE(ini.ReadString(section, key, "").size(), TIniFile::MaxValueLength);
        if (random.bounded(4) == 0 && !ini.ReadSections().isEmpty())
            ini.EraseSection(ini.ReadSections().front());
        ini.WriteString("Слева", "edit_1", "value1");
        ini.WriteString("T", "k", "value2");
        ini.UpdateFile();
        const TIniFile again(path);
        EXPECT_EQ(again.ReadString("Слева", "edit_1", ""), "value1") << data.toHex().toStdString();
        EXPECT_EQ(again.ReadString("T", "k", ""), "value2") << data.toHex().toStdString();
    }
}

// A desktop whose code page lacks the letters written (Cyrillic under 1252)
// must not turn them into "?": the file becomes UTF-8 with a byte-order mark,
// and its sections are found again and written once.
TEST(IniFile, TextTheCodePageLacksMakesTheFileUtf8)
{
    TAnsiCodePageScope cp(1252);
    QTemporaryDir dir;
    const QString path = dir.filePath("latin.vod");
    for (int round = 0; round < 2; ++round) {
        TIniFile ini(path);
        ini.WriteString("Слева", "edit_1", "Автошкола");
        ini.WriteString("Слева", "edit_2", "Ә😀");
        ini.WriteString("Таблица", "edt_1", "2,5");
        ini.UpdateFile();
    }
    const QByteArray bytes = readBytes(path);
    EXPECT_EQ(bytes, QByteArray("\xEF\xBB\xBF") + QStringLiteral("[Слева]\r\nedit_1=Автошкола\r\nedit_2=Ә😀\r\n"
                                                                 "[Таблица]\r\nedt_1=2,5\r\n").toUtf8());
    const TIniFile again(path);
    EXPECT_EQ(again.Encoding(), TIniEncoding::Utf8);
    EXPECT_TRUE(again.HasByteOrderMark());
    EXPECT_EQ(again.ReadString("слева", "edit_2", ""), "Ә😀");

    // Plain ASCII stays in the code page, without a mark.
    const QString ascii = dir.filePath("ascii.ini");
    TIniFile plain(ascii);
    plain.WriteString("S", "k", "v");
    plain.UpdateFile();
    EXPECT_EQ(readBytes(ascii), QByteArray("[S]\r\nk=v\r\n"));
}

// An ANSI file that receives a character its code page lacks is stored
// whole in UTF-8: every line keeps its text, the new value its characters.
TEST(IniFile, AnsiFileTurnsUtf8WhenAValueDoesNotFit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cyrillic.vod");
    writeBytes(path, encodeCodePage(QStringLiteral("; школа\n[Слева]\nedit_1=старое\nedit_2=Жук\n"), 1251));
    TIniFile ini(path, 1251);
    EXPECT_EQ(ini.CodePage(), 1251);
    ini.WriteString("Слева", "edit_1", "новое");
    EXPECT_EQ(ini.Encoding(), TIniEncoding::Ansi) << "what fits keeps the encoding";
    ini.WriteString("Слева", "edit_1", "Қазақ Ә");
    EXPECT_EQ(ini.Encoding(), TIniEncoding::Utf8);
    ini.UpdateFile();
    EXPECT_EQ(readBytes(path),
              QByteArray("\xEF\xBB\xBF") + QStringLiteral("; школа\n[Слева]\nedit_1=Қазақ Ә\nedit_2=Жук\n").toUtf8());

    // From then on it stays UTF-8, also for text 1251 could hold.
    TIniFile again(path, 1251);
    again.WriteString("Слева", "edit_1", "Иванов");
    again.UpdateFile();
    EXPECT_EQ(readBytes(path),
              QByteArray("\xEF\xBB\xBF") + QStringLiteral("; школа\n[Слева]\nedit_1=Иванов\nedit_2=Жук\n").toUtf8());
}

// Without a byte-order mark the bytes decide, not the desktop: valid UTF-8
// beyond ASCII is UTF-8 (and is written back as such, without a mark),
// anything else is the given ANSI code page.
TEST(IniFile, FilesWithoutAMarkAreReadByTheirBytes)
{
    QTemporaryDir dir;
    for (const int system : {1251, 1252}) {
        TAnsiCodePageScope cp(system);
        const QString utf8 = dir.filePath("utf8.vod");
        writeBytes(utf8, QStringLiteral("[Слева]\nedit_1=Школа №1\n").toUtf8());
        TIniFile ini(utf8, 1251);
        EXPECT_EQ(ini.Encoding(), TIniEncoding::Utf8);
        EXPECT_FALSE(ini.HasByteOrderMark());
        EXPECT_EQ(ini.ReadString("Слева", "edit_1", ""), "Школа №1");
        ini.WriteString("Слева", "edit_2", "Ә");
        ini.UpdateFile();
        EXPECT_EQ(readBytes(utf8), QStringLiteral("[Слева]\nedit_1=Школа №1\nedit_2=Ә\r\n").toUtf8());

        const QString ansi = dir.filePath("ansi.vod");
        writeBytes(ansi, encodeCodePage(QStringLiteral("[Слева]\nedit_1=Школа №1\n"), 1251));
        const TIniFile cyrillic(ansi, 1251);
        EXPECT_EQ(cyrillic.Encoding(), TIniEncoding::Ansi);
        EXPECT_EQ(cyrillic.ReadString("Слева", "edit_1", ""), "Школа №1");

        // Mostly UTF-8 but with one broken sequence: not UTF-8.
        const QString broken = dir.filePath("broken.vod");
        writeBytes(broken, QStringLiteral("[S]\nk=Ж").toUtf8() + "\xC3");
        EXPECT_EQ(TIniFile(broken, 1251).Encoding(), TIniEncoding::Ansi);
    }
}
