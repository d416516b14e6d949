#include "core/every_core.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace vendigo {

EveryCoreRun RunOnEveryCore(
    std::size_t count, const std::function<void(std::size_t)> &job,
    const std::function<bool(std::size_t done, std::size_t total)> &progress) {
  EveryCoreRun run;
  run.ran.assign(count, false);
  std::atomic<std::size_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable changed;
  std::size_t done = 0;
  const auto work = [&] {
    for (std::size_t i = next++; i < count && !stop; i = next++) {
      job(i);
      const std::lock_guard lock(mutex);
      run.ran[i] = true;
      ++done;
      changed.notify_one();
    }
  };
  const std::size_t threads = std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1,
                                                      std::max<std::size_t>(1, count));
  std::vector<std::thread> workers;
  for (std::size_t i = 0; i < threads; ++i) workers.emplace_back(work);
  {
    std::unique_lock lock(mutex);
    std::size_t told = static_cast<std::size_t>(-1);
    while (told != count) {
      changed.wait(lock, [&] { return done != told; });
      told = done;
      if (!progress) continue;
      lock.unlock();
      const bool goOn = progress(told, count);
      lock.lock();
      if (!goOn) {
        stop = true;
        break;
      }
    }
  }
  for (std::thread &worker : workers) worker.join();
  run.stopped = stop;
  return run;
}

}  // namespace vendigo
