#pragma once
// Start-up of the engine room.

// Connects what the engine room joins together, once per process: the
// script engine's registration modules in their order (system, classes,
// report objects) and the engine string resources' script messages, which
// from now on reach the script engine after every load of the resources.
// Called by every program before it makes its first report or script.
void rudEngineInit();
