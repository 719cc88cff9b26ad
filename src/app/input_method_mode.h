// Full-width hiragana input while a field has the focus, and the input mode
// the user had once it leaves. Qt's input method hints cannot ask for kana,
// so this asks the running input method itself over D-Bus: an ibus engine
// with an "InputMode" menu that offers hiragana (Mozc, Anthy), or fcitx5's
// controller. Where neither runs, it does nothing.
#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <string>

class QDBusConnection;
class QDBusMessage;
class QWidget;

namespace tabulon {

// The choices, apart from how they are sent: which ibus engine to switch to
// which mode, as the field's focus comes and goes and the engines report
// their modes. An engine is named by its D-Bus service and object path (each
// input context has an engine of its own); modes are the engine's own
// property names.
class KanaFieldRules {
 public:
  static constexpr const char* kKana = "InputMode.Hiragana";

  struct Request {
    std::string engine;
    std::string mode;
    bool operator==(const Request&) const = default;
  };

  // `withWindow`: the focus came with the window's activation, and the
  // engine of the window's input context reports as it takes the focus, a
  // moment later; until then the engine that reported last is another
  // program's.
  std::optional<Request> FocusIn(bool withWindow);
  std::optional<Request> FocusOut();
  // An engine reported its mode ("" when it has no kana mode); `takesFocus`
  // when it reported all its properties, as an engine does on taking the
  // focus.
  std::optional<Request> Reported(const std::string& engine, const std::string& mode,
                                  bool takesFocus);

 private:
  std::optional<Request> ToKana();

  std::string engine_;  // the engine that reported last
  std::string mode_;    // and its mode then
  bool inField_ = false;
  std::string switched_;  // the engine asked for kana while the field has the focus
  std::string saved_;     // its mode before
  bool restore_ = false;  // whether leaving the field asks for that mode back
};

// Watches the focus of a field (whose child it becomes) and asks the input
// method Qt talks to (QT_IM_MODULE) for kana input while the field has it.
// Every call is asynchronous.
class InputMethodMode : public QObject {
  Q_OBJECT
 public:
  explicit InputMethodMode(QWidget* field);
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
