#pragma once

// A small web site on a loopback port for the client's browser: fixed pages, answered over
// HTTP/1.1 from a thread of the test, each after its own delay.

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

struct SitePage {
  SitePage(std::string page, DWORD delay = 0, std::string later = std::string())
      : html(std::move(page)), delayMilliseconds(delay), laterHtml(std::move(later)) {}
  std::string html;  // UTF-8
  DWORD delayMilliseconds;
  std::string laterHtml;  // from the second request on, when not empty
};

class LoopbackSite {
 public:
  // Paths such as "/" and "/two.html"; anything else answers 404.
  explicit LoopbackSite(std::map<std::string, SitePage> pages);
  ~LoopbackSite();
  LoopbackSite(const LoopbackSite&) = delete;
  LoopbackSite& operator=(const LoopbackSite&) = delete;

  bool listening() const { return port_ != 0; }
  unsigned short port() const { return port_; }
  // How often the path was asked for.
  int Requests(const std::string& path) const;
  // The browser argument that maps the site's host name to this server.
  std::wstring HostRule() const;

 private:
  void Serve();
  void Answer(UINT_PTR connection);

  std::map<std::string, SitePage> pages_;
  UINT_PTR listener_;
  unsigned short port_ = 0;
  std::atomic<bool> ending_{false};
  mutable std::mutex mutex_;
  std::map<std::string, int> requests_;
  std::thread thread_;
};
