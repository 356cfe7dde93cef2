#pragma once

// The page's named script objects: window, document, location, chrome and console. Each comes with
// one reference owned by the caller.

#include <oaidl.h>

#include "engine/script_page.h"

IDispatch* MakeWindowObject(const ScriptLinkPtr& link);
IDispatch* MakeDocumentObject(const ScriptLinkPtr& link);
IDispatch* MakeLocationObject(const ScriptLinkPtr& link);
IDispatch* MakeChromeObject(const ScriptLinkPtr& link);
IDispatch* MakeConsoleObject(const ScriptLinkPtr& link);
