// The era of the Japanese calendar in which a date falls, from ICU.
#pragma once

#include <optional>

#include "editing/inserted_content.h"

namespace tabulon {

// The era's name as the Japanese locale writes it ("令和", "平成", ...) and
// the year within it; nullopt when ICU cannot tell (its data missing).
std::optional<EraYear> JapaneseEraOf(CivilDate date);

}  // namespace tabulon
