// vendigo-cart: a test cart on 127.0.0.1 that takes the orders of the generated pages and shows
// the basket, so a page can be tried before it is published.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "cart/cart_server.h"
#include "core/program_folders.h"
#include "core/settings.h"

namespace {

// The merchant's currency sign, read from the palette's settings of this copy (beside the
// program, or in the user's folders for an installed copy) each time it is asked for; "$" when the
// file does not set one.
std::function<std::string()> MerchantCurrency() {
  const std::filesystem::path settings =
      vendigo::FindOwnProgramFolders(QCoreApplication::applicationDirPath().toStdString()).settings;
  return [settings] { return vendigo::LoadSettings(settings).Currency; };
}

}  // namespace

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("vendigo-cart");
  QCoreApplication::setApplicationVersion(VENDIGO_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "A test cart on 127.0.0.1: takes what the pages order and shows the basket.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addOption({"port", "The port to listen on (0: any free port).", "port", "8765"});
  parser.addOption({"currency",
                    "The currency sign of the basket's prices (without it, the Currency of the "
                    "palette's settings).",
                    "sign"});
  parser.process(app);

  bool isNumber = false;
  const uint port = parser.value("port").toUInt(&isNumber);
  if (!isNumber || port > 65535) {
    std::fprintf(stderr, "vendigo-cart: the port \"%s\" is not a number from 0 to 65535\n",
                 qPrintable(parser.value("port")));
    return 2;
  }

  auto *listener = new QTcpServer(&app);
  // Room for a burst of connections while the cart closes the ones that wait longest.
  listener->setListenBacklogSize(1024);
  if (!listener->listen(QHostAddress::LocalHost, static_cast<quint16>(port))) {
    std::fprintf(stderr, "vendigo-cart: cannot listen on 127.0.0.1:%u: %s\n", port,
                 qPrintable(listener->errorString()));
    return 1;
  }
  std::function<std::string()> currency;
  if (parser.isSet("currency")) {
    currency = [sign = parser.value("currency").toStdString()] { return sign; };
  } else {
    currency = MerchantCurrency();
  }
  vendigo::CartServer server(listener, std::move(currency));
  std::printf("vendigo-cart: the test cart listens on http://127.0.0.1:%u/\n",
              unsigned(listener->serverPort()));
  std::fflush(stdout);
  return app.exec();
}
