#include "builders/simple_element_commands.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "builders/simple_elements.h"
#include "editorlink/memory_editor_host.h"
#include "support/recording_messages.h"

namespace vendigo {
namespace {

using testing::RecordingMessages;

const std::string kNoDocument = "message: No document is open!";
const std::string kCouldNotConnect = "message: Could not connect to document.";
const std::string kEnd = "end program";

Settings ShopSettings(std::string orderButton) {
  Settings settings = DefaultSettings();
  settings.CGI_BIN = "/cgi-bin/pellux.cgi";
  settings.OrderButton = std::move(orderButton);
  return settings;
}

const SimpleElementCommand &Command(const std::string &caption) {
  for (const SimpleElementCommand &command : SimpleElementCommands()) {
    if (command.caption == caption) return command;
  }
  throw std::invalid_argument("no palette command " + caption);
}

// An editor with one document "<body>" open and the insertion point at its end, or none.
struct Editor {
  explicit Editor(bool documentOpen, bool connect = true) {
    if (documentOpen) host->OpenDocument("shop.htm", "<body>");
    if (connect) link.Connect();
  }
  std::shared_ptr<MemoryEditorHost> host = std::make_shared<MemoryEditorHost>();
  RecordingMessages messages;
  EditorLink link{messages, [host = host] { return host; }};
};

TEST(SimpleElementCommands, InsertTheirFragmentAtTheCursor) {
  struct Case {
    std::string caption;
    std::string inserted;
  };
  const std::vector<Case> cases = {
      {"Insert Form", R"(<form method="POST" action="/cgi-bin/pellux.cgi"><p>&nbsp;</p></form>)"},
      {"Quantity Box", R"(<input TYPE="TEXT" NAME="quantity" VALUE="1" SIZE="3" MAXLENGTH="3">)"},
      {"View Cart Link", R"(<a href="/cgi-bin/pellux.cgi">View Your Shopping Cart</a>)"},
      {"Buy Button", R"(<input TYPE="SUBMIT" VALUE="Order!">)"},
      {"eBay\u2122", EbayFormHtml(ShopSettings("Order!"))},
  };
  ASSERT_EQ(SimpleElementCommands().size(), cases.size());
  for (const Case &c : cases) {
    SCOPED_TRACE(c.caption);
    Editor editor(true);
    EXPECT_EQ(RunSimpleElementCommand(Command(c.caption), ShopSettings("Order!"), editor.link),
              InsertOutcome::Inserted);
    EXPECT_EQ(editor.host->ActiveText(), "<body>" + c.inserted);
    EXPECT_TRUE(editor.messages.events.empty());
  }
}

TEST(SimpleElementCommands, WithoutAnOrderButtonInsertNothingAndSayNothing) {
  for (const std::string orderButton : {"", "X"}) {
    for (const std::string caption : {"Buy Button", "eBay\u2122"}) {
      SCOPED_TRACE(caption + " with order button '" + orderButton + "'");
      Editor editor(true);
      EXPECT_EQ(RunSimpleElementCommand(Command(caption), ShopSettings(orderButton), editor.link),
                InsertOutcome::NothingToInsert);
      EXPECT_EQ(editor.host->ActiveText(), "<body>");
      EXPECT_TRUE(editor.messages.events.empty());

      Editor empty(false);
      EXPECT_EQ(RunSimpleElementCommand(Command(caption), ShopSettings(orderButton), empty.link),
                InsertOutcome::ProgramEnded);
      EXPECT_EQ(empty.messages.events, (std::vector<std::string>{kNoDocument, kEnd}));
    }
  }
}

TEST(SimpleElementCommands, OnlyInsertFormKeepsRunningWhenTheEditorCannotBeReached) {
  for (const SimpleElementCommand &command : SimpleElementCommands()) {
    SCOPED_TRACE(command.caption);
    const bool keepsRunning = command.caption == "Insert Form";

    Editor unconnected(true, false);
    EXPECT_EQ(RunSimpleElementCommand(command, ShopSettings("Order!"), unconnected.link),
              keepsRunning ? InsertOutcome::FailedKeptRunning : InsertOutcome::ProgramEnded);
    const std::vector<std::string> expected =
        keepsRunning ? std::vector<std::string>{kCouldNotConnect}
                     : std::vector<std::string>{kCouldNotConnect, kEnd};
    EXPECT_EQ(unconnected.messages.events, expected);
    EXPECT_EQ(unconnected.host->ActiveText(), "<body>");

    Editor noDocument(false);
    EXPECT_EQ(RunSimpleElementCommand(command, ShopSettings("Order!"), noDocument.link),
              InsertOutcome::ProgramEnded);
    EXPECT_EQ(noDocument.messages.events, (std::vector<std::string>{kNoDocument, kEnd}));
  }
}

}  // namespace
}  // namespace vendigo
