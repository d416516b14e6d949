#include "palette/roll_up.h"

namespace vendigo {

void RollUp::Toggle() {
  if (busy_) return;
  busy_ = true;
  const int height = window_.height();
  if (height == fullHeight_) {
    window_.setHeight(rolledUpHeight_);
  } else if (height < fullHeight_) {
    for (int step = height; step <= fullHeight_; ++step) {
      window_.setHeight(step);
      window_.processEvents();
    }
  }
  busy_ = false;
}

}  // namespace vendigo
