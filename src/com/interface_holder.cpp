#include "com/interface_holder.h"

#include <cstring>

ComRef& ComRef::operator=(ComRef&& other) noexcept {
  if (this != &other) {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = other.Detach();
  }
  return *this;
}

ComRef::~ComRef() {
  if (pointer_ != nullptr) pointer_->Release();
}

IUnknown* ComRef::Detach() {
  IUnknown* pointer = pointer_;
  pointer_ = nullptr;
  return pointer;
}

InterfaceHolder::InterfaceHolder(const InterfaceHolder& other) { Set(other.Get()); }

InterfaceHolder& InterfaceHolder::operator=(const InterfaceHolder& other) {
  if (other.Get() == nullptr) {
    Release();
  } else {
    Set(other.Get());
  }
  return *this;
}

InterfaceHolder::~InterfaceHolder() { InterfaceHolder::Release(); }

std::unique_ptr<InterfaceHolder> InterfaceHolder::Clone() const {
  return std::make_unique<InterfaceHolder>(*this);
}

void InterfaceHolder::Release() {
  if (pointer_ != nullptr) {
    pointer_->Release();
    pointer_ = nullptr;
  }
}

IUnknown* InterfaceHolder::Get() const { return pointer_; }

IUnknown** InterfaceHolder::GetAddressOf() {
  Release();
  return &pointer_;
}

bool InterfaceHolder::Set(IUnknown* p) {
  if (p == nullptr) return false;
  // The new reference comes first, so that setting the held interface again keeps it alive.
  p->AddRef();
  Release();
  pointer_ = p;
  return true;
}

bool InterfaceHolder::Attach(IUnknown* p) {
  if (p == nullptr) return false;
  Release();
  pointer_ = p;
  return true;
}

HRESULT QueryInterfaceByText(IUnknown* object, TextArg interfaceIdText, void** result) {
  const ByteBuffer bytes = ParseInterfaceId(interfaceIdText);
  IID id{};
  std::memcpy(&id, bytes.data(), sizeof(id));
  return object->QueryInterface(id, result);
}

HRESULT InterfaceHolder::QueryInto(TextArg interfaceIdText, InterfaceHolder& target) const {
  // Emptied also when there is nothing to ask.
  target.Release();
  IUnknown* source = Get();
  if (source == nullptr) return S_FALSE;
  return QueryInterfaceByText(source, interfaceIdText, reinterpret_cast<void**>(target.GetAddressOf()));
}

ComRef InterfaceHolder::Duplicate() const {
  IUnknown* pointer = Get();
  if (pointer != nullptr) pointer->AddRef();
  return ComRef(pointer);
}
