#include "fragments/carried_edit.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vendigo {
namespace {

// Words (runs of letters and digits, and bytes of multibyte characters) and single other bytes:
// small enough that a price is its own tokens, large enough that the comparison stays short.
std::vector<std::string_view> Tokens(std::string_view text) {
  const auto word = [](unsigned char c) {
    return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') || c >= 0x80;
  };
  std::vector<std::string_view> tokens;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t end = i + 1;
    if (word(text[i])) {
      while (end < text.size() && word(text[end])) ++end;
    }
    tokens.push_back(text.substr(i, end - i));
    i = end;
  }
  return tokens;
}

// For each token of a, the index of the token of b it is matched with in a longest common
// subsequence, or -1. nullopt when the two are too long to compare.
std::optional<std::vector<std::ptrdiff_t>> Matches(const std::vector<std::string_view> &a,
                                                   const std::vector<std::string_view> &b) {
  std::vector<std::ptrdiff_t> match(a.size(), -1);
  // The common start and end need no table.
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) {
    match[head] = static_cast<std::ptrdiff_t>(head);
    ++head;
  }
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
    match[a.size() - 1 - tail] = static_cast<std::ptrdiff_t>(b.size() - 1 - tail);
    ++tail;
  }
  const std::size_t n = a.size() - head - tail;
  const std::size_t m = b.size() - head - tail;
  constexpr std::size_t kMostCells = 16'000'000;
  if (n != 0 && m != 0 && n > kMostCells / m) return std::nullopt;
  // length[i][j]: the longest common subsequence of the middles' suffixes from i and j.
  std::vector<std::uint32_t> length((n + 1) * (m + 1), 0);
  const auto at = [&](std::size_t i, std::size_t j) -> std::uint32_t & {
    return length[i * (m + 1) + j];
  };
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      at(i, j) =
          a[head + i] == b[head + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    }
  }
  for (std::size_t i = 0, j = 0; i < n && j < m;) {
    if (a[head + i] == b[head + j]) {
      match[head + i] = static_cast<std::ptrdiff_t>(head + j);
      ++i;
      ++j;
    } else if (at(i + 1, j) >= at(i, j + 1)) {
      ++i;
    } else {
      ++j;
    }
  }
  return match;
}

std::size_t OffsetOf(const std::vector<std::string_view> &tokens, std::size_t index,
                     std::string_view text) {
  return index < tokens.size() ? static_cast<std::size_t>(tokens[index].data() - text.data())
                               : text.size();
}

}  // namespace

std::optional<std::string> CarryRebuild(std::string_view edited, std::string_view built,
                                        std::string_view rebuilt) {
  if (edited == built) return std::string(rebuilt);
  const std::vector<std::string_view> builtTokens = Tokens(built);
  const std::vector<std::string_view> rebuiltTokens = Tokens(rebuilt);
  const std::vector<std::string_view> editedTokens = Tokens(edited);
  const auto changes = Matches(builtTokens, rebuiltTokens);
  const auto kept = Matches(builtTokens, editedTokens);
  if (!changes || !kept) return std::nullopt;

  // Each run of built's tokens that the rebuild replaced (with the rebuilt tokens between the
  // matched tokens around it) goes into edited where the same run, and the tokens on either side
  // of it, stand untouched and side by side.
  std::string result;
  std::size_t copied = 0;  // offset in edited up to which result holds it
  std::ptrdiff_t previousRebuilt = -1;
  for (std::size_t i = 0; i <= builtTokens.size();) {
    if (i < builtTokens.size() && (*changes)[i] == previousRebuilt + 1) {
      previousRebuilt = (*changes)[i];
      ++i;
      continue;
    }
    // A change: built's tokens [i, end) give way to rebuilt's (previousRebuilt, next).
    std::size_t end = i;
    while (end < builtTokens.size() && (*changes)[end] < 0) ++end;
    const std::ptrdiff_t next = end < builtTokens.size()
                                    ? (*changes)[end]
                                    : static_cast<std::ptrdiff_t>(rebuiltTokens.size());
    if (end == i && next == previousRebuilt + 1) break;  // the end, nothing changed there
    // The tokens before and after the change, and those it replaces, are where they were.
    const auto keptAt = [&](std::size_t token) -> std::ptrdiff_t {
      if (token == static_cast<std::size_t>(-1)) return -1;
      if (token >= builtTokens.size()) return static_cast<std::ptrdiff_t>(editedTokens.size());
      return (*kept)[token];
    };
    const std::ptrdiff_t before = keptAt(i - 1);
    if (i > 0 && before < 0) return std::nullopt;
    for (std::size_t t = i; t <= end; ++t) {
      const std::ptrdiff_t place = keptAt(t);
      if (place != before + static_cast<std::ptrdiff_t>(t - i) + 1) return std::nullopt;
    }
    const std::size_t from = OffsetOf(editedTokens, static_cast<std::size_t>(before + 1), edited);
    const std::size_t to = OffsetOf(editedTokens, static_cast<std::size_t>(keptAt(end)), edited);
    const std::size_t rebuiltFrom =
        OffsetOf(rebuiltTokens, static_cast<std::size_t>(previousRebuilt + 1), rebuilt);
    const std::size_t rebuiltTo = OffsetOf(rebuiltTokens, static_cast<std::size_t>(next), rebuilt);
    result.append(edited.substr(copied, from - copied));
    result.append(rebuilt.substr(rebuiltFrom, rebuiltTo - rebuiltFrom));
    copied = to;
    if (end >= builtTokens.size()) break;
    previousRebuilt = next;
    i = end + 1;
  }
  result.append(edited.substr(copied));
  return result;
}

}  // namespace vendigo
