#include "archive/format_number.h"

#include "archive/expand_exponent.h"
#include "archive/number_value.h"
#include "platform/errors.h"

namespace vx::archive {

std::string FORMATTANUMERO(double value, int16_t& decimals) {
  if (decimals == 0) decimals = 2;
  if (decimals < 0) throw platform::MakeRuntimeError(5);
  const size_t places = static_cast<size_t>(decimals);

  // Half a unit of the last decimal, read from its text so that it is the
  // same double the amounts were always rounded with.
  const double half = NumericValue("0." + std::string(places, '0') + "5");
  const double rounded = value >= 0 ? value + half : value - half;

  std::string text = NumberText(rounded);
  ESPANDIESPONENTE(text);

  size_t point = text.find(',');
  if (point == std::string::npos) point = text.find('.');
  if (point != std::string::npos) {
    std::string fraction = text.substr(point + 1) + std::string(places, '0');
    text = text.substr(0, point) + "." + fraction.substr(0, places);
  } else {
    text += "." + std::string(places, '0');
  }
  if (!text.empty() && text.front() == '.') text.insert(0, "0");
  return text;
}

}  // namespace vx::archive
