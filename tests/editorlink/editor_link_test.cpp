#include "editorlink/editor_link.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "editorlink/automation_failure.h"
#include "editorlink/memory_editor_host.h"
#include "support/recording_messages.h"

namespace vendigo {
namespace {

using testing::RecordingMessages;

const std::string kCannotConnect =
    "message: Cannot connect to Microsoft FrontPage.\r\nFrontPage is not configured properly, "
    "this is a FrontPage error and can be easily fixed!";
const std::string kDetectAndRepair =
    "message: Start Microsoft FrontPage then Click \"Help\" -> \"Detect and Repair\" this will fix "
    "many errors in FrontPage, not just the Vendigo issue at hand!";
const std::string kNoDocument = "message: No document is open!";
const std::string kCouldNotConnect = "message: Could not connect to document.";
const std::string kEnd = "end program";

EditorHostFactory FactoryFor(std::shared_ptr<MemoryEditorHost> host) {
  return [host] { return host; };
}

EditorHostFactory FailingFactory() {
  return []() -> std::shared_ptr<EditorHost> { throw AutomationFailure("no editor"); };
}

TEST(EditorLinkConnect, BringsTheEditorToTheFrontAndSaysNothing) {
  auto host = std::make_shared<MemoryEditorHost>();
  RecordingMessages messages;
  EditorLink link(messages, FactoryFor(host));

  EXPECT_TRUE(link.Connect());
  EXPECT_TRUE(link.IsConnected());
  EXPECT_EQ(host->BringToTopCount(), 1);
  EXPECT_TRUE(messages.events.empty());
}

TEST(EditorLinkConnect, AnyAutomationFailureShowsBothMessagesAndEndsTheProgram) {
  struct Case {
    const char *name;
    EditorHostFactory factory;
  };
  auto gone = std::make_shared<MemoryEditorHost>();
  gone->Quit();
  const std::vector<Case> cases = {
      {"editor cannot be created", FailingFactory()},
      {"factory gives no host", [] { return std::shared_ptr<EditorHost>(); }},
      {"bring to top fails", FactoryFor(gone)},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    RecordingMessages messages;
    EditorLink link(messages, c.factory);
    EXPECT_FALSE(link.Connect());
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(messages.events, (std::vector<std::string>{kCannotConnect, kDetectAndRepair, kEnd}));
  }
}

TEST(EditorLinkConnect, OtherErrorsPassThrough) {
  RecordingMessages messages;
  EditorLink link(
      messages, []() -> std::shared_ptr<EditorHost> { throw std::runtime_error("out of memory"); });
  EXPECT_THROW(link.Connect(), std::runtime_error);
  EXPECT_TRUE(messages.events.empty());
}

enum class EditorState { WithDocument, WithoutDocument, QuitAfterConnect, NeverConnected };

struct InsertCase {
  const char *name;
  EditorState state;
  FailurePolicy policy;
  InsertOutcome outcome;
  std::vector<std::string> events;
};

TEST(EditorLinkInsertFragment, FollowsThePolicyForEveryEditorState) {
  const std::vector<InsertCase> cases = {
      {"inserted, end program policy",
       EditorState::WithDocument,
       FailurePolicy::EndProgram,
       InsertOutcome::Inserted,
       {}},
      {"inserted, keep running policy",
       EditorState::WithDocument,
       FailurePolicy::KeepRunning,
       InsertOutcome::Inserted,
       {}},
      {"no document ends the program",
       EditorState::WithoutDocument,
       FailurePolicy::EndProgram,
       InsertOutcome::ProgramEnded,
       {kNoDocument, kEnd}},
      {"no document ends the program even when keeping running",
       EditorState::WithoutDocument,
       FailurePolicy::KeepRunning,
       InsertOutcome::ProgramEnded,
       {kNoDocument, kEnd}},
      {"editor gone, end program",
       EditorState::QuitAfterConnect,
       FailurePolicy::EndProgram,
       InsertOutcome::ProgramEnded,
       {kCouldNotConnect, kEnd}},
      {"editor gone, keep running",
       EditorState::QuitAfterConnect,
       FailurePolicy::KeepRunning,
       InsertOutcome::FailedKeptRunning,
       {kCouldNotConnect}},
      {"never connected, end program",
       EditorState::NeverConnected,
       FailurePolicy::EndProgram,
       InsertOutcome::ProgramEnded,
       {kCouldNotConnect, kEnd}},
      {"never connected, keep running",
       EditorState::NeverConnected,
       FailurePolicy::KeepRunning,
       InsertOutcome::FailedKeptRunning,
       {kCouldNotConnect}},
  };
  for (const InsertCase &c : cases) {
    SCOPED_TRACE(c.name);
    auto host = std::make_shared<MemoryEditorHost>();
    if (c.state != EditorState::WithoutDocument) host->OpenDocument("shop.htm", "<p></p>");
    RecordingMessages messages;
    EditorLink link(messages, FactoryFor(host));
    if (c.state != EditorState::NeverConnected) {
      ASSERT_TRUE(link.Connect());
    }
    if (c.state == EditorState::QuitAfterConnect) host->Quit();

    EXPECT_EQ(link.InsertFragment("<b>x</b>", c.policy), c.outcome);
    EXPECT_EQ(messages.events, c.events);
    if (c.state != EditorState::WithoutDocument) {
      const bool inserted = c.outcome == InsertOutcome::Inserted;
      EXPECT_EQ(host->ActiveText(), inserted ? "<p></p><b>x</b>" : "<p></p>");
    }
  }
}

// A link connected to an in-memory editor that has no document open yet.
class ConnectedLink : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(link.Connect()); }

