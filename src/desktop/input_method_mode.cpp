#include "desktop/input_method_mode.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QFile>
#include <QFocusEvent>
#include <QList>
#include <QStandardPaths>
#include <QVariantMap>

#include "desktop/desktop.h"

namespace tabulon {

using Request = KanaFieldRules::Request;

namespace {

constexpr char kEngineInterface[] = "org.freedesktop.IBus.Engine";
constexpr char kFcitxService[] = "org.fcitx.Fcitx5";
constexpr char kFcitxPath[] = "/controller";
constexpr char kFcitxInterface[] = "org.fcitx.Fcitx.Controller1";
constexpr int kFcitxInactive = 1;  // State(): 0 no input context, 1 off, 2 on
constexpr uint kChecked = 1;       // an ibus property's state

// The address of the ibus bus, found as Qt's ibus plugin finds it: the
// environment, or the file ibus writes for this display.
QString IbusAddress() {
  QString address = qEnvironmentVariable("IBUS_ADDRESS");
  if (!address.isEmpty()) return address;
  QString path = qEnvironmentVariable("IBUS_ADDRESS_FILE");
  if (path.isEmpty()) {
    QString host = "unix";
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) {
      const QString x = qEnvironmentVariable("DISPLAY");
      const qsizetype colon = x.indexOf(':');
      if (colon > 0) host = x.left(colon);
      display = x.mid(colon + 1).section('.', 0, 0);
    }
    path = QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) + "/ibus/bus/" +
           QString::fromLatin1(QDBusConnection::localMachineId()) + '-' + host + '-' + display;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  while (!file.atEnd()) {
    const QByteArray line = file.readLine().trimmed();
    if (line.startsWith("IBUS_ADDRESS=")) return QString::fromUtf8(line.mid(13));
  }
  return {};
}

// An ibus property as far as the input mode needs it.
struct Property {
  QString key;
  uint state = 0;
  QList<Property> children;
};

bool ReadProperty(const QDBusArgument& arg, Property& property);

// ("IBusPropList", attachments, [IBusProperty in a variant, ...])
bool ReadPropertyList(const QDBusArgument& arg, QList<Property>& list) {
  if (arg.currentSignature() != "(sa{sv}av)") return false;
  QString type;
  QVariantMap attachments;
  arg.beginStructure();
  arg >> type >> attachments;
  arg.beginArray();
  while (!arg.atEnd()) {
    QDBusVariant item;
    arg >> item;
    Property property;
    if (ReadProperty(qvariant_cast<QDBusArgument>(item.variant()), property)) {
      list.append(property);
    }
  }
  arg.endArray();
  arg.endStructure();
  return true;
}

// ("IBusProperty", attachments, key, type, label, icon, tooltip, sensitive,
// visible, state, children, ...): what follows (a symbol) is left unread.
bool ReadProperty(const QDBusArgument& arg, Property& property) {
  if (!arg.currentSignature().startsWith("(sa{sv}suvsvbbuv")) return false;
  QString type, icon;
  QVariantMap attachments;
  uint kind = 0;
  QDBusVariant label, tooltip, children;
  bool sensitive = false, visible = false;
  arg.beginStructure();
  arg >> type >> attachments >> property.key >> kind >> label >> icon >> tooltip >> sensitive >>
      visible >> property.state >> children;
  arg.endStructure();
  ReadPropertyList(qvariant_cast<QDBusArgument>(children.variant()), property.children);
  return true;
}

QDBusArgument FirstArgument(const QDBusMessage& message) {
  const auto wrapped = qvariant_cast<QDBusVariant>(message.arguments().value(0));
  return qvariant_cast<QDBusArgument>(wrapped.variant());
}

// The checked item of an "InputMode" menu that offers hiragana; otherwise "".
std::string KanaMenuMode(const Property& menu) {
  if (menu.key != "InputMode") return {};
  bool kana = false;
  QString checked;
  for (const Property& item : menu.children) {
    kana = kana || item.key == KanaFieldRules::kKana;
    if (item.state == kChecked) checked = item.key;
  }
  return kana ? checked.toStdString() : std::string();
}

std::string EngineOf(const QDBusMessage& message) {
  return (message.service() + ' ' + message.path()).toStdString();
}

}  // namespace

