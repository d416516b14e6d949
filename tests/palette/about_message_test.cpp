#include "palette/about_message.h"

#include <gtest/gtest.h>

#include <vector>

namespace vendigo {
namespace {

TEST(AboutMessageTest, VersionTextOrItsNumbersThenTwoReturnsThenTheCopyright) {
  struct Case {
    VersionInfo version;
    const char *message;
  };
  const std::vector<Case> cases = {
      {{"3.1.26.167", {3, 1, 26, 167}, "(c) Us"}, "Vendigo Version 3.1.26.167\r\r(c) Us"},
      {{"", {3, 1, 26, 167}, "(c) Us"}, "Vendigo Version 3.1.26.167\r\r(c) Us"},
      {{"3.1 beta", {3, 1, 0, 0}, ""}, "Vendigo Version 3.1 beta\r\r"},
      {{"", {0, 0, 0, 0}, "x"}, "Vendigo Version 0.0.0.0\r\rx"},
  };
  for (const Case &c : cases) EXPECT_EQ(AboutMessage(c.version), c.message);
}

TEST(AboutMessageTest, TheProgramIsVersion3_1_26_167) {
  EXPECT_EQ(AboutMessage(ProgramVersion()),
            std::string("Vendigo Version 3.1.26.167\r\r") + VENDIGO_COPYRIGHT);
}

}  // namespace
}  // namespace vendigo
