// Decodes the generated day icons and main icon and checks every pixel
// against how the calendar page is meant to look.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;
using Bytes = std::vector<unsigned char>;
// Directory entry: width, height, colours, planes, bits; then the bitmap
// header: width, height of both masks, planes, bits, compression.
using Header = std::array<std::int64_t, 10>;
using Ink = std::vector<std::vector<bool>>;  // [row][col]

constexpr int kSize = 32;
const Rgb kBlack{0, 0, 0}, kLightGrey{192, 192, 192}, kWhite{255, 255, 255};
// clang-format off
const std::array<Rgb, 16> kWindowsPalette{{
    {0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0}, {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0}, {255, 255, 0},
    {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};
// clang-format on
const Header kDayHeader{32, 32, 16, 1, 4, 32, 64, 1, 4, 0};

struct Image {
  Header header{};
  std::array<Rgb, 16> palette{};
  int size = 0;
  std::vector<int> index;   // colour index per pixel, top row first
  std::vector<bool> clear;  // AND mask bit unset

  std::size_t Cell(int row, int col) const { return static_cast<std::size_t>(row * size + col); }
  Rgb Colour(int row, int col) const {
    return palette.at(static_cast<std::size_t>(index.at(Cell(row, col))));
  }
};

// Little-endian field; throws when it lies outside the file.
std::int64_t Field(const Bytes& bytes, std::size_t at, std::size_t length) {
  std::int64_t value = 0;
  for (std::size_t i = length; i-- > 0;) value = value << 8 | bytes.at(at + i);
  return value;
}

std::vector<Image> ReadIcon(const std::string& name) {
  std::ifstream in(std::string(RAVELIND_ICON_DIR) + "/" + name, std::ios::binary);
  const Bytes b{std::istreambuf_iterator<char>(in), {}};
  if (b.size() < 6 || Field(b, 0, 2) != 0 || Field(b, 2, 2) != 1)
    throw std::runtime_error(name + ": no icon");
  std::vector<Image> images(static_cast<std::size_t>(Field(b, 4, 2)));
  for (std::size_t n = 0; n < images.size(); ++n) {
    Image& image = images[n];
    const std::size_t entry = 6 + 16 * n, at = static_cast<std::size_t>(Field(b, entry + 12, 4));
    image.header = {Field(b, entry, 1),     Field(b, entry + 1, 1), Field(b, entry + 2, 1),
                    Field(b, entry + 4, 2), Field(b, entry + 6, 2), Field(b, at + 4, 4),
                    Field(b, at + 8, 4),    Field(b, at + 12, 2),   Field(b, at + 14, 2),
                    Field(b, at + 16, 4)};
    image.size = static_cast<int>(image.header[5]);
    const std::size_t s = static_cast<std::size_t>(image.size);
    if (Field(b, at, 4) != 40 || image.header[8] != 4 || s == 0 || s > 64 ||
        image.header[6] != 2 * image.size)
      throw std::runtime_error(name + ": not a square 4-bit image");
    const std::size_t xorStride = (4 * s + 31) / 32 * 4, andStride = (s + 31) / 32 * 4;
    const std::size_t xorAt = at + 40 + 64, andAt = xorAt + xorStride * s;
    if (andAt + andStride * s > at + static_cast<std::size_t>(Field(b, entry + 8, 4)))
      throw std::runtime_error(name + ": bitmap longer than its entry");
    for (std::size_t i = 0; i < 16; ++i)  // blue, green, red, reserved
      image.palette[i] = {int(Field(b, at + 42 + 4 * i, 1)), int(Field(b, at + 41 + 4 * i, 1)),
                          int(Field(b, at + 40 + 4 * i, 1))};
    for (std::size_t stored = s; stored-- > 0;)  // bottom-up
      for (std::size_t col = 0; col < s; ++col) {
        const std::int64_t pair = Field(b, xorAt + stored * xorStride + col / 2, 1);
        image.index.push_back(static_cast<int>(col % 2 == 0 ? pair >> 4 : pair & 0x0F));
        image.clear.push_back(
            (Field(b, andAt + stored * andStride + col / 8, 1) & (0x80 >> col % 8)) == 0);
      }
  }
  return images;
}

const std::vector<Image>& Icon(int day) {  // day 0: the main icon
  static const std::vector<std::vector<Image>> icons = [] {
    std::vector<std::vector<Image>> loaded{ReadIcon("main.ico")};
    for (int d = 1; d <= 31; ++d)
      loaded.push_back(ReadIcon((d < 10 ? "day0" : "day") + std::to_string(d) + ".ico"));
    return loaded;
  }();
  return icons.at(static_cast<std::size_t>(day));
}

const Image& Day(int day) { return Icon(day).at(0); }

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
  // The sheet's white strip on column 1 and row 30, and the corner the front
  // page's outline leaves out at (29, 2), where that sheet shows through.
  return kWhite;
}

int NumberTop(int day) { return day == 10 || day == 11 || day >= 20 ? 7 : 6; }

Ink NumberInk(int day) {
  Ink ink(kSize, std::vector<bool>(kSize, false));
  for (int row = 0; row < kSize; ++row)
    for (int col = 0; col < kSize; ++col)
      ink[std::size_t(row)][std::size_t(col)] =
          OnPageInside(row, col) && Day(day).Colour(row, col) == kBlack;
  return ink;
}

int FirstInkColumn(const Ink& ink) {
  for (int col = 0; col < kSize; ++col)
    for (int row = 0; row < kSize; ++row)
      if (ink[std::size_t(row)][std::size_t(col)]) return col;
  return kSize;
}

// A digit's cell: 20 rows, 12 columns, its ink starting in the first column.
Ink DigitCell(const Ink& ink, int top, int left) {
  Ink cell(20, std::vector<bool>(12, false));
  for (int row = 0; row < 20; ++row)
    for (int col = 0; col < 12 && left + col < kSize; ++col)
      cell[std::size_t(row)][std::size_t(col)] =
          ink[std::size_t(top + row)][std::size_t(left + col)];
  return cell;
}

class DayIconPictures : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NO_THROW(Icon(0)) << "icons in " << RAVELIND_ICON_DIR; }
};

