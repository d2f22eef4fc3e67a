#include "transfer/target_calendar.h"

#include <cstdio>

namespace vx::transfer {

using namespace std::chrono;

Date EasterSunday(int y) {
  const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
  const int f = (b + 8) / 25, g = (b - f + 1) / 3;
  const int h = (19 * a + b - d - g + 15) % 30;
  const int i = c / 4, k = c % 4;
  const int l = (32 + 2 * e + 2 * i - h - k) % 7;
  const int m = (a + 11 * h + 22 * l) / 451;
  const int month = (h + l - 7 * m + 114) / 31;
  const int day = (h + l - 7 * m + 114) % 31 + 1;
  return Date{year{y}, std::chrono::month{static_cast<unsigned>(month)}, std::chrono::day{static_cast<unsigned>(day)}};
}

bool IsClosingDay(Date date) {
  const weekday wd{sys_days{date}};
  if (wd == Saturday || wd == Sunday) return true;
  const unsigned m = static_cast<unsigned>(date.month()), d = static_cast<unsigned>(date.day());
  if ((m == 1 && d == 1) || (m == 5 && d == 1) || (m == 12 && (d == 25 || d == 26))) return true;
  const sys_days easter{EasterSunday(static_cast<int>(date.year()))};
  const sys_days today{date};
  return today == easter - days{2} || today == easter + days{1};
}

Date NextBusinessDay(Date date) {
  sys_days day{date};
  do {
    day += days{1};
  } while (IsClosingDay(Date{day}));
  return Date{day};
}

std::optional<Date> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  auto number = [&text](std::size_t from, std::size_t count) {
    int n = 0;
    for (std::size_t i = from; i < from + count; ++i) n = n * 10 + (text[i] - '0');
    return n;
  };
  const Date date{year{number(0, 4)}, month{static_cast<unsigned>(number(5, 2))},
                  day{static_cast<unsigned>(number(8, 2))}};
  if (!date.ok()) return std::nullopt;
  return date;
}

std::string IsoDate(Date date) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return buffer;
}

}  // namespace vx::transfer
