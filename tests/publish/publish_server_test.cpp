// vendigo-html publish against real servers on this machine: sshd for SFTP, vsftpd for FTP and
// FTPS (explicit TLS, its certificate trusted through CURL_CA_BUNDLE).

#include <gtest/gtest.h>

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
      tree[path] = FileText(entry.path());
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
    const bool sftp = protocol_ == "sftp";
    if (!Installed(sftp ? "/usr/sbin/sshd" : "/usr/sbin/vsftpd")) {
      GTEST_SKIP() << (sftp ? "sshd (openssh-server)" : "vsftpd")
                   << " is not installed: scripts/install-deps.sh installs it";
    }
    if (!sftp && ::geteuid() != 0) GTEST_SKIP() << "vsftpd's test user can only be made as root";
    site_ = folder_.path() / "site";
    home_ = folder_.path() / "home";
    fs::create_directories(site_);
    fs::create_directories(home_);
    TempFolder::WriteBytes(folder_.path() / "shop.ini", "[CONFIGS]\n");
    environment_ = {{"HOME", home_.string()}, {"PATH", "/usr/bin:/bin"}};
    if (sftp) {
      ssh_ = std::make_unique<SshServer>(folder_.path(), home_);
      remote_ = folder_.path() / "remote";
      fs::create_directories(remote_);
      url_ =
          "sftp://" + UserName() + "@127.0.0.1:" + std::to_string(ssh_->port()) + remote_.string();
    } else {
      ftp_ = std::make_unique<FtpServer>(folder_.path());
      remote_ = ftp_->MakeFolder("remote");
      url_ = protocol_ + "://" + FtpServer::User() + "@127.0.0.1:" + std::to_string(ftp_->port()) +
             "/remote";
      environment_["VENDIGO_PUBLISH_PASSWORD"] = FtpServer::kPassword;
      environment_["CURL_CA_BUNDLE"] = ftp_->ca().string();
    }
  }

  std::vector<std::string> Arguments(const std::vector<std::string> &options) const {
    std::vector<std::string> arguments{VENDIGO_HTML_PATH, "--settings",
                                       (folder_.path() / "shop.ini").string(), "publish"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.push_back(site_.string());
    return arguments;
  }
  pid_t Start(const std::vector<std::string> &options) {
    return Spawn(Arguments(options), environment_, folder_.path() / "out", folder_.path() / "err");
  }
  Outcome Finish(pid_t pid) {
    const int status = WaitFor(pid);
    return {status, FileText(folder_.path() / "out"), FileText(folder_.path() / "err")};
  }
  Outcome Publish(const std::vector<std::string> &options = {}) { return Finish(Start(options)); }
  // The first publish: sets the target and, for SFTP, accepts the server's key.
  Outcome PublishFirst() {
    if (ssh_) return Publish({"--target", url_, "--accept-host-key", ssh_->Fingerprint()});
    return Publish({"--target", url_});
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
  ServerProcess &Server() { return ssh_ ? ssh_->process() : ftp_->process(); }

  TempFolder folder_;
  std::string protocol_;
  fs::path site_, home_, remote_;
  std::string url_;
  std::map<std::string, std::string> environment_;
  std::unique_ptr<SshServer> ssh_;
  std::unique_ptr<FtpServer> ftp_;
};

TEST_P(Publishing, SendsOnlyWhatChangedAndRemovesOnlyWithDelete) {
  Write("index.html", Page("Home"));
  Write("about.html", Page("About"));
  Write("img/logo.png", "not really a picture");
  const std::size_t all = Page("Home").size() + Page("About").size() + 20;

  Outcome first = PublishFirst();
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out,
            "sent img/logo.png\nsent about.html\nsent index.html\n" + Summary(3, all, 0, 0) + "\n");
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

TEST_P(Publishing, ARunCutOffMidFileLeavesNoPartialPageAndARerunFinishes) {
  Write("index.html", Page("Home"));
  ASSERT_EQ(PublishFirst().status, 0);
  Write("index.html", Page("Home, new"));
  // A page big enough to be caught while it goes up.
  const std::string big = Page("<!--" + std::string(16 << 20, 'x') + "-->");
  Write("big.html", big);

  const pid_t publishing = Start({});
  const fs::path scratch = remote_ / ".big.html.vendigo-upload";
  for (int i = 0; i < 20000 && !fs::exists(scratch); ++i) {
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  // Frozen in the middle: the page is there only under its scratch name.
  Server().SignalConnections(SIGSTOP);
  EXPECT_TRUE(fs::exists(scratch));
  EXPECT_FALSE(fs::exists(remote_ / "big.html"));
  EXPECT_EQ(FileText(remote_ / "index.html"), Page("Home"));
  Server().SignalConnections(SIGKILL);
  const Outcome cut = Finish(publishing);
  EXPECT_NE(cut.status, 0);
  EXPECT_EQ(cut.out.find("sent big.html"), std::string::npos) << cut.out;
  EXPECT_FALSE(fs::exists(remote_ / "big.html"));

  const Outcome rerun = Publish();
  EXPECT_EQ(rerun.status, 0) << rerun.err;
  EXPECT_EQ(rerun.out, "sent big.html\nsent index.html\n" +
                           Summary(2, big.size() + Page("Home, new").size(), 0, 0) + "\n");
  EXPECT_TRUE(ReadTree(remote_) == ReadTree(site_));
}

INSTANTIATE_TEST_SUITE_P(Servers, Publishing, ::testing::Values("sftp", "ftp", "ftps"));

// Refusals: the status, the whole message, and the server's folder as it was.

class Refusing : public Publishing {};

TEST_P(Refusing, StopsWithItsStatusAndChangesNothing) {
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
  const std::string port = std::to_string(ssh_ ? ssh_->port() : ftp_->port());
  auto missingFolder = [&] {
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
  };
  if (protocol_ == "sftp") {
    const std::string host = "[127.0.0.1]:" + port;
    const std::string unknownKey = ssh_->Fingerprint();
    Outcome unknown = Publish({"--target", url_});
    EXPECT_EQ(unknown.status, 5);
    EXPECT_EQ(unknown.err, "vendigo-html: The host " + host +
                               " is not known: its ssh-ed25519 key has the "
                               "fingerprint " +
                               unknownKey +
                               ". Nothing was sent. Check the fingerprint with the "
                               "server's administrator and accept it once with --accept-host-key " +
                               unknownKey + "\n");
    EXPECT_EQ(Publish({"--accept-host-key", "SHA256:someoneelse"}).status, 5);
    EXPECT_TRUE(ReadTree(remote_).empty());
    ASSERT_EQ(Publish({"--accept-host-key", unknownKey}).status, 0);
    missingFolder();
    ASSERT_EQ(Publish({"--target", url_}).status, 0);
    const Tree published = ReadTree(remote_);

    Write("index.html", Page("Changed"));
    ssh_->Restart();
    const Outcome changed = Publish({"--accept-host-key", ssh_->Fingerprint()});
    EXPECT_EQ(changed.status, 6);
    EXPECT_EQ(changed.err,
              "vendigo-html: WARNING: the host key of " + host +
                  " has CHANGED: it is now "
                  "ssh-ed25519 " +
                  ssh_->Fingerprint() + ", which is not the key " +
                  (home_ / ".ssh/known_hosts").string() +
                  " holds for it. Someone may be listening "
                  "in, or the server was set up anew. Nothing was sent. If the server's "
                  "administrator confirms the new key, remove the old one with: ssh-keygen -R '" +
                  host + "'\n");
    EXPECT_EQ(ReadTree(remote_), published);
  } else {
    environment_["VENDIGO_PUBLISH_PASSWORD"] = "wrong";
    const Outcome wrong = Publish({"--target", url_});
    EXPECT_EQ(wrong.status, 3);
    EXPECT_EQ(wrong.err,
              "vendigo-html: The server refused the user name or password for " + url_ + ".\n");
    EXPECT_TRUE(ReadTree(remote_).empty());
    environment_["VENDIGO_PUBLISH_PASSWORD"] = FtpServer::kPassword;
    missingFolder();
  }
}

INSTANTIATE_TEST_SUITE_P(Servers, Refusing, ::testing::Values("sftp", "ftp"));

}  // namespace
}  // namespace vendigo::testing
