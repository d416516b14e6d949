#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

namespace vendigo::cli {

// A one-line progress bar on a terminal: rows done of all, rows per second and the time left,
// redrawn at most ten times a second. A bar that is not shown does nothing.
class ProgressBar {
 public:
  ProgressBar(std::FILE *terminal, bool shown);

  void Show(std::size_t done, std::size_t total);
  // Takes the bar off the line, so what follows starts on a clean line.
  void Clear();

 private:
  std::FILE *terminal_;
  bool shown_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;
};

}  // namespace vendigo::cli