  std::shared_ptr<MemoryEditorHost> host = std::make_shared<MemoryEditorHost>();
  RecordingMessages messages;
  EditorLink link{messages, FactoryFor(host)};
};

TEST_F(ConnectedLink, PassesTheTextThroughByteForByte) {
  host->OpenDocument("C:\\shop\\index.htm");
  const std::string html = "<a href=\"x?a=1&b='2'\">\xC3\xA9\xC3\xBC\xE2\x84\xA2</a>\r\n\t\r<br>\n";

  EXPECT_EQ(link.InsertFragment(html, FailurePolicy::EndProgram), InsertOutcome::Inserted);
  EXPECT_EQ(host->ActiveText(), html);
}

TEST_F(ConnectedLink, BuildsOnlyAfterTheOpenDocumentCheck) {
  int builds = 0;
  const EditorLink::FragmentBuilder nothing = [&builds]() -> std::optional<std::string> {
    ++builds;
    return std::nullopt;
  };

  EXPECT_EQ(link.InsertFragment(nothing, FailurePolicy::EndProgram), InsertOutcome::ProgramEnded);
  EXPECT_EQ(builds, 0);

  host->OpenDocument("page.htm", "abc");
  messages.events.clear();
  EXPECT_EQ(link.InsertFragment(nothing, FailurePolicy::EndProgram),
            InsertOutcome::NothingToInsert);
  EXPECT_EQ(builds, 1);
  EXPECT_TRUE(messages.events.empty());
  EXPECT_EQ(host->ActiveText(), "abc");
}

TEST_F(ConnectedLink, ErrorsOtherThanEditorFailuresPassThrough) {
  host->OpenDocument("page.htm");
  const EditorLink::FragmentBuilder failing = []() -> std::optional<std::string> {
    throw std::invalid_argument("bad value");
  };

  EXPECT_THROW(link.InsertFragment(failing, FailurePolicy::KeepRunning), std::invalid_argument);
  EXPECT_TRUE(messages.events.empty());
  EXPECT_EQ(host->ActiveText(), "");
}

}  // namespace
}  // namespace vendigo
