#include "engine/page_objects.h"

#include <vector>

#include "engine/html_reader.h"
#include "engine/script_object.h"
#include "engine/script_session.h"
#include "journal.h"

namespace {

#define MEMBERS(...)                                    \
  const Member* Members(size_t& count) const override { \
    static const Member kMembers[] = {__VA_ARGS__};     \
    count = sizeof kMembers / sizeof kMembers[0];       \
    return kMembers;                                    \
  }

IDispatch* NamedItem(ScriptSession* session, const wchar_t* name) {
  IDispatch* item = session ? session->NamedItem(name) : nullptr;
  if (item) item->AddRef();
  return item;
}

// addEventListener(type, listener) and removeEventListener, the same on window and document.
HRESULT UpdateListeners(ScriptSession* session, bool add, const DISPPARAMS& params) {
  const VARIANT* type = Argument(params, 0);
  const VARIANT* listener = Argument(params, 1);
  if (type == nullptr || listener == nullptr) return DISP_E_BADPARAMCOUNT;
  if (add) {
    session->AddListener(VariantText(type), *listener);
  } else {
    session->RemoveListener(VariantText(type), *listener);
  }
  return S_OK;
}

class WindowObject : public ScriptObject {
 public:
  using ScriptObject::ScriptObject;

 private:
  enum : DISPID {
    kSetTimeout = 1,
    kClearTimeout,
    kSetInterval,
    kClearInterval,
    kAlert,
    kDocument,
    kLocation,
    kChrome,
    kConsole,
    kWindow,
    kSelf,
    kAddEventListener,
    kRemoveEventListener,
    kOnLoad
  };
  MEMBERS({L"setTimeout", kSetTimeout, true}, {L"clearTimeout", kClearTimeout, true},
          {L"setInterval", kSetInterval, true}, {L"clearInterval", kClearInterval, true}, {L"alert", kAlert, true},
          {L"document", kDocument}, {L"location", kLocation}, {L"chrome", kChrome}, {L"console", kConsole},
          {L"window", kWindow}, {L"self", kSelf}, {L"addEventListener", kAddEventListener, true},
          {L"removeEventListener", kRemoveEventListener, true}, {L"onload", kOnLoad})

  HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result) override {
    ScriptSession* session = Session();
    switch (id) {
      case kSetTimeout:
      case kSetInterval: {
        const VARIANT* work = Argument(params, 0);
        if (work == nullptr) return DISP_E_BADPARAMCOUNT;
        const VARIANT* delay = Argument(params, 1);
        const long milliseconds = delay ? _wtol(VariantText(delay).c_str()) : 0;
        return ReturnNumber(result,
                            session->SetTimeout(*work, milliseconds > 0 ? milliseconds : 0, id == kSetInterval));
      }
      case kClearTimeout:
      case kClearInterval:
        if (const VARIANT* timer = Argument(params, 0)) session->ClearTimeout(_wtol(VariantText(timer).c_str()));
        return S_OK;
      case kAlert: Journalf("engine: alert %ls", VariantText(Argument(params, 0)).c_str()); return S_OK;
      case kDocument: return ReturnObject(result, NamedItem(session, L"document"));
      case kLocation:
        if (!IsPut(flags)) return ReturnObject(result, NamedItem(session, L"location"));
        Page()->RequestNavigation(VariantText(Argument(params, 0)));
        return S_OK;
      case kChrome: return ReturnObject(result, NamedItem(session, L"chrome"));
      case kConsole: return ReturnObject(result, NamedItem(session, L"console"));
      case kAddEventListener:
      case kRemoveEventListener: return UpdateListeners(session, id == kAddEventListener, params);
      case kOnLoad:
        if (IsPut(flags)) {
          const VARIANT* handler = Argument(params, 0);
          return handler ? VariantCopy(&session->OnLoadHandler(), const_cast<VARIANT*>(handler)) : DISP_E_BADPARAMCOUNT;
        }
        return VariantCopy(result, &session->OnLoadHandler());
      default: return ReturnObject(result, NamedItem(session, L"window"));
    }
  }
};

// An element with an id, or the body (elementIndex -1): its text can be read and replaced.
class ElementObject : public ScriptObject {
 public:
  ElementObject(const ScriptLinkPtr& link, int elementIndex) : ScriptObject(link), elementIndex_(elementIndex) {}

