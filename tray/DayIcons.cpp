#include "tray/DayIcons.h"

#include <cstdint>
#include <vector>

#include "tray/DayIconTable.h"
#include "tray/DayPicture.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;  // 0x00RRGGBB, no alpha

// The picture as an icon of a colour bitmap and a 1-bit mask, the form the
// day icons' images have always had: every shell shows it pixel for pixel.
// No alpha, so the mask decides. Clear pixels are black under the mask: Wine
// hands its tray the mask cut short and fills the bottom rows from the colour
// bits' first pixels, which, clear and black, then count as opaque, as the
// page's bottom rows are.
ScopedIcon IconOf(const ravelind::DayPicture& picture) {
  const int size = picture.Size();
  const std::size_t maskRow = std::size_t(size + 15) / 16 * 2;  // rows padded to 16 bits
  std::vector<std::uint32_t> colour(std::size_t(size * size), kBlack);
  std::vector<std::uint8_t> mask(maskRow * std::size_t(size), 0);
  for (int row = 0; row < size; ++row) {
    for (int column = 0; column < size; ++column) {
      const ravelind::Shade shade = picture.At(row, column);
      if (shade == ravelind::Shade::kWhite) colour[std::size_t(row * size + column)] = kWhite;
      if (shade == ravelind::Shade::kClear) {
        mask[std::size_t(row) * maskRow + std::size_t(column / 8)] |=
            static_cast<std::uint8_t>(0x80U >> (column % 8));
      }
    }
  }
  const ScopedBitmap colourBits(CreateBitmap(size, size, 1, 32, colour.data()));
  const ScopedBitmap maskBits(CreateBitmap(size, size, 1, 1, mask.data()));
  ICONINFO info{TRUE, 0, 0, maskBits.get(), colourBits.get()};
  return ScopedIcon(CreateIconIndirect(&info));  // copies both bitmaps
}

}  // namespace

HICON LoadDayIcon(std::string_view day) {
  return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ravelind::DayIconId(day)));
}

ScopedIcon LoadDayIcon(std::string_view day, int size) {
  const ravelind::DayPicture picture(ravelind::DayNumber(day), size);
  if (picture.Size() == size) return IconOf(picture);
  return ScopedIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                   MAKEINTRESOURCEA(ravelind::DayIconId(day)),
                                                   IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}
