#pragma once
// What the fuzz targets share: Qt's application object on the offscreen
// platform, and running one script with a bound on its work.

#include <QString>
#include <cstddef>
#include <cstdint>

// Makes the application object once (QApplication with Widgets, else
// QGuiApplication) on the offscreen platform, under English regional
// settings; later calls do nothing.
void fuzzStartQt(bool Widgets = false);

// The input as text: UTF-8, invalid bytes replaced.
QString fuzzText(const uint8_t *Data, size_t Size);

// Compiles Source in Language and, when it compiles, runs it with at most a
// few thousand lines and a quarter of a second; errors of the script are
// ordinary outcomes. Aborts when the compiler fails without saying why.
void fuzzRunScript(const QString &Language, const QString &Source);
