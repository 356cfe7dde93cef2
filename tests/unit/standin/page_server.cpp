#include "unit/standin/page_server.h"

#include <ws2tcpip.h>

#include <cctype>

namespace {

struct WinsockStarted {
  WinsockStarted() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};

void StartWinsock() { static WinsockStarted started; }

SOCKET ListenOnLoopback(int* port) {
  StartWinsock();
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  *port = ntohs(address.sin_port);
  return listener;
}

std::string HeaderValue(const std::string& request, const std::string& name) {
  size_t line = request.find("\r\n");
  while (line != std::string::npos) {
    const size_t start = line + 2;
    const size_t end = request.find("\r\n", start);
    if (end == std::string::npos || end == start) break;
    const std::string header = request.substr(start, end - start);
    const size_t colon = header.find(':');
    if (colon != std::string::npos) {
      std::string key = header.substr(0, colon);
      for (auto& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (key == name) {
        size_t value = colon + 1;
        while (value < header.size() && header[value] == ' ') ++value;
        return header.substr(value);
      }
    }
    line = end;
  }
  return {};
}

}  // namespace

PageServer::PageServer() {
  listener_ = ListenOnLoopback(&port_);
  listen(listener_, SOMAXCONN);
  thread_ = std::thread([this] { Run(); });
}

PageServer::~PageServer() {
  closesocket(listener_);
  thread_.join();
}

void PageServer::Serve(const std::string& path, ServedPage page) {
  std::lock_guard<std::mutex> lock(mutex_);
  pages_[path] = std::move(page);
}

std::wstring PageServer::Uri(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

std::vector<PageServer::Request> PageServer::requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

void PageServer::Run() {
  for (;;) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;  // the listener was closed
    const DWORD timeout = 3000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    Answer(client);
    closesocket(client);
  }
}

void PageServer::Answer(SOCKET client) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int received = recv(client, buffer, sizeof buffer, 0);
    if (received <= 0) return;
    request.append(buffer, received);
  }
  const size_t pathStart = request.find(' ') + 1;
  const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
  ServedPage page{404, "text/html", "<html><head><title>Not found</title></head><body>Not found</body></html>"};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back({path, HeaderValue(request, "host")});
    auto found = pages_.find(path);
    if (found != pages_.end()) page = found->second;
  }
  std::string response = "HTTP/1.1 " + std::to_string(page.status) + (page.status == 200 ? " OK" : " Error") +
                         "\r\nContent-Type: " + page.contentType +
                         "\r\nContent-Length: " + std::to_string(page.body.size()) + "\r\nConnection: close\r\n\r\n" +
                         page.body;
  size_t sent = 0;
  while (sent < response.size()) {
    const int count = send(client, response.data() + sent, static_cast<int>(response.size() - sent), 0);
    if (count <= 0) return;
    sent += static_cast<size_t>(count);
  }
  shutdown(client, SD_SEND);
  // Let the client read to the end before the socket goes.
  while (recv(client, buffer, sizeof buffer, 0) > 0) {
  }
}

int UnusedPort() {
  int port = 0;
  SOCKET probe = ListenOnLoopback(&port);
  closesocket(probe);
  return port;
}
