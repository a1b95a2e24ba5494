#pragma once
// Start-up of the drawing room.

// Installs the view painter (drawing of report objects and memo layout
// with real fonts), the drawing of prepared pages, the engine's progress
// window, the printing of prepared pages and the printer paper provider (new
// pages take the current printer's default paper); and, once a
// QGuiApplication exists, makes the templates' Windows font names resolve to
// their metric twins and registers the fonts fontconfig does not know.
// Called by every program that draws or lays out report objects; calling it
// again does no harm.
void rudRenderInit();
