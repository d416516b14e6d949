// vendigo-html publish against real servers on this machine: sshd for SFTP, vsftpd for FTP and
// FTPS (explicit TLS, its certificate trusted through CURL_CA_BUNDLE).

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

#include "publish/test_servers.h"
#include "support/temp_folder.h"

namespace vendigo::testing {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

using Tree = std::map<std::string, std::string>;

// Every file below folder, dot files included, but not the publish manifest.
Tree ReadTree(const fs::path &folder) {
  Tree tree;
  for (const auto &entry : fs::recursive_directory_iterator(folder)) {
    const std::string path = entry.path().lexically_relative(folder).generic_string();
    if (entry.is_regular_file() && path != ".vendigo-manifest.json") {
      tree[path] = TempFolder::ReadBytes(entry.path());
    }
  }
  return tree;
}

std::string Page(const std::string &text) {
  return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + text +
         "</title></head><body><p>" + text + "</p></body></html>\n";
}

// A site folder, a home whose .ssh the test controls, and one server of the protocol.
class Publishing : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    protocol_ = GetParam();
    const char *program = protocol_ == "sftp" ? "/usr/sbin/sshd" : "/usr/sbin/vsftpd";
    if (::access(program, X_OK) != 0) {
      GTEST_SKIP() << program << " is not installed: scripts/install-deps.sh installs it";
    }
    if (protocol_ != "sftp" && ::geteuid() != 0) {
      GTEST_SKIP() << "vsftpd's test user can only be made as root";
    }
    site_ = folder_.path() / "site";
    home_ = folder_.path() / "home";
    fs::create_directories(site_);
    fs::create_directories(home_);
    TempFolder::WriteBytes(folder_.path() / "shop.ini", "[CONFIGS]\n");
    server_ = std::make_unique<TestServer>(protocol_, folder_.path(), home_);
    const std::string port = std::to_string(server_->port());
    // The SFTP user is left out: the one running the test.
    remote_ = protocol_ == "sftp" ? folder_.path() / "remote" : server_->MakeFtpFolder("remote");
    fs::create_directories(remote_);
    url_ = protocol_ == "sftp"
               ? "sftp://127.0.0.1:" + port + remote_.string()
               : protocol_ + "://" + TestServer::FtpUser() + "@127.0.0.1:" + port + "/remote";
    environment_ = {{"HOME", home_.string()},
                    {"VENDIGO_PUBLISH_PASSWORD", TestServer::kPassword},
                    {"CURL_CA_BUNDLE", (folder_.path() / "ca.pem").string()}};
    // A sanitizer build's program runs with the run's sanitizer settings (its suppressions).
    for (const char *name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
      if (const char *value = std::getenv(name)) environment_[name] = value;
    }
  }

  pid_t Start(std::vector<std::string> options) {
    options.insert(options.begin(), {VENDIGO_HTML_PATH, "--settings",
                                     (folder_.path() / "shop.ini").string(), "publish"});
    options.push_back(site_.string());
    return Spawn(options, environment_, folder_.path() / "out", folder_.path() / "err");
  }
  Outcome Finish(pid_t pid) {
    const int status = WaitFor(pid);
    return {status, TempFolder::ReadBytes(folder_.path() / "out"),
            TempFolder::ReadBytes(folder_.path() / "err")};
  }
  Outcome Publish(const std::vector<std::string> &options = {}) { return Finish(Start(options)); }
  // The first publish: sets the target and, for SFTP, accepts the server's key.
  Outcome PublishFirst() {
    if (protocol_ != "sftp") return Publish({"--target", url_});
    return Publish({"--target", url_, "--accept-host-key", server_->Fingerprint()});
  }
  void Write(const std::string &path, const std::string &bytes) {
    fs::create_directories((site_ / path).parent_path());
    TempFolder::WriteBytes(site_ / path, bytes);
  }
  std::string Summary(std::size_t sent, std::size_t bytes, std::size_t removed,
                      std::size_t unchanged) const {
    auto count = [](std::size_t n, const char *one, const char *many) {
      return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    return "Published to " + url_ + ": " + count(sent, "file", "files") + " sent (" +
           count(bytes, "byte", "bytes") + "), " + count(removed, "file", "files") + " removed, " +
           count(unchanged, "file", "files") + " unchanged";
  }

  TempFolder folder_;
  std::string protocol_;
  fs::path site_, home_, remote_;
  std::string url_;
  std::map<std::string, std::string> environment_;
  std::unique_ptr<TestServer> server_;
};

