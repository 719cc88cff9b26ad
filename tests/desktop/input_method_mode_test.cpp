// The title's kana input over D-Bus, against a stand-in ibus engine on a
// bus of its own: the engine reports its input mode menu as ibus engines do,
// the field's focus comes, and the engine is asked for hiragana; the focus
// leaves, and it is asked for its mode before. (Which engine is asked for
// which mode in every order of events is the core's KanaFieldRules test.)
#include "desktop/input_method_mode.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFocusEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QVariantMap>

#include "desktop/desktop.h"

// An ibus property and a list of them, marshalled as ibus sends them.
struct FakeProperty {
  QString key;
  uint state = 0;
  QList<FakeProperty> children;
};
struct FakePropertyList {
  QList<FakeProperty> items;
};
Q_DECLARE_METATYPE(FakeProperty)
Q_DECLARE_METATYPE(FakePropertyList)

QDBusArgument& operator<<(QDBusArgument& arg, const FakePropertyList& list) {
  arg.beginStructure();
  arg << QStringLiteral("IBusPropList") << QVariantMap();
  arg.beginArray(qMetaTypeId<QDBusVariant>());
  for (const FakeProperty& item : list.items) arg << QDBusVariant(QVariant::fromValue(item));
  arg.endArray();
  arg.endStructure();
  return arg;
}

// key, type, label, icon, tooltip, sensitive, visible, state, children, symbol
QDBusArgument& operator<<(QDBusArgument& arg, const FakeProperty& property) {
  arg.beginStructure();
  arg << QStringLiteral("IBusProperty") << QVariantMap() << property.key << uint{0}
      << QDBusVariant(QString()) << QString() << QDBusVariant(QString()) << true << true
      << property.state << QDBusVariant(QVariant::fromValue(FakePropertyList{property.children}))
      << QDBusVariant(QString());
  arg.endStructure();
  return arg;
}

// Never read back; the registration wants both ways.
const QDBusArgument& operator>>(const QDBusArgument& arg, FakePropertyList&) {
  return arg;
}
const QDBusArgument& operator>>(const QDBusArgument& arg, FakeProperty&) {
  return arg;
}

namespace tabulon {
namespace {

constexpr char kEnginePath[] = "/org/freedesktop/IBus/Engine/1";
constexpr char kEngineInterface[] = "org.freedesktop.IBus.Engine";

// The engine's side: the modes it is asked for, in order.
class FakeEngine : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.IBus.Engine")
 public:
  QStringList asked;

 public slots:
  void PropertyActivate(const QString& name, uint state) {
    asked << name + (state == 1 ? "" : " (unchecked)");
  }
};

FakeProperty Item(const char* key, bool checked) {
  return {QString::fromLatin1(key), checked ? 1u : 0u, {}};
}

TEST(InputMethodMode, AsksAnIbusEngineForKanaAndForItsModeBack) {
  const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
  if (daemon.isEmpty()) GTEST_SKIP() << "needs dbus-daemon";
  QProcess bus;
  bus.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
  while (!bus.canReadLine() && bus.waitForReadyRead(5000)) {
  }
  const QString address = QString::fromUtf8(bus.readLine().trimmed());
  ASSERT_FALSE(address.isEmpty()) << "dbus-daemon gave no address";
  qputenv("IBUS_ADDRESS", address.toUtf8());
  qputenv("QT_IM_MODULE", "ibus");

  QDBusConnection engineBus = QDBusConnection::connectToBus(address, QStringLiteral("engine"));
  ASSERT_TRUE(engineBus.isConnected());
  FakeEngine engine;
  ASSERT_TRUE(engineBus.registerObject(kEnginePath, &engine, QDBusConnection::ExportAllSlots));

  QObject field;
  KanaWhileFocused(&field);
  // The watcher's connection: a call on it returns once the bus has taken
  // what the watcher sent before, here its listening for the engines'
  // reports.
  QDBusConnection watcherBus(QStringLiteral("tabulon-ibus"));
  ASSERT_TRUE(watcherBus.isConnected());
  watcherBus.call(QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
      QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId")));

  // The engine takes the focus in direct input: all its properties, the
  // input mode menu among them.
  QDBusMessage registered = QDBusMessage::createSignal(kEnginePath, kEngineInterface,
                                                       QStringLiteral("RegisterProperties"));
  const FakeProperty menu{QStringLiteral("InputMode"),
                          0,
                          {Item("InputMode.Direct", true), Item("InputMode.Hiragana", false)}};
  registered << QVariant::fromValue(
      QDBusVariant(QVariant::fromValue(FakePropertyList{{Item("Tool", false), menu}})));
  ASSERT_TRUE(engineBus.send(registered));

  QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
  QCoreApplication::sendEvent(&field, &in);
  const QDeadlineTimer deadline(5000);
  while (engine.asked.isEmpty() && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  EXPECT_EQ(engine.asked.join(' ').toStdString(), "InputMode.Hiragana");

  // The field's own menu takes the focus only for a moment.
  for (const QEvent::Type type : {QEvent::FocusOut, QEvent::FocusIn}) {
    QFocusEvent popup(type, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(&field, &popup);
  }
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(&field, &out);
  // A last call of the test's own over the watcher's connection: the engine
  // has had every request before it when it answers.
  QDBusMessage end = QDBusMessage::createMethodCall(
      engineBus.baseService(), kEnginePath, kEngineInterface, QStringLiteral("PropertyActivate"));
  end << QStringLiteral("end") << 1u;
  watcherBus.call(end, QDBus::BlockWithGui);
  EXPECT_EQ(engine.asked.join(' ').toStdString(), "InputMode.Hiragana InputMode.Direct end");

  QDBusConnection::disconnectFromBus(QStringLiteral("engine"));
  bus.kill();
  bus.waitForFinished();
}

}  // namespace
}  // namespace tabulon

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qDBusRegisterMetaType<FakeProperty>();
  qDBusRegisterMetaType<FakePropertyList>();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include "input_method_mode_test.moc"
