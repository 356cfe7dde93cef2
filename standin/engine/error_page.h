#pragma once

// The short page shown when a page cannot be had, as the runtime shows its own: titled with the
// host name, in the user's language (Chinese or English).

#include <string>

#include "engine/html_document.h"

HtmlDocument MakeErrorPage(const std::wstring& uri, int webErrorStatus, int httpStatus);
