#include "tests/fuzz/FuzzSupport.h"

#include "base/Errors.h"
#include "base/FormatSettings.h"
#include "script/fs_iinterpreter.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>

void fuzzStartQt(bool Widgets)
{
    // Made once and kept to the end: libFuzzer leaves through exit(), when
    // destroying it would come after statics it uses.
    static QCoreApplication *application = nullptr;
    if (application)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (Widgets)
        application = new QApplication(argc, argv);
    else
        application = new QGuiApplication(argc, argv);
    setFormatSettings(englishFormatSettings());
}

QString fuzzText(const uint8_t *Data, size_t Size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(Data), qsizetype(Size));
}

void fuzzRunScript(const QString &Language, const QString &Source)
{
    TfsScript script;
    script.AddRTTI();
    script.SetSyntaxType(Language);
    script.AddMethod(QStringLiteral("function Get(Name: String): Variant"),
                     [](QObject *, TfsClassVariable *, const QString &, TfsCustomVariable &) { return TfsVariant(); });
    int lines = 0;
    script.OnRunLine = [&](TfsScript *, const QString &, const QString &) {
        if (++lines > 5000)
            script.Terminate();
    };
    script.SetLines(Source);
    try {
        if (!script.Compile()) {
            if (script.ErrorMsg().isEmpty())
                std::abort();
            return;
        }
        fsSetTimeLimit(250);
        script.Execute();
    } catch (const Exception &) {
        // Run-time errors, stops and unreadable units end a script normally.
    }
    fsSetTimeLimit(0);
}
