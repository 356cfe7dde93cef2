#pragma once

// Fetching a page with WinHTTP on a worker thread. The answer comes back on the thread that
// started the fetch, through its message loop, unless the fetch was abandoned by then.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/host_rules.h"

struct FetchResult {
  bool answered = false;   // an HTTP response arrived (whatever its status)
  int webErrorStatus = 0;  // a COREWEBVIEW2_WEB_ERROR_STATUS value when not answered
  int httpStatus = 0;
  std::wstring finalUri;  // after redirects
  std::wstring contentType;
  std::string body;
};

// Set (on the starting thread) to abandon a fetch: its answer is then never delivered, and the
// worker stops reading as soon as it notices.
using CancelFlag = std::shared_ptr<std::atomic<bool>>;

// Starts fetching uri (http or https) with redirects followed and host names mapped through
// rules; done runs later on this thread unless *cancel is set by then.
void StartFetch(const std::wstring& uri, const std::vector<HostRule>& rules, CancelFlag cancel,
                std::function<void(FetchResult)> done);
