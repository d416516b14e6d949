#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

namespace vendigo::cli {

// A one-line progress bar on a terminal: units (rows, pages) done of all, units per second and
// the time left, redrawn at most ten times a second. A bar that is not shown does nothing.
class ProgressBar {
 public:
  ProgressBar(std::FILE *terminal, bool shown, const char *unit = "rows");

  void Show(std::size_t done, std::size_t total);
  // Takes the bar off the line, so what follows starts on a clean line.
  void Clear();

 private:
  std::FILE *terminal_;
  bool shown_;
  const char *unit_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace vendigo::cli
