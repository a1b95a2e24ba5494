#pragma once
// Start-up of the drawing room.

// Installs the view painter (drawing of report objects and memo layout
// with real fonts) and the engine's progress window; and, once a
// QGuiApplication exists, makes the templates' Windows font names resolve
// to their metric twins and registers the fonts fontconfig does not know. Called by every program
// that draws or lays out report objects; calling it again does no harm.
void rudRenderInit();
