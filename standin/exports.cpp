// The five functions of WebView2Loader.dll, exported by plain name (loader.def).

#include <windows.h>
#include <objbase.h>

#include <cwctype>
#include <string>
#include <vector>

#include "dispatcher.h"
#include "environment.h"
#include "journal.h"
#include "knobs.h"
#include "options_reader.h"
#include "webview2/webview2.h"

namespace {

const HRESULT kNoRuntime = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

// The runtime wants a single-threaded apartment on the calling thread.
HRESULT CheckApartment() {
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  const HRESULT result = CoGetApartmentType(&type, &qualifier);
  if (result == CO_E_NOTINITIALIZED) return CO_E_NOTINITIALIZED;
  if (SUCCEEDED(result) && type == APTTYPE_MTA) return RPC_E_CHANGED_MODE;
  return S_OK;
}

std::wstring JoinArguments(const std::wstring& first, const std::wstring& second) {
  if (first.empty()) return second;
  if (second.empty()) return first;
  return first + L" " + second;
}

// "138.0.3351.48" and the like: the numbers, or false when the text is no version.
bool ParseVersion(const wchar_t* text, std::vector<unsigned long long>* parts) {
  std::wstring version(text);
  // A channel name after the numbers ("120.0.1.2 beta") does not count.
  const size_t space = version.find(L' ');
  if (space != std::wstring::npos) version.resize(space);
  if (version.empty()) return false;
  unsigned long long part = 0;
  bool digits = false;
  for (wchar_t c : version) {
    if (c == L'.') {
      if (!digits) return false;
      parts->push_back(part);
      part = 0;
      digits = false;
    } else if (c >= L'0' && c <= L'9') {
      part = part * 10 + static_cast<unsigned long long>(c - L'0');
      digits = true;
    } else {
      return false;
    }
  }
  if (!digits) return false;
  parts->push_back(part);
  return true;
}

HRESULT AvailableVersion(LPWSTR* versionInfo) {
  if (!versionInfo) return E_POINTER;
  *versionInfo = nullptr;
  if (StepToFail() == FailStep::kRuntime) return kNoRuntime;
  return HandOutText(kStandInBrowserVersion, versionInfo);
}

}  // namespace

extern "C" {

HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
  Journalf("CreateCoreWebView2EnvironmentWithOptions folder \"%s\" user data \"%s\" options %s",
           browserExecutableFolder ? Utf8(browserExecutableFolder).c_str() : "",
           userDataFolder ? Utf8(userDataFolder).c_str() : "", environmentOptions ? "given" : "none");
  if (!environmentCreatedHandler) return E_INVALIDARG;
  if (StepToFail() == FailStep::kRuntime) {
    Journalf("no runtime: 0x%08lx", static_cast<unsigned long>(kNoRuntime));
    return kNoRuntime;
  }
  if (const HRESULT apartment = CheckApartment(); FAILED(apartment)) return apartment;

  // Read now; the first options pointer stays held, and is read once more, until the environment exists.
  EnvironmentOptionsRead read = ReadEnvironmentOptions(environmentOptions);
  Ref<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler> completion(environmentCreatedHandler);
  PostToThisThread([read, completion]() mutable {
    Ref<Environment> environment;
    HRESULT result = E_FAIL;
    if (StepToFail() != FailStep::kEnvironment) {
      PageEngineSettings settings;
      settings.browserArguments =
          JoinArguments(RereadBrowserArguments(read), EnvironmentText(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS"));
      Journalf("browser arguments: %s", Utf8(settings.browserArguments).c_str());
      environment = MakeObject<Environment>(settings);
      result = S_OK;
    }
    read.options.reset();
    Journalf("environment completes: 0x%08lx", static_cast<unsigned long>(result));
    completion->Invoke(result, environment.get());
  });
  return S_OK;
}

HRESULT STDAPICALLTYPE
CreateCoreWebView2Environment(ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler) {
  return CreateCoreWebView2EnvironmentWithOptions(nullptr, nullptr, nullptr, environmentCreatedHandler);
}

HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionString(PCWSTR, LPWSTR* versionInfo) {
  Journalf("GetAvailableCoreWebView2BrowserVersionString");
  return AvailableVersion(versionInfo);
}

HRESULT STDAPICALLTYPE GetAvailableCoreWebView2BrowserVersionStringWithOptions(PCWSTR, ICoreWebView2EnvironmentOptions*,
                                                                               LPWSTR* versionInfo) {
  Journalf("GetAvailableCoreWebView2BrowserVersionStringWithOptions");
  return AvailableVersion(versionInfo);
}

HRESULT STDAPICALLTYPE CompareBrowserVersions(PCWSTR version1, PCWSTR version2, int* result) {
  Journalf("CompareBrowserVersions");
  if (!version1 || !version2 || !result) return E_POINTER;
  std::vector<unsigned long long> first, second;
  if (!ParseVersion(version1, &first) || !ParseVersion(version2, &second)) return E_INVALIDARG;
  // Missing parts count as zero: "138" equals "138.0.0.0".
  const size_t count = first.size() > second.size() ? first.size() : second.size();
  first.resize(count, 0);
  second.resize(count, 0);
  *result = first < second ? -1 : (second < first ? 1 : 0);
  return S_OK;
}

}  // extern "C"
