#pragma once

// Host mapping as with Chromium's switch --host-resolver-rules="MAP host target[:port], ...":
// the request still names the original host, only the connection goes to the target.

#include <string>
#include <vector>

struct HostRule {
  std::wstring pattern;     // lower case; '*' matches any run of characters
  std::wstring targetHost;  // "~NOTFOUND" makes the host unresolvable
  int targetPort = 0;       // 0 keeps the port of the request
};

// The MAP rules of the last --host-resolver-rules among the arguments; other rule kinds and
// malformed rules are left out.
std::vector<HostRule> ParseHostResolverRules(const std::wstring& browserArguments);

struct HostTarget {
  std::wstring host;
  int port = 0;
  bool notFound = false;
};

// Where a connection to host:port goes: the first rule that matches, else host:port itself.
HostTarget MapHost(const std::vector<HostRule>& rules, const std::wstring& host, int port);
