#pragma once

// A tiny HTTP/1.0 server on 127.0.0.1 for engine tests: answers each GET from a table of paths,
// one connection at a time, on its own thread.

#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct CannedResponse {
  int status = 200;
  std::string headers;  // extra header lines, each ending in "\r\n"
  std::string body;
};

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();

  int port() const { return port_; }
  void Serve(const std::string& path, CannedResponse response);
  void Serve(const std::string& path, const std::string& html);
  // The request paths received so far, in order.
  std::vector<std::string> Requests();
  // The Host header of each request, in the same order.
  std::vector<std::string> Hosts();

 private:
  void Run();
  void Answer(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::mutex mutex_;
  std::map<std::string, CannedResponse> responses_;
  std::vector<std::string> requests_;
  std::vector<std::string> hosts_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

// A loopback port nobody listens on (bound, then closed).
int UnusedLoopbackPort();
