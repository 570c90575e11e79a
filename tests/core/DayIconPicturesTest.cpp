// Checks the generated day icons and main icon, and the small day pictures the program draws
// from iconforge's tables. iconforge writes every image the same way, so the files are read
// at the offsets it writes rather than decoded as any .ico could be.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tray/DayPicture.h"

namespace {

using Bytes = std::vector<unsigned char>;
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

Bytes Slice(const Bytes& b, std::size_t from, std::size_t to) {
  return {b.begin() + long(from), b.begin() + long(to)};
}

long Le(const Bytes& b, std::size_t at, std::size_t n) {
  return n == 0 ? 0 : Le(b, at + 1, n - 1) << 8 | b.at(at);
}

// The image count; directory entry n: width, height, colours, bits, bytes, offset; and the
// BITMAPINFOHEADER at that offset: size, width, height (both masks), planes, bits, and the
// palette's length when it is short of 16.
std::vector<long> Header(const Bytes& b, std::size_t n) {
  const std::size_t e = 6 + 16 * n, at = std::size_t(Le(b, e + 12, 4));
  return {Le(b, 4, 2), b.at(e), b.at(e + 1), b.at(e + 2), Le(b, e + 6, 2), Le(b, e + 8, 4),
          Le(b, e + 12, 4), Le(b, at, 4), Le(b, at + 4, 4), Le(b, at + 8, 4), Le(b, at + 12, 2),
          Le(b, at + 14, 2), Le(b, at + 32, 4)};
}

// Each size's picture: the 32 the day icon's one image, the small ones as the program draws
// them. `n` pixels a side; the number's top row (on the 32, a row lower for 10, 11 and 20-31)
// and rows; its digit cells, the gap between, the narrowest digit's ink (the one's); its
// strokes: the largest square of black in it, the narrowest run of black along a row. Outside
// `paper` (top, bottom, left, right; the number centred between the last two) is the empty
// page: `layers` over grey, which is transparent.
struct Page {
  std::size_t n, top, height, cell, gap, narrow, stroke, thinnest, paper[4];
  std::vector<std::array<std::size_t, 5>> layers;  // top, bottom, left, right, colour
};
const Page kPages[]{
    // The sheet behind, its grey corners, the front page (lower left corner rounded), rings.
    {32, 6, 20, 12, 2, 10, 4, 2, {5, 28, 3, 30}, {{3, 31, 0, 31, kBlack}, {3, 3, 0, 0, kGrey},
     {31, 31, 0, 0, kGrey}, {4, 30, 1, 30, kWhite}, {2, 29, 2, 31, kBlack}, {3, 28, 3, 30, kWhite},
     {29, 29, 2, 2, kWhite}, {0, 4, 6, 8, kBlack}, {0, 4, 25, 27, kBlack}}},
    {16, 5, 9, 5, 2, 4, 2, 2, {4, 14, 1, 14}, {{1, 15, 0, 15, kBlack}, {2, 14, 1, 14, kWhite},
     {0, 3, 3, 4, kBlack}, {0, 3, 11, 12, kBlack}}},
    {20, 5, 13, 7, 2, 5, 2, 2, {4, 18, 1, 18}, {{1, 19, 0, 19, kBlack}, {2, 18, 1, 18, kWhite},
     {0, 3, 4, 5, kBlack}, {0, 3, 14, 15, kBlack}}},
    {24, 6, 15, 9, 2, 7, 3, 2, {5, 22, 1, 22}, {{2, 23, 0, 23, kBlack}, {3, 22, 1, 22, kWhite},
     {0, 4, 5, 7, kBlack}, {0, 4, 16, 18, kBlack}}},
    {28, 6, 19, 10, 2, 7, 3, 3, {5, 26, 1, 26}, {{2, 27, 0, 27, kBlack}, {3, 26, 1, 26, kWhite},
     {0, 4, 6, 8, kBlack}, {0, 4, 19, 21, kBlack}}},
    {36, 8, 24, 13, 2, 9, 4, 4, {7, 33, 2, 33}, {{3, 35, 0, 35, kBlack}, {5, 33, 2, 33, kWhite},
     {0, 6, 7, 10, kBlack}, {0, 6, 25, 28, kBlack}}},
    {40, 9, 27, 15, 2, 11, 5, 5, {7, 37, 2, 37}, {{3, 39, 0, 39, kBlack}, {5, 37, 2, 37, kWhite},
     {0, 6, 8, 11, kBlack}, {0, 6, 28, 31, kBlack}}},
    {48, 10, 34, 18, 2, 13, 6, 6, {9, 45, 2, 45}, {{4, 47, 0, 47, kBlack}, {6, 45, 2, 45, kWhite},
     {0, 8, 10, 14, kBlack}, {0, 8, 33, 37, kBlack}}}};

// The 32's image: header, the standard palette, colour rows bottom row first (two pixels a
// byte), an AND mask that leaves all of it opaque. The small pictures are black and white,
// and transparent where grey is around the 32's page.
TEST(DayIconPictures, EachDayAtEachSizeIsThePageWithItsNumberInBlackCentredOnIt) {
  for (const Page& p : kPages) {
    const std::size_t step = p.cell + p.gap;  // from a digit's cell to the next one's
    std::vector<std::vector<bool>> glyph(10);  // 1-9 as the single days show them, 0 the 10th
    std::set<std::vector<int>> pictures;
    for (std::size_t day = 1; day <= 31; ++day) {
      SCOPED_TRACE(std::to_string(p.n) + " px, day " + std::to_string(day));
      const Bytes b = Read(day);
      ASSERT_EQ(b.size(), 22u + 744u);  // the one image, nothing after it
      const ravelind::DayPicture drawn(int(day), int(p.n));
      ASSERT_EQ(std::size_t(drawn.Size()), p.n == 32 ? 0 : p.n);
      auto pixel = [&](std::size_t r, std::size_t c) {  // as a standard colour; grey: clear
        if (p.n != 32) {
          return std::array{kGrey, kBlack, kWhite}[std::size_t(drawn.At(int(r), int(c)))];
        }
        const int place = b.at(126 + (31 - r) * 16 + c / 2) >> (c % 2 ? 0 : 4) & 15;
        return place + 16 * (b.at(638 + (31 - r) * 4 + c / 8) >> (7 - c % 8) & 1);
      };
      EXPECT_EQ(Header(b, 0), (std::vector<long>{1, 32, 32, 16, 4, 744, 22, 40, 32, 64, 1, 4, 0}));
      EXPECT_EQ(Slice(b, 62, 126), kPalette);
      std::vector<int> all;
      const std::size_t top = p.top + (p.n == 32 && (day == 10 || day == 11 || day >= 20));
      std::size_t up = p.n, down = 0, left = p.n, right = 0;  // the number's black
      std::size_t thinnest = p.n, run = 0;  // black runs along the number's rows
      for (std::size_t r = 0; r < p.n; ++r)
        for (std::size_t c = 0; c < p.n; ++c) {
          std::size_t page = kGrey;
          for (const auto& l : p.layers)
            if (r >= l[0] && r <= l[1] && c >= l[2] && c <= l[3]) page = l[4];
          all.push_back(pixel(r, c));
          if (r < p.paper[0] || r > p.paper[1] || c < p.paper[2] || c > p.paper[3])
            ASSERT_EQ(pixel(r, c), int(page)) << r << "," << c;
          else if (pixel(r, c) != kBlack)
            ASSERT_EQ(pixel(r, c), kWhite) << r << "," << c;
          else
            up = std::min(up, r), down = std::max(down, r), left = std::min(left, c),
            right = std::max(right, c);
          const bool paper = r >= p.paper[0] && c >= p.paper[2] && c <= p.paper[3];
          run = paper && pixel(r, c) == kBlack ? run + 1 : 0;
          const bool ends = run && !(c < p.paper[3] && pixel(r, c + 1) == kBlack);
          if (ends) thinnest = std::min(thinnest, run);
        }
      pictures.insert(all);
      EXPECT_TRUE(up == top && down == top + p.height - 1) << "rows " << up << ".." << down;
      const std::size_t width = right + 1 - left, tens = day < 10 ? 0 : step;
      EXPECT_TRUE(width >= tens + p.narrow && width <= tens + p.cell) << width;
      // Centred, an odd spare column to the right.
      EXPECT_TRUE(left + right + 1 - p.paper[2] - p.paper[3] <= 1) << left << ".." << right;
      // Strokes of one weight: none heavier than the others' square, none thinner along a row.
      auto square = [&](std::size_t side) {
        for (std::size_t k = 0; k < p.n * p.n; ++k) {
          bool all_black = k / p.n + side <= p.n && k % p.n + side <= p.n;
          for (std::size_t i = 0; all_black && i < side * side; ++i)
            all_black = pixel(k / p.n + i / side, k % p.n + i % side) == kBlack &&
                        k / p.n + i / side >= p.paper[0] && k % p.n + i % side >= p.paper[2];
          if (all_black) return true;
        }
        return false;
      };
      EXPECT_TRUE(square(p.stroke) && !square(p.stroke + 1)) << "heavier or lighter strokes";
      EXPECT_GE(thinnest, p.thinnest) << "a stroke thinner than the others";
      // A number is its digits' cells side by side, no black in the gap after either.
      std::vector<bool> first, second;  // row by row
      for (std::size_t k = 0; k < p.height * step; ++k) {
        const std::size_t r = top + k / step, c = left + k % step;
        first.push_back(pixel(r, c) == kBlack);
        second.push_back(c + step <= p.paper[3] && pixel(r, c + step) == kBlack);
      }
      if (day <= 10) glyph[day % 10] = day < 10 ? first : second;
      EXPECT_TRUE(day < 10 || (first == glyph[day / 10] && second == glyph[day % 10]));
    }
    EXPECT_EQ(pictures.size(), 31u) << p.n << " px: days drawn alike";
  }
}

TEST(DayIconPictures, MainIconIsTheFirstsPageAndABareOne) {
  const Bytes main = Read(0), first = Read(1);
  ASSERT_EQ(main.size(), 38u + 744u + 296u);  // the small image: 16 rows of 8 bytes and of 4
  EXPECT_EQ(Header(main, 0), (std::vector<long>{2, 32, 32, 16, 4, 744, 38, 40, 32, 64, 1, 4, 0}));
  EXPECT_EQ(Header(main, 1), (std::vector<long>{2, 16, 16, 16, 4, 296, 782, 40, 16, 32, 1, 4, 0}));
  EXPECT_EQ(Slice(main, 38, 782), Slice(first, 22, 766));  // the 1st's image
  EXPECT_EQ(Bytes(main.begin() + 822, main.begin() + 886), kPalette);
  EXPECT_EQ(Bytes(main.begin() + 886, main.begin() + 1014), Bytes(128));  // all black, masked too
  for (std::size_t i = 0; i < 256; ++i) {  // a bare one: stem and flag shown, the rest masked
    const std::size_t r = i / 16, c = i % 16;  // mask rows of 4 bytes, bottom row first
    const bool one = ((c == 7 || c == 8) && r >= 2 && r <= 11) || ((c == 5 || c == 6) && r == 3);
    EXPECT_EQ(main.at(1014 + (15 - r) * 4 + c / 8) >> (7 - c % 8) & 1, int(!one)) << r << ',' << c;
  }
}

}  // namespace
