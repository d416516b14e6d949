#pragma once

#include <functional>
#include <utility>

namespace vendigo {

// The palette's roll-up: a right press on its title strip shrinks the window to the strip alone,
// and the next one unrolls it a pixel at a time to the height it had at start.
class RollUp {
 public:
  struct Window {
    std::function<int()> height;
    std::function<void(int)> setHeight;
    // Lets pending events run and repaints, so the unrolling shows; other commands may run.
    std::function<void()> processEvents;
  };

  // rolledUpHeight: the height of the title strip, all that shows when rolled up.
  RollUp(int fullHeight, int rolledUpHeight, Window window)
      : fullHeight_(fullHeight), rolledUpHeight_(rolledUpHeight), window_(std::move(window)) {}

  int FullHeight() const { return fullHeight_; }
  bool Busy() const { return busy_; }

  // Rolls up when at full height, unrolls when lower, and does nothing when taller or while an
  // unrolling is still running.
  void Toggle();

 private:
  int fullHeight_;
  int rolledUpHeight_;
  Window window_;
  bool busy_ = false;
};

}  // namespace vendigo
