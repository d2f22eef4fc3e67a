#pragma once
// The days on which euro transfers settle: every day but Saturdays, Sundays
// and the closing days of the TARGET2 system (1 January, Good Friday,
// Easter Monday, 1 May, 25 and 26 December). A salary asked for on a
// closing day would be paid a day late, or refused by the bank.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace vx::transfer {

using Date = std::chrono::year_month_day;

// Easter Sunday of a Gregorian year (the anonymous Gregorian computus).
Date EasterSunday(int year);

// True on Saturdays, Sundays and TARGET2 closing days.
bool IsClosingDay(Date day);

// The first business day strictly after `day`.
Date NextBusinessDay(Date day);

// "YYYY-MM-DD" of a real date, or nothing.
std::optional<Date> ParseIsoDate(std::string_view text);
std::string IsoDate(Date day);

}  // namespace vx::transfer
