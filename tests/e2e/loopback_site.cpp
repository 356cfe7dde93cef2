#include "e2e/loopback_site.h"

#include <winsock2.h>

#include <vector>

LoopbackSite::LoopbackSite(std::map<std::string, SitePage> pages)
    : pages_(std::move(pages)), listener_(INVALID_SOCKET) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(listener, 16) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackSite::~LoopbackSite() {
  ending_ = true;
  if (listener_ != INVALID_SOCKET) closesocket(listener_);
  if (thread_.joinable()) thread_.join();
  WSACleanup();
}

int LoopbackSite::Requests(const std::string& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = requests_.find(path);
  return found == requests_.end() ? 0 : found->second;
}

std::wstring LoopbackSite::HostRule() const {
  return L"--host-resolver-rules=\"MAP cuixiao.club 127.0.0.1:" + std::to_wstring(port_) + L"\"";
}

void LoopbackSite::Serve() {
  while (!ending_) {
    const SOCKET connection = accept(listener_, nullptr, nullptr);
    if (connection == INVALID_SOCKET) return;
    // One connection at a time: a delayed page holds back the ones after it, as a slow site would.
    Answer(connection);
    closesocket(connection);
  }
}

void LoopbackSite::Answer(UINT_PTR connection) {
  std::string request;
  char buffer[2048];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int got = recv(connection, buffer, sizeof(buffer), 0);
    if (got <= 0) return;
    request.append(buffer, static_cast<std::size_t>(got));
  }
  const std::size_t pathStart = request.find(' ') + 1;
  std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
  path = path.substr(0, path.find('?'));
  int count = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    count = ++requests_[path];
  }
  const auto page = pages_.find(path);
  std::string response;
  if (page == pages_.end()) {
    const std::string body = "<html><head><title>404</title></head><body>Not found</body></html>";
    response = "HTTP/1.1 404 Not Found\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
               std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  } else {
    if (page->second.delayMilliseconds != 0) Sleep(page->second.delayMilliseconds);
    const std::string& html = count > 1 && !page->second.laterHtml.empty() ? page->second.laterHtml : page->second.html;
    response = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
               std::to_string(html.size()) + "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + html;
  }
  std::size_t sent = 0;
  while (sent < response.size()) {
    const int done = send(connection, response.data() + sent, static_cast<int>(response.size() - sent), 0);
    if (done <= 0) return;
    sent += static_cast<std::size_t>(done);
  }
  shutdown(connection, SD_SEND);
}
