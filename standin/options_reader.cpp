#include "options_reader.h"

#include <objbase.h>

#include "journal.h"

namespace {

using TextGetter = HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*)(LPWSTR*);

std::wstring ReadText(ICoreWebView2EnvironmentOptions* options, TextGetter getter) {
  LPWSTR value = nullptr;
  if (FAILED((options->*getter)(&value))) return {};
  return TakeText(value);
}

// Calls a BOOL or enum getter; the stand-in has no use for the value.
template <class Interface, class Value>
void ReadValue(Interface* options, HRESULT (STDMETHODCALLTYPE Interface::*getter)(Value*)) {
  Value value{};
  (options->*getter)(&value);
}

template <class Interface>
Ref<Interface> Query(IUnknown* options, const char* iidText, const char* name) {
  Ref<Interface> found = QueryFor<Interface>(options, iidText);
  Journalf("options: %s %s", name, found ? "answered" : "not answered");
  return found;
}

}  // namespace

EnvironmentOptionsRead ReadEnvironmentOptions(ICoreWebView2EnvironmentOptions* given) {
  EnvironmentOptionsRead read;
  if (!given) return read;
  read.options = Query<ICoreWebView2EnvironmentOptions>(given, IidText::ICoreWebView2EnvironmentOptions,
                                                        "ICoreWebView2EnvironmentOptions");
  ICoreWebView2EnvironmentOptions* options = read.options.get();
  if (!options) return read;
  read.additionalBrowserArguments = ReadText(options, &ICoreWebView2EnvironmentOptions::get_AdditionalBrowserArguments);
  read.language = ReadText(options, &ICoreWebView2EnvironmentOptions::get_Language);
  read.targetCompatibleBrowserVersion =
      ReadText(options, &ICoreWebView2EnvironmentOptions::get_TargetCompatibleBrowserVersion);
  ReadValue(options, &ICoreWebView2EnvironmentOptions::get_AllowSingleSignOnUsingOSPrimaryAccount);

  if (auto options2 = Query<ICoreWebView2EnvironmentOptions2>(options, IidText::ICoreWebView2EnvironmentOptions2,
                                                              "ICoreWebView2EnvironmentOptions2"))
    ReadValue(options2.get(), &ICoreWebView2EnvironmentOptions2::get_ExclusiveUserDataFolderAccess);
  if (auto options3 = Query<ICoreWebView2EnvironmentOptions3>(options, IidText::ICoreWebView2EnvironmentOptions3,
                                                              "ICoreWebView2EnvironmentOptions3"))
    ReadValue(options3.get(), &ICoreWebView2EnvironmentOptions3::get_IsCustomCrashReportingEnabled);
  if (auto options4 = Query<ICoreWebView2EnvironmentOptions4>(options, IidText::ICoreWebView2EnvironmentOptions4,
                                                              "ICoreWebView2EnvironmentOptions4")) {
    UINT32 count = 0;
    ICoreWebView2CustomSchemeRegistration** registrations = nullptr;
    if (SUCCEEDED(options4->GetCustomSchemeRegistrations(&count, &registrations)) && registrations) {
      // The array and a reference to each element now belong to the stand-in.
      for (UINT32 i = 0; i < count; ++i) {
        if (!registrations[i]) continue;
        LPWSTR scheme = nullptr;
        if (SUCCEEDED(registrations[i]->get_SchemeName(&scheme)))
          Journalf("options: custom scheme %s", Utf8(TakeText(scheme)).c_str());
        registrations[i]->Release();
      }
      CoTaskMemFree(registrations);
    }
  }
  if (auto options5 = Query<ICoreWebView2EnvironmentOptions5>(options, IidText::ICoreWebView2EnvironmentOptions5,
                                                              "ICoreWebView2EnvironmentOptions5"))
    ReadValue(options5.get(), &ICoreWebView2EnvironmentOptions5::get_EnableTrackingPrevention);
  if (auto options6 = Query<ICoreWebView2EnvironmentOptions6>(options, IidText::ICoreWebView2EnvironmentOptions6,
                                                              "ICoreWebView2EnvironmentOptions6"))
    ReadValue(options6.get(), &ICoreWebView2EnvironmentOptions6::get_AreBrowserExtensionsEnabled);
  if (auto options7 = Query<ICoreWebView2EnvironmentOptions7>(options, IidText::ICoreWebView2EnvironmentOptions7,
                                                              "ICoreWebView2EnvironmentOptions7")) {
    ReadValue(options7.get(), &ICoreWebView2EnvironmentOptions7::get_ChannelSearchKind);
    ReadValue(options7.get(), &ICoreWebView2EnvironmentOptions7::get_ReleaseChannels);
  }
  if (auto options8 = Query<ICoreWebView2EnvironmentOptions8>(options, IidText::ICoreWebView2EnvironmentOptions8,
                                                              "ICoreWebView2EnvironmentOptions8"))
    ReadValue(options8.get(), &ICoreWebView2EnvironmentOptions8::get_ScrollBarStyle);
  Journalf("options: arguments \"%s\", language \"%s\", target version \"%s\"",
           Utf8(read.additionalBrowserArguments).c_str(), Utf8(read.language).c_str(),
           Utf8(read.targetCompatibleBrowserVersion).c_str());
  return read;
}

std::wstring RereadBrowserArguments(const EnvironmentOptionsRead& read) {
  if (!read.options) return read.additionalBrowserArguments;
  return ReadText(read.options.get(), &ICoreWebView2EnvironmentOptions::get_AdditionalBrowserArguments);
}