TEST_P(Publishing, SendsOnlyWhatChangedAndRemovesOnlyWithDelete) {
  Write("index.html", Page("Home"));
  Write("about.html", Page("About"));
  Write("img/logo.png", "not really a picture");
  Write(".vendigo-stage-1-0/mug.html", Page("Mug"));  // a killed catalogue run's: never sent
  const std::size_t all = Page("Home").size() + Page("About").size() + 20;

  Outcome first = PublishFirst();
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out,
            "sent img/logo.png\nsent about.html\nsent index.html\n" + Summary(3, all, 0, 0) + "\n");
  fs::remove_all(site_ / ".vendigo-stage-1-0");
  EXPECT_EQ(ReadTree(remote_), ReadTree(site_));

  // The target is remembered; one page changed, one file goes.
  Write("about.html", Page("About us"));
  const Outcome second = Publish();
  EXPECT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.out, "sent about.html\n" + Summary(1, Page("About us").size(), 0, 2) + "\n");
  EXPECT_EQ(ReadTree(remote_), ReadTree(site_));

  fs::remove(site_ / "index.html");
  Tree published = ReadTree(remote_);
  const Outcome dryRun = Publish({"--dry-run", "--delete"});
  EXPECT_EQ(dryRun.out,
            "would remove index.html\n0 files to send (0 bytes), 1 file to remove, 2 files "
            "unchanged\n");
  const Outcome kept = Publish();
  EXPECT_EQ(kept.out, Summary(0, 0, 0, 2) +
                          "; 1 file no longer in the folder kept on the server (--delete "
                          "removes them)\n");
  EXPECT_EQ(ReadTree(remote_), published);

  const Outcome removed = Publish({"--delete"});
  EXPECT_EQ(removed.status, 0) << removed.err;
  EXPECT_EQ(removed.out, "removed index.html\n" + Summary(0, 0, 1, 2) + "\n");
  EXPECT_EQ(ReadTree(remote_), ReadTree(site_));
}

