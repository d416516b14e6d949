#include "builders/hidden_item.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendigo {
namespace {

TEST(HiddenItemHtml, WrapsTheItemValueInTheWebBotMarkup) {
  struct Case {
    const char *name;
    OrderItem item;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"taxable, no tax code",
       {"Blue Mug", "4.50", "2", "1", ""},
       R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="Blue Mug^4.50^2^1^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)"},
      {"weight, tax state and code untouched",
       {"Mug", "00.00", "", "", ""},
       R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="Mug^00.00^^^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)"},
      {"not taxable, with a tax code",
       {"Mug", "4", "1", "0", "TX1"},
       R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="Mug^4^1^0^TX1"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)"},
      {"a caret in the description is kept and adds a field",
       {"Red^Blue", "1.2.3", "", "", ""},
       R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="Red^Blue^1.2.3^^^"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)"},
      {"double quotes in every field become entities",
       {R"(12" "Vinyl")", R"(4")", R"(")", R"(")", R"(T"X)"},
       R"(<!--webbot bot="HTMLMarkup" Alt="&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;" StartSpan --><INPUT TYPE="HIDDEN" NAME="pelluxadd" VALUE="12&quot; &quot;Vinyl&quot;^4&quot;^&quot;^&quot;^T&quot;X"><!--WEBBOT bot="HTMLMarkup" EndSpan -->)"},
      {"markup, ampersands and accents are not escaped",
       {"<b>Caf\xC3\xA9</b> & 'Tea'", ".", "", "", "a b"},
       "<!--webbot bot=\"HTMLMarkup\" Alt=\"&lt;FONT COLOR=red size=1&gt;!Pellux!&lt;/FONT&gt;\" "
       "StartSpan --><INPUT TYPE=\"HIDDEN\" NAME=\"pelluxadd\" VALUE=\"<b>Caf\xC3\xA9</b> & "
       "'Tea'^.^^^a b\"><!--WEBBOT bot=\"HTMLMarkup\" EndSpan -->"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HiddenItemHtml(c.item), c.expected);
  }
}

}  // namespace
}  // namespace vendigo
