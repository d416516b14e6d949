#pragma once

// libcurl, which sends the files, and OpenSSL's libcrypto, which hashes them, are loaded the
// first time a publish needs them rather than linked: linked, they and the thirty-odd libraries
// libcurl brings would load at every start of vendigo-html, which scripts start once per
// fragment, and triple the time its start takes.

#include <curl/curl.h>
#include <openssl/evp.h>

namespace vendigo {

#define VENDIGO_CURL_FUNCTIONS(X)                                                  \
  X(curl_global_init)                                                              \
  X(curl_easy_init)                                                                \
  X(curl_easy_cleanup) X(curl_easy_reset) X(curl_easy_setopt) X(curl_easy_perform) \
      X(curl_easy_getinfo) X(curl_easy_strerror) X(curl_easy_escape) X(curl_free)  \
          X(curl_slist_append) X(curl_slist_free_all)
#define VENDIGO_CRYPTO_FUNCTIONS(X)                                                               \
  X(EVP_MD_CTX_new)                                                                               \
  X(EVP_MD_CTX_free) X(EVP_DigestInit_ex) X(EVP_DigestUpdate) X(EVP_DigestFinal_ex) X(EVP_Digest) \
      X(EVP_sha256) X(EVP_EncodeBlock)

// The functions, each named as in its library.
struct PublishLibraries {
#define VENDIGO_POINTER(name) decltype(&::name) name = nullptr;
  VENDIGO_CURL_FUNCTIONS(VENDIGO_POINTER)
  VENDIGO_CRYPTO_FUNCTIONS(VENDIGO_POINTER)
#undef VENDIGO_POINTER
};

// The libraries, loaded on the first call (and libcurl initialised). Throws std::runtime_error
// ("Publishing needs libcurl.so.4: <the loader's words>") when one cannot be loaded.
const PublishLibraries &Libraries();

}  // namespace vendigo
