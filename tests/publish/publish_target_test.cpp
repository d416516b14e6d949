#include <gtest/gtest.h>

#include "publish/publish_target.h"
#include "publish/publish_target_store.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

TEST(PublishTarget, ReadsAddressesAndWritesThemBack) {
  struct Case {
    const char *url;
    PublishTarget target;
    const char *written;  // nullptr: the address itself
  };
  const Case cases[] = {
      {"sftp://shop@example.com/var/www",
       {PublishProtocol::Sftp, "shop", "example.com", 0, "/var/www"},
       nullptr},
      {"FTP://example.com:2121/",
       {PublishProtocol::Ftp, "", "example.com", 2121, "/"},
       "ftp://example.com:2121/"},
      {"ftps://a%40b@[::1]:21/my%20site/",
       {PublishProtocol::Ftps, "a@b", "[::1]", 21, "/my site"},
       "ftps://a%40b@[::1]:21/my%20site"},
      {"sftp://h/~/www", {PublishProtocol::Sftp, "", "h", 0, "/~/www"}, nullptr},
  };
  for (const Case &c : cases) {
    std::string reason;
    const std::optional<PublishTarget> target = ParsePublishTarget(c.url, reason);
    ASSERT_TRUE(target) << c.url << ": " << reason;
    EXPECT_EQ(*target, c.target) << c.url;
    EXPECT_EQ(PublishTargetUrl(*target), c.written ? c.written : c.url);
  }
}

TEST(PublishTarget, RefusesWhatIsNoTarget) {
  const std::pair<const char *, const char *> cases[] = {
      {"http://example.com/",
       "The target 'http://example.com/' is no sftp://, ftp:// or ftps:// address, such as "
       "sftp://user@host/path."},
      {"sftp://u:secret@h/",
       "The target 'sftp://u:secret@h/' holds a password: leave it out, it is asked for when "
       "publishing."},
      {"ftp://h:99999/", "The target 'ftp://h:99999/' has a bad port."},
      {"ftp:///www", "The target 'ftp:///www' names no host."},
      {"ftp://h/a%2", "The target 'ftp://h/a%2' has a bad path."},
  };
  for (const auto &[url, expected] : cases) {
    std::string reason;
    EXPECT_FALSE(ParsePublishTarget(url, reason)) << url;
    EXPECT_EQ(reason, expected);
  }
}

TEST(PublishTargetStore, RemembersOneTargetPerSiteFolderBesideOtherChoices) {
  testing::TempFolder folder;
  const std::filesystem::path file = folder.path() / "vendigo.conf";
  testing::TempFolder::WriteBytes(file, "[FragmentPreview]\nunfolded=true\n");
  SavePublishTargetUrl(file, folder.path() / "shop", "sftp://a@h/x");
  SavePublishTargetUrl(file, folder.path() / "blog/", "ftp://b@h/y");
  SavePublishTargetUrl(file, folder.path() / "shop/../shop", "sftp://a@h/z");
  EXPECT_EQ(LoadPublishTargetUrl(file, folder.path() / "shop"), "sftp://a@h/z");
  EXPECT_EQ(LoadPublishTargetUrl(file, folder.path() / "blog"), "ftp://b@h/y");
  EXPECT_EQ(LoadPublishTargetUrl(file, folder.path() / "other"), std::nullopt);
  const std::string base = folder.path().string();
  EXPECT_EQ(testing::TempFolder::ReadBytes(file),
            "[FragmentPreview]\nunfolded=true\n[Publish]\n1\\folder=" + base +
                "/shop\n1\\target=sftp://a@h/z\nsize=2\n2\\folder=" + base +
                "/blog\n2\\target=ftp://b@h/y\n");
}

}  // namespace
}  // namespace vendigo
