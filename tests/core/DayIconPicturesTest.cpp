// Checks the generated day icons and main icon by decoding the .ico files
// and comparing every pixel with how the calendar page is meant to look.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// A small reader for 16-colour .ico files.

using Rgb = std::array<int, 3>;

struct IconImage {
  int entryWidth = 0, entryHeight = 0, entryColours = 0, entryPlanes = 0, entryBits = 0;
  int width = 0, height = 0, headerHeight = 0, planes = 0, bits = 0, compression = 0;
  std::array<Rgb, 16> palette{};
  std::vector<int> index;         // colour index per pixel, top row first
  std::vector<bool> transparent;  // AND mask bit per pixel, top row first

  int At(int row, int col) const { return index[Cell(row, col)]; }
  Rgb ColourAt(int row, int col) const { return palette[static_cast<std::size_t>(At(row, col))]; }
  bool ClearAt(int row, int col) const { return !transparent[Cell(row, col)]; }

 private:
  std::size_t Cell(int row, int col) const { return static_cast<std::size_t>(row * width + col); }
};

struct IconFile {
  std::vector<IconImage> images;
  std::string error;  // empty when the file decoded
};

class Bytes {
 public:
  explicit Bytes(std::vector<unsigned char> data) : data_(std::move(data)) {}
  std::size_t size() const { return data_.size(); }
  bool Has(std::size_t at, std::size_t count) const { return at <= data_.size() && count <= data_.size() - at; }
  int U8(std::size_t at) const { return data_[at]; }
  int U16(std::size_t at) const { return U8(at) | U8(at + 1) << 8; }
  std::int64_t U32(std::size_t at) const {
    return static_cast<std::int64_t>(static_cast<std::uint32_t>(U16(at)) |
                                     static_cast<std::uint32_t>(U16(at + 2)) << 16);
  }

 private:
  std::vector<unsigned char> data_;
};

std::size_t Stride(int bitsPerPixel, int width) {
  return static_cast<std::size_t>((bitsPerPixel * width + 31) / 32 * 4);
}

std::string DecodeImage(const Bytes& bytes, std::size_t at, std::size_t length, IconImage& image) {
  if (!bytes.Has(at, length) || length < 40) return "image lies outside the file";
  if (bytes.U32(at) != 40) return "not a BITMAPINFOHEADER";
  image.width = static_cast<int>(bytes.U32(at + 4));
  image.headerHeight = static_cast<int>(bytes.U32(at + 8));
  image.height = image.headerHeight / 2;
  image.planes = bytes.U16(at + 12);
  image.bits = bytes.U16(at + 14);
  image.compression = static_cast<int>(bytes.U32(at + 16));
  if (image.bits != 4 || image.width <= 0 || image.width > 256 || image.height <= 0 ||
      image.height > 256) {
    return "not a small 4-bit image";
  }
  const std::size_t palette = at + 40;
  const std::size_t xorBits = palette + 16 * 4;
  const std::size_t h = static_cast<std::size_t>(image.height);
  const std::size_t andBits = xorBits + Stride(4, image.width) * h;
  if (andBits + Stride(1, image.width) * h > at + length) return "bitmap longer than its entry";
  for (std::size_t i = 0; i < 16; ++i) {  // RGBQUAD: blue, green, red, reserved
    image.palette[i] = {bytes.U8(palette + 4 * i + 2), bytes.U8(palette + 4 * i + 1),
                        bytes.U8(palette + 4 * i)};
  }
  for (int row = 0; row < image.height; ++row) {
    const std::size_t stored = static_cast<std::size_t>(image.height - 1 - row);  // bottom-up
    for (int col = 0; col < image.width; ++col) {
      const std::size_t c = static_cast<std::size_t>(col);
      const int pair = bytes.U8(xorBits + stored * Stride(4, image.width) + c / 2);
      image.index.push_back(col % 2 == 0 ? pair >> 4 : pair & 0x0F);
      const int mask = bytes.U8(andBits + stored * Stride(1, image.width) + c / 8);
      image.transparent.push_back((mask & (0x80 >> (col % 8))) != 0);
    }
  }
  return "";
}

