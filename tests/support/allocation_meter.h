#pragma once

#include <cstddef>

namespace vendigo::testing {

// Counts the bytes the program holds on the heap through operator new, for the benchmarks that
// report memory. Linking allocation_meter.cpp into a program replaces its operator new and
// delete; nothing else changes.
class AllocationMeter {
 public:
  // Starts a measurement: the peak is reset to what is held now.
  AllocationMeter();
  // The most held at one time since the start, above what was held at the start.
  std::size_t PeakAbove() const;
  // What is held now above what was held at the start.
  std::size_t HeldAbove() const;

 private:
  std::size_t start_;
};

}  // namespace vendigo::testing
