#include "pages/xml_writer_library.h"

#include <dlfcn.h>

#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace vendigo {
namespace {

constexpr char kNeeds[] = "The sitemap and feed need ";

XmlWriterLibrary Load() {
  void *library = ::dlopen(VENDIGO_LIBXML2_SONAME, RTLD_NOW | RTLD_LOCAL);
  if (!library)
    throw std::runtime_error(std::string(kNeeds) + VENDIGO_LIBXML2_SONAME + ": " + ::dlerror());
  XmlWriterLibrary loaded;
#define VENDIGO_FIND(name)                                                        \
  loaded.name = reinterpret_cast<decltype(loaded.name)>(::dlsym(library, #name)); \
  if (!loaded.name)                                                               \
    throw std::runtime_error(std::string(kNeeds) + #name + " in " VENDIGO_LIBXML2_SONAME ".");
  VENDIGO_XML_WRITER_FUNCTIONS(VENDIGO_FIND)
#undef VENDIGO_FIND
  // Sets up libxml2's shared state once, before threads can race to do it on their first call.
  loaded.xmlInitParser();
  return loaded;
}

}  // namespace

const XmlWriterLibrary &XmlWriter() {
  // A failed load throws out of the initialisation, so the next call tries again.
  static std::mutex mutex;
  static std::optional<XmlWriterLibrary> library;
  std::lock_guard lock(mutex);
  if (!library) library = Load();
  return *library;
}

}  // namespace vendigo
