#pragma once
// Loading a template with data and values from the command line and
// preparing it, shared by the prepare and render subcommands.

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TfrxMemoryDataSet;
class TfrxReport;

// A report loaded from a template, with the data sets it was given.
struct TPreparedTemplate {
    std::unique_ptr<TfrxReport> Report;
    std::vector<std::unique_ptr<TfrxMemoryDataSet>> DataSets;
    TPreparedTemplate();
    ~TPreparedTemplate();
};

// Options of the template commands: --data NAME=FILE.csv (a CSV file as the
// data set NAME) and --set NAME=VALUE (the report variable NAME, holding an
// expression as with expand: text constants need quotes). Every other
// argument is a positional one. Returns an error text, empty on success.
QString parseTemplateOptions(const QStringList &Args, QStringList &Positional, QStringList &Data, QStringList &Set);

// Loads FileName, attaches the data sets, applies the values and prepares
// the report silently. Errors (load, data, preparation) are returned as the
// final error text; empty on success.
QString prepareTemplate(TPreparedTemplate &Out, const QString &FileName, const QStringList &Data,
                        const QStringList &Set);