 private:
  enum : DISPID { kText = 1, kHtml, kId };
  MEMBERS({L"innerText", kText}, {L"textContent", kText}, {L"innerHTML", kHtml}, {L"id", kId})

  HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result) override {
    HtmlDocument& document = Page()->Document();
    size_t first = 0, end = document.pieces.size();
    if (elementIndex_ >= 0) {
      if (static_cast<size_t>(elementIndex_) >= document.elements.size()) return E_UNEXPECTED;
      const ElementRange& element = document.elements[elementIndex_];
      first = element.first;
      end = element.end;
      if (id == kId) return ReturnText(result, element.id);
    }
    if (id == kId) return ReturnText(result, L"");
    if (!IsPut(flags)) return ReturnText(result, RangeText(document, first, end));
    const std::wstring value = VariantText(Argument(params, 0));
    std::vector<Piece> replacement;
    if (id == kHtml) {
      replacement = ReadHtml(value, Page()->DocumentUri()).pieces;
    } else {
      replacement = TextPieces(value);
    }
    ReplaceRange(document, first, end, std::move(replacement));
    Page()->DocumentChanged();
    return S_OK;
  }

  const int elementIndex_;
};

class DocumentObject : public ScriptObject {
 public:
  using ScriptObject::ScriptObject;

 private:
  enum : DISPID {
    kTitle = 1,
    kBody,
    kDocumentElement,
    kGetElementById,
    kLocation,
    kUrl,
    kAddEventListener,
    kRemoveEventListener,
    kWrite,
    kWriteLine
  };
  MEMBERS({L"title", kTitle}, {L"body", kBody}, {L"documentElement", kDocumentElement},
          {L"getElementById", kGetElementById, true}, {L"location", kLocation}, {L"URL", kUrl},
          {L"addEventListener", kAddEventListener, true}, {L"removeEventListener", kRemoveEventListener, true},
          {L"write", kWrite, true}, {L"writeln", kWriteLine, true})

  HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result) override {
    switch (id) {
      case kWrite:
      case kWriteLine: {
        // Scripts run once the page is read, so what they write lands at its end.
        std::wstring html;
        for (UINT i = 0; i < params.cArgs; ++i) html += VariantText(Argument(params, i));
        HtmlDocument& document = Page()->Document();
        const size_t end = document.pieces.size();
        ReplaceRange(document, end, end, ReadHtml(html, Page()->DocumentUri()).pieces);
        Page()->DocumentChanged();
        return S_OK;
      }
      case kTitle:
        if (!IsPut(flags)) return ReturnText(result, Page()->DocumentTitle());
        Page()->SetDocumentTitle(VariantText(Argument(params, 0)));
        return S_OK;
      case kBody:
      case kDocumentElement: return ReturnObject(result, new ElementObject(Link(), -1));
      case kGetElementById: {
        const std::wstring wanted = VariantText(Argument(params, 0));
        const std::vector<ElementRange>& elements = Page()->Document().elements;
        for (size_t i = 0; i < elements.size(); ++i) {
          if (elements[i].id == wanted) return ReturnObject(result, new ElementObject(Link(), static_cast<int>(i)));
        }
        return ReturnObject(result, nullptr);
      }
      case kAddEventListener:
      case kRemoveEventListener: return UpdateListeners(Session(), id == kAddEventListener, params);
      case kLocation:
        if (!IsPut(flags)) return ReturnObject(result, NamedItem(Session(), L"location"));
        Page()->RequestNavigation(VariantText(Argument(params, 0)));
        return S_OK;
      default: return ReturnText(result, Page()->DocumentUri());
    }
  }
};

class LocationObject : public ScriptObject {
 public:
  using ScriptObject::ScriptObject;

 private:
  enum : DISPID { kHref = 1, kReload, kAssign, kReplace, kToString };
  MEMBERS({L"href", kHref}, {L"reload", kReload, true}, {L"assign", kAssign, true}, {L"replace", kReplace, true},
          {L"toString", kToString, true})

