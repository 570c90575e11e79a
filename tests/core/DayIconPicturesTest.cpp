// Decodes the generated day icons and main icon and checks every pixel
// against how the calendar page is meant to look.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;
using Ink = std::vector<std::vector<bool>>;  // [row][col], a 20 x 12 digit cell
constexpr std::size_t U(int i) { return static_cast<std::size_t>(i); }
const Rgb kBlack{0, 0, 0}, kLightGrey{192, 192, 192}, kWhite{255, 255, 255};
// clang-format off
const std::array<Rgb, 16> kWindowsPalette{{
    {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};
// clang-format on

// One image of a 16-colour icon: the directory entry's and the bitmap header's
// sizes and depth, then the pixels top row first.
struct Image {
  std::vector<long> header;  // width, height, colours, bits; header width, height (both masks), bits
  std::array<Rgb, 16> palette{};
  std::vector<std::vector<int>> index;   // [row][col]
  std::vector<std::vector<bool>> clear;  // AND mask bit unset
  Rgb Colour(int row, int col) const { return palette.at(U(index[U(row)][U(col)])); }
};

std::vector<Image> ReadIcon(const std::string& name) {
  std::ifstream in(std::string(RAVELIND_ICON_DIR) + "/" + name, std::ios::binary);
  const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in), {}};
  auto field = [&](std::size_t at, int length) {
    long value = 0;
    while (length-- > 0) value = value << 8 | b.at(at + std::size_t(length));
    return value;
  };
  std::vector<Image> images(b.size() < 6 ? 0 : std::size_t(field(4, 2)));
  for (std::size_t n = 0; n < images.size(); ++n) {
    Image& image = images[n];
    const std::size_t entry = 6 + 16 * n, at = std::size_t(field(entry + 12, 4));
    image.header = {field(entry, 1),  field(entry + 1, 1), field(entry + 2, 1), field(entry + 6, 2),
                    field(at + 4, 4), field(at + 8, 4),    field(at + 14, 2)};
    const std::size_t s = std::size_t(image.header[4]), xorStride = (4 * s + 31) / 32 * 4;
    const std::size_t xorAt = at + 40 + 64, andAt = xorAt + xorStride * s;
    for (std::size_t i = 0; i < 16; ++i)  // blue, green, red, reserved
      image.palette[i] = {int(b.at(at + 42 + 4 * i)), int(b.at(at + 41 + 4 * i)),
                          int(b.at(at + 40 + 4 * i))};
    for (std::size_t stored = s; stored-- > 0;) {  // bottom-up
      image.index.emplace_back();
      image.clear.emplace_back();
      for (std::size_t col = 0; col < s; ++col) {
        const long pair = field(xorAt + stored * xorStride + col / 2, 1);
        image.index.back().push_back(int(col % 2 == 0 ? pair >> 4 : pair & 0x0F));
        image.clear.back().push_back(
            (field(andAt + stored * ((s + 31) / 32 * 4) + col / 8, 1) & (0x80 >> col % 8)) == 0);
      }
    }
  }
  return images;
}

std::vector<Image> Icon(int day) {  // day 0: the main icon
  return ReadIcon(day == 0 ? "main.ico" : (day < 10 ? "day0" : "day") + std::to_string(day) + ".ico");
}

bool InRing(int col) { return (col >= 6 && col <= 8) || (col >= 25 && col <= 27); }

// The white inside of the front page, where the number may be drawn.
bool OnPageInside(int row, int col) {
  return row >= 3 && row <= 28 && col >= 3 && col <= 30 && !(row <= 4 && InRing(col));
}

// The empty page, pixel by pixel.
Rgb FrameColour(int row, int col) {
  if (row <= 4 && InRing(col)) return kBlack;  // binder rings, over the top edge
  if (row <= 1) return kLightGrey;
  if (row == 2) return col >= 2 ? kBlack : kLightGrey;  // top edge
  if (col == 0 && (row == 3 || row == 31)) return kLightGrey;
  if (col == 31) return kBlack;              // right edge
  if (row == 29 && col >= 3) return kBlack;  // bottom edge
  if (col == 2 && row <= 28) return kBlack;  // left edge
  if (OnPageInside(row, col)) return kWhite;
  if (row == 3 || col == 0 || row == 31) return kBlack;  // the sheet behind
  return kWhite;  // the sheet's strip on column 1 and row 30, and the corner at (29, 2)
}

