#pragma once
// Fonts the templates and the entry window name but that fontconfig does not
// find by itself (Tahoma lives outside its folders). Call once after the
// QGuiApplication exists and before anything measures text.

// Registers the known font files; returns how many families were added.
int registerSystemFonts();
