#include "browser/caption.h"

#include "browser/globals.h"
#include "site.h"

namespace {

// 翠鸮交流群( as code page 936 bytes, written as escapes so no editor setting can change them.
constexpr char kCaptionStart[] = "\xb4\xe4\xfb\x5e\xbd\xbb\xc1\xf7\xc8\xba(";

}  // namespace

AnsiText CaptionWith(TextArg text) { return AnsiText(kCaptionStart) + kSiteHost + ")_" + text.c_str(); }

void SetCaptionText(TextArg text) { SetWindowTextW(g_mainWindow, WideData(TextToWide(CaptionWith(text)))); }
