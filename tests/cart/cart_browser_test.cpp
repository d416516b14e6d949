#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <random>

#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include "basket/form_fields.h"
#include "check/page_orders.h"
#include "check/site_check.h"
#include "core/settings.h"
#include "html/html_document.h"
#include "support/program_run.h"
#include "support/shop_pages.h"
#include "support/temp_folder.h"

namespace vendigo {

namespace {

constexpr int kEngineMs = 60000;

// Lets a script fill in a page as a shopper does and press its order button or link.
constexpr char kShopper[] = R"(
  function field(n, i) { return document.getElementsByName(n)[i || 0]; }
  function set(n, v, i) { field(n, i).value = v; } function check(n, i) { field(n, i).checked = 1; }
  function pick(n, t) { for (const o of field(n).options) if (o.text.includes(t)) o.selected = 1; }
  function qa(i, v) { document.querySelectorAll('input[name^=pelluxqa_]')[i].value = v; }
  function buy() { document.querySelector('input[type=submit i]').click(); }
  function follow() { document.querySelector('a[href*=pelluxadd]').click(); })";

// The fields the browser builds as each order button of each form is clicked (caught from the
// formdata event of the real submission, sent into a frame of its own so the page stays), and the
// query of each link to the cart program: one line per order, "name=value" joined by "&".
constexpr char kSentOrders[] = R"((() => {
  const sink = document.createElement('iframe');
  sink.name = 'sink';
  document.body.appendChild(sink);
  let sent = null;
  addEventListener('formdata', e => { sent = [...e.formData]; }, true);
  const lines = [];
  for (const form of document.forms) {
    for (const button of form.elements) {
      if (button.disabled || !['submit', 'image'].includes(button.type)) continue;
      form.target = 'sink';
      form.action = 'about:blank';
      sent = null;
      button.click();
      lines.push((sent || []).map(([name, value]) => name + '=' + value).join('&'));
    }
  }
  for (const link of document.querySelectorAll('a[href]')) {
    if (/pellux\.(cgi|exe)$/i.test(link.pathname)) lines.push('query ' + link.search.slice(1));
  }
  return lines.join('\n');
})())";

// The findings of the page check, one per line.
QString CheckFindings(const std::string &html, const Settings &settings) {
  QString text;
  for (const CheckFinding &finding : CheckPage("page.html", html, settings))
    text += QString::fromStdString(FormatFinding(finding)) + "\n";
  return text;
}

// "name=value" joined by "&".
QString Joined(const std::vector<SentField> &fields) {
  QStringList pairs;
  for (const SentField &field : fields)
    pairs << QString::fromStdString(field.name + "=" + field.value);
  return pairs.join('&');
}

// The orders the page check derives, as kSentOrders writes them, a link's fields after "link ".
QString CheckedOrders(const std::string &html, const Settings &settings) {
  QStringList lines;
  for (const FoundOrder &found : FindPageOrders(HtmlDocument::Read(html), settings).orders) {
    if (found.link) {
      lines << "link " + Joined(found.order.fields);
    } else if (found.order.way.starts_with("button ")) {
      lines << Joined(found.order.fields);
    }
  }
  return lines.join('\n');
}

// The browser's orders, each link's query read as the cart reads it.
QString SentOrders(const QString &lines) {
  QStringList orders = lines.split('\n');
  for (QString &order : orders) {
    if (!order.startsWith("query ")) continue;
    std::vector<SentField> fields;
    for (FormField &field : ParseFormFields(order.mid(6).toStdString()))
      fields.push_back({field.name, field.value});
    order = "link " + Joined(fields);
  }
  return orders.join('\n');
}

// One basket line per text line, as a shopper reads it from the basket.
QString Summary(const QJsonObject &basket) {
  QString text;
  for (const QJsonValue &value : basket["lines"].toArray()) {
    const QJsonObject line = value.toObject();
    text +=
        QStringList{line["description"].toString(), "x" + QString::number(line["quantity"].toInt()),
                    "@" + line["unitPrice"].toString(),
                    "w" + QString::number(line["weight"].toInt())}
            .join(' ');
    for (const QJsonValue option : line["options"].toArray())
      text += " [" + option["name"].toString() + "=" + option["description"].toString() + "]";
    for (const QJsonValue typed : line["texts"].toArray())
      text += " {" + typed["caption"].toString() + "=" + typed["text"].toString() + "}";
    text += "\n";
  }
  for (const QJsonValue refusal : basket["refusals"].toArray())
    text += "refused " + refusal["field"].toString() + ": " + refusal["reason"].toString() + "\n";
  return text;
}

}  // namespace

class CartBrowserTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The cart runs with the usual limit of open files; this test needs more for its connections.
    cart_.setChildProcessModifier([] {
      const rlimit files{1024, 1024};
      setrlimit(RLIMIT_NOFILE, &files);
    });
    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    cart_.start(VENDIGO_CART_PATH, {"--port", "0", "--currency", "CHF"});
    QVERIFY(cart_.waitForReadyRead(10000));
    const QString said = QString::fromUtf8(cart_.readAllStandardOutput());
    port_ = said.section(':', -1).section('/', 0, 0).toUShort();
    QVERIFY2(port_ != 0, qPrintable(said));
    QFile settings(folder_.filePath("pelluxfp.ini"));
    const QString ini =
        "[CONFIGS]\nOrderButton=Order!\nPelluxGeneration=4\nCGI_BIN=http://127.0.0.1:";
    QVERIFY(settings.open(QIODevice::WriteOnly) &&
            settings.write((ini + QString::number(port_) + "/cgi-bin/pellux.cgi\n").toUtf8()) > 0);
  }

  // The pages of the shared table (support/shop_pages.h), built by vendigo-html.
  void ShopperOrders_data() {
    QTest::addColumn<QStringList>("fragments");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("basket");
    for (const testing::ShopPage &page : testing::ShopPages()) {
      QStringList fragments;
      for (const std::string &fragment : page.fragments)
        fragments << QString::fromStdString(fragment);
      QTest::newRow(page.name.c_str()) << fragments << QString::fromStdString(page.actions)
                                       << QString::fromStdString(page.basket);
    }
  }

  void ShopperOrders() {
    QFETCH(QStringList, fragments);
    QFETCH(QString, actions);
    QFETCH(QString, basket);
    std::vector<std::string> built;
    for (const QString &fragment : fragments) {
      const QString command = fragment.section(' ', 0, 0);
      QStringList arguments{"--settings", folder_.filePath("pelluxfp.ini"), command};
      if (command == "page")
        arguments << "--template" << VENDIGO_TEMPLATES_DIR "/" + fragment.section(' ', 1, 1);
      const testing::ProgramRun run = testing::RunProgram(
          VENDIGO_HTML_PATH, arguments, fragment.section(' ', command == "page" ? 2 : 1).toUtf8());
      QVERIFY2(run.exitCode == 0, run.err.c_str());
      built.push_back(run.out);
    }
    const std::string html = testing::AssembleShopPage(built);
    QFile file(folder_.filePath("page.html"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(html.data(), qint64(html.size())) > 0);
    file.close();
    const Settings settings = LoadSettingsFile(folder_.filePath("pelluxfp.ini").toStdString());
    QCOMPARE(CheckFindings(html, settings), QString());
    QWebEnginePage page;
    // A page from a file may post to a cart on the network, as it may once published.
    page.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    connect(&page, &QWebEnginePage::loadStarted, this, [this] { loaded_ = false; });
    connect(&page, &QWebEnginePage::loadFinished, this, [this](bool ok) { loaded_ = ok; });
    loaded_ = false;
    page.load(QUrl::fromLocalFile(file.fileName()));
    QTRY_VERIFY_WITH_TIMEOUT(loaded_, kEngineMs);
    // What the browser sends for each order button and cart link, before the shopper changes
    // anything, is what the page check derives.
    QCOMPARE(SentOrders(RunScript(page, kSentOrders).toString()), CheckedOrders(html, settings));
    loaded_ = false;
    page.load(QUrl::fromLocalFile(file.fileName()));
    QTRY_VERIFY_WITH_TIMEOUT(loaded_, kEngineMs);
    RunScript(page, kShopper + actions);
    QTRY_VERIFY_WITH_TIMEOUT(page.url().path() == "/basket" && loaded_, kEngineMs);
    QCOMPARE(Summary(Basket()), basket);
    // The basket page's own button, sent as the browser sends it.
    RunScript(page, "document.querySelector('[value=\"Empty Basket\"]').click()");
    QTRY_COMPARE_WITH_TIMEOUT(Summary(Basket()), QString(), kEngineMs);
  }

  // Huge and numerous fields, noise and broken HTTP are refused; the cart keeps answering, on
  // 127.0.0.1 only, and says so when its port is taken.
  void BadRequestsAreRefused() {
    std::mt19937 random(14);
    QByteArray noise(5000, 0);
    for (char &byte : noise) byte = char(random());
    const QList<std::pair<QByteArray, QString>> cases = {
        {"pelluxadd=" + QByteArray(2000, 'x'), "refused pelluxadd: is 2009 bytes long"},
        {QByteArray("eop_a=1&").repeated(5000), "refused : the request has 5000 fields"},
        {"pelluxadd=" + noise.toPercentEncoding().left(3000), "refused pelluxadd: "},
    };
    for (const auto &[body, refused] : cases) {
      QVERIFY(Ask("POST /cgi-bin/pellux.cgi HTTP/1.1\r\nHost: localhost\r\nContent-Length: " +
                  QByteArray::number(body.size()) + "\r\n\r\n" + body)
                  .startsWith("HTTP/1.1 303"));
      QVERIFY2(Summary(Basket()).startsWith(refused), qPrintable(Summary(Basket())));
    }
    Ask(noise + "\r\n\r\n");
    QVERIFY(Ask("GET /basket HTTP/1.1\r\nHost: localhost\r\n\r\n").startsWith("HTTP/1.1 200"));
    for (const QHostAddress &address : QNetworkInterface::allAddresses()) {
      QTcpSocket socket;
      socket.connectToHost(address, port_);
      QVERIFY2(address.isLoopback() || !socket.waitForConnected(2000),
               qPrintable(address.toString()));
    }
    const testing::ProgramRun taken =
        testing::RunProgram(VENDIGO_CART_PATH, {"--port", QString::number(port_)});
    QCOMPARE(taken.exitCode, 1);
    QVERIFY2(QString::fromStdString(taken.err).startsWith(
                 QString("vendigo-cart: cannot listen on 127.0.0.1:%1: ").arg(port_)),
             taken.err.c_str());
  }

  // Requests over the bounds are answered at once and their rest is not read, so the cart stays
  // small however much is sent.
  void HugeRequestsAreRefusedUnread() {
    const auto refused = [](const char *status, const QByteArray &text) {
      return "HTTP/1.1 " + QByteArray(status) + "\r\nContent-Type: text/plain; charset=utf-8\r\n" +
             "Content-Length: " + QByteArray::number(text.size()) +
             "\r\nConnection: close\r\n\r\n" + text;
    };
    const QList<std::tuple<QByteArray, int, QByteArray>> cases = {
        // head, MB after it, answer
        {"POST / HTTP/1.1\r\nHost: localhost\r\nContent-Length: 268435456\r\n\r\n", 256,
         refused("413 Content Too Large",
                 "the request is 268435456 bytes long; the test cart reads up to 65536\n")},
        {"POST / HTTP/1.1\r\nHost: localhost\r\nContent-Length: 1048576\r\n\r\n", 1,
         refused("413 Content Too Large",
                 "the request is 1048576 bytes long; the test cart reads up to 65536\n")},
        {"GET / HTTP/1.1\r\nHost: localhost\r\nX-Huge: ", 128,
         refused("431 Request Header Fields Too Large",
                 "the request's headers are over 16384 bytes; the test cart reads up to 16384\n")},
    };
    for (const auto &[head, megabytes, expected] : cases) {
      const int socket = Connect(0);
      const QByteArray chunk(1 << 20, 'x');
      bool isSent = send(socket, head.constData(), head.size(), MSG_NOSIGNAL) > 0;
      for (int i = 0; isSent && i < megabytes; ++i)
        isSent = send(socket, chunk.constData(), chunk.size(), MSG_NOSIGNAL) > 0;
      const timeval wait{5, 0};
      setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
      QByteArray answer(1 << 16, 0);
      answer.resize(std::max<ssize_t>(0, recv(socket, answer.data(), answer.size(), MSG_WAITALL)));
      close(socket);
      QCOMPARE(answer, expected);
    }
    QFile status(QString("/proc/%1/status").arg(cart_.processId()));
    QVERIFY(status.open(QIODevice::ReadOnly));
    const QString peak = QString(status.readAll()).section("VmHWM:", 1).section("kB", 0, 0);
    QVERIFY2(peak.trimmed().toInt() < 64 * 1024, qPrintable(peak));
  }

  // 2,000 connections that send nothing, more than the cart may open files, and an order is
  // still answered at once.
  void OrdersPassIdleConnections() {
    std::vector<pollfd> idle(2000);
    for (pollfd &each : idle) each = {Connect(SOCK_NONBLOCK), POLLOUT, 0};
    for (QDeadlineTimer settled(20000); !settled.hasExpired();) {  // all connected or closed
      if (poll(idle.data(), idle.size(), 100) == int(idle.size())) break;
    }
    QElapsedTimer clock;
    clock.start();
    const QByteArray answer = Ask("GET /o?pelluxadd=Mug^1^0^^ HTTP/1.1\r\nHost: localhost\r\n\r\n");
    const qint64 ms = clock.elapsed();
    const QDir files(QString("/proc/%1/fd").arg(cart_.processId()));
    const qsizetype open = files.entryList(QDir::AllEntries | QDir::System).size();
    for (const pollfd &each : idle) close(each.fd);
    QVERIFY2(answer.startsWith("HTTP/1.1 303") && ms < 3000, qPrintable(QString::number(ms)));
    QVERIFY2(open < 256 + 20, qPrintable(QString::number(open)));
    QCOMPARE(Summary(Basket()), "Mug x1 @1.00 w0\n");
    Ask("POST /basket/empty HTTP/1.1\r\nHost: localhost\r\n\r\n");
  }

  // A connection ends after its answer when it asks for that or speaks HTTP/1.0, else once it
  // has waited 10 s for a request.
  void ConnectionsEnd() {
    const QList<std::pair<QByteArray, int>> cases = {
        // request, seconds until it ends
        {"GET /basket HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n", 0},
        {"GET /basket HTTP/1.0\r\n\r\n", 0},
        {"GET /basket HTTP/1.1\r\nHost: localhost\r\n\r\n", 10},
        {"GET /basket HTTP/1.1\r\nHost: loc", 10},
        {"", 10},
    };
    QList<qint64> endMs(cases.size(), -1);
    QElapsedTimer clock;
    clock.start();
    std::vector<std::unique_ptr<QTcpSocket>> sockets;  // goes first, telling endMs as it goes
    for (qsizetype i = 0; i < cases.size(); ++i) {
      sockets.push_back(std::make_unique<QTcpSocket>());
      connect(sockets[i].get(), &QTcpSocket::disconnected, this,
              [&endMs, &clock, i] { endMs[i] = clock.elapsed(); });
      sockets[i]->connectToHost(QHostAddress::LocalHost, port_);
      sockets[i]->write(cases[i].first);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!endMs.contains(-1), 30000);
    for (qsizetype i = 0; i < cases.size(); ++i) {
      const qint64 ms = endMs[i];
      QVERIFY2(cases[i].second ? ms > 9000 && ms < 25000 : ms < 2000,
               qPrintable(cases[i].first + " ended after " + QString::number(ms) + " ms"));
    }
  }

  // Another site's name for this machine, another site's pictures, scripts and background posts,
  // and Remove or Empty Basket from anywhere but the basket page change nothing; the way back is
  // a web page or one of the page editor's.
  void RequestsFromElsewhereChangeNothing() {
    const QString cup = "GET /o?pelluxadd=Cup^2^0^^ HTTP/1.1", mug = "Mug x1 @1.00 w0\n";
    const QString both = mug + "Cup x1 @2.00 w0\n", local = "Host: localhost\r\n";
    const QString empty = "POST /basket/empty HTTP/1.1", remove = "POST /basket/remove HTTP/1.1";
    const QList<std::tuple<QString, QString, QString, const char *, QString>> cases = {
        {cup, "Host: shop.example\r\n", "", "421", mug},
        {cup, "Host: 127.0.0.1.shop.example:%1\r\n", "", "421", mug},
        {cup, "Host: localhost:1\r\n", "", "421", mug},
        {cup, "", "", "400", mug},
        {"GET /o?pelluxadd=Cup^2^0^^ HTTP/1.0", "", "", "303", both},
        {cup, "Host: LOCALHOST:%1\r\nSec-Fetch-Mode: navigate\r\n", "", "303", both},
        {cup, local + "Sec-Fetch-Mode: no-cors\r\n", "", "403", mug},
        {"POST /o HTTP/1.1", local + "Sec-Fetch-Mode: cors\r\n", "pelluxadd=Cup^2^0^^", "403", mug},
        {"POST /o HTTP/1.1", local + "Sec-Fetch-Mode: navigate\r\nSec-Fetch-Site: cross-site\r\n",
         "pelluxadd=Cup^2^0^^", "303", both},
        {"GET /basket/empty HTTP/1.1", local, "", "405", mug},
        {"GET /basket/remove?line=0 HTTP/1.1", local, "", "405", mug},
        {empty, local + "Sec-Fetch-Site: cross-site\r\n", "", "403", mug},
        {remove, local + "Origin: http://shop.example\r\n", "line=0", "403", mug},
        {remove,
         "Host: 127.0.0.1:%1\r\nOrigin: http://127.0.0.1:%1\r\nSec-Fetch-Site: same-origin\r\n",
         "line=0", "303", ""},
        {empty, "Host: localhost:%1\r\nOrigin: http://localhost:%1\r\n", "", "303", ""},
    };
    for (const auto &[line, headers, body, status, basket] : cases) {
      Ask("POST /basket/empty HTTP/1.1\r\nHost: localhost\r\n\r\n");
      Ask("GET /o?pelluxadd=Mug^1^0^^ HTTP/1.1\r\nHost: localhost\r\n\r\n");
      const QString length = "Content-Length: " + QString::number(body.size()) + "\r\n";
      const QString request = line + "\r\n" + headers + length + "\r\n" + body;
      const QByteArray answer = Ask(request.arg(port_).toUtf8());
      QVERIFY2(answer.startsWith("HTTP/1.1 " + QByteArray(status)), qPrintable(request));
      QCOMPARE(Summary(Basket()), basket);
    }
    const QString shop = "https://shop.example/a.html", page = "vendigo-page:/home/me/mugs.html";
    for (const auto &[referer, back] :
         QList<std::pair<QString, QString>>{{shop, shop},
                                            {"javascript:alert(1)", shop},
                                            {"data:text/html,x", shop},
                                            {"ftp://shop.example/b", shop},
                                            {"http://127.0.0.1:%1/basket", shop},
                                            {page, page}}) {
      Ask(QString(cup + "\r\nHost: localhost:%1\r\nReferer: " + referer + "\r\n\r\n")
              .arg(port_)
              .toUtf8());
      const QString basketPage = Ask("GET /basket HTTP/1.1\r\nHost: localhost\r\n\r\n");
      QCOMPARE(basketPage.section("</form> ", -1),
               "<a href=\"" + back + "\">Back to the Shop</a></p>\n</body></html>\n");
    }
    Ask("POST /basket/empty HTTP/1.1\r\nHost: localhost\r\n\r\n");
  }

  // --currency gives the basket's sign; without it the sign is the palette's, read where an
  // installed copy keeps it each time the basket is shown.
  void TheSignIsTheMerchants() {
    QCOMPARE(Basket()["currency"].toString(), QString("CHF"));
    QTemporaryDir base;
    for (const char *folder : {"bin", "share/vendigo", "vendigo"}) QDir(base.path()).mkpath(folder);
    QVERIFY(QFile::copy(VENDIGO_CART_PATH, base.filePath("bin/vendigo-cart")));
    qputenv("XDG_CONFIG_HOME", base.path().toUtf8());
    QProcess cart;
    cart.start(base.filePath("bin/vendigo-cart"), {"--port", "0"});
    QVERIFY(cart.waitForReadyRead(10000));
    const quint16 shop = std::exchange(
        port_,
        QString(cart.readAllStandardOutput()).section(':', -1).section('/', 0, 0).toUShort());
    for (const std::string sign : {"\u20AC", "kr"}) {
      testing::TempFolder::WriteBytes(base.filePath("vendigo/pelluxfp.ini").toStdString(),
                                      "[CONFIGS]\nCurrency=" + sign);
      QCOMPARE(Basket()["currency"].toString(), QString::fromStdString(sign));
    }
    port_ = shop;
  }

 private:
  // The cart's whole answer to one request sent as it is; empty when it does not answer in time.
  QByteArray Ask(const QByteArray &request) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port_);
    socket.write(request);
    QByteArray answer;
    while (socket.waitForReadyRead(5000)) {
      answer += socket.readAll();
      const qsizetype head = answer.indexOf("\r\n\r\n");
      const qsizetype length = answer.indexOf("Content-Length: ");
      if (head > 0 && length > 0 &&
          answer.size() - head - 4 >= answer.mid(length + 16, head - length - 16).trimmed().toInt())
        break;
    }
    return answer;
  }
  int Connect(int flags) const {
    const int socket = ::socket(AF_INET, SOCK_STREAM | flags, 0);
    const sockaddr_in address{AF_INET, htons(port_), {htonl(INADDR_LOOPBACK)}, {}};
    ::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    return socket;
  }
  QJsonObject Basket() {
    const QByteArray answer = Ask("GET /basket.json HTTP/1.1\r\nHost: localhost\r\n\r\n");
    return QJsonDocument::fromJson(answer.mid(answer.indexOf("\r\n\r\n") + 4)).object();
  }
  static QVariant RunScript(QWebEnginePage &page, const QString &script) {
    auto answer = std::make_shared<std::optional<QVariant>>();
    page.runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
    return QTest::qWaitFor([&] { return answer->has_value(); }, kEngineMs) ? **answer : QVariant();
  }

  QTemporaryDir folder_;
  QProcess cart_;
  quint16 port_ = 0;
  bool loaded_ = false;
};

}  // namespace vendigo

QTEST_MAIN(vendigo::CartBrowserTest)
#include "cart_browser_test.moc"
