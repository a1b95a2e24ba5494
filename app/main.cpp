#include "app/main.h"

TfmMain::TfmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fmMain"));
    setWindowTitle(QStringLiteral("Свидетельство о профессии водителя (книжка А5 с протоколом)"));
    resize(1280, 641);
}
