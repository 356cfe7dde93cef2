#pragma once

// Reads the host's environment options object as a consumer does: a QueryInterface for each of
// the eight options interfaces, their getters called through the pointer each query returned,
// every string received freed with CoTaskMemFree.

#include <windows.h>

#include <string>

#include "com_ref.h"
#include "webview2/webview2.h"

struct EnvironmentOptionsRead {
  std::wstring additionalBrowserArguments;
  std::wstring language;
  std::wstring targetCompatibleBrowserVersion;
  // The first interface's pointer, kept while the environment is made.
  Ref<ICoreWebView2EnvironmentOptions> options;
};

// Nothing is read from a null object or one that lacks ICoreWebView2EnvironmentOptions.
EnvironmentOptionsRead ReadEnvironmentOptions(ICoreWebView2EnvironmentOptions* options);

// The arguments read again through the kept pointer, as the environment is made.
std::wstring RereadBrowserArguments(const EnvironmentOptionsRead& read);
