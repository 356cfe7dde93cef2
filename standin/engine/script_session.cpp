#include "engine/script_session.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dispatcher.h"
#include "engine/page_objects.h"
#include "engine/script_object.h"
#include "journal.h"

namespace {

// The site JScript talks to; it outlives the session only while JScript still holds it.
class Site : public IActiveScriptSite {
 public:
  explicit Site(const ScriptLinkPtr& link) : link_(link) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IActiveScriptSite)) {
      *object = static_cast<IActiveScriptSite*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetLCID(LCID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemInfo(LPCOLESTR name, DWORD mask, IUnknown** item, ITypeInfo** info) override {
    if (mask & SCRIPTINFO_ITYPEINFO) {
      if (info == nullptr) return E_POINTER;
      *info = nullptr;
    }
    if (mask & SCRIPTINFO_IUNKNOWN) {
      if (item == nullptr) return E_POINTER;
      *item = nullptr;
      IDispatch* found = link_->session && name ? link_->session->NamedItem(name) : nullptr;
      if (found == nullptr) return TYPE_E_ELEMENTNOTFOUND;
      found->AddRef();
      *item = found;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDocVersionString(BSTR* version) override {
    if (version) *version = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnScriptTerminate(const VARIANT*, const EXCEPINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStateChange(SCRIPTSTATE) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnScriptError(IActiveScriptError* error) override {
    if (link_->session && error) link_->session->OnError(error);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnEnterScript() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnLeaveScript() override { return S_OK; }

 private:
  virtual ~Site() = default;

  ScriptLinkPtr link_;
  LONG references_ = 1;
};

void JournalException(const char* where, const EXCEPINFO& exception) {
  Journalf("engine: script error in %s: %ls (0x%08lx)", where,
           exception.bstrDescription ? exception.bstrDescription : L"", static_cast<unsigned long>(exception.scode));
}

void ClearException(EXCEPINFO& exception) {
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  exception = EXCEPINFO{};
}

// A named property of an automation object; VT_EMPTY when it has none.
VARIANT GetProperty(IDispatch* object, const wchar_t* name) {
  VARIANT value;
  VariantInit(&value);
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (object == nullptr || FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return value;
  DISPPARAMS none{};
  object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr);
  return value;
}

}  // namespace

ScriptSession::ScriptSession(ScriptPage& page) : link_(std::make_shared<ScriptLink>()) {
  VariantInit(&onload_);
  link_->page = &page;
  link_->session = this;
  items_[L"window"] = MakeWindowObject(link_);
  items_[L"document"] = MakeDocumentObject(link_);
  items_[L"location"] = MakeLocationObject(link_);
  items_[L"chrome"] = MakeChromeObject(link_);
  items_[L"console"] = MakeConsoleObject(link_);

  CLSID jscript;
  HRESULT hr = CLSIDFromProgID(L"JScript", &jscript);
  if (SUCCEEDED(hr)) {
    hr =
        CoCreateInstance(jscript, nullptr, CLSCTX_INPROC_SERVER, IID_IActiveScript, reinterpret_cast<void**>(&script_));
  }
  if (SUCCEEDED(hr)) hr = script_->QueryInterface(__uuidof(IActiveScriptParse), reinterpret_cast<void**>(&parse_));
  if (FAILED(hr)) {
    Journalf("engine: no JScript engine (0x%08lx)", static_cast<unsigned long>(hr));
    return;
  }
  // JScript 5.8 has JSON, which ExecuteScript needs for objects.
  IActiveScriptProperty* property = nullptr;
  if (SUCCEEDED(script_->QueryInterface(__uuidof(IActiveScriptProperty), reinterpret_cast<void**>(&property)))) {
    VARIANT version;
    V_VT(&version) = VT_I4;
    V_I4(&version) = SCRIPTLANGUAGEVERSION_5_8;
    property->SetProperty(SCRIPTPROP_INVOKEVERSIONING, nullptr, &version);
    property->Release();
  }
  site_ = new Site(link_);
  script_->SetScriptSite(site_);
  parse_->InitNew();
  for (const auto& item : items_) {
    const DWORD flags = SCRIPTITEM_ISVISIBLE | (item.first == L"window" ? SCRIPTITEM_GLOBALMEMBERS : 0);
    script_->AddNamedItem(item.first.c_str(), flags);
  }
  script_->SetScriptState(SCRIPTSTATE_CONNECTED);
}

void ScriptSession::CancelTimersAndListeners() {
  for (auto& timer : timers_) {
    CancelDelayed(timer.second.delayed);
    VariantClear(&timer.second.work);
  }
  timers_.clear();
  for (Listener& listener : listeners_) listener.function->Release();
  listeners_.clear();
  VariantClear(&onload_);
}

bool ScriptSession::Discard(std::unique_ptr<ScriptSession> session) {
  if (!session || session->busy_ == 0) return false;
  // Its objects now answer E_ACCESSDENIED, so the running script ends in an exception.
  session->link_->page = nullptr;
  session->link_->session = nullptr;
  session->CancelTimersAndListeners();
  session->discarded_ = true;
  session.release();  // BusyScope deletes it
  return true;
}

ScriptSession::BusyScope::BusyScope(ScriptSession& session) : session_(session) { ++session_.busy_; }

ScriptSession::BusyScope::~BusyScope() {
  if (--session_.busy_ > 0 || !session_.discarded_) return;
  // Later, not here: the caller still returns through the session's own code.
  ScriptSession* const session = &session_;
  PostToThisThread([session] { delete session; });
}

ScriptSession::~ScriptSession() {
  CancelTimersAndListeners();
  if (script_) {
    script_->SetScriptState(SCRIPTSTATE_CLOSED);
    script_->Close();
  }
  if (parse_) parse_->Release();
  if (script_) script_->Release();
  if (site_) site_->Release();
  link_->page = nullptr;
  link_->session = nullptr;
  for (auto& item : items_) item.second->Release();
}

bool ScriptSession::Parse(const std::wstring& code, DWORD flags, VARIANT* result) {
  if (parse_ == nullptr || discarded_) return false;
  const BusyScope busy(*this);
  failed_ = false;
  EXCEPINFO exception{};
  const HRESULT hr = parse_->ParseScriptText(code.c_str(), nullptr, nullptr, nullptr, 0, 0, flags, result, &exception);
  if (FAILED(hr) && !failed_) JournalException("page script", exception);
  ClearException(exception);
  return SUCCEEDED(hr) && !failed_;
}

bool ScriptSession::Run(const std::wstring& code) { return Parse(code, 0, nullptr); }

std::wstring ScriptSession::EvaluateToJson(const std::wstring& code) {
  const BusyScope busy(*this);
  VARIANT value;
  VariantInit(&value);
  std::wstring json = Parse(code, SCRIPTTEXT_ISEXPRESSION, &value) ? ToJson(value) : L"null";
  VariantClear(&value);
  return json;
}

void ScriptSession::OnError(IActiveScriptError* error) {
  failed_ = true;
  EXCEPINFO exception{};
  error->GetExceptionInfo(&exception);
  if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
  DWORD context = 0;
  ULONG line = 0;
  LONG column = 0;
  error->GetSourcePosition(&context, &line, &column);
  Journalf("engine: script error at line %lu column %ld: %ls (0x%08lx)", line + 1, column,
           exception.bstrDescription ? exception.bstrDescription : L"", static_cast<unsigned long>(exception.scode));
  ClearException(exception);
}

IDispatch* ScriptSession::NamedItem(const std::wstring& name) const {
  const auto found = items_.find(name);
  return found == items_.end() ? nullptr : found->second;
}

LONG ScriptSession::SetTimeout(const VARIANT& work, UINT milliseconds, bool repeat) {
  const LONG id = nextTimer_++;
  Timer& timer = timers_[id];
  VariantInit(&timer.work);
  if (V_VT(&work) == VT_DISPATCH) {
    VariantCopy(&timer.work, const_cast<VARIANT*>(&work));
  } else {
    const std::wstring code = VariantText(&work);
    V_VT(&timer.work) = VT_BSTR;
    V_BSTR(&timer.work) = SysAllocStringLen(code.data(), static_cast<UINT>(code.size()));
  }
  timer.milliseconds = milliseconds;
  timer.repeat = repeat;
  Schedule(id);
  return id;
}

void ScriptSession::Schedule(LONG id) {
  const ScriptLinkPtr link = link_;
  timers_[id].delayed = PostDelayed(timers_[id].milliseconds, [link, id] {
    if (link->session) link->session->Fire(id);
  });
}

void ScriptSession::ClearTimeout(LONG id) {
  const auto found = timers_.find(id);
  if (found == timers_.end()) return;
  CancelDelayed(found->second.delayed);
  VariantClear(&found->second.work);
  timers_.erase(found);
}

void ScriptSession::Fire(LONG id) {
  const BusyScope busy(*this);
  const auto found = timers_.find(id);
  if (found == timers_.end()) return;
  // The timer's own copy: the function may clear the timer or end the document.
  VARIANT work;
  VariantInit(&work);
  VariantCopy(&work, &found->second.work);
  if (found->second.repeat) {
    Schedule(id);
  } else {
    VariantClear(&found->second.work);
    timers_.erase(found);
  }
  if (V_VT(&work) == VT_DISPATCH && V_DISPATCH(&work)) {
    CallFunction(V_DISPATCH(&work), "timer");
  } else if (V_VT(&work) == VT_BSTR && V_BSTR(&work)) {
    Run(V_BSTR(&work));
  }
  VariantClear(&work);
}

void ScriptSession::CallFunction(IDispatch* function, const char* what) {
  DISPPARAMS none{};
  EXCEPINFO exception{};
  VARIANT result;
  VariantInit(&result);
  const HRESULT hr = function->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, &result,
                                      &exception, nullptr);
  if (FAILED(hr)) JournalException(what, exception);
  ClearException(exception);
  VariantClear(&result);
}

void ScriptSession::AddListener(const std::wstring& type, const VARIANT& listener) {
  if (V_VT(&listener) != VT_DISPATCH || V_DISPATCH(&listener) == nullptr) return;
  for (const Listener& existing : listeners_) {
    if (existing.type == type && existing.function == V_DISPATCH(&listener)) return;  // added once, as the DOM does
  }
  V_DISPATCH(&listener)->AddRef();
  listeners_.push_back(Listener{type, V_DISPATCH(&listener)});
}

void ScriptSession::RemoveListener(const std::wstring& type, const VARIANT& listener) {
  if (V_VT(&listener) != VT_DISPATCH) return;
  for (auto it = listeners_.begin(); it != listeners_.end(); ++it) {
    if (it->type == type && it->function == V_DISPATCH(&listener)) {
      it->function->Release();
      listeners_.erase(it);
      return;
    }
  }
}

void ScriptSession::FireEvent(const std::wstring& type) {
  const BusyScope busy(*this);
  // A listener may add or remove listeners, or end the document: call a snapshot, each held.
  std::vector<IDispatch*> functions;
  for (const Listener& listener : listeners_) {
    if (listener.type == type) functions.push_back(listener.function);
  }
  if (type == L"load" && V_VT(&onload_) == VT_DISPATCH && V_DISPATCH(&onload_))
    functions.push_back(V_DISPATCH(&onload_));
  for (IDispatch* function : functions) function->AddRef();
  const ScriptLinkPtr link = link_;
  for (IDispatch* function : functions) {
    if (link->session) CallFunction(function, "event listener");
    function->Release();
  }
}

std::wstring ScriptSession::ToJson(const VARIANT& value) {
  switch (V_VT(&value)) {
    case VT_BOOL: return V_BOOL(&value) ? L"true" : L"false";
    case VT_BSTR: return JsonQuote(V_BSTR(&value) ? std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value))) : L"");
    case VT_DISPATCH: break;
    case VT_EMPTY:
    case VT_NULL: return L"null";
    default: {
      VARIANT number;
      VariantInit(&number);
      if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(&value), 0, VT_R8))) return L"null";
      return JsonNumber(V_R8(&number));
    }
  }
  // Objects through the engine's own JSON.stringify, which gives undefined (null here) for
  // functions, as the runtime answers.
  IDispatch* global = nullptr;
  if (script_ == nullptr || FAILED(script_->GetScriptDispatch(nullptr, &global))) return L"null";
  VARIANT json = GetProperty(global, L"JSON");
  global->Release();
  std::wstring text = L"null";
  DISPID stringify = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"stringify")};
  if (V_VT(&json) == VT_DISPATCH && V_DISPATCH(&json) &&
      SUCCEEDED(V_DISPATCH(&json)->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &stringify))) {
    VARIANT argument = value;
    DISPPARAMS params{&argument, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    if (SUCCEEDED(V_DISPATCH(&json)->Invoke(stringify, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &result,
                                            nullptr, nullptr)) &&
        V_VT(&result) == VT_BSTR && V_BSTR(&result)) {
      text.assign(V_BSTR(&result), SysStringLen(V_BSTR(&result)));
    }
    VariantClear(&result);
  }
  VariantClear(&json);
  return text;
}

