#pragma once

// The main window's caption once the browser owns it: "翠鸮交流群(", the site's host name and
// ")_", then the runtime's version or the page's title.

#include "com/text.h"

// The caption for a text (code page 936); an absent text adds nothing to the prefix.
AnsiText CaptionWith(TextArg text);

// Writes CaptionWith(text) on g_mainWindow, through UTF-16 like every text of the shell, so the
// caption reads the same whatever the system's code page.
void SetCaptionText(TextArg text);
