// Checks the generated day icons and main icon. iconforge writes every image the same way,
// so the files are read at fixed offsets rather than decoded as any .ico could be.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
using Ink = std::vector<bool>;  // a digit cell, row by row
constexpr int kBlack = 0, kGrey = 7, kWhite = 15;
const Bytes kPalette{0, 0, 0, 0, 0, 0, 128, 0, 0, 128, 0, 0, 0, 128, 128, 0,  // the standard 16
    128, 0, 0, 0, 128, 0, 128, 0, 128, 128, 0, 0, 192, 192, 192, 0,          // colours stored
    128, 128, 128, 0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 0,            // blue, green, red, 0
    255, 0, 0, 0, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 0};

Bytes Read(std::size_t day) {  // day 0: the main icon
  const std::string name = day == 0 ? "main" : (day < 10 ? "day0" : "day") + std::to_string(day);
  std::ifstream in(RAVELIND_ICON_DIR "/" + name + ".ico", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

long Le(const Bytes& b, std::size_t at, std::size_t n) {
  return n == 0 ? 0 : Le(b, at + 1, n - 1) << 8 | b.at(at);
}

// The image count; directory entry n: width, height, colours, bits, bytes, offset; and the
// BITMAPINFOHEADER at that offset: size, width, height (both masks), planes, bits.
std::vector<long> Header(const Bytes& b, std::size_t n) {
  const std::size_t e = 6 + 16 * n, at = std::size_t(Le(b, e + 12, 4));
  return {Le(b, 4, 2), b.at(e), b.at(e + 1), b.at(e + 2), Le(b, e + 6, 2), Le(b, e + 8, 4),
          Le(b, e + 12, 4), Le(b, at, 4), Le(b, at + 4, 4), Le(b, at + 8, 4), Le(b, at + 12, 2),
          Le(b, at + 14, 2)};
}

// The colour index at (r, c) of a day's image: after the headers and palette come its rows,
// bottom row first, 16 bytes each, two pixels a byte.
int Pixel(const Bytes& b, std::size_t r, std::size_t c) {
  return b.at(22 + 40 + 64 + (31 - r) * 16 + c / 2) >> (c % 2 ? 0 : 4) & 15;
}

// The empty page drawn in layers: the sheet behind with its grey corners, the front page
// with its rounded lower left corner, then the binder rings over its top edge.
int Frame(std::size_t r, std::size_t c) {
  const std::size_t layers[][5]{  // top, bottom, left, right, colour
      {3, 31, 0, 31, kBlack}, {3, 3, 0, 0, kGrey}, {31, 31, 0, 0, kGrey}, {4, 30, 1, 30, kWhite},
      {2, 29, 2, 31, kBlack}, {3, 28, 3, 30, kWhite}, {29, 29, 2, 2, kWhite},
      {0, 4, 6, 8, kBlack}, {0, 4, 25, 27, kBlack}};
  std::size_t colour = kGrey;
  for (const auto& l : layers) if (r >= l[0] && r <= l[1] && c >= l[2] && c <= l[3]) colour = l[4];
  return int(colour);
}

// The black of a digit's 12-column cell and the 2-column gap after it, 20 rows from (top,
// left), cut off at the page's right edge.
Ink Cell(const Bytes& b, std::size_t top, std::size_t left) {
  Ink cell(20 * 14);
  for (std::size_t i = 0; i < cell.size(); ++i)
    cell[i] = left + i % 14 <= 30 && Pixel(b, top + i / 14, left + i % 14) == kBlack;
  return cell;
}

// One 32x32 image in the standard colours, unmasked: the page with the number in black.
TEST(DayIconPictures, EachDayIsThePageWithItsNumberInBlackCentredOnIt) {
  const Bytes first = Read(1);
  std::vector<Ink> glyph(10);  // 1 to 9 as the single days show them, 0 as the 10th does
  for (std::size_t day = 1; day <= 31; ++day) {
    SCOPED_TRACE("day " + std::to_string(day));
    const Bytes b = Read(day);
    ASSERT_EQ(b.size(), 22u + 744u);  // header, palette, 32 rows of 16 bytes and of 4
    EXPECT_EQ(Header(b, 0), (std::vector<long>{1, 32, 32, 16, 4, 744, 22, 40, 32, 64, 1, 4}));
    EXPECT_EQ(Bytes(b.begin() + 62, b.begin() + 126), kPalette);
    EXPECT_EQ(Bytes(b.begin() + 638, b.end()), Bytes(128));  // the AND mask
    const std::size_t top = day == 10 || day == 11 || day >= 20 ? 7 : 6;
    std::size_t up = 32, down = 0, left = 32, right = 0;  // the number's black
    for (std::size_t r = 0; r < 32; ++r)
      for (std::size_t c = 0; c < 32; ++c) {  // the 1st's frame is the page, the others' the 1st's
        const int colour = Pixel(b, r, c);
        if (r < 5 || r > 28 || c < 3 || c > 30)
          ASSERT_EQ(colour, day == 1 ? Frame(r, c) : Pixel(first, r, c)) << r << "," << c;
        else if (colour != kBlack)
          ASSERT_EQ(colour, kWhite) << r << "," << c;
        else
          up = std::min(up, r), down = std::max(down, r), left = std::min(left, c),
          right = std::max(right, c);
      }
    EXPECT_TRUE(up == top && down == top + 19) << "rows " << up << ".." << down;
    const std::size_t width = right + 1 - left;
    EXPECT_TRUE(day < 10 ? width >= 9 && width <= 14 : width >= 22 && width <= 26) << width;
    // Centred on columns 3 to 30, an odd spare column to the right.
    EXPECT_TRUE(left + right == 32 || left + right == 33) << left << ".." << right;
    // A number is its digits' cells side by side; no black in the gap between them.
    const Ink tens = Cell(b, top, left), units = Cell(b, top, left + 14);
    if (day <= 10) glyph[day % 10] = day < 10 ? tens : units;
    EXPECT_TRUE(day < 10 || (tens == glyph[day / 10] && units == glyph[day % 10]));
  }
  for (std::size_t d = 0; d < 10; ++d)
    for (std::size_t other = 0; other < d; ++other) EXPECT_NE(glyph[d], glyph[other]) << d;
}

TEST(DayIconPictures, MainIconIsTheFirstsPageAndABareOne) {
  const Bytes main = Read(0), first = Read(1);
  ASSERT_EQ(main.size(), 38u + 744u + 296u);  // the small image: 16 rows of 8 bytes and of 4
  EXPECT_EQ(Header(main, 0), (std::vector<long>{2, 32, 32, 16, 4, 744, 38, 40, 32, 64, 1, 4}));
  EXPECT_EQ(Header(main, 1), (std::vector<long>{2, 16, 16, 16, 4, 296, 782, 40, 16, 32, 1, 4}));
  EXPECT_EQ(Bytes(main.begin() + 38, main.begin() + 782), Bytes(first.begin() + 22, first.end()));
  EXPECT_EQ(Bytes(main.begin() + 822, main.begin() + 886), kPalette);
  EXPECT_EQ(Bytes(main.begin() + 886, main.begin() + 1014), Bytes(128));  // all black, masked too
  for (std::size_t i = 0; i < 256; ++i) {  // a bare one: stem and flag shown, the rest masked
    const std::size_t r = i / 16, c = i % 16;  // mask rows of 4 bytes, bottom row first
    const bool one = ((c == 7 || c == 8) && r >= 2 && r <= 11) || ((c == 5 || c == 6) && r == 3);
    EXPECT_EQ(main.at(1014 + (15 - r) * 4 + c / 8) >> (7 - c % 8) & 1, int(!one)) << r << ',' << c;
  }
}

}  // namespace