IconFile ReadIcon(const std::string& path) {
  IconFile file;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    file.error = "cannot open " + path;
    return file;
  }
  const Bytes bytes{std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {})};
  if (!bytes.Has(0, 6) || bytes.U16(0) != 0 || bytes.U16(2) != 1) {
    file.error = path + ": no ICONDIR";
    return file;
  }
  const int count = bytes.U16(4);
  for (int n = 0; n < count; ++n) {
    const std::size_t entry = 6 + 16 * static_cast<std::size_t>(n);
    if (!bytes.Has(entry, 16)) {
      file.error = path + ": directory cut short";
      return file;
    }
    IconImage image;
    image.entryWidth = bytes.U8(entry) == 0 ? 256 : bytes.U8(entry);
    image.entryHeight = bytes.U8(entry + 1) == 0 ? 256 : bytes.U8(entry + 1);
    image.entryColours = bytes.U8(entry + 2);
    image.entryPlanes = bytes.U16(entry + 4);
    image.entryBits = bytes.U16(entry + 6);
    const std::string error = DecodeImage(bytes, static_cast<std::size_t>(bytes.U32(entry + 12)),
                                          static_cast<std::size_t>(bytes.U32(entry + 8)), image);
    if (!error.empty()) {
      file.error = path + ": image " + std::to_string(n) + ": " + error;
      return file;
    }
    file.images.push_back(std::move(image));
  }
  return file;
}

struct GeneratedIcons {
  std::map<int, IconFile> days;
  IconFile main;
  std::string error;
};

const GeneratedIcons& Icons() {
  static const GeneratedIcons icons = [] {
    GeneratedIcons loaded;
    for (int day = 1; day <= 31; ++day) {
      const std::string name = std::string(day < 10 ? "day0" : "day") + std::to_string(day);
      loaded.days[day] = ReadIcon(std::string(RAVELIND_ICON_DIR) + "/" + name + ".ico");
      if (loaded.error.empty()) loaded.error = loaded.days[day].error;
      if (loaded.error.empty() && loaded.days[day].images.size() != 1) loaded.error = name + ": not one image";
    }
    loaded.main = ReadIcon(std::string(RAVELIND_ICON_DIR) + "/main.ico");
    if (loaded.error.empty()) loaded.error = loaded.main.error;
    if (loaded.error.empty() && loaded.main.images.size() != 2) loaded.error = "main.ico: not two images";
    return loaded;
  }();
  return icons;
}

const IconImage& Day(int day) { return Icons().days.at(day).images.front(); }

// ---------------------------------------------------------------------------
// How the page should look.

const Rgb kBlack{0, 0, 0};
const Rgb kLightGrey{192, 192, 192};
const Rgb kWhite{255, 255, 255};
constexpr int kSize = 32;

const std::array<Rgb, 16> kWindowsPalette{{{0, 0, 0}, {128, 0, 0}, {0, 128, 0}, {128, 128, 0},
                                           {0, 0, 128}, {128, 0, 128}, {0, 128, 128},
                                           {192, 192, 192}, {128, 128, 128}, {255, 0, 0},
                                           {0, 255, 0}, {255, 255, 0}, {0, 0, 255},
                                           {255, 0, 255}, {0, 255, 255}, {255, 255, 255}}};

bool InRing(int col) { return (col >= 6 && col <= 8) || (col >= 25 && col <= 27); }

// The white inside of the front page, where the number may be drawn.
bool OnPageInside(int row, int col) {
  return row >= 3 && row <= 28 && col >= 3 && col <= 30 && !(row <= 4 && InRing(col));
}