int NumberTop(int day) { return day == 10 || day == 11 || day >= 20 ? 7 : 6; }

// The 20 x 12 cell of black on the page from (top, left).
Ink Cell(const Image& image, int top, int left) {
  Ink cell(20, std::vector<bool>(12));
  for (int row = 0; row < 20; ++row)
    for (int col = 0; col < 12 && left + col < 31; ++col)
      cell[U(row)][U(col)] = OnPageInside(top + row, left + col) &&
                       image.Colour(top + row, left + col) == kBlack;
  return cell;
}

TEST(DayIconPictures, EachDayIsTheCalendarPageWithItsNumberCentredOnIt) {
  std::array<Ink, 10> glyph;  // 1 to 9 as the single days show them, 0 as the 10th does
  std::array<int, 32> left{};
  for (int day = 1; day <= 31; ++day) {
    SCOPED_TRACE("day " + std::to_string(day));
    const std::vector<Image> icon = Icon(day);
    ASSERT_EQ(icon.size(), 1u);
    const Image& image = icon[0];
    EXPECT_EQ(image.header, (std::vector<long>{32, 32, 16, 4, 32, 64, 4}));
    EXPECT_EQ(image.palette, kWindowsPalette);
    int top = 32, bottom = -1, right = -1;
    left[U(day)] = 32;
    for (int row = 0; row < 32; ++row)
      for (int col = 0; col < 32; ++col) {
        EXPECT_TRUE(image.clear[U(row)][U(col)]);
        const Rgb colour = image.Colour(row, col);
        if (!OnPageInside(row, col)) {
          ASSERT_EQ(colour, FrameColour(row, col)) << row << "," << col;
        } else if (colour == kBlack) {
          top = std::min(top, row), bottom = std::max(bottom, row);
          left[U(day)] = std::min(left[U(day)], col), right = std::max(right, col);
        } else {
          ASSERT_EQ(colour, kWhite) << row << "," << col;
        }
      }
    EXPECT_EQ(top, NumberTop(day));
    EXPECT_EQ(bottom, NumberTop(day) + 19);
    const int width = right - left[U(day)] + 1, spare = (30 - right) - (left[U(day)] - 3);
    EXPECT_TRUE(day < 10 ? width >= 9 && width <= 14 : width >= 22 && width <= 26) << width;
    EXPECT_TRUE(spare == 0 || spare == 1) << "not centred: " << left[U(day)] << ".." << right;
    if (day < 10) glyph[U(day)] = Cell(image, 6, left[U(day)]);
    if (day == 10) glyph[0] = Cell(image, 7, left[U(day)] + 14);
  }
  for (std::size_t d = 0; d < 10; ++d)
    for (std::size_t other = 0; other < d; ++other) EXPECT_NE(glyph[d], glyph[other]) << d;
  // Every number is its digits' cells side by side, 14 columns apart.
  for (int day = 10; day <= 31; ++day) {
    const Image image = Icon(day)[0];
    EXPECT_EQ(Cell(image, NumberTop(day), left[U(day)]), glyph[U(day / 10)]) << day;
    EXPECT_EQ(Cell(image, NumberTop(day), left[U(day)] + 14), glyph[U(day % 10)]) << day;
  }
}

TEST(DayIconPictures, MainIconIsTheFirstsPageAndABareOne) {
  const std::vector<Image> main = Icon(0);
  ASSERT_EQ(main.size(), 2u);
  const Image first = Icon(1)[0];
  EXPECT_EQ(main[0].header, first.header);
  EXPECT_EQ(main[0].index, first.index);
  EXPECT_EQ(main[0].clear, first.clear);
  const Image& small = main[1];
  EXPECT_EQ(small.header, (std::vector<long>{16, 16, 16, 4, 16, 32, 4}));
  for (int row = 0; row < 16; ++row)
    for (int col = 0; col < 16; ++col) {  // a bare one; masked pixels hold colour 0 too
      const bool one = ((col == 7 || col == 8) && row >= 2 && row <= 11) ||
                       ((col == 5 || col == 6) && row == 3);
      EXPECT_EQ(small.clear[U(row)][U(col)], one) << row << "," << col;
      EXPECT_EQ(small.index[U(row)][U(col)], 0) << row << "," << col;
    }
}

}  // namespace
