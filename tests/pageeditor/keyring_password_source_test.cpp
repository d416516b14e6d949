// Publishing passwords and the desktop's keyring. ctest runs this with a real Secret Service
// (gnome-keyring-daemon, unlocked, on the test's own bus; VENDIGO_TEST_SECRET_SERVICE=1) and on a
// bus without one.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QThread>
#include <QtTest>
#include <thread>

#include "pageeditor/keyring_password_source.h"
#include "pageeditor/secret_service_keyring.h"

using vendigo::KeyringPasswordSource;
using vendigo::PublishTarget;
using Keyring = vendigo::SecretServiceKeyring;
using Password = std::optional<std::string>;

namespace {

const bool kService = qgetenv("VENDIGO_TEST_SECRET_SERVICE") == "1";

PublishTarget Target(const std::string &user, const std::string &path = "/www") {
  return PublishTarget{vendigo::PublishProtocol::Ftps, user, "shop.example", 2121, path};
}

}  // namespace

class KeyringPasswordSourceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!kService) return;
    QTRY_VERIFY_WITH_TIMEOUT(
        QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.secrets"),
        10000);
  }

  // The user is asked on the window's thread while the publishing thread waits; a password the
  // server took is not asked again while the keyring (or the same source) keeps it, one it refused
  // is forgotten, in the keyring too.
  void theUserIsAskedOnlyWhenNoPasswordIsKept() {
    QObject window;
    QStringList asked;
    int typed = 0;
    const auto ask = [&](const PublishTarget &target, bool refusedBefore) {
      asked << QStringLiteral("%1%2 on the window's thread: %3")
                   .arg(QString::fromStdString(target.user), refusedBefore ? " again" : "")
                   .arg(QThread::currentThread() == window.thread());
      return Password("typed " + std::to_string(++typed));
    };
    const PublishTarget target = Target("carl");
    Password first;
    {
      KeyringPasswordSource passwords(&window, ask);
      QEventLoop loop;
      std::thread publishing([&] {
        first = passwords.Password(target, false);
        passwords.Accepted(target, *first);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit);
      });
      loop.exec();
      publishing.join();
      QCOMPARE(passwords.KeyringThere(), kService);
      QCOMPARE(passwords.Password(target, false), Password("typed 1"));
      // The keyring keeps one password per server and user, whatever the site's folder there.
      Keyring::Outcome outcome;
      QCOMPARE(Keyring::Lookup(Target("carl", "/shop"), outcome),
               kService ? Password("typed 1") : std::nullopt);
      QCOMPARE(Keyring::Lookup(Target("dora"), outcome), std::nullopt);
    }
    KeyringPasswordSource passwords(&window, ask);
    const Password second = passwords.Password(target, false);
    passwords.Rejected(target);
    const Password third = passwords.Password(target, true);
    const Password fourth = KeyringPasswordSource(&window, ask).Password(target, false);

    QCOMPARE(first, Password("typed 1"));
    const QString carl = "carl on the window's thread: 1";
    const QString again = "carl again on the window's thread: 1";
    QCOMPARE((QList<Password>{second, third, fourth}),
             (QList<Password>{kService ? "typed 1" : "typed 2", kService ? "typed 2" : "typed 3",
                              kService ? "typed 3" : "typed 4"}));
    QCOMPARE(asked.join(", "), (kService ? "" : carl + ", ") + carl + ", " + again + ", " + carl);
  }
};

QTEST_MAIN(KeyringPasswordSourceTest)
#include "keyring_password_source_test.moc"
