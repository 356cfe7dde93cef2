#pragma once

// The controller, ICoreWebView2Controller: the child window that shows the view inside the
// host's window, its bounds, visibility, zoom and focus, and Close, which ends the view.

#include <windows.h>

#include "com_object.h"
#include "engine/page_engine.h"
#include "event_list.h"
#include "view.h"
#include "view_window.h"
#include "webview2/webview2.h"

class Controller : public ComObject<ICoreWebView2Controller>, public ViewWindowOwner {
 public:
  // A controller with its child window in parent; a failure HRESULT when the window cannot be made.
  static HRESULT Create(HWND parent, const PageEngineSettings& settings, Ref<Controller>* controller);
  ~Controller() override;

  HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) override;
  HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) override;
  HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) override;
  HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
  HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) override;
  HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* handler,
                                                  EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) override;
  HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) override;
  HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* handler,
                                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                         EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler* handler,
                                          EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* handler,
                                                      EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) override;
  HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND parentWindow) override;
  HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) override;

  // ViewWindowOwner
  void PaintWindow(HDC dc, const RECT& client) override;
  void ClickWindow(POINT point) override;
  void WheelWindow(int delta) override;
  void WindowFocusChanged(bool gotFocus) override;

 private:
  Controller();
  // Journals the call; answers S_OK, or the error for a call after Close.
  HRESULT Enter(const char* method);
  HRESULT SetZoom(double zoomFactor);

  HWND window_ = nullptr;
  Ref<View> view_;
  RECT bounds_{};
  bool visible_ = true;
  double zoomFactor_ = 1.0;
  bool closed_ = false;

  EventList<ICoreWebView2ZoomFactorChangedEventHandler> zoomFactorChanged_{"ZoomFactorChanged"};
  EventList<ICoreWebView2MoveFocusRequestedEventHandler> moveFocusRequested_{"MoveFocusRequested"};
  EventList<ICoreWebView2FocusChangedEventHandler> gotFocus_{"GotFocus"};
  EventList<ICoreWebView2FocusChangedEventHandler> lostFocus_{"LostFocus"};
  EventList<ICoreWebView2AcceleratorKeyPressedEventHandler> acceleratorKeyPressed_{"AcceleratorKeyPressed"};
};
