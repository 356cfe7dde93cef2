#pragma once

// The client's handlers of MainWindow's events.

#include <windows.h>

#include "app/main_window.h"

// Adds the tray icon, then starts browser hosting (loader, environment request).
void OnMainWindowCreated(HWND window);

// Hides the window once it is minimised, so that it leaves the taskbar for the tray.
void OnMainWindowMoved(HWND window);

// Hides the window and keeps it: closing and log-off queries never end the program.
bool OnMainWindowCloseQuery(HWND window);

// Any kind of click on the tray icon: the window comes back in its normal state and TrayMenu
// opens at the cursor.
void OnTrayEvent(HWND window, int kind);

// "退出": ends the program with exit code 0.
void OnExitItemSelected(HWND window);

// The table start-up gives MainWindow: the handlers above, and browser hosting's size-changed
// handler, which keeps the browser fitted to the client area.
MainWindow::Events ClientEvents();
