#include "engine/error_page.h"

#include <windows.h>

#include "engine/html_reader.h"
#include "engine/uri.h"
#include "webview2/navigation_completed_args.h"

namespace {

std::wstring Escape(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'<')
      out += L"&lt;";
    else if (c == L'>')
      out += L"&gt;";
    else if (c == L'&')
      out += L"&amp;";
    else
      out.push_back(c);
  }
  return out;
}

// The network error name Chromium shows under its message.
const wchar_t* ErrorName(int webErrorStatus) {
  switch (webErrorStatus) {
    case COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT: return L"ERR_CONNECTION_REFUSED";
    case COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED: return L"ERR_NAME_NOT_RESOLVED";
    case COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT: return L"ERR_CONNECTION_TIMED_OUT";
    case COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET: return L"ERR_CONNECTION_RESET";
    case COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED: return L"ERR_CONNECTION_ABORTED";
    case COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE: return L"ERR_INVALID_RESPONSE";
    case COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED: return L"ERR_TOO_MANY_REDIRECTS";
    default: return L"ERR_FAILED";
  }
}

}  // namespace

HtmlDocument MakeErrorPage(const std::wstring& uri, int webErrorStatus, int httpStatus) {
  HttpUri parts;
  const std::wstring host = SplitHttpUri(uri, parts) ? parts.host : uri;
  const bool chinese = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE;
  std::wstring heading, detail;
  if (httpStatus >= 400) {
    heading = chinese ? L"\x6B64\x9875\x9762\x65E0\x6CD5\x6B63\x5E38\x8FD0\x884C" : L"This page isn't working";
    detail = L"HTTP ERROR " + std::to_wstring(httpStatus);
  } else {
    heading =
        chinese ? L"\x55EF\x2026 \x65E0\x6CD5\x8BBF\x95EE\x6B64\x9875\x9762" : L"Hmmm\x2026 can't reach this page";
    detail = ErrorName(webErrorStatus);
  }
  const std::wstring html = L"<title>" + Escape(host) + L"</title><h1>" + heading + L"</h1><p>" + Escape(host) +
                            L"</p><p>" + detail + L"</p>";
  return ReadHtml(html, uri);
}
