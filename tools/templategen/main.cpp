// templategen: writes the built-in print template "shablon.fr3" — one A5
// page with the 48 memos the print command fills — in the template format.
//
//   templategen <output file>
//
// The delivered resources/shablon.fr3 is this program's output; the report's
// icon is drawn here and stored as a 64 x 64 icon with an alpha channel.

#include "report/model/rudPicture.h"
#include "report/model/rudXML.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

struct TMemo {
    const char *Name;
    double Left, Top, Width, Height;
    int FontHeight; // pixels: -11 is 8 pt, -13 is 10 pt
    int Style;      // 0 regular, 1 bold, 2 italic
    bool Center;
    const char *Text;
};

// The memos in page order: position and size in pixels from the page's
// printable area, font, alignment and the placeholder each print replaces.
const TMemo memos[] = {
    {"Memo1", 3.77952756, 18.8976377952756, 468.66172, 15.11811024, -11, 2, true, "полное оф. наименование ОУ"},
    {"Memo2", 3.77952756, 37.7952755905512, 468.66172, 15.11811024, -11, 2, true, "полное оф. наименование ОУ"},
    {"Memo3", 64.25201, 60.47244094488189, 362.83488, 15.11811024, -11, 2, true, "наименование населенного пункта"},
    {"Memo4", 68.03149606299213, 120.94488189, 49.13389, 18.89764024, -13, 1, true, "серия"},
    {"Memo5", 22.67718, 151.18110236, 445.98454, 15.11811024, -13, 2, true, "ФИО обучающегося"},
    {"Memo6", 56.69291339, 175.748031496063, 22.67718, 15.11811024, -11, 2, true, "06"},
    {"Memo7", 83.1496063, 175.748031496063, 64.25201, 15.11811024, -11, 2, true, "07_сентября"},
    {"Memo8", 181.4173228346457, 175.7480315, 49.13389, 15.11811024, -11, 2, true, "8"},
    {"Memo9", 266.4566929133858, 175.7480315, 22.67718, 15.11811024, -11, 2, true, "09"},
    {"Memo10", 301.14193, 175.748031496063, 68.03154, 15.11811024, -11, 2, true, "10_сентября"},
    {"Memo11", 385.51181102, 175.7480315, 52.91342, 15.11811024, -11, 2, true, "1"},
    {"Memo12", 56.69295, 222.99212598, 366.61441, 15.11811024, -11, 2, true, "категории \"В\""},
    {"Memo13", 351.49606299, 360.94488189, 37.7953, 15.11811024, -11, 0, true, "013"},
    {"Memo14", 351.49606299, 377.95275591, 37.7953, 15.11811024, -11, 0, true, "014"},
    {"Memo15", 351.496062992126, 394.96062992126, 37.7953, 15.11811024, -11, 0, true, "015"},
    {"Memo16", 351.496062992126, 414.23636937, 37.7953, 15.11811024, -11, 0, true, "016"},
    {"Memo17", 351.496062992126, 457.32297378, 37.7953, 15.11811024, -11, 0, true, "017"},
    {"Memo18", 351.496062992126, 487.55918937, 37.7953, 15.11811024, -11, 0, true, "018"},
    {"Memo19", 351.496062992126, 518.17335528, 37.7953, 15.11811024, -11, 0, true, "019"},
    {"Memo20", 351.496062992126, 559.37020323, 37.7953, 15.11811024, -11, 0, true, "020"},
    {"Memo21", 351.496062992126, 589.6064237, 37.7953, 15.11811024, -11, 0, true, "021"},
    {"Memo22", 351.496062992126, 612.283464566929, 37.7953, 15.11811024, -11, 0, true, "022"},
    {"Memo23", 351.496062992126, 631.1811023622051, 37.7953, 15.11811024, -11, 0, true, "023"},
    {"Memo24", 177.63781969, 646.299212598425, 22.67718, 15.11811024, -11, 0, true, "24"},
    {"Memo25", 211.65354331, 646.299212598425, 64.25201, 15.11811024, -11, 0, true, "25_сентября"},
    {"Memo26", 306.14173228, 646.2992126, 45.35436, 15.11811024, -11, 0, true, "6"},
    {"Memo27", 347.71661843, 670.866141732284, 117.16543, 15.11811024, -11, 0, true, "ФИО руководителя"},
    {"Memo28", 395.85065, 360.9448818897637, 68.03154, 15.11811024, -11, 0, true, "28_зачтено"},
    {"Memo29", 395.85065, 377.9527559055118, 68.03154, 15.11811024, -11, 0, true, "29_зачтено"},
    {"Memo30", 396.85065, 394.96062992126, 68.03154, 15.11811024, -11, 0, true, "30_зачтено"},
    {"Memo31", 394.85065, 413.85841661, 68.03154, 15.11811024, -11, 0, true, "31_зачтено"},
    {"Memo32", 393.85065, 457.32297378, 68.03154, 15.11811024, -11, 0, true, "32_зачтено"},
    {"Memo33", 393.85065, 487.55918937, 68.03154, 15.11811024, -11, 0, true, "33_зачтено"},
    {"Memo34", 393.85065, 518.17335528, 68.03154, 15.11811024, -11, 0, true, "34_зачтено"},
    {"Memo35", 396.85065, 559.37020323, 68.03154, 15.11811024, -11, 0, true, "35_зачтено"},
    {"Memo36", 396.85065, 589.6064237, 68.03154, 15.11811024, -11, 0, true, "36_зачтено"},
    {"Memo37", 394.85065, 612.283464566929, 68.03154, 15.11811024, -11, 0, true, "37_зачтено"},
    {"Memo38", 394.85065, 631.1811023622051, 68.03154, 15.11811024, -11, 0, true, "38_Х"},
    {"Memo39", 151.181102362205, 457.322834645669, 30.23624, 15.11811024, -11, 0, true, "C1E"},
    {"Memo40", 102.047244094488, 487.55905511811, 26.45671, 15.11811024, -11, 0, true, "40"},
    {"Memo41", 294.80299339, 504.566929133858, 26.45671, 15.11811024, -11, 0, true, "41"},
    {"Memo42", 15.11812, 515.90563386, 162.51979, 15.11811024, -11, 0, true, "тип коробки передач"},
    {"Memo_kval", 173.85829457, 257.00787402, 291.02381, 15.11811024, -11, 2, false, "присвоена квалификация"},
    {"Memo_cat", 156.85044008, 272.12589394, 98.26778, 15.11811024, -11, 2, true, "категория"},
    {"Memo_prot", 230.5511811023622, 291.02380512, 109.60637, 15.11811024, -11, 2, false, "№ протокола"},
    {"Memo_day", 60.47245559, 306.141732283465, 22.67718, 15.11811024, -11, 2, true, "06"},
    {"Memo_month", 109.60633094, 306.141732283465, 64.25201, 15.11811024, -11, 2, true, "07_сентября"},
    {"Memo_year", 200.31500213, 306.14173228, 56.69295000000001, 15.11811024, -11, 2, true, "5"},
};

