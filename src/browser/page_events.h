#pragma once

// The browser's completion and event routines, in the order the browser comes up: environment,
// controller, then the page's title changes and completed navigations. WebView2 calls each on the
// main thread as (context, first value, second value); each answers S_OK whatever happened, and a
// failure only leaves the window without a browser or with an older caption.

#include <windows.h>

#include "site.h"

// The site's home page, the only navigation the program starts.
inline constexpr char kHomePageUrl[] = "http://" SITE_HOST "/";

// (context, error code, environment or null): asks for the controller on g_mainWindow, then shows
// the runtime's version in the caption when the environment answers ICoreWebView2Environment4.
HRESULT STDMETHODCALLTYPE OnEnvironmentCreated(ULONG_PTR context, ULONG_PTR errorCode, ULONG_PTR environment);

// (context, error code, controller or null): fills g_controller and g_webView, fits the browser to
// the client area, subscribes to completed navigations and title changes, then opens the home
// page, so that its first completion and title reach us.
HRESULT STDMETHODCALLTYPE OnControllerCreated(ULONG_PTR context, ULONG_PTR errorCode, ULONG_PTR controller);

// (context, sender, args): the page's title, re-encoded into code page 936, into the caption.
HRESULT STDMETHODCALLTYPE OnDocumentTitleChanged(ULONG_PTR context, ULONG_PTR sender, ULONG_PTR args);

// (context, sender, args): publishes g_scriptHost's object as TestHost, making it at the first
// completed navigation, and subscribes OnFaviconChanged when the view answers ICoreWebView2_15.
HRESULT STDMETHODCALLTYPE OnNavigationCompleted(ULONG_PTR context, ULONG_PTR sender, ULONG_PTR args);

// (context, sender, args): nothing beyond taking and dropping a reference to the sender.
HRESULT STDMETHODCALLTYPE OnFaviconChanged(ULONG_PTR context, ULONG_PTR sender, ULONG_PTR args);
