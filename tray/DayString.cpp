#include "tray/DayString.h"

namespace ravelind {

std::string FormatDayString(const std::tm* localTime) {
  if (localTime == nullptr) return {};
  char text[8] = {};
  const std::size_t length = std::strftime(text, sizeof text, "%d", localTime);
  return std::string(text, length);
}

}  // namespace ravelind
