// Start-up of the engine room.

#include "report/engine/rudEngineInit.h"

#include "report/engine/rudClassRTTI.h"
#include "report/model/rudRes.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_iconst.h"

#include <QMap>

void rudEngineInit()
{
    static const bool done = [] {
        fsRegisterClassesRTTI();
        rudRegisterClassRTTI();
        rudResources().SetFSResourcesHandler([](const TfrxFSMessages &messages) {
            QMap<QString, QString> texts;
            for (const auto &[key, text] : messages)
                // A key the table does not know comes back as itself: keep the built-in text.
                if (!text.isEmpty() && text != key)
                    texts.insert(key, text);
            fsSetResources(texts);
        });
        rudResources().UpdateFSResources();
        return true;
    }();
    (void)done;
}
