#include "tray/DayPicture.h"

#include <algorithm>

namespace ravelind {
namespace {

// One size's page and digits, as tools/iconforge.py reads them from res/icons.
struct Drawing {
  int size;
  const std::uint64_t* black;   // the page's outline and rings, a row each
  const std::uint64_t* white;   // its paper; the rest around it is clear
  const std::uint32_t* digits;  // glyphs 0 to 9, `height` rows each
  int cell;                     // columns of a glyph
  int height;
  int gap;                      // blank columns between two digits' cells
  int centreLeft;               // the number's ink is centred between these
  int centreRight;              // columns, an odd spare column to the right
  const std::uint8_t* tops;     // the number's top row, from the 1st to the 31st
};

#include "DayPictures.inc"

constexpr int kDays = 31;

// A number of two cells and the gap is set in one 64-bit row, and every row
// of the page fits the picture's.
constexpr bool FitsThePicture() {
  for (const Drawing& drawing : kDrawings) {
    if (drawing.size > DayPicture::kLargest || 2 * drawing.cell + drawing.gap > 64) return false;
  }
  return true;
}
static_assert(FitsThePicture(), "a drawing too large for DayPicture");

const Drawing* Find(int size) {
  for (const Drawing& drawing : kDrawings) {
    if (drawing.size == size) return &drawing;
  }
  return nullptr;
}

int LowestBit(std::uint64_t bits) { return __builtin_ctzll(bits); }
int HighestBit(std::uint64_t bits) { return 63 - __builtin_clzll(bits); }

}  // namespace

// Drawn as iconforge's day_picture() draws it: the digits' cells side by
// side, trimmed to the columns they ink, centred and set in black on the page.
DayPicture::DayPicture(int day, int size) {
  const Drawing* drawing = Find(size);
  if (drawing == nullptr || day < 1 || day > kDays) return;
  m_size = size;
  std::copy_n(drawing->black, size, m_black.begin());
  std::copy_n(drawing->white, size, m_white.begin());
  // The tens (none before the 10th) and the units, each in its own cell.
  const int digits[] = {day / 10, day % 10};
  const int first = day < 10 ? 1 : 0;
  Rows number{};
  std::uint64_t used = 0;  // the columns the number inks
  for (int row = 0; row < drawing->height; ++row) {
    std::uint64_t& line = number[std::size_t(row)];
    for (int i = first; i < 2; ++i) {
      const std::uint64_t glyph = drawing->digits[digits[i] * drawing->height + row];
      line |= glyph << ((i - first) * (drawing->cell + drawing->gap));
    }
    used |= line;
  }
  const int width = HighestBit(used) - LowestBit(used) + 1;
  const int spare = drawing->centreRight - drawing->centreLeft + 1 - width;
  const int left = drawing->centreLeft + spare / 2;
  const int top = drawing->tops[day - 1];
  for (int row = 0; row < drawing->height; ++row) {
    const std::uint64_t ink = number[std::size_t(row)] >> LowestBit(used) << left;
    m_black[std::size_t(top + row)] |= ink;
    m_white[std::size_t(top + row)] &= ~ink;
  }
}

Shade DayPicture::At(int row, int column) const {
  const std::uint64_t bit = std::uint64_t{1} << column;
  if ((m_black[std::size_t(row)] & bit) != 0) return Shade::kBlack;
  return (m_white[std::size_t(row)] & bit) != 0 ? Shade::kWhite : Shade::kClear;
}

}  // namespace ravelind