// The empty page, pixel by pixel, built from the layout rules.
Rgb FrameColour(int row, int col) {
  if (row <= 4 && InRing(col)) return kBlack;  // binder rings, over the top edge
  if (row <= 1) return kLightGrey;
  if (row == 2) return col >= 2 ? kBlack : kLightGrey;  // top edge
  if (col == 0 && (row == 3 || row == 31)) return kLightGrey;
  if (col == 31) return kBlack;                                      // right edge
  if (row == 29 && col >= 3) return kBlack;                          // bottom edge
  if (col == 2 && row <= 28) return kBlack;                          // left edge
  if (OnPageInside(row, col)) return kWhite;
  if (row == 3 || col == 0 || row == 31) return kBlack;              // the sheet behind
  // The sheet's white strip on column 1 and row 30, and the corner the front
  // page's outline leaves out at (29, 2), where that sheet shows through.
  return kWhite;
}

// The black pixels of the number: bounding box and connected pieces.
struct Box {
  int top = kSize, bottom = -1, left = kSize, right = -1;
  void Add(int row, int col) {
    top = std::min(top, row);
    bottom = std::max(bottom, row);
    left = std::min(left, col);
    right = std::max(right, col);
  }
  int Width() const { return right - left + 1; }
};

using Bitmap = std::vector<std::vector<bool>>;  // [row][col], true = ink

struct Piece {
  Box box;
  Bitmap ink;  // within box
};

Bitmap NumberInk(const IconImage& image) {
  Bitmap ink(kSize, std::vector<bool>(kSize, false));
  for (int row = 0; row < kSize; ++row)
    for (int col = 0; col < kSize; ++col)
      ink[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] =
          OnPageInside(row, col) && image.ColourAt(row, col) == kBlack;
  return ink;
}

bool Get(const Bitmap& map, int row, int col) {
  if (row < 0 || col < 0 || row >= static_cast<int>(map.size()) ||
      col >= static_cast<int>(map[0].size()))
    return false;
  return map[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

// Cells of `map` equal to `value` reachable from (row, col); 8-neighbours when
// `diagonal`, else 4.
std::vector<std::pair<int, int>> Flood(const Bitmap& map, Bitmap& seen, int row, int col,
                                       bool value, bool diagonal) {
  std::vector<std::pair<int, int>> cells, todo{{row, col}};
  const int rows = static_cast<int>(map.size()), cols = static_cast<int>(map[0].size());
  while (!todo.empty()) {
    const auto [r, c] = todo.back();
    todo.pop_back();
    if (r < 0 || c < 0 || r >= rows || c >= cols || Get(seen, r, c) || Get(map, r, c) != value)
      continue;
    seen[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = true;
    cells.emplace_back(r, c);
    for (int dr = -1; dr <= 1; ++dr)
      for (int dc = -1; dc <= 1; ++dc)
        if ((dr != 0 || dc != 0) && (diagonal || dr == 0 || dc == 0)) todo.emplace_back(r + dr, c + dc);
  }
  return cells;
}

// The number's digits, left to right.
std::vector<Piece> Digits(const IconImage& image) {
  const Bitmap ink = NumberInk(image);
  Bitmap seen(kSize, std::vector<bool>(kSize, false));
  std::vector<Piece> pieces;
  for (int col = 0; col < kSize; ++col)
    for (int row = 0; row < kSize; ++row) {
      if (!Get(ink, row, col) || Get(seen, row, col)) continue;
      Piece piece;
      const auto cells = Flood(ink, seen, row, col, true, true);
      for (const auto& [r, c] : cells) piece.box.Add(r, c);
      piece.ink.assign(static_cast<std::size_t>(piece.box.bottom - piece.box.top + 1),
                       std::vector<bool>(static_cast<std::size_t>(piece.box.Width()), false));
      for (const auto& [r, c] : cells)
        piece.ink[static_cast<std::size_t>(r - piece.box.top)]
                 [static_cast<std::size_t>(c - piece.box.left)] = true;
      pieces.push_back(std::move(piece));
    }
  return pieces;
}

// Enclosed paper areas of a glyph: 4-connected white regions that do not
// reach the glyph's surroundings. Each is given as its mean row, counted
// from the glyph's top.
std::vector<double> Counters(const Bitmap& glyph) {
  Bitmap padded(glyph.size() + 2, std::vector<bool>(glyph[0].size() + 2, false));
  for (std::size_t r = 0; r < glyph.size(); ++r)
    for (std::size_t c = 0; c < glyph[r].size(); ++c) padded[r + 1][c + 1] = glyph[r][c];
  Bitmap seen(padded.size(), std::vector<bool>(padded[0].size(), false));
  Flood(padded, seen, 0, 0, false, false);
  std::vector<double> counters;
  for (int r = 0; r < static_cast<int>(padded.size()); ++r)
    for (int c = 0; c < static_cast<int>(padded[0].size()); ++c)
      if (!Get(padded, r, c) && !Get(seen, r, c)) {
        double rows = 0;
        const auto cells = Flood(padded, seen, r, c, false, false);
        for (const auto& cell : cells) rows += cell.first - 1;
        counters.push_back(rows / static_cast<double>(cells.size()));
      }
  return counters;
}

// Length of the black run through (row, col), across or down.
int StrokeRun(const Bitmap& map, int row, int col, int dRow, int dCol) {
  int length = 1;
  for (int r = row + dRow, c = col + dCol; Get(map, r, c); r += dRow, c += dCol) ++length;
  for (int r = row - dRow, c = col - dCol; Get(map, r, c); r -= dRow, c -= dCol) ++length;
  return length;
}

std::vector<int> RowRuns(const Bitmap& map, int row) {
  std::vector<int> runs;
  for (int col = 0; col < static_cast<int>(map[0].size()); ++col)
    if (Get(map, row, col) && !Get(map, row, col - 1)) runs.push_back(StrokeRun(map, row, col, 0, 1));
  return runs;
}

class DayIconPictures : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Icons().error, "") << "icons in " << RAVELIND_ICON_DIR; }
};

