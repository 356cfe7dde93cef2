#include "wrappers/controller_wrapper.h"

#include "wrappers/wrapper_calls.h"

using namespace WrapperCalls;

namespace {

// The low 32 bits of the exact sum; unsigned arithmetic wraps where signed would overflow.
LONG WrappedSum(std::int32_t start, std::int32_t extent) {
  return static_cast<LONG>(static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(extent));
}

}  // namespace

ControllerWrapper::~ControllerWrapper() = default;

std::unique_ptr<InterfaceHolder> ControllerWrapper::Clone() const { return std::make_unique<ControllerWrapper>(*this); }

BOOL ControllerWrapper::get_IsVisible() { return Property(*this, &ICoreWebView2Controller::get_IsVisible); }

HRESULT ControllerWrapper::put_IsVisible(BOOL isVisible) {
  return Call(*this, &ICoreWebView2Controller::put_IsVisible, isVisible);
}

HRESULT ControllerWrapper::get_Bounds(RECT& bounds) {
  return Call(*this, &ICoreWebView2Controller::get_Bounds, &bounds);
}

HRESULT ControllerWrapper::put_Bounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  return Call(*this, &ICoreWebView2Controller::put_Bounds,
              RECT{left, top, WrappedSum(left, width), WrappedSum(top, height)});
}

HRESULT ControllerWrapper::put_BoundsRect(const RECT& bounds) {
  return Call(*this, &ICoreWebView2Controller::put_Bounds, bounds);
}

double ControllerWrapper::get_ZoomFactor() { return Property(*this, &ICoreWebView2Controller::get_ZoomFactor); }

HRESULT ControllerWrapper::put_ZoomFactor(double zoomFactor) {
  return Call(*this, &ICoreWebView2Controller::put_ZoomFactor, zoomFactor);
}

EventRegistrationToken ControllerWrapper::add_ZoomFactorChanged(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2Controller::add_ZoomFactorChanged,
                   {IidText::ICoreWebView2ZoomFactorChangedEventHandler, routine, context});
}

HRESULT ControllerWrapper::remove_ZoomFactorChanged(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2Controller::remove_ZoomFactorChanged, token);
}

HRESULT ControllerWrapper::SetBoundsAndZoomFactor(const RECT& bounds, double zoomFactor) {
  return Call(*this, &ICoreWebView2Controller::SetBoundsAndZoomFactor, bounds, zoomFactor);
}

HRESULT ControllerWrapper::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
  return Call(*this, &ICoreWebView2Controller::MoveFocus, reason);
}

EventRegistrationToken ControllerWrapper::add_MoveFocusRequested(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2Controller::add_MoveFocusRequested,
                   {IidText::ICoreWebView2MoveFocusRequestedEventHandler, routine, context});
}

HRESULT ControllerWrapper::remove_MoveFocusRequested(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2Controller::remove_MoveFocusRequested, token);
}

// GotFocus and LostFocus share one handler interface.
EventRegistrationToken ControllerWrapper::add_GotFocus(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2Controller::add_GotFocus,
                   {IidText::ICoreWebView2FocusChangedEventHandler, routine, context});
}

HRESULT ControllerWrapper::remove_GotFocus(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2Controller::remove_GotFocus, token);
}

EventRegistrationToken ControllerWrapper::add_LostFocus(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2Controller::add_LostFocus,
                   {IidText::ICoreWebView2FocusChangedEventHandler, routine, context});
}

HRESULT ControllerWrapper::remove_LostFocus(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2Controller::remove_LostFocus, token);
}

EventRegistrationToken ControllerWrapper::add_AcceleratorKeyPressed(CallbackRoutine routine, ULONG_PTR context) {
  return Subscribe(*this, &ICoreWebView2Controller::add_AcceleratorKeyPressed,
                   {IidText::ICoreWebView2AcceleratorKeyPressedEventHandler, routine, context});
}

HRESULT ControllerWrapper::remove_AcceleratorKeyPressed(EventRegistrationToken token) {
  return Call(*this, &ICoreWebView2Controller::remove_AcceleratorKeyPressed, token);
}

HWND ControllerWrapper::get_ParentWindow() { return Property(*this, &ICoreWebView2Controller::get_ParentWindow); }

HRESULT ControllerWrapper::put_ParentWindow(HWND parentWindow) {
  return Call(*this, &ICoreWebView2Controller::put_ParentWindow, parentWindow);
}

HRESULT ControllerWrapper::NotifyParentWindowPositionChanged() {
  return Call(*this, &ICoreWebView2Controller::NotifyParentWindowPositionChanged);
}

HRESULT ControllerWrapper::Close() { return Call(*this, &ICoreWebView2Controller::Close); }

HRESULT ControllerWrapper::get_CoreWebView2(InterfaceHolder& webView) {
  return Call(*this, &ICoreWebView2Controller::get_CoreWebView2, OutSlot(webView));
}
