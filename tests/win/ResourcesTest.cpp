// The built ravelind.exe carries exactly the generated icons, each under its
// identifier, byte for byte as the .ico files it was made from.
#include "WinTestSupport.h"

#include <cstdio>
#include <fstream>

namespace {

using Bytes = std::vector<unsigned char>;

// The build hands over host paths; under Wine the host's root is drive Z:.
std::string WindowsPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path[0] == '\\' ? "Z:" + path : path;
}

Bytes ResourceBytes(HMODULE module, LPCSTR type, UINT id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  return found == nullptr || data == nullptr ? Bytes{}
                                             : Bytes(data, data + SizeofResource(module, found));
}

UINT Number(const Bytes& b, std::size_t at, int bytes) {
  UINT value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<std::size_t>(i)];
  return value;
}

// The group resource against the .ico file: the same directory (entries name
// image resources instead of file offsets) and, image by image, the same bytes.
void ExpectIconFromFile(HMODULE exe, UINT groupId, const std::string& file) {
  SCOPED_TRACE(file + " as icon " + std::to_string(groupId));
  std::ifstream in(WindowsPath(RAVELIND_ICON_DIR) + "\\" + file, std::ios::binary);
  const Bytes ico{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const Bytes group = ResourceBytes(exe, RT_GROUP_ICON, groupId);
  ASSERT_GE(ico.size(), 6u) << "no icon file";
  ASSERT_EQ(group.size(), 6 + 14 * Number(ico, 4, 2)) << "no resource, or not as many images";
  EXPECT_EQ(std::memcmp(group.data(), ico.data(), 6), 0) << "directory header differs";
  for (std::size_t i = 0; i < Number(ico, 4, 2); ++i) {
    const std::size_t fileEntry = 6 + 16 * i, groupEntry = 6 + 14 * i;
    EXPECT_EQ(std::memcmp(&group[groupEntry], &ico[fileEntry], 12), 0) << "entry " << i;
    const UINT size = Number(ico, fileEntry + 8, 4), offset = Number(ico, fileEntry + 12, 4);
    ASSERT_LE(offset + size, ico.size());
    EXPECT_TRUE(ResourceBytes(exe, RT_ICON, Number(group, groupEntry + 12, 2)) ==
                Bytes(ico.begin() + offset, ico.begin() + offset + size))
        << "image " << i << " differs from the file's";
  }
}

BOOL CALLBACK Count(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
  ++*reinterpret_cast<std::size_t*>(count);
  return TRUE;
}

std::size_t CountOf(HMODULE module, LPCSTR type) {
  std::size_t count = 0;
  (void)EnumResourceNamesA(module, type, Count, reinterpret_cast<LONG_PTR>(&count));
  return count;
}

TEST(ResourcesTest, CarriesExactlyTheGeneratedIconsUnderTheirIdentifiers) {
  const std::string exePath = WindowsPath(RAVELIND_EXE_FILE);
  HMODULE exe = LoadLibraryExA(exePath.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr) << "cannot open " << exePath << " (error " << GetLastError() << ")";
  ExpectIconFromFile(exe, 128, "main.ico");
  std::size_t images = Number(ResourceBytes(exe, RT_GROUP_ICON, 128), 4, 2);
  for (int day = 1; day <= 31; ++day) {
    char file[16];
    (void)std::snprintf(file, sizeof file, "day%02d.ico", day);
    ExpectIconFromFile(exe, kDayIcon[day], file);
    images += Number(ResourceBytes(exe, RT_GROUP_ICON, kDayIcon[day]), 4, 2);
  }
  // Each of the 32 groups was found above under its own identifier: no others.
  EXPECT_EQ(CountOf(exe, RT_GROUP_ICON), 32u);
  EXPECT_EQ(CountOf(exe, RT_ICON), images) << "images no icon uses";
  (void)FreeLibrary(exe);
}

}  // namespace
