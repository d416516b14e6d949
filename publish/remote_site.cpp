#include "publish/remote_site.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "publish/publish_libraries.h"
#include "publish/site_files.h"

namespace vendigo {
namespace fs = std::filesystem;

// What an upload reads from: a file on disk or bytes in memory.
struct RemoteSite::Source {
  std::FILE *file = nullptr;
  std::string_view bytes;
  std::size_t offset = 0;
  std::uint64_t size = 0;

  static std::size_t ReadInto(char *buffer, std::size_t size, std::size_t count, void *self) {
    Source &source = *static_cast<Source *>(self);
    const std::size_t room = size * count;
    if (source.file) {
      const std::size_t read = std::fread(buffer, 1, room, source.file);
      return read == 0 && std::ferror(source.file) ? CURL_READFUNC_ABORT : read;
    }
    const std::size_t read = std::min(room, source.bytes.size() - source.offset);
    std::copy_n(source.bytes.data() + source.offset, read, buffer);
    source.offset += read;
    return read;
  }
};

namespace {

constexpr std::size_t kMaxReadBytes = std::size_t{64} << 20;

struct Sink {
  std::string text;
  bool keep = false;
};

std::size_t WriteInto(char *data, std::size_t size, std::size_t count, void *sink) {
  Sink &into = *static_cast<Sink *>(sink);
  if (into.keep) {
    if (into.text.size() + size * count > kMaxReadBytes) return 0;
    into.text.append(data, size * count);
  }
  return size * count;
}

struct ProgressState {
  const std::atomic<bool> *cancel = nullptr;
  const std::function<void(std::uint64_t)> *sent = nullptr;
};

int OnProgress(void *state, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  const ProgressState &progress = *static_cast<const ProgressState *>(state);
  if (progress.cancel && progress.cancel->load()) return 1;
  if (progress.sent && *progress.sent) (*progress.sent)(static_cast<std::uint64_t>(uploaded));
  return 0;
}

std::string Base64(const unsigned char *bytes, std::size_t count) {
  std::string text(4 * ((count + 2) / 3) + 1, '\0');
  const int length = Libraries().EVP_EncodeBlock(reinterpret_cast<unsigned char *>(text.data()),
                                                 bytes, static_cast<int>(count));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

// "SHA256:" and the unpadded base64 of the key blob's SHA-256, as ssh-keygen -l shows it.
std::string Fingerprint(const unsigned char *blob, std::size_t length) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int digestLength = 0;
  Libraries().EVP_Digest(blob, length, digest, &digestLength, Libraries().EVP_sha256(), nullptr);
  std::string text = Base64(digest, digestLength);
  while (!text.empty() && text.back() == '=') text.pop_back();
  return "SHA256:" + text;
}

// The key's type, the first string of its blob ("ssh-ed25519").
std::string KeyType(const unsigned char *blob, std::size_t length) {
  if (length < 4) return "unknown";
  const std::size_t size = (std::size_t{blob[0]} << 24) | (std::size_t{blob[1]} << 16) |
                           (std::size_t{blob[2]} << 8) | blob[3];
  if (size > length - 4) return "unknown";
  return std::string(reinterpret_cast<const char *>(blob) + 4, size);
}

// A path as an SFTP command takes it: in double quotes, with \ and " escaped.
std::string Quoted(const std::string &path) {
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string EncodedPath(CURL *curl, std::string_view path) {
  std::string encoded;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    const std::string_view segment = path.substr(start, slash - start);
    // A length of 0 would make curl measure the text itself, past the segment.
    if (!segment.empty()) {
      char *escaped =
          Libraries().curl_easy_escape(curl, segment.data(), static_cast<int>(segment.size()));
      encoded += escaped ? escaped : "";
      Libraries().curl_free(escaped);
    }
    if (slash < path.size()) encoded += '/';
    start = slash + 1;
  }
  return encoded;
}

std::pair<std::string, std::string> FolderAndName(const std::string &path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {"", path};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

std::string LocalUserName() {
  const passwd *entry = getpwuid(geteuid());
  return entry ? entry->pw_name : "";
}

struct CurlList {
  curl_slist *list = nullptr;
  explicit CurlList(const std::vector<std::string> &lines) {
    for (const std::string &line : lines) list = Libraries().curl_slist_append(list, line.c_str());
  }
  ~CurlList() { Libraries().curl_slist_free_all(list); }
};

}  // namespace

RemoteSite::RemoteSite(const PublishTarget &target, const PublishOptions &options,
                       PasswordSource &passwords, const std::atomic<bool> *cancel)
    : target_(target), options_(options), passwords_(passwords), cancel_(cancel) {
  curl_ = Libraries().curl_easy_init();
  if (!curl_) throw std::bad_alloc();
  const bool sftp = target_.protocol == PublishProtocol::Sftp;
  base_ = std::string(sftp ? "sftp://" : "ftp://") + target_.host;
  if (target_.port != 0) base_ += ":" + std::to_string(target_.port);
  base_ += EncodedPath(curl_, target_.path);
  if (base_.back() != '/') base_ += '/';
  user_ = !target_.user.empty() ? target_.user : sftp ? LocalUserName() : "anonymous";
  fs::path home = options_.home;
  if (home.empty() && std::getenv("HOME")) home = std::getenv("HOME");
  knownHosts_ = (home / ".ssh" / "known_hosts").string();
}

RemoteSite::~RemoteSite() {
  Libraries().curl_easy_cleanup(static_cast<CURL *>(curl_));
}

std::string RemoteSite::Url(std::string_view path) const {
  return base_ + EncodedPath(static_cast<CURL *>(curl_), path);
}

std::string RemoteSite::ServerPath(std::string_view path) const {
  return (target_.path == "/" ? "" : target_.path) + "/" + std::string(path);
}

void RemoteSite::Prepare(const std::string &url) {
  CURL *curl = static_cast<CURL *>(curl_);
  // A reset keeps the connection, so every step after the first goes over the same one.
  Libraries().curl_easy_reset(curl);
  errorText_.assign(CURL_ERROR_SIZE, '\0');
  Libraries().curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText_.data());
  Libraries().curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  Libraries().curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  Libraries().curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 30L);
  // A connection that moves nothing for a minute is taken as lost.
  Libraries().curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  Libraries().curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
  Libraries().curl_easy_setopt(curl, CURLOPT_USERNAME, user_.c_str());
  if (target_.protocol == PublishProtocol::Sftp) {
    Libraries().curl_easy_setopt(curl, CURLOPT_SSH_AUTH_TYPES,
                                 keyFile_.empty() ? CURLSSH_AUTH_AGENT : CURLSSH_AUTH_PUBLICKEY);
    if (!keyFile_.empty())
      Libraries().curl_easy_setopt(curl, CURLOPT_SSH_PRIVATE_KEYFILE, keyFile_.c_str());
    Libraries().curl_easy_setopt(curl, CURLOPT_SSH_KNOWNHOSTS, knownHosts_.c_str());
    Libraries().curl_easy_setopt(
        curl, CURLOPT_SSH_KEYFUNCTION,
        +[](CURL *, const curl_khkey *, const curl_khkey *found, curl_khmatch match,
            void *self) -> int {
          RemoteSite &site = *static_cast<RemoteSite *>(self);
          const auto *blob = reinterpret_cast<const unsigned char *>(found->key);
          PublishHostKey key;
          key.host = site.target_.port == 0 || site.target_.port == 22
                         ? site.target_.host
                         : "[" + site.target_.host + "]:" + std::to_string(site.target_.port);
          key.type = KeyType(blob, found->len);
          key.fingerprint = Fingerprint(blob, found->len);
          site.seenKey_ = key;
          if (match == CURLKHMATCH_OK) return CURLKHSTAT_FINE;
          if (match == CURLKHMATCH_MISSING && !site.options_.acceptHostKey.empty() &&
              site.options_.acceptHostKey == key.fingerprint) {
            // Written here rather than by libcurl, which leaves the port out of the host's name;
            // a dry run trusts the key for itself alone.
            return site.options_.dryRun || site.AddKnownHost(key, blob, found->len)
                       ? CURLKHSTAT_FINE
                       : CURLKHSTAT_REJECT;
          }
          (match == CURLKHMATCH_MISMATCH ? site.keyChanged_ : site.keyUnknown_) = true;
          return CURLKHSTAT_REJECT;
        });
    Libraries().curl_easy_setopt(curl, CURLOPT_SSH_KEYDATA, this);
  } else {
    Libraries().curl_easy_setopt(curl, CURLOPT_PASSWORD, password_.c_str());
    if (target_.protocol == PublishProtocol::Ftps) {
      Libraries().curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
      if (!options_.caFile.empty())
        Libraries().curl_easy_setopt(curl, CURLOPT_CAINFO, options_.caFile.c_str());
    }
  }
}

