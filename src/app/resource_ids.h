#pragma once

// Resource identifiers, shared by the resource scripts and the code.
#define IDI_CLIENT 1        // the application icon (window, taskbar, Explorer)
#define IDR_TRAY_ICON 101   // the same ICO file as bytes, the source of the tray icon
