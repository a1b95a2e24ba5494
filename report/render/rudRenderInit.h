#pragma once
// Start-up of the drawing room.

// Once a QGuiApplication exists, makes the templates' Windows font names
// resolve to their metric twins and registers the fonts fontconfig does not
// know. Called by every program that draws or lays out report objects;
// calling it again does no harm. (What reports need from this room they get
// as services: rudStandardServices.)
void rudRenderInit();
