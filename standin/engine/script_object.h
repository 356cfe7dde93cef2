#pragma once

// The base of the page's own automation objects (window, document, location, ...): IDispatch
// with members looked up by name in a table, so JScript calls them as any automation object.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "engine/script_page.h"

class ScriptObject : public IDispatch {
 public:
  struct Member {
    const wchar_t* name;
    DISPID id;
    bool method = false;  // read without a call, a method is a callable reference to itself
  };

  explicit ScriptObject(ScriptLinkPtr link) : link_(std::move(link)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* exception, UINT* argumentError) override;

 protected:
  virtual ~ScriptObject() = default;

  // The member id for a name; DISPID_UNKNOWN when there is none.
  virtual DISPID MemberId(const std::wstring& name);
  virtual const Member* Members(size_t& count) const = 0;
  // One member: flags says get, put (the value is Argument(params, 0)) or call.
  virtual HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result) = 0;

  const Member* MemberById(DISPID id) const;

  ScriptPage* Page() const { return link_->page; }
  ScriptSession* Session() const { return link_->session; }
  const ScriptLinkPtr& Link() const { return link_; }

 private:
  ScriptLinkPtr link_;
  LONG references_ = 1;
};

// Arguments in script order (DISPPARAMS holds them reversed); null past the last one.
const VARIANT* Argument(const DISPPARAMS& params, UINT index);
// A value as script text (String(value)); empty for null and undefined.
std::wstring VariantText(const VARIANT* value);
bool IsPut(WORD flags);

HRESULT ReturnText(VARIANT* result, const std::wstring& text);
HRESULT ReturnNumber(VARIANT* result, LONG number);
// Takes the caller's reference.
HRESULT ReturnObject(VARIANT* result, IDispatch* object);