bool RemoteSite::AddKnownHost(const PublishHostKey &key, const unsigned char *blob,
                              std::size_t length) {
  const fs::path file(knownHosts_);
  ::mkdir(file.parent_path().c_str(), 0700);
  std::FILE *out = std::fopen(file.c_str(), "a");
  if (!out) return false;
  const std::string line = key.host + " " + key.type + " " + Base64(blob, length) + "\n";
  const bool written = std::fwrite(line.data(), 1, line.size(), out) == line.size();
  return std::fclose(out) == 0 && written;
}

RemoteFailure RemoteSite::FailureOf(int code, const std::string &doing, const std::string &path) {
  const std::string where = PublishTargetUrl(target_);
  const std::string detail = errorText_.c_str()[0]
                                 ? errorText_.c_str()
                                 : Libraries().curl_easy_strerror(static_cast<CURLcode>(code));
  RemoteFailure failure;
  failure.message = doing + (path.empty() ? "" : " " + path) + " failed: " + detail;
  long response = 0;
  Libraries().curl_easy_getinfo(static_cast<CURL *>(curl_), CURLINFO_RESPONSE_CODE, &response);
  switch (code) {
    case CURLE_ABORTED_BY_CALLBACK:
      failure.status = PublishStatus::Cancelled;
      failure.message = "Publishing was cancelled.";
      break;
    case CURLE_PEER_FAILED_VERIFICATION:
      if (keyChanged_ && seenKey_) {
        failure.status = PublishStatus::ChangedHostKey;
        failure.hostKey = seenKey_;
        failure.message =
            "WARNING: the host key of " + seenKey_->host + " has CHANGED: it is now " +
            seenKey_->type + " " + seenKey_->fingerprint + ", which is not the key " + knownHosts_ +
            " holds for it. Someone may be listening in, or the server was set up anew. "
            "Nothing was sent. If the server's administrator confirms the new key, remove the "
            "old one with: ssh-keygen -R '" +
            seenKey_->host + "'";
      } else if (keyUnknown_ && seenKey_) {
        failure.status = PublishStatus::UnknownHostKey;
        failure.hostKey = seenKey_;
        failure.message = "The host " + seenKey_->host + " is not known: its " + seenKey_->type +
                          " key has the fingerprint " + seenKey_->fingerprint +
                          ". Nothing was sent. Check the fingerprint with the server's "
                          "administrator and accept it once with --accept-host-key " +
                          seenKey_->fingerprint;
      } else {
        failure.status = PublishStatus::ConnectionFailed;
        failure.message = "The server " + target_.host +
                          " could not be verified (its certificate is not trusted): " + detail;
      }
      break;
    case CURLE_LOGIN_DENIED:
      if (target_.protocol == PublishProtocol::Sftp) {
        failure.status = PublishStatus::KeyRefused;
        failure.message = "The server refused the SSH keys for " + where + ": " + detail;
      } else {
        failure.status = PublishStatus::WrongPassword;
        failure.message = "The server refused the user name or password for " + where + ".";
      }
      break;
    case CURLE_REMOTE_DISK_FULL:
      failure.status = PublishStatus::RemoteDiskFull;
      failure.message = "The server's disk is full: " + path + " could not be sent.";
      break;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSH:
      failure.status = PublishStatus::ConnectionFailed;
      failure.message = doing + (path.empty() ? "" : " " + path) + " at " + where +
                        " failed, the connection broke off: " + detail;
      break;
    default:
      failure.status = PublishStatus::RemoteError;
      break;
  }
  // 452 and 552 say no room; 451 after a whole file is a write the server's disk refused.
  if (target_.protocol != PublishProtocol::Sftp && doing == "Sending" &&
      (response == 451 || response == 452 || response == 552)) {
    failure.status = PublishStatus::RemoteDiskFull;
    failure.message = "The server's disk is full: " + path + " could not be sent.";
  }
  return failure;
}

