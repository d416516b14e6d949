#include "palette/menu_installation.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/recording_messages.h"
#include "support/temp_folder.h"

namespace vendigo {
namespace {

namespace fs = std::filesystem;
using testing::RecordingMessages;
using testing::TempFolder;
using Values = std::vector<std::pair<std::string, std::string>>;

const std::string kPath = "/opt/shop tools/vendigo";
const std::string kCommand =
    "3,,1,Pellux,Pellux Vendigo,/opt/shop tools/vendigo,,0,\"Pellux Vendigo Tools\",0";
const std::string kInstalled = std::string("message: ") + kInstalledMessage;
const std::string kRestart = std::string("message: ") + kRestartEditorMessage;
const std::string kRemoved = std::string("message: ") + kRemovedMessage;
const std::string kKeysFailed = std::string("message: ") + kEditorKeysFailedMessage;
const std::string kConfirm = std::string("ask: ") + kConfirmRemovalQuestion;

// Files may grow no larger than the given size while it lives, for root too, so the store can
// be read but not rewritten.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

class MenuInstallationTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  const fs::path file_ = folder_.path() / "vendigo-pageeditor" / "editor-registry.ini";
  EditorRegistry registry_{file_};
  RecordingMessages messages_;

  void Store(const std::string &text) {
    fs::create_directories(file_.parent_path());
    TempFolder::WriteBytes(file_, text);
  }
  Values Key(const char *path) {
    const std::optional<RegistryKey> key = registry_.OpenKey(path, false);
    return key ? key->Values() : Values{{"(no key)", ""}};
  }
  bool Click(const std::string &caption) {
    return ChangeEditorMenus(caption, registry_, kPath, messages_);
  }
};

TEST_F(MenuInstallationTest, InstallStateComesFromTheCommandKey) {
  struct Case {
    const char *name;
    std::optional<std::string> store;  // nullopt: no store file at all
    InstallState state;
  };
  const std::vector<Case> cases = {
      {"no store", std::nullopt, InstallState::KeyAbsent},
      {"empty store", "", InstallState::KeyAbsent},
      {"only the menu key", "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\nPellux=x\n",
       InstallState::KeyAbsent},
      {"key without the value",
       "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\nOther=1\n",
       InstallState::NotInstalled},
      {"empty value", "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\nVendigo=\n",
       InstallState::NotInstalled},
      {"value", "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\nVendigo=3,,1\n",
       InstallState::Installed},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(file_.parent_path());
    if (c.store) Store(*c.store);
    EXPECT_EQ(ReadInstallState(registry_), c.state);
    if (!c.store) {
      EXPECT_FALSE(fs::exists(file_)) << "reading the state created the store";
    }
  }
}

TEST_F(MenuInstallationTest, CommandValueHoldsThePathAsGiven) {
  EXPECT_EQ(CommandValue("C:\\Tools\\palette.exe"),
            "3,,1,Pellux,Pellux Vendigo,C:\\Tools\\palette.exe,,0,\"Pellux Vendigo Tools\",0");
  EXPECT_EQ(CommandValue(kPath), kCommand);
}

TEST_F(MenuInstallationTest, InstallCreatesBothKeysAndEndsTheProgram) {
  EXPECT_TRUE(Click(kInstallCaption));
  EXPECT_EQ(Key(kInitCommandsKey), (Values{{"Vendigo", kCommand}}));
  EXPECT_EQ(Key(kInitMenusKey), (Values{{"Pellux", "3, ,1,&Pellux,Table"}}));
  EXPECT_EQ(messages_.events, (std::vector<std::string>{kInstalled, kRestart}));
  EXPECT_EQ(ReadInstallState(registry_), InstallState::Installed);

  // Installing again writes the same text over it.
  const std::string first = TempFolder::ReadBytes(file_);
  EXPECT_TRUE(Click(kInstallCaption));
  EXPECT_EQ(TempFolder::ReadBytes(file_), first);
}

TEST_F(MenuInstallationTest, InstallAndRemovalDeleteTheLeftOverValueAndKeepOthers) {
  const std::string store =
      "[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\n"
      "Other=keep me\nPellux=left over\nVendigo=old\n"
      "[Software\\Microsoft\\FrontPage\\Editor\\Init Menus]\nTools=keep me too\n";
  Store(store);
  EXPECT_TRUE(Click(kInstallCaption));
  EXPECT_EQ(Key(kInitCommandsKey), (Values{{"Other", "keep me"}, {"Vendigo", kCommand}}));
  EXPECT_EQ(Key(kInitMenusKey),
            (Values{{"Tools", "keep me too"}, {"Pellux", "3, ,1,&Pellux,Table"}}));

  Store(store);
  messages_.answers = {true};
  EXPECT_TRUE(Click(kRemoveCaption));
  EXPECT_EQ(Key(kInitCommandsKey), (Values{{"Other", "keep me"}}));
  EXPECT_EQ(Key(kInitMenusKey), (Values{{"Tools", "keep me too"}}));
  EXPECT_EQ(messages_.events, (std::vector<std::string>{kInstalled, kRestart, kConfirm, kRemoved}));
  EXPECT_EQ(ReadInstallState(registry_), InstallState::NotInstalled);
}

TEST_F(MenuInstallationTest, RemovalAsksFirstAndANoChangesNothing) {
  ASSERT_TRUE(Click(kInstallCaption));
  const std::string installed = TempFolder::ReadBytes(file_);
  messages_.events.clear();

  EXPECT_FALSE(Click(kRemoveCaption));  // the recorded answer is No
  EXPECT_EQ(messages_.events, (std::vector<std::string>{kConfirm}));
  EXPECT_EQ(TempFolder::ReadBytes(file_), installed);
}

TEST_F(MenuInstallationTest, AnyCaptionButTheInstallOneRemoves) {
  // Removal from a store without the editor's keys creates them empty and deletes nothing.
  for (const std::string caption : {"Remove From FrontPage", "install into frontpage", ""}) {
    SCOPED_TRACE(caption);
    messages_.events.clear();
    messages_.answers = {true};
    EXPECT_TRUE(Click(caption));
    EXPECT_EQ(messages_.events, (std::vector<std::string>{kConfirm, kRemoved}));
    EXPECT_EQ(Key(kInitCommandsKey), Values{});
    EXPECT_EQ(Key(kInitMenusKey), Values{});
  }
}

TEST_F(MenuInstallationTest, AStoreThatCannotBeOpenedChangesNothing) {
  // A file stands where the store's folder should be.
  TempFolder::WriteBytes(file_.parent_path(), "not a folder");
  EXPECT_FALSE(Click(kInstallCaption));
  messages_.answers = {true};
  EXPECT_FALSE(Click(kRemoveCaption));
  EXPECT_EQ(messages_.events, (std::vector<std::string>{kKeysFailed, kConfirm, kKeysFailed}));
  EXPECT_EQ(TempFolder::ReadBytes(file_.parent_path()), "not a folder");
}

TEST_F(MenuInstallationTest, AValueThatCannotBeWrittenStopsTheClick) {
  Store("[Software\\Microsoft\\FrontPage\\Editor\\Init Commands]\nVendigo=3,,1\n");
  const std::string before = TempFolder::ReadBytes(file_);
  {
    const FileSizeLimit noWrites(0);
    EXPECT_FALSE(Click(kInstallCaption));
    // A removal that cannot take the value away is a failure too, never reported as done.
    messages_.answers = {true};
    EXPECT_FALSE(Click(kRemoveCaption));
  }
  EXPECT_EQ(messages_.events, (std::vector<std::string>{"message: Failed to set data for 'Vendigo'",
                                                        kConfirm, kKeysFailed}));
  EXPECT_EQ(TempFolder::ReadBytes(file_), before);
}

TEST_F(MenuInstallationTest, AMenuKeyThatCannotBeMadeKeepsTheCommandChange) {
  // The size the store has once the command value is in: the menu key does not fit any more.
  TempFolder reference;
  EditorRegistry referenceRegistry(reference.path() / "editor-registry.ini");
  referenceRegistry.OpenKey(kInitCommandsKey, true)->WriteString("Vendigo", kCommand);
  const auto commandOnly = fs::file_size(referenceRegistry.File());

  {
    const FileSizeLimit menuKeyDoesNotFit(commandOnly);
    EXPECT_FALSE(Click(kInstallCaption));
  }
  EXPECT_EQ(messages_.events, (std::vector<std::string>{kKeysFailed}));
  EXPECT_EQ(Key(kInitCommandsKey), (Values{{"Vendigo", kCommand}}));
  EXPECT_EQ(Key(kInitMenusKey), (Values{{"(no key)", ""}}));
}

}  // namespace
}  // namespace vendigo
