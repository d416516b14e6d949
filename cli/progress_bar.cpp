#include "cli/progress_bar.h"

#include <string>

namespace vendigo::cli {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string Duration(double seconds) {
  const long whole = static_cast<long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

}  // namespace

ProgressBar::ProgressBar(std::FILE *terminal, bool shown, const char *unit)
    : terminal_(terminal), shown_(shown), unit_(unit), start_(std::chrono::steady_clock::now()) {}

void ProgressBar::Show(std::size_t done, std::size_t total) {
  if (!shown_ || total == 0) return;
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && done < total && now - lastDrawn_ < kRedrawInterval) return;
  lastDrawn_ = now;
  drawn_ = true;

  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? static_cast<double>(done) / seconds : 0;
  const int filled = static_cast<int>(kBarWidth * done / total);
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '.');
  const std::string left = rate > 0 ? Duration(static_cast<double>(total - done) / rate) : "?";
  // "\r" goes back to the start of the line and "\033[K" clears what a longer line left.
  std::fprintf(terminal_, "\r[%s] %zu/%zu %s  %.0f %s/s  %s left\033[K", bar.c_str(), done, total,
               unit_, rate, unit_, left.c_str());
  std::fflush(terminal_);
}

void ProgressBar::Clear() {
  if (!drawn_) return;
  std::fputs("\r\033[K", terminal_);
  std::fflush(terminal_);
  drawn_ = false;
}

}  // namespace vendigo::cli