std::optional<RemoteFailure> RemoteSite::Login() {
  Sink discard;
  auto probe = [&]() -> std::optional<RemoteFailure> {
    Prepare(base_);
    CURL *curl = static_cast<CURL *>(curl_);
    Libraries().curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 1L);
    Libraries().curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteInto);
    Libraries().curl_easy_setopt(curl, CURLOPT_WRITEDATA, &discard);
    const CURLcode code = Libraries().curl_easy_perform(curl);
    if (code == CURLE_OK) return std::nullopt;
    RemoteFailure failure = FailureOf(code, "Logging in to", PublishTargetUrl(target_));
    const bool missing = target_.protocol == PublishProtocol::Sftp
                             ? code == CURLE_REMOTE_FILE_NOT_FOUND
                             : code == CURLE_REMOTE_ACCESS_DENIED;
    if (missing) {
      failure.status = PublishStatus::RemoteFolderMissing;
      failure.message = "The folder " + target_.path + " does not exist on " + target_.host +
                        ": make it on the server, or correct the target " +
                        PublishTargetUrl(target_) + ".";
    }
    return failure;
  };

  if (target_.protocol == PublishProtocol::Sftp) {
    std::vector<std::string> ways;
    const char *agent = std::getenv("SSH_AUTH_SOCK");
    if (agent && *agent) ways.push_back("");
    const fs::path folder = fs::path(knownHosts_).parent_path();
    for (const char *name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
      std::error_code error;
      if (fs::is_regular_file(folder / name, error)) ways.push_back((folder / name).string());
    }
    std::string tried;
    for (const std::string &way : ways) {
      keyFile_ = way;
      std::optional<RemoteFailure> failure = probe();
      if (!failure) return std::nullopt;
      if (failure->status != PublishStatus::KeyRefused &&
          !(failure->status == PublishStatus::ConnectionFailed && way.empty())) {
        return failure;
      }
      tried += (tried.empty() ? "" : ", ") + (way.empty() ? std::string("ssh-agent") : way);
    }
    RemoteFailure refused;
    refused.status = PublishStatus::KeyRefused;
    refused.message = tried.empty()
                          ? "No SSH key to log in to " + PublishTargetUrl(target_) +
                                " with: no ssh-agent, and no id_ed25519, id_ecdsa or id_rsa in " +
                                folder.string() + "."
                          : "The server refused the SSH keys for " + user_ + " at " +
                                PublishTargetUrl(target_) + " (tried " + tried + ").";
    return refused;
  }

  std::optional<RemoteFailure> refused;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::optional<std::string> password = passwords_.Password(target_, refused.has_value());
    if (!password && refused) return refused;
    if (!password) {
      RemoteFailure none;
      none.status = PublishStatus::WrongPassword;
      none.message = "No password for " + PublishTargetUrl(target_) + ".";
      return none;
    }
    password_ = *password;
    std::optional<RemoteFailure> failure = probe();
    if (!failure) {
      passwords_.Accepted(target_, password_);
      return std::nullopt;
    }
    if (failure->status != PublishStatus::WrongPassword) return failure;
    passwords_.Rejected(target_);
    refused = failure;
  }
  return refused;
}

