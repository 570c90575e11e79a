#pragma once
// A day's small picture, drawn when it is needed from the tables iconforge
// makes of res/icons: the calendar page with the day's number on it.
#include <array>
#include <cstdint>

namespace ravelind {

// What one pixel of a day picture is.
enum class Shade : std::uint8_t { kClear, kBlack, kWhite };

class DayPicture {
 public:
  static constexpr int kLargest = 48;  // pixels a side of the largest size drawn

  // The `day`'s (1 to 31) picture drawn for `size` pixels a side; empty
  // (Size() 0) for a size that has no drawing, or a day out of range.
  DayPicture(int day, int size);

  int Size() const { return m_size; }
  Shade At(int row, int column) const;

 private:
  using Rows = std::array<std::uint64_t, kLargest>;  // bit n of a row: column n

  int m_size = 0;
  Rows m_black{};
  Rows m_white{};
};

}  // namespace ravelind
