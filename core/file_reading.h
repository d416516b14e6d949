#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace vendigo {

// The most that is read of one file: far more than any page, template, settings file or input a
// merchant writes, and little enough to hold in memory several times over.
inline constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;

// Reads the whole file. Only a regular file of at most maxBytes is read: a folder, a device
// (/dev/zero never ends), a pipe (it may wait for a writer forever) or a larger file is refused
// without a single read that could wait. nullopt when the file is refused or cannot be read;
// reason then holds why: the system's words ("No such file or directory", "Is a directory"),
// "Not a regular file" or "Larger than 64 MB".
std::optional<std::string> ReadFileBytes(const std::filesystem::path &file, std::string &reason,
                                         std::size_t maxBytes = kMaxFileBytes);

// Reads what the open descriptor gives until its end, or nullopt with reason "Larger than 64 MB"
// when it gives more than maxBytes (standard input may be /dev/zero).
std::optional<std::string> ReadStreamBytes(int fd, std::string &reason,
                                           std::size_t maxBytes = kMaxFileBytes);

// "Larger than 64 MB", for a limit of maxBytes.
std::string TooLargeReason(std::size_t maxBytes);

}  // namespace vendigo
