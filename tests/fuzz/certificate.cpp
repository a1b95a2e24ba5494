// A certificate file: read into the entry window's controls, as opening a
// file does.

#include "tests/fuzz/FuzzSupport.h"

#include "app/CertificateFile.h"
#include "app/main.h"
#include "base/Errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size)
{
    fuzzStartQt(true);
    static QTemporaryDir dir;
    // Kept to the end, as the application is.
    static TfmMain *window = new TfmMain;
    const QString path = dir.filePath(QStringLiteral("fuzz.vod"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char *>(Data), qint64(Size)) != qint64(Size))
            std::abort();
    }
    try {
        openCertificate(*window, path);
    } catch (const Exception &) {
    }
    return 0;
}
