#pragma once

#include <cstddef>
#include <functional>
#include <vector>

namespace vendigo {

// Which jobs of a RunOnEveryCore ran, and whether progress stopped it.
struct EveryCoreRun {
  std::vector<bool> ran;
  bool stopped = false;
};

// Runs job(i) once for each i below count, on as many threads as there are cores (and no more
// than jobs); each job keeps its result in a place of its own. progress, when set, is told the
// number of jobs done from the calling thread as they end (several at once when it is slow to
// return), last with all done; when it returns false, the jobs under way finish and no other
// starts.
EveryCoreRun RunOnEveryCore(
    std::size_t count, const std::function<void(std::size_t)> &job,
    const std::function<bool(std::size_t done, std::size_t total)> &progress);

}  // namespace vendigo
