#include "browser/environment_request.h"

#include "browser/external_function.h"
#include "browser/globals.h"
#include "browser/loader_file.h"
#include "browser/page_events.h"
#include "webview2/webview2.h"
#include "wrappers/options_wrapper.h"

namespace {

// The loader's function as WebView2's SDK publishes it.
using CreateEnvironmentWithOptions = HRESULT(STDMETHODCALLTYPE*)(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* options,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

ExternalFunction createEnvironmentWithOptions{kLoaderFileName, "CreateCoreWebView2EnvironmentWithOptions"};

// An optional folder as UTF-16 for the call; null when absent.
WideBuffer OptionalFolder(TextArg folder) {
  return folder.absent() ? WideBuffer() : TextToWide(folder, kCodePageUtf8);
}

}  // namespace

HRESULT CreateBrowserEnvironment(CallbackRoutine routine, ULONG_PTR context, TextArg browserExecutableFolder,
                                 TextArg userDataFolder, const InterfaceHolder& options) {
  const WideBuffer browserFolder = OptionalFolder(browserExecutableFolder);
  const WideBuffer dataFolder = OptionalFolder(userDataFolder);
  const ComRef handler(
      MakeCallbackObject(routine, context, IidText::ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler));
  if (!handler) return E_OUTOFMEMORY;
  const auto create = reinterpret_cast<CreateEnvironmentWithOptions>(
      reinterpret_cast<void*>(BindExternalFunction(createEnvironmentWithOptions)));
  // The loader takes its own references to the options and the handler; ours go with this call.
  return create(WideData(browserFolder), WideData(dataFolder),
                static_cast<ICoreWebView2EnvironmentOptions*>(options.Get()),
                reinterpret_cast<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*>(handler.Get()));
}

void StartBrowserHosting(HWND mainWindow) {
  if (g_controller == nullptr) return;
  g_mainWindow = mainWindow;
  DeployAndLoadLoader(LoaderBytes());
  EnvironmentOptionsWrapper options;
  options.Create();
  CreateBrowserEnvironment(OnEnvironmentCreated, 0, nullptr, nullptr, options);
}
