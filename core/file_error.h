#pragma once

#include <stdexcept>
#include <string>

namespace vendigo {

// A file that could not be read or written. The message is meant for the user as it stands,
// for example "Unable to write to /home/shop/vendigo/pelluxfp.ini".
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace vendigo