std::optional<RemoteFailure> RemoteSite::Open() {
  return Login();
}

std::optional<RemoteFailure> RemoteSite::Read(const std::string &path,
                                              std::optional<std::string> &contents) {
  Prepare(Url(path));
  Sink sink;
  sink.keep = true;
  CURL *curl = static_cast<CURL *>(curl_);
  Libraries().curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteInto);
  Libraries().curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
  const CURLcode code = Libraries().curl_easy_perform(curl);
  if (code == CURLE_REMOTE_FILE_NOT_FOUND) {
    contents.reset();
    return std::nullopt;
  }
  if (code != CURLE_OK) return FailureOf(code, "Reading", path);
  contents = std::move(sink.text);
  return std::nullopt;
}

std::optional<RemoteFailure> RemoteSite::Send(const std::string &path, Source &source,
                                              const std::function<void(std::uint64_t)> &sent) {
  const auto [folder, name] = FolderAndName(path);
  const std::string scratch = (folder.empty() ? "" : folder + "/") + UploadScratchName(name);
  Prepare(Url(scratch));
  CURL *curl = static_cast<CURL *>(curl_);
  Libraries().curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  Libraries().curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE,
                               static_cast<curl_off_t>(source.size));
  Libraries().curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Source::ReadInto);
  Libraries().curl_easy_setopt(curl, CURLOPT_READDATA, &source);
  Libraries().curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS,
                               static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
  // The manifest is sent even after a cancel, so what went up stays recorded.
  ProgressState progress{sent ? cancel_ : nullptr, &sent};
  Libraries().curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  Libraries().curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  Libraries().curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &progress);
  // The rename after the whole file arrived: an SFTP server of protocol 3 (OpenSSH) renames
  // only onto a free name, so the old file goes first, and for that moment the address has no
  // file rather than part of one; FTP's rename replaces the old file at once.
  const CurlList after(
      target_.protocol == PublishProtocol::Sftp
          ? std::vector<std::string>{"*rm " + Quoted(ServerPath(path)),
                                     "rename " + Quoted(ServerPath(scratch)) + " " +
                                         Quoted(ServerPath(path))}
          : std::vector<std::string>{"RNFR " + UploadScratchName(name), "RNTO " + name});
  Libraries().curl_easy_setopt(curl, CURLOPT_POSTQUOTE, after.list);
  const CURLcode code = Libraries().curl_easy_perform(curl);
  if (code == CURLE_OK) return std::nullopt;
  RemoteFailure failure = FailureOf(code, "Sending", path);
  if (failure.status == PublishStatus::ConnectionFailed && code != CURLE_SSH) return failure;
  // An SFTP server of protocol 3 says only that a write failed: its free space tells why.
  const std::optional<std::uint64_t> free =
      target_.protocol == PublishProtocol::Sftp ? FreeBytes() : std::nullopt;
  if (free && *free < source.size) {
    failure.status = PublishStatus::RemoteDiskFull;
    failure.message = "The server's disk is full: " + path + " could not be sent (" +
                      std::to_string(source.size) + " bytes, " + std::to_string(*free) + " free).";
  }
  // The part that went up takes room the next run needs.
  if (failure.status != PublishStatus::ConnectionFailed) Remove(scratch);
  return failure;
}

