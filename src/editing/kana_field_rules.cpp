#include "editing/kana_field_rules.h"

namespace tabulon {

using Request = KanaFieldRules::Request;

std::optional<Request> KanaFieldRules::FocusIn(bool withWindow) {
  inField_ = true;
  if (withWindow) return std::nullopt;
  return ToKana();
}

std::optional<Request> KanaFieldRules::FocusOut() {
  inField_ = false;
  if (switched_.empty()) return std::nullopt;
  Request back{switched_, saved_};
  const bool restore = restore_;
  switched_.clear();
  saved_.clear();
  restore_ = false;
  if (!restore) return std::nullopt;
  return back;
}

std::optional<Request> KanaFieldRules::Reported(const std::string& engine, const std::string& mode,
                                                bool takesFocus) {
  engine_ = engine;
  mode_ = mode;
  if (!inField_) return std::nullopt;
  // The user changed the mode in the field: leaving it brings the old one back.
  if (engine == switched_ && mode != saved_) restore_ = true;
  if (takesFocus && switched_.empty()) return ToKana();
  return std::nullopt;
}

std::optional<Request> KanaFieldRules::ToKana() {
  if (mode_.empty() || !switched_.empty()) return std::nullopt;
  switched_ = engine_;
  saved_ = mode_;
  restore_ = mode_ != kKana;
  if (!restore_) return std::nullopt;
  return Request{engine_, kKana};
}

}  // namespace tabulon
