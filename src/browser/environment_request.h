#pragma once

// The start of browser hosting: the carried loader deployed and loaded, and the environment
// requested from it. The result arrives later through the message loop.

#include <windows.h>

#include "com/callback_object.h"
#include "com/interface_holder.h"
#include "com/text.h"

// Asks the loader's CreateCoreWebView2EnvironmentWithOptions for an environment; the routine
// later receives (context, error code, environment or null). An absent folder reaches WebView2 as
// null, which lets it choose its own. options: a holder of the options object, or an empty one.
// E_OUTOFMEMORY, without calling the loader, when the handler object cannot be made; otherwise
// the loader's answer.
HRESULT CreateBrowserEnvironment(CallbackRoutine routine, ULONG_PTR context, TextArg browserExecutableFolder,
                                 TextArg userDataFolder, const InterfaceHolder& options);

// The rest of MainWindow's created event after the tray icon: remembers the window, deploys and
// loads the carried loader, and requests the environment with the program's own options, which
// OnEnvironmentCreated receives. Nothing is examined: a failure leaves the window without a browser.
// Does nothing before InitGlobals, since every later routine works on the globals.
void StartBrowserHosting(HWND mainWindow);
