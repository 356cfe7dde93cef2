#pragma once

// The browser objects that live between window messages: made empty at start-up, filled as the
// browser comes up, destroyed at shutdown after the main window. Main thread only.

#include <windows.h>

#include "browser/script_host.h"
#include "wrappers/controller_wrapper.h"
#include "wrappers/webview_wrapper.h"

// The window the browser lives in and whose caption it writes; start-up hands it over.
extern HWND g_mainWindow;
// Filled once by OnControllerCreated.
extern ControllerWrapper* g_controller;
extern WebViewWrapper* g_webView;
// Filled at the first completed navigation; published to every page as TestHost.
extern ScriptHostWrapper* g_scriptHost;

// Makes the three wrappers, each empty.
void InitGlobals();
// Destroys them, filled or not: the controller, then the view, then the script host, whose object
// thereby forgets its owner. The browser is not closed; releasing it is all that is done.
void DestroyGlobals();

// MainWindow's size-changed handler: once the controller exists, the browser covers the whole
// client area (0, 0, 0, 0 while the window is minimised).
void OnMainWindowSizeChanged(HWND window);
