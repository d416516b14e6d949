// The rendered view shows every fragment as a shopper's browser does; a followed link goes to the
// desktop's browser.
#include <QDesktopServices>
#include <QSignalSpy>
#include <QtTest>

#include "builders/addit_table.h"
#include "builders/extended_option.h"
#include "builders/hidden_item.h"
#include "builders/product_interface.h"
#include "builders/quick_link.h"
#include "builders/simple_elements.h"
#include "builders/text_option.h"
#include "dialogs/web_engine_start.h"
#include "pageeditor/editor_document.h"
#include "pages/product_page.h"
#include "pages/template_package.h"
#include "support/page_script.h"

using namespace vendigo;

namespace {

constexpr int kEngineMs = 30000;
const Settings kShop{"Harbour Mugs", "$", "Order!", "/cgi-bin/pellux.cgi", "View Cart", 4};

// Every control and link the shopper meets, one a line: an input's type, name and value, a
// list's name and number of choices, a link's target; "UNSEEN" marks one that takes no room.
constexpr char kControls[] = R"(Array.from(document.querySelectorAll('input, select, a'), e =>
    (e.tagName == 'SELECT' ? 'select ' + e.name + ' ' + e.options.length
     : e.tagName == 'A' ? 'link ' + e.getAttribute('href')
     : e.type + ' ' + (e.name ? e.name + '=' : '') + e.value) +
    (e.type == 'hidden' || e.getClientRects().length ? '' : ' UNSEEN')).join('\n'))";

QString S(const std::string &html) {
  return QString::fromStdString(html);
}

// Shows html in the document's rendered view; false when the engine does not render it.
bool Show(EditorDocument &document, const QString &html) {
  document.show();
  QSignalSpy rendered(document.Rendered(), &RenderedView::Rendered);
  document.InsertAtCursor(html);
  document.RefreshRendered();
  return rendered.wait(kEngineMs);
}

}  // namespace

class RenderedViewTest : public QObject {
  Q_OBJECT

 public:
  static void initMain() { PrepareWebEngine("rendered_view_tests"); }

 public slots:
  // Stands in for the desktop's browser.
  void OpenInBrowser(const QUrl &url) { openedInBrowser_ << url.toString(); }