// ---------------------------------------------------------------------------
// The files

TEST_F(DayIconPictures, EachDayHoldsOneOpaque32x32SixteenColourImage) {
  for (int day = 1; day <= 31; ++day) {
    SCOPED_TRACE("day " + std::to_string(day));
    const IconImage& image = Day(day);
    EXPECT_EQ(image.entryWidth, 32);
    EXPECT_EQ(image.entryHeight, 32);
    EXPECT_EQ(image.entryColours, 16);
    EXPECT_EQ(image.entryPlanes, 1);
    EXPECT_EQ(image.entryBits, 4);
    EXPECT_EQ(image.width, 32);
    EXPECT_EQ(image.headerHeight, 64);
    EXPECT_EQ(image.planes, 1);
    EXPECT_EQ(image.compression, 0);
    EXPECT_EQ(image.palette, kWindowsPalette);
    for (int row = 0; row < kSize; ++row)
      for (int col = 0; col < kSize; ++col) ASSERT_TRUE(image.ClearAt(row, col)) << row << "," << col;
  }
}

TEST_F(DayIconPictures, OnlyBlackLightGreyAndWhiteOccur) {
  for (int day = 1; day <= 31; ++day)
    for (int row = 0; row < kSize; ++row)
      for (int col = 0; col < kSize; ++col) {
        const Rgb colour = Day(day).ColourAt(row, col);
        ASSERT_TRUE(colour == kBlack || colour == kLightGrey || colour == kWhite)
            << "day " << day << " at " << row << "," << col;
      }
}

// ---------------------------------------------------------------------------
// The page

TEST_F(DayIconPictures, EveryDaySharesTheCalendarPageFrame) {
  for (int day = 1; day <= 31; ++day)
    for (int row = 0; row < kSize; ++row)
      for (int col = 0; col < kSize; ++col) {
        const Rgb colour = Day(day).ColourAt(row, col);
        if (OnPageInside(row, col))
          EXPECT_TRUE(colour == kWhite || colour == kBlack) << "day " << day << " at " << row << "," << col;
        else
          EXPECT_EQ(colour, FrameColour(row, col)) << "day " << day << " at " << row << "," << col;
      }
}

