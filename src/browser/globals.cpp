#include "browser/globals.h"

HWND g_mainWindow = nullptr;
ControllerWrapper* g_controller = nullptr;
WebViewWrapper* g_webView = nullptr;
ScriptHostWrapper* g_scriptHost = nullptr;

void InitGlobals() {
  g_controller = new ControllerWrapper();
  g_webView = new WebViewWrapper();
  g_scriptHost = new ScriptHostWrapper();
}

void DestroyGlobals() {
  delete g_controller;
  g_controller = nullptr;
  delete g_webView;
  g_webView = nullptr;
  delete g_scriptHost;
  g_scriptHost = nullptr;
}

void OnMainWindowSizeChanged(HWND window) {
  if (g_controller == nullptr || g_controller->Get() == nullptr) return;
  RECT client{};
  GetClientRect(window, &client);
  g_controller->put_Bounds(0, 0, client.right - client.left, client.bottom - client.top);
}