 private slots:
  void theShopperSeesTheControls_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("controls");
    const auto addIt = [](AddItMode mode, bool wholeInterface) {
      return S(BuildAddItFragment(mode, {{"Mug", "4.5", "1", "1", ""}, {"Cup", "3", "1", "", ""}},
                                  kShop, wholeInterface, ProductInterfaceTemplate()));
    };
    const auto productPage = [](const char *name, const ProductPageInput &input) {
      return S(BuildProductPage(ReadTemplateText(std::string(VENDIGO_TEMPLATES_DIR "/") + name),
                                input, kShop));
    };
    const OrderItem mug{"Blue Mug", "4.50", "2", "1", ""};
    const std::vector<OptionRow> sizes{{"Small", "0", "0", "Small"}, {"Large", "2", "0", "Large"}};
    QString form = S(FormContainerHtml(kShop));
    form.replace("</form>",
                 S(HiddenItemHtml(mug) + QuantityBoxHtml() + BuyButtonHtml(kShop)) + "</form>");
    QTest::newRow("form with hidden item, quantity box, order button")
        << form << "hidden pelluxadd=Blue Mug^4.50^2^1^\ntext quantity=1\nsubmit Order!";
    QTest::newRow("quick link") << S(QuickLinkHtml(kShop, {mug}))
                                << "link /cgi-bin/pellux.cgi?pelluxadd=Blue+Mug^4.50^2^1^";
    QTest::newRow("view-cart link") << S(ViewCartLinkHtml(kShop)) << "link /cgi-bin/pellux.cgi";
    QTest::newRow("text option") << S(TextOptionHtml(kShop, {"Engraving", "2"}))
                                 << "text textadd_Engraving_2=";
    QTest::newRow("option list") << S(BuildExtendedOptionHtml("Size", sizes))
                                 << "select eop_Size 2";
    QTest::newRow("addit checkboxes, whole interface")
        << addIt(AddItMode::CheckboxTable, true)
        << "checkbox addit=Mug^4.50^1^1^\ncheckbox addit=Cup^3.00^1^^\nsubmit Order!\n"
           "link /cgi-bin/pellux.cgi";
    QTest::newRow("addit radio buttons") << addIt(AddItMode::RadioTable, false)
                                         << "radio addit=Mug^4.50^1^1^\nradio addit=Cup^3.00^1^^";
    QTest::newRow("addit selection") << addIt(AddItMode::SelectList, false) << "select addit 2";
    QTest::newRow("addit quantities")
        << addIt(AddItMode::QuantityTable, false)
        << "text pelluxqa_Mug_4.50_1_1_=0\ntext pelluxqa_Cup_3.00_1__=0";
    QTest::newRow("eBay form")
        << S(EbayFormHtml(kShop))
        << "text description=\ntext price=\ntext eop_Shipping=\nsubmit Order!";
    ProductPageInput single, range;
    single.Description = "Blue Mug";
    single.Price = "4.50";
    single.Options[0] = {"Size", sizes};
    QTest::newRow("single product page")
        << productPage("single_product.zft", single)
        << "hidden pelluxadd=Blue Mug^4.50^^^\nselect eop_Size 2\ntext quantity=1\nsubmit Order!";
    range.Mode = DescriptionMode::Multiple;
    range.Descriptions = {{"Mug", "4.50", "1", "1", "", "Mug"}, {"Cup", "3", "1", "", "", "Cup"}};
    range.Related = {{"Spoon", "1.5", "0", "1", ""}};
    QTest::newRow("product range page")
        << productPage("product_range.zft", range)
        << "select pelluxadd 2\ntext quantity=1\nsubmit Order!\ncheckbox addit=Spoon^1.5^0^1^";
  }
  void theShopperSeesTheControls() {
    QFETCH(QString, page);
    QFETCH(QString, controls);
    EditorDocument document("Untitled 1");
    QVERIFY(Show(document, page));
    QCOMPARE(testing::RunScript(*document.Rendered(), kControls).toString(), controls);
  }

  // Once the click on "go" has reached the desktop's browser, or the load it started in the
  // engine has ended, the view must still show the page it was given.
  void aFollowedLinkOpensInTheDesktopBrowser_data() {
    QTest::addColumn<QString>("go");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("link") << "<a id=\"go\" href=\"https://shop.example/cart\">cart</a>"
                          << QStringList{"https://shop.example/cart"};
    QTest::newRow("link to a new window")
        << "<a id=\"go\" href=\"https://shop.example/new\" target=\"_blank\">new</a>"
        << QStringList{"https://shop.example/new"};
    QTest::newRow("order button stays in the view")
        << "<form><input name=\"ordered\" value=\"1\"><input id=\"go\" type=\"submit\"></form>"
        << QStringList{};
  }
  void aFollowedLinkOpensInTheDesktopBrowser() {
    QFETCH(QString, go);
    QFETCH(QStringList, opened);
    QDesktopServices::setUrlHandler("https", this, "OpenInBrowser");
    openedInBrowser_.clear();
    EditorDocument document("Untitled 1");
    QVERIFY(Show(document, go));
    QSignalSpy started(document.Rendered()->Page(), &QWebEnginePage::loadStarted);
    QSignalSpy finished(document.Rendered()->Page(), &QWebEnginePage::loadFinished);
    QVERIFY(testing::Click(*document.Rendered(), "#go"));
    QTRY_VERIFY_WITH_TIMEOUT(
        !openedInBrowser_.isEmpty() || (started.count() > 0 && finished.count() == started.count()),
        kEngineMs);
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(openedInBrowser_, opened);
    QCOMPARE(testing::RunScript(*document.Rendered(), "location.search.includes('ordered')"),
             QVariant(false));
  }

 private:
  QStringList openedInBrowser_;
};

QTEST_MAIN(RenderedViewTest)
#include "rendered_view_test.moc"
