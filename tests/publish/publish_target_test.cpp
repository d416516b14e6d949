#include <gtest/gtest.h>

#include "publish/publish_target.h"
#include "publish/publish_target_store.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

TEST(PublishTarget, ReadsAddressesWritesThemBackAndRefusesWhatIsNoTarget) {
  using P = PublishProtocol;
  const std::tuple<const char *, std::optional<PublishTarget>, const char *> cases[] = {
      // The address, the target, and the address written back or the reason of the refusal.
      {"sftp://shop@h/var/www", PublishTarget{P::Sftp, "shop", "h", 0, "/var/www"}, ""},
      {"FTP://h:2121/", PublishTarget{P::Ftp, "", "h", 2121, "/"}, "ftp://h:2121/"},
      {"ftps://a%40b@[::1]:21/my%20site/", PublishTarget{P::Ftps, "a@b", "[::1]", 21, "/my site"},
       "ftps://a%40b@[::1]:21/my%20site"},
      {"sftp://h/~/www", PublishTarget{P::Sftp, "", "h", 0, "/~/www"}, ""},
      {"http://h/", std::nullopt,
       "The target 'http://h/' is no sftp://, ftp:// or ftps:// address, such as "
       "sftp://user@host/path."},
      {"sftp://u:pw@h/", std::nullopt,
       "The target 'sftp://u:pw@h/' holds a password: leave it out, it is asked for when "
       "publishing."},
      {"ftp://h:99999/", std::nullopt, "The target 'ftp://h:99999/' has a bad port."},
      {"ftp:///www", std::nullopt, "The target 'ftp:///www' names no host."},
      {"ftp://h/a%2", std::nullopt, "The target 'ftp://h/a%2' has a bad path."},
  };
  for (const auto &[url, expected, text] : cases) {
    std::string reason;
    const std::optional<PublishTarget> target = ParsePublishTarget(url, reason);
    EXPECT_EQ(target, expected) << url;
    EXPECT_EQ(target ? PublishTargetUrl(*target) : reason, *text || !target ? text : url);
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
