#pragma once

// A tiny HTTP server on loopback for the tests: a thread with Winsock that answers each request
// from a fixed table of pages and closes the connection.

#include <winsock2.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ServedPage {
  int status = 200;
  std::string contentType = "text/html; charset=utf-8";
  std::string body;
};

class PageServer {
 public:
  PageServer();  // listening on 127.0.0.1, on a port of the system's choice
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  void Serve(const std::string& path, ServedPage page);
  int port() const { return port_; }
  std::wstring Uri(const std::string& path) const;  // http://127.0.0.1:port/path

  struct Request {
    std::string path;
    std::string host;  // the Host header
  };
  std::vector<Request> requests() const;

 private:
  void Run();
  void Answer(SOCKET client);

  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::map<std::string, ServedPage> pages_;
  std::vector<Request> requests_;
  std::thread thread_;
};

// A loopback port where nothing listens.
int UnusedPort();