// Floats as templates write them: 15 significant digits, no trailing zeros.
QString num(double v)
{
    return QString::asprintf("%.15g", v);
}

// The report's icon: a small booklet, drawn with soft (alpha) edges.
QImage drawIcon()
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath cover;
    cover.addRoundedRect(QRectF(10, 4, 44, 56), 5, 5);
    p.fillPath(cover, QColor(30, 80, 150));
    p.setPen(QPen(QColor(255, 255, 255, 230), 2));
    for (int y = 24; y <= 44; y += 7)
        p.drawLine(QPointF(18, y), QPointF(46, y));
    p.setPen(QPen(QColor(240, 200, 60), 3));
    p.drawLine(QPointF(18, 14), QPointF(36, 14));
    p.end();
    return image;
}

void putLE(QByteArray &b, quint32 v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b.append(char((v >> (8 * i)) & 0xFF));
}

// A one-image icon file: a 32-bit bitmap (rows bottom-up, BGRA) and its
// 1-bit mask, set where the pixel is fully transparent.
QByteArray encodeIcon(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width(), h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    const quint32 dibSize = 40 + quint32(w * h * 4 + maskStride * h);
    QByteArray b;
    putLE(b, 0, 2);
    putLE(b, 1, 2); // icon
    putLE(b, 1, 2); // one image
    b.append(char(w)).append(char(h)).append(char(0)).append(char(0));
    putLE(b, 1, 2);  // planes
    putLE(b, 32, 2); // bits per pixel
    putLE(b, dibSize, 4);
    putLE(b, 22, 4);
    putLE(b, 40, 4);
    putLE(b, quint32(w), 4);
    putLE(b, quint32(2 * h), 4);
    putLE(b, 1, 2);
    putLE(b, 32, 2);
    putLE(b, 0, 4);
    putLE(b, quint32(w * h * 4 + maskStride * h), 4);
    b.append(QByteArray(16, '\0')); // resolution and palette fields
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            b.append(char(qBlue(c))).append(char(qGreen(c))).append(char(qRed(c))).append(char(qAlpha(c)));
        }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(image.pixel(x, y)) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        b.append(row);
    }
    return b;
}

