#pragma once
// Start-up of the designer room: what the program calls once so that the
// designer can be opened from the report and from the preview.

// Installs the preview's designer hook and registers the designer's
// property and component editors. Calling it again does nothing.
void rudDesignerInit();