std::optional<std::uint64_t> RemoteSite::FreeBytes() {
  Prepare(base_);
  CURL *curl = static_cast<CURL *>(curl_);
  Sink answer;
  answer.keep = true;
  Libraries().curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  Libraries().curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, WriteInto);
  Libraries().curl_easy_setopt(curl, CURLOPT_HEADERDATA, &answer);
  const CurlList command({"statvfs " + Quoted(ServerPath(""))});
  Libraries().curl_easy_setopt(curl, CURLOPT_QUOTE, command.list);
  if (Libraries().curl_easy_perform(curl) != CURLE_OK) return std::nullopt;
  // "f_bavail: N" and "f_frsize: N" lines among the answer's.
  auto field = [&](const std::string &name) -> std::optional<std::uint64_t> {
    const std::size_t at = answer.text.find("\n" + name + ": ");
    if (at == std::string::npos) return std::nullopt;
    return std::strtoull(answer.text.c_str() + at + name.size() + 3, nullptr, 10);
  };
  const std::optional<std::uint64_t> blocks = field("f_bavail"), size = field("f_frsize");
  if (!blocks || !size) return std::nullopt;
  return *blocks * *size;
}

std::optional<RemoteFailure> RemoteSite::Upload(const std::string &path, const fs::path &localFile,
                                                const std::function<void(std::uint64_t)> &sent) {
  Source source;
  source.file = std::fopen(localFile.c_str(), "rb");
  if (!source.file) {
    RemoteFailure failure;
    failure.status = PublishStatus::LocalFileError;
    failure.message = "Cannot read " + localFile.string() + ".";
    return failure;
  }
  std::error_code error;
  source.size = fs::file_size(localFile, error);
  std::optional<RemoteFailure> failure = Send(path, source, sent);
  const bool readFailed = std::ferror(source.file);
  std::fclose(source.file);
  if (failure && readFailed) {
    failure->status = PublishStatus::LocalFileError;
    failure->message = "Cannot read " + localFile.string() + ".";
  }
  return failure;
}

std::optional<RemoteFailure> RemoteSite::UploadBytes(const std::string &path,
                                                     std::string_view bytes) {
  Source source;
  source.bytes = bytes;
  source.size = bytes.size();
  return Send(path, source, {});
}

std::optional<RemoteFailure> RemoteSite::Remove(const std::string &path) {
  const auto [folder, name] = FolderAndName(path);
  const bool sftp = target_.protocol == PublishProtocol::Sftp;
  Prepare(sftp ? base_ : Url(folder.empty() ? "" : folder + "/"));
  CURL *curl = static_cast<CURL *>(curl_);
  Sink discard;
  Libraries().curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
  Libraries().curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteInto);
  Libraries().curl_easy_setopt(curl, CURLOPT_WRITEDATA, &discard);
  // "*": a file that is gone already is no failure, so a rerun after a cut goes through.
  const CurlList commands({sftp ? "*rm " + Quoted(ServerPath(path)) : "*DELE " + name});
  Libraries().curl_easy_setopt(curl, sftp ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, commands.list);
  const CURLcode code = Libraries().curl_easy_perform(curl);
  if (code == CURLE_OK || (!sftp && code == CURLE_REMOTE_ACCESS_DENIED)) return std::nullopt;
  return FailureOf(code, "Removing", path);
}

}  // namespace vendigo