void setReport(TfrxXMLItem *item)
{
    TfrxPicture icon;
    icon.SetGraphic(TfrxGraphic::Load(TfrxGraphicKind::Icon, encodeIcon(drawIcon())));
    item->SetName(QStringLiteral("TfrxReport"));
    item->SetProp(QStringLiteral("Version"), QStringLiteral("5.1.1"));
    item->SetProp(QStringLiteral("DotMatrixReport"), QStringLiteral("False"));
    item->SetProp(QStringLiteral("IniFile"), QStringLiteral("\\Software\\Dodi Varoras"));
    item->SetProp(QStringLiteral("PreviewOptions.Buttons"), QStringLiteral("4095"));
    item->SetProp(QStringLiteral("PreviewOptions.Zoom"), QStringLiteral("1"));
    item->SetProp(QStringLiteral("PrintOptions.Printer"), QStringLiteral("Default"));
    item->SetProp(QStringLiteral("PrintOptions.PrintOnSheet"), QStringLiteral("0"));
    item->SetProp(QStringLiteral("ReportOptions.Author"), QStringLiteral("Андрей"));
    item->SetProp(QStringLiteral("ReportOptions.CreateDate"), num(41982.6347830324));
    item->SetProp(QStringLiteral("ReportOptions.Description.Text"),
                  QStringLiteral("Модуль для печати бланков о профессии водителя"));
    item->SetProp(QStringLiteral("ReportOptions.LastChange"), num(42213.64038107639));
    item->SetProp(QStringLiteral("ReportOptions.Picture.PropData"),
                  QString::fromLatin1(icon.GetPropData().toHex().toUpper()));
    item->SetProp(QStringLiteral("ReportOptions.VersionMajor"), QStringLiteral("1"));
    item->SetProp(QStringLiteral("ReportOptions.VersionMinor"), QStringLiteral("0"));
    item->SetProp(QStringLiteral("ScriptLanguage"), QStringLiteral("PascalScript"));
    item->SetProp(QStringLiteral("ScriptText.Text"), QStringLiteral("begin\r\n\r\nend."));
}

void addDataPage(TfrxXMLItem *report)
{
    TfrxXMLItem *page = report->Add(QStringLiteral("TfrxDataPage"));
    page->SetProp(QStringLiteral("Name"), QStringLiteral("Data"));
    page->SetProp(QStringLiteral("Height"), QStringLiteral("1000"));
    page->SetProp(QStringLiteral("Left"), QStringLiteral("0"));
    page->SetProp(QStringLiteral("Top"), QStringLiteral("0"));
    page->SetProp(QStringLiteral("Width"), QStringLiteral("1000"));
}

void addReportPage(TfrxXMLItem *report)
{
    TfrxXMLItem *page = report->Add(QStringLiteral("TfrxReportPage"));
    const char *props[][2] = {{"Name", "Page1"},           {"Font.Charset", "0"},     {"Font.Color", "0"},
                              {"Font.Height", "-11"},      {"Font.Name", "Times New Roman"},
                              {"Font.Style", "0"},         {"PaperWidth", "148"},     {"PaperHeight", "210"},
                              {"PaperSize", "11"},         {"LeftMargin", "10"},      {"RightMargin", "10"},
                              {"TopMargin", "10"},         {"BottomMargin", "10"},    {"ColumnWidth", "0"},
                              {"ColumnPositions.Text", ""}, {"HGuides.Text", ""},     {"VGuides.Text", ""}};
    for (const auto &p : props)
        page->SetProp(QString::fromLatin1(p[0]), QString::fromLatin1(p[1]));
    for (const TMemo &m : memos) {
        TfrxXMLItem *memo = page->Add(QStringLiteral("TfrxMemoView"));
        memo->SetProp(QStringLiteral("Name"), QString::fromLatin1(m.Name));
        memo->SetProp(QStringLiteral("Left"), num(m.Left));
        memo->SetProp(QStringLiteral("Top"), num(m.Top));
        memo->SetProp(QStringLiteral("Width"), num(m.Width));
        memo->SetProp(QStringLiteral("Height"), num(m.Height));
        memo->SetProp(QStringLiteral("Font.Charset"), QStringLiteral("204"));
        memo->SetProp(QStringLiteral("Font.Color"), QStringLiteral("0"));
        memo->SetProp(QStringLiteral("Font.Height"), QString::number(m.FontHeight));
        memo->SetProp(QStringLiteral("Font.Name"), QStringLiteral("Times New Roman"));
        memo->SetProp(QStringLiteral("Font.Style"), QString::number(m.Style));
        if (m.Center)
            memo->SetProp(QStringLiteral("HAlign"), QStringLiteral("haCenter"));
        memo->SetProp(QStringLiteral("ParentFont"), QStringLiteral("False"));
        memo->SetProp(QStringLiteral("Text"), QString::fromUtf8(m.Text));
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing the icon needs a GUI application; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: templategen <output file>\n");
        return 2;
    }
    static_assert(sizeof memos / sizeof memos[0] == 48, "the template has 48 memos");
    try {
        TfrxXMLDocument doc;
        doc.SetAutoIndent(true);
        setReport(doc.Root());
        addDataPage(doc.Root());
        addReportPage(doc.Root());
        // Written atomically: a failed write leaves the old template whole.
        doc.SaveToFile(QString::fromLocal8Bit(argv[1]));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "templategen: %s\n", e.what());
        return 1;
    }
    return 0;
}
