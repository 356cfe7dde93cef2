#pragma once

// What the page's script objects reach of the engine, and the link through which they reach it:
// an object may outlive its document (a host object can keep it), so it holds the link, which
// the session empties when the document goes.

#include <windows.h>
#include <oaidl.h>

#include <memory>
#include <string>

#include "engine/html_document.h"

class ScriptPage {
 public:
  virtual ~ScriptPage() = default;

  virtual HtmlDocument& Document() = 0;
  // The document was written to: lay out and paint again.
  virtual void DocumentChanged() = 0;
  // document.title: the page's own title, empty when it has none.
  virtual std::wstring DocumentTitle() const = 0;
  virtual void SetDocumentTitle(const std::wstring& title) = 0;
  virtual std::wstring DocumentUri() const = 0;
  // location.href = ..., location.reload(): asks the host, later, to navigate.
  virtual void RequestNavigation(const std::wstring& uri) = 0;
  // The published host object, borrowed, or null.
  virtual IDispatch* FindHostObject(const std::wstring& name) = 0;
};

class ScriptSession;

struct ScriptLink {
  ScriptPage* page = nullptr;  // both null once the document is gone
  ScriptSession* session = nullptr;
};
using ScriptLinkPtr = std::shared_ptr<ScriptLink>;
