#include "engine/http_fetch.h"

#include <windows.h>
#include <winhttp.h>

#include <system_error>
#include <thread>

#include "dispatcher.h"
#include "engine/uri.h"
#include "journal.h"
#include "webview2/navigation_completed_args.h"

namespace {

constexpr int kMaxRedirects = 20;
// A page larger than this is cut: enough for any page this engine can show.
constexpr size_t kMaxBody = 64u << 20;
constexpr int kResolveTimeout = 15000, kConnectTimeout = 15000, kSendTimeout = 30000, kReceiveTimeout = 30000;

class Handle {
 public:
  explicit Handle(HINTERNET handle = nullptr) : handle_(handle) {}
  ~Handle() {
    if (handle_) WinHttpCloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// The web error status for a WinHTTP error code.
int WebErrorStatusForWinHttpError(unsigned long error) {
  switch (error) {
    case ERROR_WINHTTP_CANNOT_CONNECT: return COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED;
    case ERROR_WINHTTP_TIMEOUT: return COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT;
    case ERROR_WINHTTP_CONNECTION_ERROR: return COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET;
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
    case ERROR_WINHTTP_HEADER_SIZE_OVERFLOW: return COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case ERROR_WINHTTP_OPERATION_CANCELLED: return COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED;
    case ERROR_WINHTTP_REDIRECT_FAILED: return COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED;
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
      return COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT;
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID: return COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED;
    case ERROR_WINHTTP_SECURE_CERT_REVOKED: return COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED;
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    case ERROR_WINHTTP_SECURE_FAILURE: return COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID;
    case ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED: return COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS;
    default: return COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
  }
}

FetchResult Failure(unsigned long error) {
  FetchResult result;
  result.webErrorStatus = WebErrorStatusForWinHttpError(error);
  Journalf("engine: fetch failed, WinHTTP error %lu, web error status %d", error, result.webErrorStatus);
  return result;
}

std::wstring QueryText(HINTERNET request, DWORD info) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return std::wstring();
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, &text[0], &bytes, WINHTTP_NO_HEADER_INDEX)) {
    return std::wstring();
  }
  text.resize(bytes / sizeof(wchar_t));
  return text;
}

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The fetch itself, on the worker thread.
FetchResult FetchNow(const std::wstring& uri, const std::vector<HostRule>& rules, const CancelFlag& cancel) {
  Handle session(WinHttpOpen(L"Mozilla/5.0 (Windows NT 10.0) WebView2StandIn", WINHTTP_ACCESS_TYPE_NO_PROXY,
                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return Failure(GetLastError());
  WinHttpSetTimeouts(session.get(), kResolveTimeout, kConnectTimeout, kSendTimeout, kReceiveTimeout);
  // Redirects are followed here, not by WinHTTP, so each hop goes through the host mapping.
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  WinHttpSetOption(session.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);

  std::wstring current = uri;
  for (int hop = 0; hop <= kMaxRedirects; ++hop) {
    if (cancel->load()) return Failure(ERROR_WINHTTP_OPERATION_CANCELLED);
    HttpUri parts;
    if (!SplitHttpUri(current, parts)) return Failure(ERROR_WINHTTP_UNRECOGNIZED_SCHEME);
    const HostTarget target = MapHost(rules, parts.host, parts.port);
    if (target.notFound) return Failure(ERROR_WINHTTP_NAME_NOT_RESOLVED);
    std::wstring targetHost = target.host;
    if (targetHost.size() > 2 && targetHost.front() == L'[' && targetHost.back() == L']') {
      targetHost = targetHost.substr(1, targetHost.size() - 2);
    }
    Handle connection(WinHttpConnect(session.get(), targetHost.c_str(), static_cast<INTERNET_PORT>(target.port), 0));
    if (!connection) return Failure(GetLastError());
    Handle request(WinHttpOpenRequest(connection.get(), L"GET", parts.pathAndQuery.c_str(), nullptr, WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES, parts.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) return Failure(GetLastError());
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(request.get(), WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);
    const bool defaultPort = parts.port == (parts.secure ? 443 : 80);
    const std::wstring hostHeader = L"Host: " + parts.host + (defaultPort ? L"" : L":" + std::to_wstring(parts.port));
    WinHttpAddRequestHeaders(request.get(), hostHeader.c_str(), static_cast<DWORD>(-1L),
                             WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.get(), nullptr)) {
      return Failure(GetLastError());
    }
    DWORD status = 0, size = sizeof status;
    WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    if (IsRedirect(static_cast<int>(status))) {
      const std::wstring location = QueryText(request.get(), WINHTTP_QUERY_LOCATION);
      if (location.empty()) return Failure(ERROR_WINHTTP_REDIRECT_FAILED);
      current = ResolveUri(current, location);
      continue;
    }
    FetchResult result;
    result.answered = true;
    result.httpStatus = static_cast<int>(status);
    result.finalUri = current;
    result.contentType = QueryText(request.get(), WINHTTP_QUERY_CONTENT_TYPE);
    for (;;) {
      if (cancel->load()) return Failure(ERROR_WINHTTP_OPERATION_CANCELLED);
      DWORD available = 0;
      if (!WinHttpQueryDataAvailable(request.get(), &available)) return Failure(GetLastError());
      if (available == 0) break;
      const size_t at = result.body.size();
      result.body.resize(at + available);
      DWORD read = 0;
      if (!WinHttpReadData(request.get(), &result.body[at], available, &read)) return Failure(GetLastError());
      result.body.resize(at + read);
      if (read == 0 || result.body.size() >= kMaxBody) break;
    }
    return result;
  }
  return Failure(ERROR_WINHTTP_REDIRECT_FAILED);
}

}  // namespace

void StartFetch(const std::wstring& uri, const std::vector<HostRule>& rules, CancelFlag cancel,
                std::function<void(FetchResult)> done) {
  const ThreadPoster poster = PosterForThisThread();
  const auto deliver = [poster, cancel](std::function<void(FetchResult)> done, FetchResult result) {
    poster.Post([cancel, done = std::move(done), result = std::move(result)]() mutable {
      if (!cancel->load()) done(std::move(result));
    });
  };
  // The worker owns copies of everything it touches; the engine may be gone when it ends.
  auto work = [uri, rules, cancel, done, deliver]() { deliver(done, FetchNow(uri, rules, cancel)); };
  try {
    std::thread(std::move(work)).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the load fails, later, as any other.
    deliver(std::move(done), Failure(ERROR_NOT_ENOUGH_MEMORY));
  }
}