TEST_F(DayIconPictures, FilesHoldSixteenColourImagesWithAClearMask) {
  for (int day = 1; day <= 31; ++day) {
    SCOPED_TRACE("day " + std::to_string(day));
    ASSERT_EQ(Icon(day).size(), 1u);
    EXPECT_EQ(Day(day).header, kDayHeader);
    EXPECT_EQ(Day(day).palette, kWindowsPalette);
    EXPECT_EQ(Day(day).clear, std::vector<bool>(kSize * kSize, true));
  }
}

TEST_F(DayIconPictures, EveryDayIsTheCalendarPageWithABlackNumberOnIt) {
  for (int day = 1; day <= 31; ++day)
    for (int row = 0; row < kSize; ++row)
      for (int col = 0; col < kSize; ++col) {
        const Rgb colour = Day(day).Colour(row, col);
        if (OnPageInside(row, col))
          ASSERT_TRUE(colour == kWhite || colour == kBlack)
              << "day " << day << " at " << row << "," << col;
        else
          ASSERT_EQ(colour, FrameColour(row, col)) << "day " << day << " at " << row << "," << col;
      }
}

TEST_F(DayIconPictures, NumberStandsOnItsDaysRowsCentredOnThePage) {
  for (int day = 1; day <= 31; ++day) {
    SCOPED_TRACE("day " + std::to_string(day));
    int top = kSize, bottom = -1, left = kSize, right = -1;
    const Ink ink = NumberInk(day);
    for (int row = 0; row < kSize; ++row)
      for (int col = 0; col < kSize; ++col)
        if (ink[std::size_t(row)][std::size_t(col)]) {
          top = std::min(top, row), bottom = std::max(bottom, row);
          left = std::min(left, col), right = std::max(right, col);
        }
    EXPECT_EQ(top, NumberTop(day));
    EXPECT_EQ(bottom, NumberTop(day) + 19);
    EXPECT_TRUE(left >= 4 && right <= 30) << left << ".." << right;
    EXPECT_GE(right - left + 1, day < 10 ? 9 : 22);
    EXPECT_LE(right - left + 1, day < 10 ? 14 : 26);
    // Centred between columns 3 and 30; an odd spare column goes right.
    const int leftSpare = left - 3, rightSpare = 30 - right;
    EXPECT_TRUE(rightSpare == leftSpare || rightSpare == leftSpare + 1) << left << ".." << right;
  }
}

TEST_F(DayIconPictures, EachNumberIsItsDigitsSideBySideWithoutLeadingZero) {
  // Digits 1 to 9 as the single-digit days show them, 0 as the tenth does.
  std::array<Ink, 10> glyph;
  for (int day = 1; day <= 9; ++day)
    glyph[std::size_t(day)] = DigitCell(NumberInk(day), 6, FirstInkColumn(NumberInk(day)));
  glyph[0] = DigitCell(NumberInk(10), 7, FirstInkColumn(NumberInk(10)) + 14);

  for (std::size_t d = 0; d < 10; ++d)
    for (std::size_t other = 0; other < d; ++other)
      EXPECT_NE(glyph[d], glyph[other]) << d << " looks like " << other;

  // Every day: its digits' cells 14 columns apart, nothing else inked.
  for (int day = 1; day <= 31; ++day) {
    const std::string text = std::to_string(day);
    const Ink ink = NumberInk(day);
    const int left = FirstInkColumn(ink);
    Ink expected(kSize, std::vector<bool>(kSize, false));
    for (std::size_t i = 0; i < text.size(); ++i)
      for (int row = 0; row < 20; ++row)
        for (int col = 0; col < 12; ++col)
          if (glyph[std::size_t(text[i] - '0')][std::size_t(row)][std::size_t(col)])
            expected.at(std::size_t(NumberTop(day) + row))
                .at(std::size_t(left + 14 * int(i) + col)) = true;
    EXPECT_EQ(ink, expected) << "day " << day;
  }
}

TEST_F(DayIconPictures, MainIconIsTheFirstsPageAndABareOne) {
  ASSERT_EQ(Icon(0).size(), 2u);
  const Image &large = Icon(0)[0], &small = Icon(0)[1];
  EXPECT_EQ(large.header, kDayHeader);
  EXPECT_EQ(large.palette, kWindowsPalette);
  EXPECT_EQ(large.index, Day(1).index);
  EXPECT_EQ(large.clear, Day(1).clear);

  EXPECT_EQ(small.header, (Header{16, 16, 16, 1, 4, 16, 32, 1, 4, 0}));
  EXPECT_EQ(small.palette, kWindowsPalette);
  for (int row = 0; row < 16; ++row)
    for (int col = 0; col < 16; ++col) {
      const bool stem = (col == 7 || col == 8) && row >= 2 && row <= 11;
      const bool flag = (col == 5 || col == 6) && row == 3;
      EXPECT_EQ(small.clear[small.Cell(row, col)], stem || flag) << row << "," << col;
      // Masked pixels hold colour 0 too, or they would tint the screen.
      EXPECT_EQ(small.index[small.Cell(row, col)], 0) << row << "," << col;
    }
}

}  // namespace
