// Publishing passwords and the desktop's keyring. ctest runs this twice: with a real Secret
// Service (gnome-keyring-daemon, unlocked, on the test's own bus; VENDIGO_TEST_SECRET_SERVICE=1)
// and on a bus where there is none.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QThread>
#include <QtTest>
#include <thread>

#include "pageeditor/keyring_password_source.h"
#include "pageeditor/secret_service_keyring.h"

using vendigo::KeyringPasswordSource;
using vendigo::PublishProtocol;
using vendigo::PublishTarget;
using vendigo::SecretServiceKeyring;

namespace {

bool ServiceExpected() {
  return qgetenv("VENDIGO_TEST_SECRET_SERVICE") == "1";
}

PublishTarget Target(const std::string &user, const std::string &path = "/www") {
  return PublishTarget{PublishProtocol::Ftps, user, "shop.example", 2121, path};
}

}  // namespace

class KeyringPasswordSourceTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (!ServiceExpected()) return;
    QTRY_VERIFY_WITH_TIMEOUT(
        QDBusConnection::sessionBus().interface()->isServiceRegistered("org.freedesktop.secrets"),
        10000);
  }

  void theKeyringKeepsOnePasswordPerServerAndUser() {
    SecretServiceKeyring::Outcome outcome;
    QVERIFY(!SecretServiceKeyring::Lookup(Target("anna"), outcome));
    if (!ServiceExpected()) {
      QCOMPARE(outcome, SecretServiceKeyring::Outcome::Unavailable);
      QCOMPARE(SecretServiceKeyring::Store(Target("anna"), "s3cret"),
               SecretServiceKeyring::Outcome::Unavailable);
      return;
    }
    QCOMPARE(outcome, SecretServiceKeyring::Outcome::Done);
    QCOMPARE(SecretServiceKeyring::Store(Target("anna"), "s3cret \xC3\xA9"),
             SecretServiceKeyring::Outcome::Done);
    QCOMPARE(SecretServiceKeyring::Lookup(Target("anna", "/other-site"), outcome),
             std::optional<std::string>("s3cret \xC3\xA9"));
    QCOMPARE(SecretServiceKeyring::Lookup(Target("bert"), outcome), std::nullopt);
    QCOMPARE(SecretServiceKeyring::Clear(Target("anna")), SecretServiceKeyring::Outcome::Done);
    QCOMPARE(SecretServiceKeyring::Lookup(Target("anna"), outcome), std::nullopt);
  }

  // The user is asked on the window's thread while the publishing thread waits; a password the
  // server took is not asked again while the keyring keeps it, one it refused is forgotten.
  void theUserIsAskedOnlyWhenTheKeyringHasNoPassword() {
    QObject window;
    QStringList asked;
    int typed = 0;
    const auto ask = [&](const PublishTarget &target, bool refusedBefore) {
      asked << QStringLiteral("%1%2 on the window's thread: %3")
                   .arg(QString::fromStdString(target.user), refusedBefore ? " again" : "")
                   .arg(QThread::currentThread() == window.thread());
      return std::optional<std::string>("typed " + std::to_string(++typed));
    };
    const PublishTarget target = Target("carl");
    std::optional<std::string> first;
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
      QCOMPARE(first, std::optional<std::string>("typed 1"));
      QCOMPARE(passwords.KeyringThere(), ServiceExpected());
      // The same source's next run takes the accepted password, keyring or not.
      QCOMPARE(passwords.Password(target, false), std::optional<std::string>("typed 1"));
    }
    KeyringPasswordSource passwords(&window, ask);
    const std::optional<std::string> second = passwords.Password(target, false);
    passwords.Rejected(target);
    const std::optional<std::string> third = passwords.Password(target, true);
    KeyringPasswordSource later(&window, ask);
    const std::optional<std::string> fourth = later.Password(target, false);

    if (ServiceExpected()) {
      QCOMPARE(second, std::optional<std::string>("typed 1"));
      QCOMPARE(third, std::optional<std::string>("typed 2"));
      QCOMPARE(fourth, std::optional<std::string>("typed 3"));
      QCOMPARE(asked, (QStringList{"carl on the window's thread: 1",
                                   "carl again on the window's thread: 1",
                                   "carl on the window's thread: 1"}));
    } else {
      QCOMPARE(second, std::optional<std::string>("typed 2"));
      QCOMPARE(third, std::optional<std::string>("typed 3"));
      QCOMPARE(fourth, std::optional<std::string>("typed 4"));
      QCOMPARE(
          asked,
          (QStringList{"carl on the window's thread: 1", "carl on the window's thread: 1",
                       "carl again on the window's thread: 1", "carl on the window's thread: 1"}));
    }
  }
};

QTEST_MAIN(KeyringPasswordSourceTest)
#include "keyring_password_source_test.moc"
