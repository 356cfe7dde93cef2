#pragma once

// The handlers of one event, as WebView2 keeps them: add_ hands out a token (nonzero, unique in
// the process and increasing) and keeps a reference to the handler until its remove_ call or the
// end of the object; remove_ with a token it never gave answers E_INVALIDARG.

#include <windows.h>
#include <eventtoken.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "com_ref.h"
#include "journal.h"

// The next token of the process.
std::int64_t NextEventToken();

template <class Handler>
class EventList {
 public:
  explicit EventList(const char* name) : name_(name) {}

  const char* name() const { return name_; }

  HRESULT Add(Handler* handler, EventRegistrationToken* token) {
    Journalf("add_%s", name_);
    if (!token) return E_POINTER;
    token->value = 0;
    if (!handler) return E_INVALIDARG;
    token->value = NextEventToken();
    entries_.emplace_back(token->value, Ref<Handler>(handler));
    Journalf("add_%s gives token %lld", name_, static_cast<long long>(token->value));
    return S_OK;
  }

  HRESULT Remove(EventRegistrationToken token) {
    Journalf("remove_%s token %lld", name_, static_cast<long long>(token.value));
    for (auto entry = entries_.begin(); entry != entries_.end(); ++entry) {
      if (entry->first == token.value) {
        entries_.erase(entry);
        return S_OK;
      }
    }
    return E_INVALIDARG;
  }

  // Calls Invoke(sender, args) on every handler; a handler removed by an earlier one during the
  // round is skipped. Each handler is held for the duration of its call.
  template <class Sender, class Args>
  void Raise(Sender* sender, Args* args) {
    Journalf("event %s to %u handler(s)", name_, static_cast<unsigned>(entries_.size()));
    if (entries_.empty()) return;
    const auto round = entries_;
    for (const auto& entry : round) {
      if (!Contains(entry.first)) continue;
      entry.second->Invoke(sender, args);
    }
  }

  bool empty() const { return entries_.empty(); }

  // The end of the object: every handler is let go.
  void Clear() {
    auto released = std::move(entries_);
    entries_.clear();
  }

 private:
  bool Contains(std::int64_t token) const {
    for (const auto& entry : entries_)
      if (entry.first == token) return true;
    return false;
  }

  const char* name_;
  std::vector<std::pair<std::int64_t, Ref<Handler>>> entries_;
};
