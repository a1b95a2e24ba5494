// The basic property editors of the design-time interface and the
// registrations the interface makes itself.

#include "designer/rudDsgnIntf.h"

#include "base/CodePages.h"
#include "base/DateTime.h"
#include "base/Errors.h"
#include "base/NumberFormat.h"
#include "base/UserInterface.h"
#include "report/model/rudComponent.h"
#include "report/model/rudPage.h"
#include "report/model/rudReport.h"
#include "report/render/rudCanvas.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QPainter>
#include <memory>

// ---- Integer, float, character, string

QString TfrxIntegerProperty::GetValue()
{
    return IntToStr(GetOrdValue());
}

void TfrxIntegerProperty::SetValue(const QString &Value)
{
    if (PropInfo() && PropInfo()->Kind == TfrxPropKind::Int64)
        SetOrdValue(StrToInt64(Value));
    else
        SetOrdValue(StrToInt(Value));
}

QString TfrxFloatProperty::GetValue()
{
    return FloatToStr(GetFloatValue());
}

void TfrxFloatProperty::SetValue(const QString &Value)
{
    QString text = Value;
    const QChar separator = FormatSettings().DecimalSeparator;
    text.replace(QLatin1Char(','), separator).replace(QLatin1Char('.'), separator);
    SetFloatValue(StrToFloat(text.trimmed()));
}

QString TfrxCharProperty::GetValue()
{
    const qint64 code = GetOrdValue();
    const QChar ch{char16_t(code)};
    if (code > 32 && code < 0x10000 && ch.isPrint())
        return QString(ch);
    return QStringLiteral("#") + IntToStr(code);
}

void TfrxCharProperty::SetValue(const QString &Value)
{
    if (Value.isEmpty()) {
        SetOrdValue(0);
        return;
    }
    if (Value.size() == 1) {
        SetOrdValue(Value.at(0).unicode());
        return;
    }
    int code = 0;
    if (!Value.startsWith(QLatin1Char('#')) || !TryStrToInt(Value.mid(1), code) || code < 0 || code > 0xFFFF)
        rudInvalidPropertyValue();
    SetOrdValue(code);
}

QString TfrxStringProperty::GetValue()
{
    return GetStrValue();
}

void TfrxStringProperty::SetValue(const QString &Value)
{
    SetStrValue(Value);
}

// ---- Enumerations and sets

TfrxPropertyAttributes TfrxEnumProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

QString TfrxEnumProperty::GetValue()
{
    const qint64 value = GetOrdValue();
    const QString ident = PropInfo() ? PropInfo()->IdentOf(value) : QString();
    return ident.isEmpty() ? IntToStr(value) : ident;
}

void TfrxEnumProperty::GetValues()
{
    const TfrxPropInfo *prop = PropInfo();
    if (!prop)
        return;
    if (prop->Kind == TfrxPropKind::Boolean) {
        FValues << QStringLiteral("False") << QStringLiteral("True");
        return;
    }
    const QMetaEnum e = prop->Enumerator();
    for (int i = 0; i < e.keyCount(); ++i)
        FValues << QString::fromLatin1(e.key(i));
}

void TfrxEnumProperty::SetValue(const QString &Value)
{
    const std::optional<qint64> value = PropInfo() ? PropInfo()->ValueOfIdent(Value.trimmed()) : std::nullopt;
    if (!value)
        rudInvalidPropertyValue();
    SetOrdValue(*value);
}

TfrxPropertyAttributes TfrxSetProperty::GetAttributes()
{
    return paMultiSelect | paSubProperties | paReadOnly;
}

QString TfrxSetProperty::GetValue()
{
    const TfrxPropInfo *prop = PropInfo();
    if (!prop)
        return QString();
    const qint64 value = GetOrdValue();
    const QMetaEnum e = prop->Enumerator();
    QStringList idents;
    for (int i = 0; i < e.keyCount(); ++i)
        if (e.value(i) != 0 && (value & e.value(i)) == e.value(i))
            idents << QString::fromLatin1(e.key(i));
    return QLatin1Char('[') + idents.join(QLatin1Char(',')) + QLatin1Char(']');
}

TfrxSetElementProperty::TfrxSetElementProperty(TfrxCustomDesigner *Designer, qint64 Element,
                                               const QString &ElementName)
    : TfrxPropertyEditor(Designer), FElement(Element), FElementName(ElementName)
{
}

