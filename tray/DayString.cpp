#include "tray/DayString.h"

namespace ravelind {

std::string FormatDayString(const std::tm* localTime) {
  if (localTime == nullptr) return {};
  char text[8] = {};
  const std::size_t length = std::strftime(text, sizeof text, "%d", localTime);
  return std::string(text, length);
}

std::string DayStringAt(std::time_t moment) {
  // localtime's buffer is shared, but everything here runs on one thread.
  return FormatDayString(std::localtime(&moment));
}

}  // namespace ravelind