std::wstring JsonQuote(const std::wstring& text) {
  std::wstring out = L"\"";
  for (wchar_t c : text) {
    switch (c) {
      case L'"': out += L"\\\""; break;
      case L'\\': out += L"\\\\"; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      case L'\b': out += L"\\b"; break;
      case L'\f': out += L"\\f"; break;
      default:
        if (c < 0x20) {
          wchar_t escaped[8];
          swprintf(escaped, 8, L"\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out.push_back(c);
        }
    }
  }
  return out + L"\"";
}

std::wstring JsonNumber(double value) {
  if (std::isnan(value) || std::isinf(value)) return L"null";
  if (value == 0) return L"0";
  char text[40];
  if (value == std::floor(value) && std::fabs(value) < 1e21) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    // The shortest form that reads back the same, as JavaScript prints numbers.
    for (int precision = 1; precision <= 17; ++precision) {
      std::snprintf(text, sizeof text, "%.*g", precision, value);
      if (std::strtod(text, nullptr) == value) break;
    }
  }
  std::string out = text;
  // C writes "1e-07" where JavaScript writes "1e-7".
  const size_t exponent = out.find('e');
  if (exponent != std::string::npos) {
    size_t digits = exponent + 2;
    while (digits + 1 < out.size() && out[digits] == '0') out.erase(digits, 1);
  }
  return std::wstring(out.begin(), out.end());
}
