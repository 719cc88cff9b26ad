#include "editing/japanese_era.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>

namespace tabulon {

std::optional<EraYear> JapaneseEraOf(CivilDate date) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale japanese("ja_JP@calendar=japanese");
  const icu::TimeZone* utc = icu::TimeZone::getGMT();
  // Noon of the civil date in UTC: the same day in every calendar.
  icu::GregorianCalendar western(*utc, status);
  western.clear();
  western.set(date.year, date.month - 1, date.day, 12, 0);
  const UDate instant = western.getTime(status);
  std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(*utc, japanese, status));
  icu::SimpleDateFormat eraFormat(icu::UnicodeString(u"GGGG"), japanese, status);
  // "ja_JP" falls back to "ja" as a rule; only the root locale's data (no
  // Japanese data at all) would name no Japanese era.
  if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING) return std::nullopt;
  calendar->setTime(instant, status);
  const int year = calendar->get(UCAL_YEAR, status);
  eraFormat.setTimeZone(*utc);
  icu::UnicodeString name;
  eraFormat.format(instant, name);
  if (U_FAILURE(status) || name.isEmpty()) return std::nullopt;
  std::string utf8;
  name.toUTF8String(utf8);
  return EraYear{utf8, year};
}

}  // namespace tabulon