  HRESULT Call(DISPID id, WORD flags, const DISPPARAMS& params, VARIANT* result) override {
    ScriptPage* page = Page();
    switch (id) {
      case kReload: page->RequestNavigation(page->DocumentUri()); return S_OK;
      case kAssign:
      case kReplace: page->RequestNavigation(VariantText(Argument(params, 0))); return S_OK;
      case kHref:
        if (!IsPut(flags)) return ReturnText(result, page->DocumentUri());
        page->RequestNavigation(VariantText(Argument(params, 0)));
        return S_OK;
      default: return ReturnText(result, page->DocumentUri());  // toString and the default value
    }
  }
  DISPID MemberId(const std::wstring& name) override {
    return name.empty() ? DISPID_VALUE : ScriptObject::MemberId(name);
  }
};

// chrome.webview.hostObjects.sync.NAME: the published host object itself, or undefined.
class SyncHostObjects : public ScriptObject {
 public:
  using ScriptObject::ScriptObject;

 private:
  const Member* Members(size_t& count) const override {
    count = 0;
    return nullptr;
  }
  // Every name answers, so an unpublished one reads as undefined rather than failing.
  DISPID MemberId(const std::wstring& name) override {
    for (size_t i = 0; i < names_.size(); ++i) {
      if (names_[i] == name) return static_cast<DISPID>(i + 1);
    }
    names_.push_back(name);
    return static_cast<DISPID>(names_.size());
  }
  HRESULT Call(DISPID id, WORD flags, const DISPPARAMS&, VARIANT* result) override {
    if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
    if (id < 1 || static_cast<size_t>(id) > names_.size()) return DISP_E_MEMBERNOTFOUND;
    IDispatch* object = Page()->FindHostObject(names_[id - 1]);
    if (object == nullptr) {
      V_VT(result) = VT_EMPTY;
      return S_OK;
    }
    object->AddRef();
    return ReturnObject(result, object);
  }

  std::vector<std::wstring> names_;
};

// An object with members that are further objects made on each read: chrome.webview.hostObjects.
class PathObject : public ScriptObject {
 public:
  enum Kind { kChrome, kWebview, kHostObjects };
  PathObject(const ScriptLinkPtr& link, Kind kind) : ScriptObject(link), kind_(kind) {}

 private:
  const Member* Members(size_t& count) const override {
    static const Member kChromeMembers[] = {{L"webview", 1}};
    static const Member kWebviewMembers[] = {{L"hostObjects", 1}};
    static const Member kHostObjectsMembers[] = {{L"sync", 1}};
    count = 1;
    return kind_ == kChrome ? kChromeMembers : kind_ == kWebview ? kWebviewMembers : kHostObjectsMembers;
  }
  HRESULT Call(DISPID, WORD flags, const DISPPARAMS&, VARIANT* result) override {
    if (IsPut(flags)) return DISP_E_MEMBERNOTFOUND;
    if (kind_ == kHostObjects) return ReturnObject(result, new SyncHostObjects(Link()));
    return ReturnObject(result, new PathObject(Link(), kind_ == kChrome ? kWebview : kHostObjects));
  }

  const Kind kind_;
};

class ConsoleObject : public ScriptObject {
 public:
  using ScriptObject::ScriptObject;

 private:
  MEMBERS({L"log", 1, true}, {L"info", 1, true}, {L"warn", 1, true}, {L"error", 1, true}, {L"debug", 1, true})
  HRESULT Call(DISPID, WORD, const DISPPARAMS& params, VARIANT*) override {
    std::wstring line;
    for (UINT i = 0; i < params.cArgs; ++i) line += (i ? L" " : L"") + VariantText(Argument(params, i));
    Journalf("engine: console %ls", line.c_str());
    return S_OK;
  }
};

}  // namespace

IDispatch* MakeWindowObject(const ScriptLinkPtr& link) { return new WindowObject(link); }
IDispatch* MakeDocumentObject(const ScriptLinkPtr& link) { return new DocumentObject(link); }
IDispatch* MakeLocationObject(const ScriptLinkPtr& link) { return new LocationObject(link); }
IDispatch* MakeChromeObject(const ScriptLinkPtr& link) { return new PathObject(link, PathObject::kChrome); }
IDispatch* MakeConsoleObject(const ScriptLinkPtr& link) { return new ConsoleObject(link); }