TEST_F(DayIconPictures, PagesMeetAtTheLowerRightAsTwoEdgesWithPaperBetween) {
  // Column 30 ends white page, black bottom edge, white strip, black edge;
  // column 31 is the right edge all the way down.
  const IconImage& image = Day(17);
  EXPECT_EQ(image.ColourAt(28, 30), kWhite);
  EXPECT_EQ(image.ColourAt(29, 30), kBlack);
  EXPECT_EQ(image.ColourAt(30, 30), kWhite);
  EXPECT_EQ(image.ColourAt(31, 30), kBlack);
  for (int row = 2; row < kSize; ++row) EXPECT_EQ(image.ColourAt(row, 31), kBlack) << row;
}

// ---------------------------------------------------------------------------
// The number

TEST_F(DayIconPictures, NumberHasOneDigitPieceForEachDigitWithoutLeadingZero) {
  for (int day = 1; day <= 31; ++day) {
    const auto digits = Digits(Day(day));
    EXPECT_EQ(digits.size(), std::to_string(day).size()) << "day " << day;
  }
}

TEST_F(DayIconPictures, NumberStandsOnItsDaysRowsCentredOnThePage) {
  const std::set<int> lowered{10, 11, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};
  for (int day = 1; day <= 31; ++day) {
    SCOPED_TRACE("day " + std::to_string(day));
    Box box;
    for (const Piece& digit : Digits(Day(day))) {
      box.Add(digit.box.top, digit.box.left);
      box.Add(digit.box.bottom, digit.box.right);
    }
    const int top = lowered.count(day) != 0 ? 7 : 6;
    EXPECT_EQ(box.top, top);
    EXPECT_EQ(box.bottom, top + 19);
    if (day < 10) {
      EXPECT_GE(box.Width(), 9);
      EXPECT_LE(box.Width(), 14);
    } else {
      EXPECT_GE(box.Width(), 22);
      EXPECT_LE(box.Width(), 26);
      EXPECT_GE(box.left, 4);
      EXPECT_LE(box.right, 30);
    }
    // Centred between the page's inner columns 3 and 30, to within a pixel.
    EXPECT_LE(std::abs((box.left - 3) - (30 - box.right)), 1);
  }
}

TEST_F(DayIconPictures, EachDigitLooksTheSameWhereverItAppears) {
  std::map<char, Bitmap> looks;
  for (int day = 1; day <= 31; ++day) {
    const std::string text = std::to_string(day);
    const auto digits = Digits(Day(day));
    ASSERT_EQ(digits.size(), text.size()) << "day " << day;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto [known, added] = looks.emplace(text[i], digits[i].ink);
      if (!added) EXPECT_EQ(known->second, digits[i].ink) << "digit " << text[i] << " of day " << day;
    }
  }
  ASSERT_EQ(looks.size(), 10u);
  for (auto a = looks.begin(); a != looks.end(); ++a)
    for (auto b = std::next(a); b != looks.end(); ++b)
      EXPECT_NE(a->second, b->second) << a->first << " and " << b->first << " look alike";
}

