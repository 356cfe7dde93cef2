#include "controller.h"

#include "dispatcher.h"
#include "journal.h"

namespace {

const HRESULT kClosed = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);

}  // namespace

Controller::Controller() : ComObject({IidText::ICoreWebView2Controller}) {}

HRESULT Controller::Create(HWND parent, const PageEngineSettings& settings, Ref<Controller>* controller) {
  Ref<Controller> made = Ref<Controller>::Adopt(new Controller());
  // The view starts out filling its parent; the host places it with put_Bounds.
  GetClientRect(parent, &made->bounds_);
  made->window_ = CreateViewWindow(parent, made->bounds_, made.get());
  if (!made->window_) {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
  }
  made->view_ = MakeObject<View>(made->window_, settings);
  *controller = made;
  return S_OK;
}

Controller::~Controller() { Close(); }

HRESULT Controller::Enter(const char* method) {
  Journalf("ICoreWebView2Controller::%s", method);
  return closed_ ? kClosed : S_OK;
}

HRESULT Controller::get_IsVisible(BOOL* isVisible) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!isVisible) return E_POINTER;
  *isVisible = visible_;
  return S_OK;
}

HRESULT Controller::put_IsVisible(BOOL isVisible) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  visible_ = isVisible != FALSE;
  ShowWindow(window_, visible_ ? SW_SHOWNA : SW_HIDE);
  return S_OK;
}

HRESULT Controller::get_Bounds(RECT* bounds) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!bounds) return E_POINTER;
  *bounds = bounds_;
  return S_OK;
}

HRESULT Controller::put_Bounds(RECT bounds) {
  Journalf("ICoreWebView2Controller::put_Bounds %ld,%ld,%ld,%ld", bounds.left, bounds.top, bounds.right, bounds.bottom);
  if (closed_) return kClosed;
  bounds_ = bounds;
  MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
  return S_OK;
}

HRESULT Controller::get_ZoomFactor(double* zoomFactor) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!zoomFactor) return E_POINTER;
  *zoomFactor = zoomFactor_;
  return S_OK;
}

HRESULT Controller::put_ZoomFactor(double zoomFactor) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  return SetZoom(zoomFactor);
}

HRESULT Controller::SetBoundsAndZoomFactor(RECT bounds, double zoomFactor) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!(zoomFactor > 0)) return E_INVALIDARG;
  put_Bounds(bounds);
  return SetZoom(zoomFactor);
}

// The factor changes at once; ZoomFactorChanged follows through the message loop.
HRESULT Controller::SetZoom(double zoomFactor) {
  if (!(zoomFactor > 0)) return E_INVALIDARG;
  if (zoomFactor == zoomFactor_) return S_OK;
  zoomFactor_ = zoomFactor;
  Ref<Controller> self(this);
  PostToThisThread([self] {
    if (!self->closed_)
      self->zoomFactorChanged_.Raise(static_cast<ICoreWebView2Controller*>(self.get()),
                                     static_cast<IUnknown*>(nullptr));
  });
  return S_OK;
}

HRESULT Controller::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
  Journalf("ICoreWebView2Controller::MoveFocus %d", static_cast<int>(reason));
  if (closed_) return kClosed;
  if (reason < COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC || reason > COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS)
    return E_INVALIDARG;
  SetFocus(window_);
  return S_OK;
}

HRESULT Controller::get_ParentWindow(HWND* parentWindow) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!parentWindow) return E_POINTER;
  *parentWindow = GetParent(window_);
  return S_OK;
}

HRESULT Controller::put_ParentWindow(HWND parentWindow) {
  if (HRESULT entered = Enter(__func__); FAILED(entered)) return entered;
  if (!IsWindow(parentWindow)) return E_INVALIDARG;
  SetParent(window_, parentWindow);
  return S_OK;
}

// The child window moves with its parent by itself.
HRESULT Controller::NotifyParentWindowPositionChanged() { return Enter(__func__); }

HRESULT Controller::Close() {
  Journalf("ICoreWebView2Controller::Close");
  if (closed_) return S_OK;
  closed_ = true;
  ForgetViewWindowOwner(window_);
  if (view_) view_->End();
  if (IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
  zoomFactorChanged_.Clear();
  moveFocusRequested_.Clear();
  gotFocus_.Clear();
  lostFocus_.Clear();
  acceleratorKeyPressed_.Clear();
  return S_OK;
}

HRESULT Controller::get_CoreWebView2(ICoreWebView2** coreWebView2) {
  Journalf("ICoreWebView2Controller::get_CoreWebView2");
  if (!coreWebView2) return E_POINTER;
  *coreWebView2 = nullptr;
  if (closed_) return kClosed;
  *coreWebView2 = view_.get();
  view_->AddRef();
  return S_OK;
}

#define STANDIN_CONTROLLER_EVENT(Event, Handler, list)                               \
  HRESULT Controller::add_##Event(Handler* handler, EventRegistrationToken* token) { \
    if (closed_) return Enter("add_" #Event);                                        \
    return list.Add(handler, token);                                                 \
  }                                                                                  \
  HRESULT Controller::remove_##Event(EventRegistrationToken token) {                 \
    if (closed_) return Enter("remove_" #Event);                                     \
    return list.Remove(token);                                                       \
  }

STANDIN_CONTROLLER_EVENT(ZoomFactorChanged, ICoreWebView2ZoomFactorChangedEventHandler, zoomFactorChanged_)
STANDIN_CONTROLLER_EVENT(MoveFocusRequested, ICoreWebView2MoveFocusRequestedEventHandler, moveFocusRequested_)
STANDIN_CONTROLLER_EVENT(GotFocus, ICoreWebView2FocusChangedEventHandler, gotFocus_)
STANDIN_CONTROLLER_EVENT(LostFocus, ICoreWebView2FocusChangedEventHandler, lostFocus_)
STANDIN_CONTROLLER_EVENT(AcceleratorKeyPressed, ICoreWebView2AcceleratorKeyPressedEventHandler, acceleratorKeyPressed_)

#undef STANDIN_CONTROLLER_EVENT

void Controller::PaintWindow(HDC dc, const RECT& client) {
  if (view_) view_->Paint(dc, client);
}

void Controller::ClickWindow(POINT point) {
  if (view_) view_->Click(point);
}

void Controller::WheelWindow(int delta) {
  if (view_) view_->Wheel(delta);
}

// Focus messages arrive inside SetFocus, which may be the host's own call: the events follow later.
void Controller::WindowFocusChanged(bool gotFocus) {
  Ref<Controller> self(this);
  PostToThisThread([self, gotFocus] {
    if (self->closed_) return;
    auto& list = gotFocus ? self->gotFocus_ : self->lostFocus_;
    list.Raise(static_cast<ICoreWebView2Controller*>(self.get()), static_cast<IUnknown*>(nullptr));
  });
}
