#include "support/allocation_meter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> peak{0};

void *Allocate(std::size_t size) {
  void *block = std::malloc(size == 0 ? 1 : size);
  if (!block) throw std::bad_alloc();
  const std::size_t now = held += malloc_usable_size(block);
  std::size_t seen = peak.load();
  while (now > seen && !peak.compare_exchange_weak(seen, now)) {
  }
  return block;
}

void Release(void *block) {
  if (!block) return;
  held -= malloc_usable_size(block);
  std::free(block);
}

}  // namespace

void *operator new(std::size_t size) {
  return Allocate(size);
}
void operator delete(void *block) noexcept {
  Release(block);
}
void operator delete(void *block, std::size_t) noexcept {
  Release(block);
}

namespace vendigo::testing {

AllocationMeter::AllocationMeter() : start_(held.load()) {
  peak = start_;
}

std::size_t AllocationMeter::PeakAbove() const {
  return peak.load() - start_;
}

std::size_t AllocationMeter::HeldAbove() const {
  return held.load() - start_;
}

}  // namespace vendigo::testing