InputMethodMode::InputMethodMode(QObject* field) : QObject(field) {
  field->installEventFilter(this);
  const QString module = qEnvironmentVariable("QT_IM_MODULE");
  if (module == "ibus") {
    const QString address = IbusAddress();
    if (address.isEmpty()) return;
    auto ibus =
        std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address, "tabulon-ibus"));
    if (!ibus->isConnected()) return;
    // Engines report their properties to whoever listens: all of them as
    // they take the focus, and each one as it changes.
    ibus->connect(QString(), QString(), kEngineInterface, "RegisterProperties", this,
                  SLOT(EngineRegistered(QDBusMessage)));
    ibus->connect(QString(), QString(), kEngineInterface, "UpdateProperty", this,
                  SLOT(EngineUpdated(QDBusMessage)));
    ibus_ = std::move(ibus);
  } else if (module.startsWith("fcitx")) {
    fcitx_ = QDBusConnection::sessionBus().isConnected();
  }
}

InputMethodMode::~InputMethodMode() = default;

void KanaWhileFocused(QObject* field) {
  new InputMethodMode(field);
}

bool InputMethodMode::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut) return false;
  // A popup (the field's own menu) takes the focus only for a moment.
  const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
  if (reason == Qt::PopupFocusReason) return false;
  if (event->type() == QEvent::FocusIn) {
    FocusIn(reason == Qt::ActiveWindowFocusReason);
  } else {
    FocusOut();
  }
  return false;
}

void InputMethodMode::FocusIn(bool withWindow) {
  inField_ = true;
  if (ibus_) Send(rules_.FocusIn(withWindow));
  if (!fcitx_) return;
  // fcitx5 turns the input method of the focused input context on or off;
  // on, Mozc types kana.
  const QDBusMessage state =
      QDBusMessage::createMethodCall(kFcitxService, kFcitxPath, kFcitxInterface, "State");
  auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(state), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
    const QDBusPendingReply<int> reply = *call;
    call->deleteLater();
    if (reply.isError() || !inField_ || fcitxActivated_ || reply.value() != kFcitxInactive) return;
    fcitxActivated_ = QDBusConnection::sessionBus().send(
        QDBusMessage::createMethodCall(kFcitxService, kFcitxPath, kFcitxInterface, "Activate"));
  });
}

void InputMethodMode::FocusOut() {
  inField_ = false;
  if (ibus_) Send(rules_.FocusOut());
  if (!fcitxActivated_) return;
  fcitxActivated_ = false;
  QDBusConnection::sessionBus().send(
      QDBusMessage::createMethodCall(kFcitxService, kFcitxPath, kFcitxInterface, "Deactivate"));
}

void InputMethodMode::EngineRegistered(const QDBusMessage& message) {
  QList<Property> properties;
  if (!ReadPropertyList(FirstArgument(message), properties)) return;
  std::string mode;
  for (const Property& property : properties) {
    if (mode.empty()) mode = KanaMenuMode(property);
  }
  Send(rules_.Reported(EngineOf(message), mode, true));
}

void InputMethodMode::EngineUpdated(const QDBusMessage& message) {
  Property property;
  if (!ReadProperty(FirstArgument(message), property)) return;
  // The menu with its items, or one item as it is checked.
  std::string mode = KanaMenuMode(property);
  if (mode.empty() && property.key.startsWith("InputMode.") && property.state == kChecked) {
    mode = property.key.toStdString();
  }
  if (!mode.empty()) Send(rules_.Reported(EngineOf(message), mode, false));
}

void InputMethodMode::Send(const std::optional<Request>& request) {
  if (!request) return;
  const QString engine = QString::fromStdString(request->engine);
  QDBusMessage activate = QDBusMessage::createMethodCall(
      engine.section(' ', 0, 0), engine.section(' ', 1), kEngineInterface, "PropertyActivate");
  activate << QString::fromStdString(request->mode) << kChecked;
  ibus_->send(activate);
}

}  // namespace tabulon
