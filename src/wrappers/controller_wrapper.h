#pragma once

// The controller that places the browser inside its parent window: visibility, bounds, zoom,
// focus, the parent window and the controller's five events.

#include <windows.h>
#include <eventtoken.h>

#include <cstdint>
#include <memory>

#include "com/callback_object.h"
#include "com/interface_holder.h"
#include "webview2/controller.h"

// Holds an ICoreWebView2Controller. Every event routine receives (context, controller, args).
class ControllerWrapper : public InterfaceHolder {
 public:
  ControllerWrapper() = default;
  ~ControllerWrapper() override;
  std::unique_ptr<InterfaceHolder> Clone() const override;

  virtual BOOL get_IsVisible();
  virtual HRESULT put_IsVisible(BOOL isVisible);
  // Fills bounds in place; leaves it untouched when the holder is empty.
  virtual HRESULT get_Bounds(RECT& bounds);
  // right and bottom are the sums cut to 32 bits: a sum past the signed range wraps around, and a
  // negative extent gives right or bottom below left or top. Nothing is clamped.
  virtual HRESULT put_Bounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);
  virtual HRESULT put_BoundsRect(const RECT& bounds);
  virtual double get_ZoomFactor();
  virtual HRESULT put_ZoomFactor(double zoomFactor);
  virtual EventRegistrationToken add_ZoomFactorChanged(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_ZoomFactorChanged(EventRegistrationToken token);
  virtual HRESULT SetBoundsAndZoomFactor(const RECT& bounds, double zoomFactor);
  virtual HRESULT MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason);
  virtual EventRegistrationToken add_MoveFocusRequested(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_MoveFocusRequested(EventRegistrationToken token);
  virtual EventRegistrationToken add_GotFocus(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_GotFocus(EventRegistrationToken token);
  virtual EventRegistrationToken add_LostFocus(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_LostFocus(EventRegistrationToken token);
  virtual EventRegistrationToken add_AcceleratorKeyPressed(CallbackRoutine routine, ULONG_PTR context);
  virtual HRESULT remove_AcceleratorKeyPressed(EventRegistrationToken token);
  virtual HWND get_ParentWindow();
  virtual HRESULT put_ParentWindow(HWND parentWindow);
  virtual HRESULT NotifyParentWindowPositionChanged();
  virtual HRESULT Close();
  // Empties webView, then fills it with the controller's view; it stays empty when this holder is.
  virtual HRESULT get_CoreWebView2(InterfaceHolder& webView);
};
