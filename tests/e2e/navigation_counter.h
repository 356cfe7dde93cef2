#pragma once

// Counts the navigations the stand-in's journal says completed successfully, reading on from where
// it last stopped, so that waiting on it stays cheap however long the journal grows.

#include <string>

class NavigationCounter {
 public:
  explicit NavigationCounter(std::wstring journal) : journal_(std::move(journal)) {}
  int Count();

 private:
  std::wstring journal_;
  long long offset_ = 0;
  std::string pending_;
  int count_ = 0;
};
