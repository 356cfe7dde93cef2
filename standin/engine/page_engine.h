#pragma once

// The seam between a view of the stand-in and whatever loads, runs and shows its pages. The view
// (standin/) owns the WebView2 side: navigation ids, the event order, handlers, tokens, the child
// window. An engine (standin/engine/) owns the page: fetching it, its document and title, its
// script, painting it and reacting to the mouse. Everything runs on the view's thread; an engine
// reports back through PageEngineHost only from that thread's message loop, never from inside a
// call the view made into it.

#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// What the engine calls on the view.
class PageEngineHost {
 public:
  virtual ~PageEngineHost() = default;

  // The page asks to go somewhere: a link click, location.href, location.reload(). The view
  // raises NavigationStarting and then calls Load (or nothing, if cancelled). userInitiated is
  // true for a click.
  virtual void OnPageRequestsNavigation(const std::wstring& uri, bool userInitiated) = 0;

  // The response for the current Load has arrived (or the error page was made) and the document
  // is about to be built. The view raises SourceChanged, ContentLoading and HistoryChanged here.
  virtual void OnContentLoading(bool isErrorPage) = 0;

  // The document's title changed (from <title> while loading, or document.title from script).
  virtual void OnTitleChanged() = 0;

  // The current Load is over: inline scripts have run. webErrorStatus is a
  // COREWEBVIEW2_WEB_ERROR_STATUS value, 0 when success; httpStatus 0 when there was no answer.
  virtual void OnLoadFinished(bool success, int webErrorStatus, int httpStatus) = 0;

  // The host object published under name, or null; borrowed for the duration of the call.
  virtual IDispatch* FindHostObject(const std::wstring& name) = 0;
};

// What the view needs from an engine.
class PageEngine {
 public:
  virtual ~PageEngine() = default;

  // Starts loading uri (an absolute http:// or https:// URI, or about:blank); a Load still in
  // progress is abandoned without reports. Reports come later through the host.
  virtual void Load(const std::wstring& uri) = 0;
  // Abandons a Load in progress without reports.
  virtual void Stop() = 0;

  // The current document's title; the URI when the document has none (as the runtime does).
  virtual std::wstring Title() const = 0;

  // Runs script in the current document. done later receives (S_OK, the result as JSON) or a
  // failure HRESULT with "null".
  virtual void ExecuteScript(const std::wstring& script,
                             std::function<void(HRESULT, const std::wstring& resultAsJson)> done) = 0;

  // The view's child window, for painting and input; the engine may invalidate it at will.
  virtual void Attach(HWND window) = 0;
  // WM_PAINT of the child window: paints the page into the client rectangle.
  virtual void Paint(HDC dc, const RECT& client) = 0;
  // Mouse input in client coordinates; a click on a link asks the host to navigate.
  virtual void OnMouseClick(POINT point) = 0;
  virtual void OnMouseWheel(int delta) = 0;
};

struct PageEngineSettings {
  // The browser arguments in force (the options' AdditionalBrowserArguments followed by
  // WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS); --host-resolver-rules="MAP host 127.0.0.1:port"
  // among them maps host names.
  std::wstring browserArguments;
};

// The built-in engine: WinHTTP, a small HTML reader, GDI painting, JScript.
std::unique_ptr<PageEngine> CreateBuiltInEngine(PageEngineHost& host, const PageEngineSettings& settings);