// Broken off in the middle of a big page, by Ctrl+C or by the server's end of the connection.
TEST_P(Publishing, ARunBrokenOffMidFileLeavesNoPartialPageAndARerunFinishes) {
  Write("index.html", Page("Home"));
  Write("about.html", Page("About"));
  ASSERT_EQ(PublishFirst().status, 0);
  std::string before;  // big.html on the server
  for (const bool cancel : {true, false}) {
    const std::string way = cancel ? "cancel" : "cut";
    SCOPED_TRACE(way);
    const std::string index = TempFolder::ReadBytes(site_ / "index.html");
    Write("index.html", Page("Home, " + way));
    Write(way + ".png", way);
    Write("about.html", Page("About, " + way));
    // A page big enough to be caught while it goes up.
    std::string big = Page("Big");
    big.insert(big.find("<p>"), "<!--" + std::string(8 << 20, way[1]) + "-->");
    Write("big.html", big);

    const pid_t publishing = Start({});
    const fs::path scratch = remote_ / ".big.html.vendigo-upload";
    // Bytes in the scratch file: the transfer is under way (for FTPS past the data connection's
    // handshake, which libcurl waits out without a look at the cancel).
    std::error_code error;
    for (int i = 0; i < 20000 && !(fs::file_size(scratch, error) > 0 && !error); ++i) {
      std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    // Frozen in the middle: the new page is there only under its scratch name.
    server_->SignalConnections(SIGSTOP);
    EXPECT_TRUE(fs::exists(scratch));
    EXPECT_EQ(TempFolder::ReadBytes(remote_ / "big.html"), before);
    EXPECT_EQ(TempFolder::ReadBytes(remote_ / "index.html"), index);
    cancel ? (void)::kill(publishing, SIGINT) : server_->SignalConnections(SIGKILL);
    const Outcome broken = Finish(publishing);
    server_->SignalConnections(SIGKILL);
    EXPECT_EQ(broken.status, cancel ? 130 : 9);
    EXPECT_EQ(broken.out, "sent " + way + ".png\nsent about.html\n");
    if (cancel) {
      EXPECT_EQ(broken.err,
                "vendigo-html: Publishing was cancelled.\nvendigo-html: 2 files were sent and 0 "
                "files removed before that; publish again to finish.\n");
    }
    EXPECT_EQ(TempFolder::ReadBytes(remote_ / "big.html"), before);

    // A page that went up is changed back before the rerun. A cancelled run recorded what went
    // up; a cut one may send the picture again.
    Write("about.html", Page("About"));
    const Outcome rerun = Publish();
    EXPECT_EQ(rerun.status, 0) << rerun.err;
    const std::string pages = "sent about.html\nsent big.html\nsent index.html\n";
    if (cancel) {
      EXPECT_EQ(
          rerun.out,
          pages +
              Summary(3, Page("About").size() + big.size() + Page("Home, cancel").size(), 0, 1) +
              "\n");
    }
    EXPECT_NE(rerun.out.find(pages), std::string::npos) << rerun.out;
    EXPECT_TRUE(ReadTree(remote_) == ReadTree(site_));
    before = big;
  }
}

// Refusals: the status, the whole message, and the server's folder as it was.
TEST_P(Publishing, RefusalsStopWithTheirStatusAndChangeNothing) {
  Write("index.html", Page("Home"));
  Write("bad.html", Page("<img src=\"file:///home/shop/mug.png\" alt=\"\">"));
  const Outcome check = Publish({"--target", url_});
  EXPECT_EQ(check.status, 1);
  EXPECT_EQ(check.err, (site_ / "bad.html").string() +
                           ":2:119: error: \"file:///home/shop/mug.png\" is a file on this "
                           "computer, which visitors' browsers cannot load [file-address]\n"
                           "vendigo-html: The check found 1 error in the site: nothing was "
                           "published. Mend the site, or publish anyway with --force.\n");
  fs::remove(site_ / "bad.html");
  const std::string port = std::to_string(server_->port());
  // Refusals of a server that took the login: a missing folder, a full disk.
  auto serverRefusals = [&] {
    const Tree before = ReadTree(remote_);
    const std::string missingUrl = url_ + "-missing";
    const std::string missingPath = missingUrl.substr(missingUrl.find('/', 10));
    const Outcome missing = Publish({"--target", missingUrl});
    EXPECT_EQ(missing.status, 7);
    EXPECT_EQ(missing.err, "vendigo-html: The folder " + missingPath +
                               " does not exist on "
                               "127.0.0.1: make it on the server, or correct the target " +
                               missingUrl + ".\n");
    EXPECT_FALSE(fs::exists(remote_.string() + "-missing"));
    EXPECT_EQ(ReadTree(remote_), before);

    // A full disk: nothing of the page stays on the server. (Over TLS vsftpd answers a write
    // that failed with 426, a transfer broken off, which names no cause.)
    if (protocol_ == "ftps") return;
    const fs::path full =
        protocol_ == "sftp" ? folder_.path() / "full" : server_->MakeFtpFolder("full");
    fs::create_directories(full);
    if (::mount("tmpfs", full.c_str(), "tmpfs", 0, "size=1m") != 0) return;
    Shell("chown --reference='" + remote_.string() + "' '" + full.string() + "'");
    Write("big.html", Page(std::string(600 << 10, 'x')));
    const Outcome disk = Publish({"--target", url_.substr(0, url_.rfind("remote")) + "full"});
    ::umount2(full.c_str(), MNT_DETACH);
    EXPECT_EQ(disk.status, 8);
    EXPECT_EQ(disk.err.find("vendigo-html: The server's disk is full: big.html could not be sent"),
              0u)
        << disk.err;
    EXPECT_TRUE(fs::is_empty(full));
    fs::remove(site_ / "big.html");
  };
  if (protocol_ == "sftp") {
    const std::string host = "[127.0.0.1]:" + port;
    const std::string unknownKey = server_->Fingerprint();
    Outcome unknown = Publish({"--target", url_});
    EXPECT_EQ(unknown.status, 5);
    EXPECT_EQ(unknown.err,
              "vendigo-html: The host " + host +
                  " is not known: its ssh-ed25519 key "
                  "has the fingerprint " +
                  unknownKey +
                  ". Nothing was sent. Check the "
                  "fingerprint with the server's administrator and accept it once with "
                  "--accept-host-key " +
                  unknownKey + "\n");
    EXPECT_EQ(Publish({"--accept-host-key", "SHA256:someoneelse"}).status, 5);
    EXPECT_TRUE(ReadTree(remote_).empty());
    ASSERT_EQ(Publish({"--accept-host-key", unknownKey}).status, 0);
    serverRefusals();
    ASSERT_EQ(Publish({"--target", url_}).status, 0);
    // A key of ours the server does not know.
    const fs::path key = home_ / ".ssh/id_ed25519";
    fs::rename(key, folder_.path() / "id_ed25519");
    Shell("ssh-keygen -q -t ed25519 -N '' -f '" + key.string() + "'");
    const Outcome refused = Publish();
    EXPECT_EQ(refused.status, 4);
    EXPECT_EQ(refused.err, "vendigo-html: The server refused the SSH keys for " +
                               std::string(::getpwuid(::geteuid())->pw_name) + " at " + url_ +
                               " (tried " + key.string() + ").\n");
    fs::rename(folder_.path() / "id_ed25519", key);
    const Tree published = ReadTree(remote_);

    Write("index.html", Page("Changed"));
    server_->Restart();
    const Outcome changed = Publish({"--accept-host-key", server_->Fingerprint()});
    EXPECT_EQ(changed.status, 6);
    EXPECT_EQ(changed.err,
              "vendigo-html: WARNING: the host key of " + host +
                  " has CHANGED: it is "
                  "now ssh-ed25519 " +
                  server_->Fingerprint() + ", which is not the key " +
                  (home_ / ".ssh/known_hosts").string() +
                  " holds for it. Someone may be "
                  "listening in, or the server was set up anew. Nothing was sent. If the "
                  "server's administrator confirms the new key, remove the old one with: "
                  "ssh-keygen -R '" +
                  host + "'\n");
    EXPECT_EQ(ReadTree(remote_), published);
  } else {
    environment_["VENDIGO_PUBLISH_PASSWORD"] = "wrong";
    const Outcome wrong = Publish({"--target", url_});
    EXPECT_EQ(wrong.status, 3);
    EXPECT_EQ(wrong.err,
              "vendigo-html: The server refused the user name or password for " + url_ + ".\n");
    EXPECT_TRUE(ReadTree(remote_).empty());
    environment_["VENDIGO_PUBLISH_PASSWORD"] = TestServer::kPassword;
    serverRefusals();
  }
}

INSTANTIATE_TEST_SUITE_P(Servers, Publishing, ::testing::Values("sftp", "ftp", "ftps"));

}  // namespace
}  // namespace vendigo::testing
