#pragma once
// Shared libraries that only a rarely used command needs (the spreadsheet
// reader and writer) are loaded when that command first runs, not at every
// start of the program: each one linked costs every run its loading time.

#include <QLibrary>
#include <QString>

// One shared library, loaded by its file name and major version on first use
// and kept loaded for the rest of the run.
class TOnDemandLibrary {
public:
    // Package names the Debian package that installs the library, for the message.
    TOnDemandLibrary(const QString &Name, int Version, const QString &Package);

    // The function Symbol of the library as a pointer of type F, e.g.
    // Function<decltype(&zip_open)>("zip_open"). Loads the library the first
    // time; throws EInOutError naming the library and its package when the
    // library or the function is missing.
    template <typename F>
    F Function(const char *Symbol)
    {
        return reinterpret_cast<F>(Address(Symbol));
    }

private:
    QFunctionPointer Address(const char *Symbol);

    QLibrary FLibrary;
    QString FPackage;
};