TfrxPropertyAttributes TfrxSetElementProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

QString TfrxSetElementProperty::GetName()
{
    return FElementName;
}

QString TfrxSetElementProperty::GetValue()
{
    return (GetOrdValue() & FElement) == FElement ? QStringLiteral("True") : QStringLiteral("False");
}

void TfrxSetElementProperty::GetValues()
{
    FValues << QStringLiteral("False") << QStringLiteral("True");
}

void TfrxSetElementProperty::SetValue(const QString &Value)
{
    bool on;
    if (Value.trimmed().compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        on = true;
    else if (Value.trimmed().compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        on = false;
    else
        rudInvalidPropertyValue();
    // Each object keeps its other elements.
    const qint64 element = FElement;
    WriteAll([on, element](QObject *Obj, const TfrxPropInfo &Prop) {
        const qint64 value = Prop.OrdValue(Obj);
        return Prop.SetOrdValue(Obj, on ? value | element : value & ~element);
    });
}

// ---- Sub-objects and references

TfrxPropertyAttributes TfrxClassProperty::GetAttributes()
{
    return paMultiSelect | paSubProperties | paReadOnly;
}

QString TfrxClassProperty::GetValue()
{
    const TfrxPropInfo *prop = PropInfo();
    return prop ? QLatin1Char('(') + prop->TypeName + QLatin1Char(')') : QString();
}

TfrxPropertyAttributes TfrxComponentProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

QString TfrxComponentProperty::GetValue()
{
    auto *ref = dynamic_cast<TfrxComponent *>(GetObjValue());
    return ref ? ref->Name() : QString();
}

void TfrxComponentProperty::GetValues()
{
    QObject *obj = Component();
    const TfrxPropInfo *prop = PropInfo();
    if (!obj || !prop)
        return;
    auto *self = dynamic_cast<TfrxComponent *>(obj);
    // Printable objects refer to objects of their page; other objects (a
    // report, a page) to their own objects.
    TfrxComponent *root = self;
    if (dynamic_cast<TfrxReportComponent *>(obj))
        root = self->Page();
    if (!root)
        return;
    const QMetaObject *cls = prop->PointeeClass();
    const QList<TfrxComponent *> all = root->AllObjects();
    for (TfrxComponent *candidate : all)
        if (candidate != self && !candidate->Name().isEmpty() && (!cls || candidate->metaObject()->inherits(cls)))
            FValues << candidate->Name();
}

void TfrxComponentProperty::SetValue(const QString &Value)
{
    const QString name = Value.trimmed();
    if (name.isEmpty()) {
        SetObjValue(nullptr);
        return;
    }
    TfrxReport *report = Report();
    TfrxComponent *target = report ? report->FindObject(name) : nullptr;
    if (!target)
        rudInvalidPropertyValue();
    SetObjValue(target);
}

TfrxPropertyAttributes TfrxNameProperty::GetAttributes()
{
    return {};
}

// ---- Colours

namespace {

struct TIdent {
    int Value;
    const char *Name;
};

constexpr int sys(int Index)
{
    return int(0xFF000000u | unsigned(Index));
}

const TIdent colorIdents[] = {
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"}, {0x008080, "clOlive"},
    {0x800000, "clNavy"}, {0x800080, "clPurple"}, {0x808000, "clTeal"}, {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"}, {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"}, {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"}, {0xF0CAA6, "clSkyBlue"}, {0xF0FBFF, "clCream"}, {0xA4A0A0, "clMedGray"},
    {0x1FFFFFFF, "clTransparent"},
    {sys(0), "clScrollBar"}, {sys(1), "clBackground"}, {sys(2), "clActiveCaption"},
    {sys(3), "clInactiveCaption"}, {sys(4), "clMenu"}, {sys(5), "clWindow"}, {sys(6), "clWindowFrame"},
    {sys(7), "clMenuText"}, {sys(8), "clWindowText"}, {sys(9), "clCaptionText"}, {sys(10), "clActiveBorder"},
    {sys(11), "clInactiveBorder"}, {sys(12), "clAppWorkSpace"}, {sys(13), "clHighlight"},
    {sys(14), "clHighlightText"}, {sys(15), "clBtnFace"}, {sys(16), "clBtnShadow"}, {sys(17), "clGrayText"},
    {sys(18), "clBtnText"}, {sys(19), "clInactiveCaptionText"}, {sys(20), "clBtnHighlight"},
    {sys(21), "cl3DDkShadow"}, {sys(22), "cl3DLight"}, {sys(23), "clInfoText"}, {sys(24), "clInfoBk"},
    {sys(26), "clHotLight"}, {sys(27), "clGradientActiveCaption"}, {sys(28), "clGradientInactiveCaption"},
    {sys(29), "clMenuHighlight"}, {sys(30), "clMenuBar"},
};

const TIdent charsetIdents[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"}, {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"}, {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"}, {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"}, {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"}, {ARABIC_CHARSET, "ARABIC_CHARSET"}, {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"}, {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"}, {OEM_CHARSET, "OEM_CHARSET"},
};

const TIdent cursorIdents[] = {
    {0, "crDefault"}, {-1, "crNone"}, {-2, "crArrow"}, {-3, "crCross"}, {-4, "crIBeam"},
    {-6, "crSizeNESW"}, {-7, "crSizeNS"}, {-8, "crSizeNWSE"}, {-9, "crSizeWE"}, {-10, "crUpArrow"},
    {-11, "crHourGlass"}, {-12, "crDrag"}, {-13, "crNoDrop"}, {-14, "crHSplit"}, {-15, "crVSplit"},
    {-16, "crMultiDrag"}, {-17, "crSQLWait"}, {-18, "crNo"}, {-19, "crAppStart"}, {-20, "crHelp"},
    {-21, "crHandPoint"}, {-22, "crSizeAll"}, {crHand, "crHand"}, {crZoom, "crZoom"}, {crFormat, "crFormat"},
};

template <size_t N>
QString identOf(const TIdent (&Table)[N], int Value)
{
    for (const TIdent &entry : Table)
        if (entry.Value == Value)
            return QString::fromLatin1(entry.Name);
    return QString();
}

template <size_t N>
std::optional<int> valueOf(const TIdent (&Table)[N], const QString &Ident)
{
    for (const TIdent &entry : Table)
        if (Ident.compare(QLatin1String(entry.Name), Qt::CaseInsensitive) == 0)
            return entry.Value;
    return std::nullopt;
}

template <size_t N>
QStringList identsOf(const TIdent (&Table)[N])
{
    QStringList result;
    for (const TIdent &entry : Table)
        result << QString::fromLatin1(entry.Name);
    return result;
}

// An identifier of Table, else a whole number ("$" hexadecimal allowed).
template <size_t N>
int identOrNumber(const TIdent (&Table)[N], const QString &Text)
{
    const QString text = Text.trimmed();
    if (const std::optional<int> value = valueOf(Table, text))
        return *value;
    return StrToInt(text);
}

void drawSwatch(QPainter &Canvas, const QRect &Box, int Color)
{
    Canvas.save();
    Canvas.setPen(Qt::black);
    if (Color == clTransparent)
        Canvas.setBrush(Qt::NoBrush);
    else
        Canvas.setBrush(rudColor(Color));
    Canvas.drawRect(Box.adjusted(0, 0, -1, -1));
    Canvas.restore();
}

} // namespace

QString rudColorToIdent(int Color)
{
    return identOf(colorIdents, Color);
}

std::optional<int> rudIdentToColor(const QString &Ident)
{
    if (Ident.compare(QLatin1String("clNone"), Qt::CaseInsensitive) == 0)
        return clTransparent;
    return valueOf(colorIdents, Ident);
}

QStringList rudColorIdents()
{
    return identsOf(colorIdents);
}

QString rudCharsetToIdent(int Charset)
{
    return identOf(charsetIdents, Charset);
}

std::optional<int> rudIdentToCharset(const QString &Ident)
{
    return valueOf(charsetIdents, Ident);
}

QStringList rudCharsetIdents()
{
    return identsOf(charsetIdents);
}

QString rudCursorToIdent(int Cursor)
{
    return identOf(cursorIdents, Cursor);
}

std::optional<int> rudIdentToCursor(const QString &Ident)
{
    return valueOf(cursorIdents, Ident);
}

QStringList rudCursorIdents()
{
    return identsOf(cursorIdents);
}

TfrxPropertyAttributes TfrxColorProperty::GetAttributes()
{
    return paValueList | paMultiSelect | paOwnerDraw;
}

QString TfrxColorProperty::GetValue()
{
    const int color = int(GetOrdValue());
    const QString ident = rudColorToIdent(color);
    return ident.isEmpty() ? QLatin1Char('$') + IntToHex(quint32(color), 8) : ident;
}

void TfrxColorProperty::GetValues()
{
    FValues = rudColorIdents();
}

void TfrxColorProperty::SetValue(const QString &Value)
{
    const QString text = Value.trimmed();
    if (const std::optional<int> color = rudIdentToColor(text))
        SetOrdValue(*color);
    else
        SetOrdValue(StrToInt(text));
}

bool TfrxColorProperty::Edit()
{
    QColorDialog dialog;
    const int color = int(GetOrdValue());
    if (color != clTransparent)
        dialog.setCurrentColor(rudColor(color));
    if (userInterface().ExecDialog(&dialog) != 1)
        return false;
    const QColor chosen = dialog.currentColor();
    SetOrdValue(chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16));
    return true;
}

void TfrxColorProperty::OnDrawLBItem(QPainter &Canvas, int Index, const QRect &ARect)
{
    if (Index < 0 || Index >= FValues.size())
        return;
    const int box = GetExtraLBSize();
    const std::optional<int> color = rudIdentToColor(FValues.at(Index));
    drawSwatch(Canvas, QRect(ARect.left() + 2, ARect.top() + 2, box - 4, ARect.height() - 4), color.value_or(0));
    Canvas.drawText(ARect.adjusted(box + 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, FValues.at(Index));
}

void TfrxColorProperty::OnDrawItem(QPainter &Canvas, const QRect &ARect)
{
    const int box = GetExtraLBSize();
    drawSwatch(Canvas, QRect(ARect.left() + 2, ARect.top() + 2, box - 4, ARect.height() - 4), int(GetOrdValue()));
    Canvas.drawText(ARect.adjusted(box + 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, GetValue());
}

int TfrxColorProperty::GetExtraLBSize()
{
    return FItemHeight + 6;
}

// ---- Fonts

namespace {

QFont toQFont(const TFont &Font)
{
    QFont font(Font.Name());
    font.setPointSize(qMax(1, Font.Size()));
    font.setBold(Font.Style() & fsBold);
    font.setItalic(Font.Style() & fsItalic);
    font.setUnderline(Font.Style() & fsUnderline);
    font.setStrikeOut(Font.Style() & fsStrikeOut);
    return font;
}

// Takes into Font what the dialog changed: Shown is the font the dialog
// showed at first (its nearest match of Font), Source the one chosen. A
// font the dialog only approximated keeps its own name and size unless the
// user chose others.
void assignQFont(TFont &Font, const QFont &Shown, const QFont &Source)
{
    if (Source.family() != Shown.family())
        Font.SetName(Source.family());
    if (Source.pointSize() != Shown.pointSize() && Source.pointSize() > 0)
        Font.SetSize(Source.pointSize());
    TFontStyles style;
    if (Source.bold())
        style |= fsBold;
    if (Source.italic())
        style |= fsItalic;
    if (Source.underline())
        style |= fsUnderline;
    if (Source.strikeOut())
        style |= fsStrikeOut;
    Font.SetStyle(style);
}

} // namespace

TfrxPropertyAttributes TfrxFontProperty::GetAttributes()
{
    return paDialog | paMultiSelect | paSubProperties | paReadOnly;
}

bool TfrxFontProperty::Edit()
{
    auto *current = dynamic_cast<TFont *>(GetObjValue());
    if (!current)
        return false;
    QFontDialog dialog;
    dialog.setCurrentFont(toQFont(*current));
    const QFont shown = dialog.currentFont();
    if (userInterface().ExecDialog(&dialog) != 1)
        return false;
    TFont chosen;
    chosen.Assign(*current);
    assignQFont(chosen, shown, dialog.currentFont());
    SetObjValue(&chosen);
    return true;
}

TfrxPropertyAttributes TfrxFontNameProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

void TfrxFontNameProperty::GetValues()
{
    FValues = QFontDatabase::families();
}

TfrxPropertyAttributes TfrxFontCharsetProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

QString TfrxFontCharsetProperty::GetValue()
{
    const int charset = int(GetOrdValue());
    const QString ident = rudCharsetToIdent(charset);
    return ident.isEmpty() ? IntToStr(charset) : ident;
}

void TfrxFontCharsetProperty::GetValues()
{
    FValues = rudCharsetIdents();
}

void TfrxFontCharsetProperty::SetValue(const QString &Value)
{
    SetOrdValue(identOrNumber(charsetIdents, Value));
}

// ---- Modal results, shortcuts, cursors

namespace {

const char *const modalResults[] = {"mrNone", "mrOk", "mrCancel", "mrAbort", "mrRetry",
                                    "mrIgnore", "mrYes", "mrNo", "mrClose", "mrHelp",
                                    "mrTryAgain", "mrContinue", "mrAll", "mrNoToAll", "mrYesToAll"};
constexpr int modalResultCount = int(sizeof(modalResults) / sizeof(modalResults[0]));

} // namespace

TfrxPropertyAttributes TfrxModalResultProperty::GetAttributes()
{
    return paValueList | paMultiSelect;
}

QString TfrxModalResultProperty::GetValue()
{
    const qint64 value = GetOrdValue();
    if (value >= 0 && value < modalResultCount)
        return QString::fromLatin1(modalResults[value]);
    return IntToStr(value);
}

void TfrxModalResultProperty::GetValues()
{
    for (const char *name : modalResults)
        FValues << QString::fromLatin1(name);
}

void TfrxModalResultProperty::SetValue(const QString &Value)
{
    const QString text = Value.trimmed();
    for (int i = 0; i < modalResultCount; ++i)
        if (text.compare(QLatin1String(modalResults[i]), Qt::CaseInsensitive) == 0) {
            SetOrdValue(i);
            return;
        }
    SetOrdValue(text.isEmpty() ? 0 : StrToInt(text));
}

namespace {

// Shortcut bits beside the key code in the low byte.
constexpr int scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

const TIdent keyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"}, {0x21, "PgUp"},
    {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"}, {0x26, "Up"}, {0x27, "Right"},
    {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"},
};

QString keyName(int Key)
{
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
        return QString(QChar(Key));
    if (Key >= 0x70 && Key <= 0x87)
        return QStringLiteral("F") + IntToStr(Key - 0x6F);
    return identOf(keyNames, Key);
}

int keyOf(const QString &Name)
{
    if (Name.size() == 1) {
        const QChar ch = Name.at(0).toUpper();
        if ((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z')))
            return ch.unicode();
    }
    int number = 0;
    if (Name.size() > 1 && Name.at(0).toUpper() == QLatin1Char('F') && TryStrToInt(Name.mid(1), number) &&
        number >= 1 && number <= 24)
        return 0x6F + number;
    return valueOf(keyNames, Name).value_or(0);
}

} // namespace

QString rudShortCutToText(int ShortCut)
{
    const QString key = keyName(ShortCut & 0xFF);
    if (key.isEmpty())
        return QString();
    QString text;
    if (ShortCut & scShift)
        text += QLatin1String("Shift+");
    if (ShortCut & scCtrl)
        text += QLatin1String("Ctrl+");
    if (ShortCut & scAlt)
        text += QLatin1String("Alt+");
    return text + key;
}

int rudTextToShortCut(const QString &Text)
{
    QStringList parts = Text.trimmed().split(QLatin1Char('+'));
    if (parts.isEmpty())
        return 0;
    const int key = keyOf(parts.takeLast().trimmed());
    if (!key)
        return 0;
    int modifiers = 0;
    for (const QString &part : parts) {
        const QString p = part.trimmed();
        if (p.compare(QLatin1String("Shift"), Qt::CaseInsensitive) == 0)
            modifiers |= scShift;
        else if (p.compare(QLatin1String("Ctrl"), Qt::CaseInsensitive) == 0)
            modifiers |= scCtrl;
        else if (p.compare(QLatin1String("Alt"), Qt::CaseInsensitive) == 0)
            modifiers |= scAlt;
        else
            return 0;
    }
    return key | modifiers;
}

TfrxPropertyAttributes TfrxShortCutProperty::GetAttributes()
{
    return paValueList | paMultiSelect;
}

QString TfrxShortCutProperty::GetValue()
{
    const QString text = rudShortCutToText(int(GetOrdValue()));
    return text.isEmpty() ? QStringLiteral("(None)") : text;
}

void TfrxShortCutProperty::GetValues()
{
    FValues << QStringLiteral("(None)");
    for (int key = 'A'; key <= 'Z'; ++key)
        FValues << rudShortCutToText(scCtrl | key);
    for (int mods : {0, scCtrl, scShift, scShift | scCtrl})
        for (int key = 0x70; key <= 0x7B; ++key)
            FValues << rudShortCutToText(mods | key);
    for (int key : {0x2D, 0x2E})
        for (int mods : {0, scShift, scCtrl})
            FValues << rudShortCutToText(mods | key);
    FValues << rudShortCutToText(scAlt | 0x08) << rudShortCutToText(scShift | scAlt | 0x08);
}

void TfrxShortCutProperty::SetValue(const QString &Value)
{
    const QString text = Value.trimmed();
    if (text.isEmpty() || text.compare(QLatin1String("(None)"), Qt::CaseInsensitive) == 0) {
        SetOrdValue(0);
        return;
    }
    const int shortCut = rudTextToShortCut(text);
    if (!shortCut)
        rudInvalidPropertyValue();
    SetOrdValue(shortCut);
}

TfrxPropertyAttributes TfrxCursorProperty::GetAttributes()
{
    return paValueList | paSortList | paMultiSelect;
}

QString TfrxCursorProperty::GetValue()
{
    const int cursor = int(GetOrdValue());
    const QString ident = rudCursorToIdent(cursor);
    return ident.isEmpty() ? IntToStr(cursor) : ident;
}

void TfrxCursorProperty::GetValues()
{
    FValues = rudCursorIdents();
}

void TfrxCursorProperty::SetValue(const QString &Value)
{
    SetOrdValue(identOrNumber(cursorIdents, Value));
}

// ---- Dates and times

QString TfrxDateTimeProperty::GetValue()
{
    const double value = GetFloatValue();
    return value == 0 ? QString() : DateTimeToStr(value);
}

void TfrxDateTimeProperty::SetValue(const QString &Value)
{
    SetFloatValue(Value.trimmed().isEmpty() ? 0 : StrToDateTime(Value.trimmed()));
}

QString TfrxDateProperty::GetValue()
{
    const double value = GetFloatValue();
    return value == 0 ? QString() : DateToStr(value);
}

void TfrxDateProperty::SetValue(const QString &Value)
{
    SetFloatValue(Value.trimmed().isEmpty() ? 0 : StrToDate(Value.trimmed()));
}

QString TfrxTimeProperty::GetValue()
{
    const double value = GetFloatValue();
    return value == 0 ? QString() : TimeToStr(value);
}

void TfrxTimeProperty::SetValue(const QString &Value)
{
    SetFloatValue(Value.trimmed().isEmpty() ? 0 : StrToTime(Value.trimmed()));
}

// ---- The interface's own registrations

void registerBasicEditors(TfrxPropertyEditorCollection &Editors)
{
    Editors.Register(QStringLiteral("String"), &TfrxComponent::staticMetaObject, QStringLiteral("Name"),
                     rudEditorClass<TfrxNameProperty>());
    Editors.Register(QStringLiteral("TFont"), nullptr, QString(), rudEditorClass<TfrxFontProperty>());
    Editors.Register(QStringLiteral("String"), &TFont::staticMetaObject, QStringLiteral("Name"),
                     rudEditorClass<TfrxFontNameProperty>());
    Editors.Register(QStringLiteral("TFontCharset"), &TFont::staticMetaObject, QStringLiteral("Charset"),
                     rudEditorClass<TfrxFontCharsetProperty>());
    Editors.Register(QStringLiteral("TColor"), nullptr, QString(), rudEditorClass<TfrxColorProperty>());
    Editors.Register(QStringLiteral("TCursor"), nullptr, QString(), rudEditorClass<TfrxCursorProperty>());
    Editors.Register(QStringLiteral("TModalResult"), nullptr, QString(), rudEditorClass<TfrxModalResultProperty>());
    Editors.Register(QStringLiteral("TShortCut"), nullptr, QString(), rudEditorClass<TfrxShortCutProperty>());
    Editors.Register(QStringLiteral("TDateTime"), nullptr, QString(), rudEditorClass<TfrxDateTimeProperty>());
    Editors.Register(QStringLiteral("TDate"), nullptr, QString(), rudEditorClass<TfrxDateProperty>());
    Editors.Register(QStringLiteral("TTime"), nullptr, QString(), rudEditorClass<TfrxTimeProperty>());
}
