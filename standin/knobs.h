#pragma once

// The stand-in's test knobs, read from the process environment at each use (a test may change
// them between cases):
//   WEBVIEW2_STANDIN_FAIL      runtime | environment | controller | navigation
//   WEBVIEW2_STANDIN_WITHHOLD  a comma list of environment4, webview15
// and the runtime's own WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS.

#include <string>

enum class FailStep { kNone, kRuntime, kEnvironment, kController, kNavigation };

FailStep StepToFail();

// Whether the interface named (environment4, webview15) is withheld.
bool Withheld(const wchar_t* name);

// The value of an environment variable; empty when unset.
std::wstring EnvironmentText(const wchar_t* name);
