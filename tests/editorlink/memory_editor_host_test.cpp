#include "editorlink/memory_editor_host.h"

#include <gtest/gtest.h>

#include "editorlink/automation_failure.h"

namespace vendigo {
namespace {

TEST(MemoryEditorHost, ListsOpenDocumentsOnePerLine) {
  MemoryEditorHost host;
  EXPECT_EQ(host.ListOpenDocs(), "");
  host.OpenDocument("/shop/a.htm");
  host.OpenDocument("Untitled 2");
  EXPECT_EQ(host.ListOpenDocs(), "/shop/a.htm\nUntitled 2");
}

TEST(MemoryEditorHost, InsertsAtTheCursorOfTheActiveDocumentAndMovesItPast) {
  MemoryEditorHost host;
  host.OpenDocument("first.htm", "one");
  host.OpenDocument("second.htm", "<body></body>");
  host.InsertHTML("<p>a</p>");
  host.InsertHTML("<p>b</p>");
  EXPECT_EQ(host.Documents()[0].text, "one");
  EXPECT_EQ(host.ActiveText(), "<body></body><p>a</p><p>b</p>");
  EXPECT_EQ(host.Documents()[1].cursor, host.ActiveText().size());
}

TEST(MemoryEditorHost, FailsLikeAnEditorThatIsGoneOrHasNothingOpen) {
  MemoryEditorHost host;
  EXPECT_THROW(host.InsertHTML("x"), AutomationFailure);
  host.OpenDocument("a.htm");
  host.Quit();
  EXPECT_THROW(host.BringToTop(), AutomationFailure);
  EXPECT_THROW(host.ListOpenDocs(), AutomationFailure);
  EXPECT_THROW(host.InsertHTML("x"), AutomationFailure);
  EXPECT_EQ(host.ActiveText(), "");
}

}  // namespace
}  // namespace vendigo