TEST_F(DayIconPictures, DigitsAreBoldWithTheOneNarrowest) {
  // Day 10 has 1 and 0; days 2 to 9 the rest.
  std::map<char, Piece> glyph;
  for (int day = 2; day <= 10; ++day) {
    const std::string text = std::to_string(day);
    auto digits = Digits(Day(day));
    ASSERT_EQ(digits.size(), text.size()) << "day " << day;
    for (std::size_t i = 0; i < text.size(); ++i) glyph.emplace(text[i], std::move(digits[i]));
  }

  for (const auto& [digit, piece] : glyph) {
    SCOPED_TRACE(std::string("digit ") + digit);
    EXPECT_EQ(piece.ink.size(), 20u);
    EXPECT_GE(piece.box.Width(), 9);
    EXPECT_LE(piece.box.Width(), 14);
    if (digit != '1') EXPECT_GT(piece.box.Width(), glyph.at('1').box.Width());
    // No hairlines: every ink pixel lies on a stroke at least 4 pixels long
    // across or down.
    for (int row = 0; row < static_cast<int>(piece.ink.size()); ++row)
      for (int col = 0; col < piece.box.Width(); ++col)
        if (Get(piece.ink, row, col))
          EXPECT_GE(std::max(StrokeRun(piece.ink, row, col, 0, 1), StrokeRun(piece.ink, row, col, 1, 0)), 4)
              << row << "," << col;
  }
  // Upright strokes are exactly 4 wide: the one's foot, the nought's sides.
  EXPECT_EQ(RowRuns(glyph.at('1').ink, 19), std::vector<int>{4});
  EXPECT_EQ(RowRuns(glyph.at('0').ink, 10), (std::vector<int>{4, 4}));
}

TEST_F(DayIconPictures, DigitsEncloseThePaperTheirShapesDo) {
  // 0, 6 and 9 close one counter, 8 two; the four is drawn open at the top.
  const std::map<char, std::size_t> counters{{'0', 1}, {'1', 0}, {'2', 0}, {'3', 0}, {'4', 0},
                                             {'5', 0}, {'6', 1}, {'7', 0}, {'8', 2}, {'9', 1}};
  for (int day = 1; day <= 31; ++day) {
    const std::string text = std::to_string(day);
    const auto digits = Digits(Day(day));
    ASSERT_EQ(digits.size(), text.size()) << "day " << day;
    for (std::size_t i = 0; i < text.size(); ++i)
      EXPECT_EQ(Counters(digits[i].ink).size(), counters.at(text[i]))
          << "digit " << text[i] << " of day " << day;
  }
  // The six's counter sits in its lower half, the nine's in its upper half.
  const std::vector<double> six = Counters(Digits(Day(6))[0].ink);
  const std::vector<double> nine = Counters(Digits(Day(9))[0].ink);
  ASSERT_EQ(six.size(), 1u);
  ASSERT_EQ(nine.size(), 1u);
  EXPECT_GT(six[0], 10.0);
  EXPECT_LT(nine[0], 9.0);
}

// ---------------------------------------------------------------------------
// The main icon

TEST_F(DayIconPictures, MainIconLargeImageIsTheFirstsPage) {
  const IconImage& large = Icons().main.images[0];
  const IconImage& first = Day(1);
  EXPECT_EQ(large.entryWidth, 32);
  EXPECT_EQ(large.entryColours, 16);
  EXPECT_EQ(large.entryBits, 4);
  EXPECT_EQ(large.width, 32);
  EXPECT_EQ(large.palette, kWindowsPalette);
  EXPECT_EQ(large.index, first.index);
  EXPECT_EQ(large.transparent, first.transparent);
}

TEST_F(DayIconPictures, MainIconSmallImageIsABareDigitOne) {
  const IconImage& small = Icons().main.images[1];
  ASSERT_EQ(small.width, 16);
  ASSERT_EQ(small.height, 16);
  EXPECT_EQ(small.entryWidth, 16);
  EXPECT_EQ(small.entryHeight, 16);
  EXPECT_EQ(small.entryColours, 16);
  EXPECT_EQ(small.entryPlanes, 1);
  EXPECT_EQ(small.entryBits, 4);
  EXPECT_EQ(small.palette, kWindowsPalette);
  for (int row = 0; row < 16; ++row)
    for (int col = 0; col < 16; ++col) {
      const bool stem = (col == 7 || col == 8) && row >= 2 && row <= 11;
      const bool flag = (col == 5 || col == 6) && row == 3;
      const bool ink = stem || flag;
      EXPECT_EQ(small.ClearAt(row, col), ink) << row << "," << col;
      // Masked pixels must hold colour 0 too, or they would tint the screen.
      EXPECT_EQ(small.At(row, col), 0) << row << "," << col;
    }
}

}  // namespace
