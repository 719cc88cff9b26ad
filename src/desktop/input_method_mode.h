// Full-width hiragana input while a field has the focus, and the input mode
// the user had once it leaves. Qt's input method hints cannot ask for kana,
// so this asks the running input method itself over D-Bus: an ibus engine
// with an "InputMode" menu that offers hiragana (Mozc, Anthy), or fcitx5's
// controller. Where neither runs, it does nothing. Which engine is asked for
// which mode is the core's choice (KanaFieldRules).
#pragma once

#include <QObject>
#include <memory>
#include <optional>

#include "editing/kana_field_rules.h"

class QDBusConnection;
class QDBusMessage;

namespace tabulon {

// Watches the focus of a field (whose child it becomes) and asks the input
// method Qt talks to (QT_IM_MODULE) for kana input while the field has it.
// Every call is asynchronous.
class InputMethodMode : public QObject {
  Q_OBJECT
 public:
  explicit InputMethodMode(QObject* field);
  ~InputMethodMode() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  void EngineRegistered(const QDBusMessage& message);
  void EngineUpdated(const QDBusMessage& message);

 private:
  void FocusIn(bool withWindow);
  void FocusOut();
  void Send(const std::optional<KanaFieldRules::Request>& request);

  std::unique_ptr<QDBusConnection> ibus_;  // the ibus bus, where ibus runs
  KanaFieldRules rules_;
  bool fcitx_ = false;  // fcitx5's controller on the session bus
  bool inField_ = false;
  bool fcitxActivated_ = false;  // fcitx5 was turned on for the field
};

}  // namespace tabulon
