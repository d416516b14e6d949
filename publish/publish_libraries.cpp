#include "publish/publish_libraries.h"

#include <dlfcn.h>

#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace vendigo {
namespace {

void *Open(const char *soname) {
  void *library = ::dlopen(soname, RTLD_NOW | RTLD_LOCAL);
  if (!library)
    throw std::runtime_error(std::string("Publishing needs ") + soname + ": " + dlerror());
  return library;
}

template <typename Function>
void Find(void *library, const char *soname, const char *name, Function &function) {
  function = reinterpret_cast<Function>(::dlsym(library, name));
  if (!function) {
    throw std::runtime_error(std::string("Publishing needs ") + name + " in " + soname + ".");
  }
}

PublishLibraries Load() {
  PublishLibraries loaded;
  void *curl = Open(VENDIGO_LIBCURL_SONAME);
  void *crypto = Open(VENDIGO_LIBCRYPTO_SONAME);
#define VENDIGO_FIND_CURL(name) Find(curl, VENDIGO_LIBCURL_SONAME, #name, loaded.name);
#define VENDIGO_FIND_CRYPTO(name) Find(crypto, VENDIGO_LIBCRYPTO_SONAME, #name, loaded.name);
  VENDIGO_CURL_FUNCTIONS(VENDIGO_FIND_CURL)
  VENDIGO_CRYPTO_FUNCTIONS(VENDIGO_FIND_CRYPTO)
#undef VENDIGO_FIND_CURL
#undef VENDIGO_FIND_CRYPTO
  loaded.curl_global_init(CURL_GLOBAL_DEFAULT);
  return loaded;
}

}  // namespace

const PublishLibraries &Libraries() {
  // A failed load throws out of the initialisation, so the next call tries again.
  static std::mutex mutex;
  static std::optional<PublishLibraries> libraries;
  std::lock_guard lock(mutex);
  if (!libraries) libraries = Load();
  return *libraries;
}

}  // namespace vendigo
