#pragma once
// Object differences: how a report object on a prepared page is written as
// the properties in which it differs from its source copy. Each attribute is
// one space, a name, "=" and the value in double quotes; floats use the
// user's decimal separator, Booleans "1"/"0", enumerations their ordinal,
// sets their bit mask, strings are escaped with rudStrToXML. The template
// reader reads such text back on top of the copy's full attribute text.

#include <QObject>
#include <QString>
#include <span>
#include <utility>
#include <vector>

class TfrxFrame;
class TfrxCustomFill;
class TfrxHyperlink;

// True for band objects: on prepared pages a band always writes its top
// and gets an alias of base "b".
bool rudIsBand(const QObject *Obj);

// Two floats differ when they are more than 0.0001 apart.
bool rudFloatDiff(double A, double B);

// Attribute text of one value in the forms above.
QString rudDiffAttr(const QString &Name, const QString &EscapedValue);
QString rudDiffInt(const QString &Name, qint64 Value);
QString rudDiffFloat(const QString &Name, double Value);
QString rudDiffBool(const QString &Name, bool Value);
QString rudDiffStr(const QString &Name, const QString &Value);

// How one field of a differences table is compared: exactly, or by the
// float rule above.
enum class TfrxDiffRule { Exact, Float };
// One row of a differences table: a published property, its rule, and its
// reader, made from the class's getter of the property: it compares two
// objects' values and writes one in the forms above, with no meta-call
// (every object of every prepared page is compared field by field).
struct TfrxDiffField {
    const char *Name;
    TfrxDiffRule Rule = TfrxDiffRule::Exact;
    bool (*Differs)(const QObject *A, const QObject *B, TfrxDiffRule Rule) = nullptr;
    QString (*Text)(const QObject *Obj) = nullptr;
};
// Appends to Out, in table order, the attribute Prefix + Name of each field
// whose value in Obj differs from Source's (objects of the table's class),
// or of every field when Always.
void rudDiffFields(QString &Out, const QObject *Obj, const QObject *Source, std::span<const TfrxDiffField> Fields,
                   QLatin1String Prefix, bool Always = false);
// Every differences table with the class whose objects it is read from
// (for the self-check that each row reads the published property it names).
std::vector<std::pair<const QMetaObject *, std::span<const TfrxDiffField>>> rudDiffTables();

// The frame's differences from Source, prefixed "Frame.": the frame's own
// values, then per line (left, top, right, bottom) its colour, style and
// width, compared with the frame's value when that was written (reading the
// frame value resets the lines to it), else with the source line's.
QString rudFrameDiff(const TfrxFrame &Frame, const TfrxFrame &Source);
// The fill's differences, prefixed "Fill.": each published value of the
// fill's kind when it differs or the source fill is of another kind.
QString rudFillDiff(const TfrxCustomFill &Fill, const TfrxCustomFill &Source);
// The hyperlink's differences, prefixed "Hyperlink." (Expression excluded).
QString rudHyperlinkDiff(const TfrxHyperlink &Link, const TfrxHyperlink &Source);
