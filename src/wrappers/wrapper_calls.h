#pragma once

// The shapes that wrapper methods share. A wrapper method names its COM method and hands it to one
// of these, so that a family of alike methods (plain calls, value and text properties, event
// subscriptions, asynchronous calls) has one body.

#include <windows.h>
#include <unknwn.h>
#include <eventtoken.h>

#include <utility>

#include "com/callback_object.h"
#include "com/interface_holder.h"
#include "com/text.h"

namespace WrapperCalls {

// The held pointer as the interface that the method belongs to.
template <class Interface>
Interface* Held(const InterfaceHolder& holder) {
  return static_cast<Interface*>(holder.Get());
}

// A text argument as UTF-16 for the duration of the call. An absent text becomes the empty string,
// or a null pointer for the arguments that WebView2 takes as optional.
class WideArg {
 public:
  enum class Absent { kEmpty, kNull };
  explicit WideArg(TextArg text, Absent absent = Absent::kEmpty)
      : buffer_(absent == Absent::kNull && text.absent() ? WideBuffer() : TextToWide(text, kCodePageUtf8)) {}
  operator LPCWSTR() const { return WideData(buffer_); }

 private:
  WideBuffer buffer_;
};

// A handler object given as whichever handler interface the method takes: the object's address
// is that interface pointer.
class HandlerArg {
 public:
  explicit HandlerArg(IUnknown* object) : object_(object) {}
  template <class Handler>
  operator Handler*() const {
    return reinterpret_cast<Handler*>(object_);
  }

 private:
  IUnknown* object_;
};

// A holder's slot given as whichever interface out-parameter the method takes. The holder is
// emptied as soon as the slot is made, so it ends empty also when the method is not called.
class OutSlot {
 public:
  explicit OutSlot(InterfaceHolder& target) : target_(target) { target_.Release(); }
  template <class Interface>
  operator Interface**() const {
    return reinterpret_cast<Interface**>(target_.GetAddressOf());
  }

 private:
  InterfaceHolder& target_;
};

// A program routine and its context, and the handler interface that its object is to answer.
struct HandlerRoutine {
  const char* interfaceIdText;
  CallbackRoutine routine;
  ULONG_PTR context;
};
struct SingleArgHandlerRoutine {
  const char* interfaceIdText;
  SingleArgCallbackRoutine routine;
  ULONG_PTR context;
};

inline ComRef MakeHandler(const HandlerRoutine& h) {
  return ComRef(MakeCallbackObject(h.routine, h.context, h.interfaceIdText));
}
inline ComRef MakeHandler(const SingleArgHandlerRoutine& h) {
  return ComRef(MakeSingleArgCallbackObject(h.routine, h.context, h.interfaceIdText));
}

// Calls the method on the held interface and returns its HRESULT; S_FALSE, calling nothing, when
// the holder is empty.
template <class Interface, class Method, class... Arguments>
HRESULT Call(const InterfaceHolder& holder, Method Interface::*method, Arguments&&... arguments) {
  Interface* held = Held<Interface>(holder);
  if (held == nullptr) return S_FALSE;
  return (held->*method)(std::forward<Arguments>(arguments)...);
}

// The value that the method writes to its one out-parameter, zero when the holder is empty or the
// method writes nothing. Its HRESULT is not looked at.
template <class Interface, class Value>
Value Property(const InterfaceHolder& holder, HRESULT (STDMETHODCALLTYPE Interface::*method)(Value*)) {
  Value value{};
  Call(holder, method, &value);
  return value;
}

// A string that COM allocated, converted to 8-bit text and freed; the empty text for null.
std::string TakeText(LPWSTR text, CodePage codePage);

// The text that the method writes, in UTF-8 unless another code page is asked for (std::nullopt
// for the program's own, 936); the empty text when the holder is empty or nothing was written.
template <class Interface, class Method>
std::string TextProperty(const InterfaceHolder& holder, Method Interface::*method, CodePage codePage = kCodePageUtf8) {
  LPWSTR text = nullptr;
  Call(holder, method, &text);
  return TakeText(text, codePage);
}

// Registers a new handler object with the add_ method and returns the token that WebView2 wrote:
// token 0 when the holder is empty, the object cannot be made or WebView2 wrote none. WebView2
// keeps its own reference to the object for as long as the registration lasts; ours goes here.
template <class Interface, class Method>
EventRegistrationToken Subscribe(const InterfaceHolder& holder, Method Interface::*add, const HandlerRoutine& routine) {
  EventRegistrationToken token{};
  Interface* held = Held<Interface>(holder);
  if (held == nullptr) return token;
  const ComRef handler = MakeHandler(routine);
  if (!handler) return token;
  (held->*add)(HandlerArg(handler.Get()), &token);
  return token;
}

// Starts an asynchronous call whose last argument is the completion handler, made from the
// routine, and returns the call's HRESULT; emptyHolder when there is no interface to call,
// E_OUTOFMEMORY when the handler object cannot be made. WebView2 keeps the object until it has
// delivered the completion; our reference goes here, so a call that fails frees it at once.
template <class Interface, class Method, class Routine, class... Arguments>
HRESULT Start(const InterfaceHolder& holder, Method Interface::*method, HRESULT emptyHolder, const Routine& routine,
              Arguments&&... argumentsBeforeHandler) {
  Interface* held = Held<Interface>(holder);
  if (held == nullptr) return emptyHolder;
  const ComRef handler = MakeHandler(routine);
  if (!handler) return E_OUTOFMEMORY;
  return (held->*method)(std::forward<Arguments>(argumentsBeforeHandler)..., HandlerArg(handler.Get()));
}

}  // namespace WrapperCalls
