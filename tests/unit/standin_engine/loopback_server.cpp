#include "unit/standin_engine/loopback_server.h"

#include <ws2tcpip.h>

namespace {

struct WinsockStartup {
  WinsockStartup() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
};

SOCKET BoundLoopbackSocket(int& port) {
  static WinsockStartup startup;
  SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return socket;
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

LoopbackServer::LoopbackServer() {
  listener_ = BoundLoopbackSocket(port_);
  listen(listener_, 16);
  thread_ = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  thread_.join();
  closesocket(listener_);
}

void LoopbackServer::Serve(const std::string& path, CannedResponse response) {
  std::lock_guard<std::mutex> lock(mutex_);
  responses_[path] = std::move(response);
}

void LoopbackServer::Serve(const std::string& path, const std::string& html) {
  CannedResponse response;
  response.headers = "Content-Type: text/html; charset=utf-8\r\n";
  response.body = html;
  Serve(path, response);
}

std::vector<std::string> LoopbackServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::vector<std::string> LoopbackServer::Hosts() {
  std::lock_guard<std::mutex> lock(mutex_);
  return hosts_;
}

void LoopbackServer::Run() {
  // Polls, so the destructor can end the thread without relying on a blocked accept failing.
  while (!stopping_) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener_, &readable);
    timeval wait{0, 50000};
    if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Answer(client);
    shutdown(client, SD_SEND);
    closesocket(client);
  }
}

void LoopbackServer::Answer(SOCKET client) {
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return;
    request.append(buffer, got);
  }
  const size_t pathAt = request.find(' ') + 1;
  const std::string path = request.substr(pathAt, request.find(' ', pathAt) - pathAt);
  std::string host;
  const size_t hostAt = request.find("\r\nHost: ");
  if (hostAt != std::string::npos) host = request.substr(hostAt + 8, request.find("\r\n", hostAt + 8) - hostAt - 8);
  CannedResponse response;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(path);
    hosts_.push_back(host);
    const auto found = responses_.find(path);
    if (found == responses_.end()) {
      response.status = 404;
      response.body = "<title>Not here</title>";
    } else {
      response = found->second;
    }
  }
  std::string reply = "HTTP/1.0 " + std::to_string(response.status) + " " + Reason(response.status) + "\r\n" +
                      response.headers + "Content-Length: " + std::to_string(response.body.size()) +
                      "\r\nConnection: close\r\n\r\n" + response.body;
  size_t sent = 0;
  while (sent < reply.size()) {
    const int wrote = send(client, reply.data() + sent, static_cast<int>(reply.size() - sent), 0);
    if (wrote <= 0) return;
    sent += wrote;
  }
}

int UnusedLoopbackPort() {
  int port = 0;
  closesocket(BoundLoopbackSocket(port));
  return port;
}
