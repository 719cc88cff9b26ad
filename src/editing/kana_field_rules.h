// Which input-method engine to switch to which mode as a field's focus comes
// and goes and the engines report their modes: full-width hiragana while the
// field has the focus, the user's own mode once it leaves. Only the choices;
// the desktop sends them (desktop/input_method_mode.h). An engine is named by
// its D-Bus service and object path (each input context has an engine of its
// own); modes are the engine's own property names.
#pragma once

#include <optional>
#include <string>

namespace tabulon {

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

}  // namespace tabulon
