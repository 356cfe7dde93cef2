#pragma once

// Every WebView2 declaration of the program in one include.

#include "webview2/iid_text.h"
#include "webview2/handlers.h"
#include "webview2/environment_options.h"
#include "webview2/environment.h"
#include "webview2/controller.h"
#include "webview2/webview.h"
#include "webview2/webview_versions.h"
#include "webview2/navigation_completed_args.h"
#include "webview2/devtools_receiver.h"
