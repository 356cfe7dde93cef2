#pragma once

// The built WebView2Loader.dll, loaded from the test's own folder and called through its exports
// as a host calls them: looked up by plain name, stdcall.

#include <windows.h>

#include <string>
#include <vector>

#include "webview2/webview2.h"

struct Loader {
  using CreateWithOptions = HRESULT(STDAPICALLTYPE*)(PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
                                                     ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);
  using Create = HRESULT(STDAPICALLTYPE*)(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);
  using VersionString = HRESULT(STDAPICALLTYPE*)(PCWSTR, LPWSTR*);
  using VersionStringWithOptions = HRESULT(STDAPICALLTYPE*)(PCWSTR, ICoreWebView2EnvironmentOptions*, LPWSTR*);
  using Compare = HRESULT(STDAPICALLTYPE*)(PCWSTR, PCWSTR, int*);

  HMODULE module = nullptr;
  CreateWithOptions createWithOptions = nullptr;
  Create create = nullptr;
  VersionString versionString = nullptr;
  VersionStringWithOptions versionStringWithOptions = nullptr;
  Compare compare = nullptr;
};

// Loaded once for the process; every export found, or the test fails.
const Loader& TheLoader();

// The stand-in's journal for this test process: WEBVIEW2_STANDIN_JOURNAL names it before the DLL
// first writes, since the stand-in reads the variable once.
const std::wstring& JournalPath();
// The journal's lines so far.
std::vector<std::string> JournalLines();
