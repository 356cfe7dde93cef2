#pragma once

// One document's script: a JScript engine (IActiveScript) with the page's named objects, its
// timers on the thread's message loop, and evaluation for ExecuteScript. Errors go to the journal;
// the page stays.

#include <windows.h>
#include <activscp.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/script_page.h"

class ScriptSession {
 public:
  explicit ScriptSession(ScriptPage& page);
  ~ScriptSession();
  // Ends a session, which may be running script right now (the page's script reached the host,
  // and the host ended the engine): then it is cut off from the page at once and deleted once
  // its script has returned. Answers whether it is left for later.
  static bool Discard(std::unique_ptr<ScriptSession> session);
  ScriptSession(const ScriptSession&) = delete;
  ScriptSession& operator=(const ScriptSession&) = delete;

  // Runs statements; false when they did not run to the end (the error is in the journal).
  bool Run(const std::wstring& code);
  // The value of the code's last expression as JSON: "null" for undefined, functions and errors.
  std::wstring EvaluateToJson(const std::wstring& code);

  // For the page's objects: the named objects (borrowed) and timers.
  IDispatch* NamedItem(const std::wstring& name) const;
  LONG SetTimeout(const VARIANT& work, UINT milliseconds, bool repeat);
  void ClearTimeout(LONG timer);

  // Page events: listeners added through addEventListener on window or document, and window.onload.
  void AddListener(const std::wstring& type, const VARIANT& listener);
  void RemoveListener(const std::wstring& type, const VARIANT& listener);
  // Calls the listeners of the event in the order they were added ("load" also window.onload).
  void FireEvent(const std::wstring& type);
  VARIANT& OnLoadHandler() { return onload_; }

  // Called by the site when the engine reports an error.
  void OnError(IActiveScriptError* error);

 private:
  struct Timer {
    VARIANT work;  // a function (VT_DISPATCH) or code (VT_BSTR)
    UINT milliseconds = 0;
    bool repeat = false;
    UINT_PTR delayed = 0;
  };
  // Held while JScript runs on this session's behalf.
  class BusyScope {
   public:
    explicit BusyScope(ScriptSession& session);
    ~BusyScope();

   private:
    ScriptSession& session_;
  };
  struct Listener {
    std::wstring type;
    IDispatch* function;
  };
  void CancelTimersAndListeners();
  void Schedule(LONG timer);
  // Calls a script function with no arguments; an exception goes to the journal.
  void CallFunction(IDispatch* function, const char* what);
  void Fire(LONG timer);
  bool Parse(const std::wstring& code, DWORD flags, VARIANT* result);
  std::wstring ToJson(const VARIANT& value);

  ScriptLinkPtr link_;
  IActiveScript* script_ = nullptr;
  IActiveScriptParse* parse_ = nullptr;
  IActiveScriptSite* site_ = nullptr;
  std::map<std::wstring, IDispatch*> items_;
  std::map<LONG, Timer> timers_;
  std::vector<Listener> listeners_;
  VARIANT onload_;
  LONG nextTimer_ = 1;
  bool failed_ = false;  // an error was reported during the current call
  int busy_ = 0;
  bool discarded_ = false;
};

// JSON text for a string: quoted, with quotes, backslashes and control characters escaped.
std::wstring JsonQuote(const std::wstring& text);
// JSON text for a number, as JavaScript writes it; "null" for NaN and the infinities.
std::wstring JsonNumber(double value);
