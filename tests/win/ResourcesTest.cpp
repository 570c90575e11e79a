// The built program's resources and imports, read from ravelind.exe itself:
// the generated icons under their identifiers, the dialogs, the tray menu and
// the strings, and no DLL that does not ship with Windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "WinTestSupport.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The build hands over host paths; under Wine the host's root is drive Z:.
std::string WindowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

const std::string kExe = WindowsPath(RAVELIND_EXE_FILE);
const std::string kIconDir = WindowsPath(RAVELIND_ICON_DIR);

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes ResourceBytes(HMODULE module, LPCSTR type, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (found == nullptr) return {};
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(module, found)));
  return data == nullptr ? Bytes{} : Bytes(data, data + SizeofResource(module, found));
}

std::uint16_t Word(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t Dword(const Bytes& b, std::size_t at) {
  return static_cast<std::uint32_t>(Word(b, at)) | static_cast<std::uint32_t>(Word(b, at + 2)) << 16;
}

// The icon resource `groupId` against the .ico file it was made from: the
// same directory (the group's entries name image resources instead of file
// offsets) and, image by image, the same bytes.
void ExpectIconFromFile(HMODULE exe, int groupId, const std::string& file) {
  SCOPED_TRACE(file + " as icon " + std::to_string(groupId));
  const Bytes ico = ReadBytes(kIconDir + "\\" + file);
  const Bytes group = ResourceBytes(exe, RT_GROUP_ICON, groupId);
  ASSERT_GE(ico.size(), 6u) << "generated icon missing";
  ASSERT_GE(group.size(), 6u) << "icon resource missing";
  const std::size_t count = Word(ico, 4);
  ASSERT_GT(count, 0u);
  ASSERT_EQ(std::memcmp(group.data(), ico.data(), 6), 0) << "icon directory header differs";
  ASSERT_EQ(group.size(), 6 + 14 * count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t fileEntry = 6 + 16 * i, groupEntry = 6 + 14 * i;
    EXPECT_EQ(std::memcmp(&group[groupEntry], &ico[fileEntry], 12), 0) << "entry " << i;
    const std::uint32_t size = Dword(ico, fileEntry + 8), offset = Dword(ico, fileEntry + 12);
    ASSERT_LE(offset + size, ico.size());
    const Bytes image = ResourceBytes(exe, RT_ICON, Word(group, groupEntry + 12));
    EXPECT_TRUE(image == Bytes(ico.begin() + offset, ico.begin() + offset + size))
        << "image " << i << " differs from the file's";
  }
}

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
  // A named resource, which the program has none of, counts as -1.
  const auto id = reinterpret_cast<UINT_PTR>(name);
  reinterpret_cast<std::set<int>*>(ids)->insert(IS_INTRESOURCE(name) ? static_cast<int>(id) : -1);
  return TRUE;
}

std::set<int> ResourceIds(HMODULE module, LPCSTR type) {
  std::set<int> ids;
  (void)EnumResourceNamesA(module, type, CollectId, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    exe = LoadLibraryExA(kExe.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(exe, nullptr) << "cannot open " << kExe << " (error " << GetLastError() << ")";
  }
  void TearDown() override {
    if (exe != nullptr) (void)FreeLibrary(exe);
  }
  HMODULE exe = nullptr;
};

TEST_F(ResourcesTest, CarriesExactlyTheGeneratedIconsUnderTheirIdentifiers) {
  // Day to identifier: not in day order, with gaps.
  const int kDayIcon[32] = {0,   129, 130, 131, 132, 133, 134, 139, 140, 141, 138,
                            142, 143, 144, 145, 151, 147, 148, 149, 150, 152, 153,
                            154, 155, 156, 157, 158, 159, 160, 161, 164, 163};
  std::set<int> expected{128};
  ExpectIconFromFile(exe, 128, "main.ico");
  for (int day = 1; day <= 31; ++day) {
    char file[16];
    (void)std::snprintf(file, sizeof file, "day%02d.ico", day);
    ExpectIconFromFile(exe, kDayIcon[day], file);
    expected.insert(kDayIcon[day]);
  }
  EXPECT_EQ(expected.size(), 32u);
  EXPECT_EQ(ResourceIds(exe, RT_GROUP_ICON), expected);

  // No image beyond those the icons use.
  std::size_t images = 0;
  for (int id : expected) {
    const Bytes group = ResourceBytes(exe, RT_GROUP_ICON, id);
    if (group.size() >= 6) images += Word(group, 4);
  }
  EXPECT_EQ(ResourceIds(exe, RT_ICON).size(), images);
}

TEST_F(ResourcesTest, CarriesTheDialogsTrayMenuAndStrings) {
  EXPECT_EQ(ResourceIds(exe, RT_DIALOG), (std::set<int>{100, 102}));

  const Bytes menuTemplate = ResourceBytes(exe, RT_MENU, 130);
  ASSERT_FALSE(menuTemplate.empty());
  HMENU menu = LoadMenuIndirectA(menuTemplate.data());
  ASSERT_NE(menu, nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(GetMenuItemCount(popup), 2);
  char text[32] = {};
  EXPECT_EQ(GetMenuItemID(popup, 0), 32771u);
  (void)GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&About");
  EXPECT_EQ(GetMenuItemID(popup, 1), 32773u);
  (void)GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&Help");
  (void)DestroyMenu(menu);

  char string[128] = {};
  EXPECT_GT(LoadStringA(exe, 101, string, sizeof string), 0);
  EXPECT_STREQ(string, "&About Ravelind...");
  EXPECT_GT(LoadStringA(exe, 103, string, sizeof string), 0);
  EXPECT_STREQ(string, "Windows sockets initialization failed.");
}

// The names of the DLLs in the import table of an image mapped as the loader
// maps it (sections at their addresses, nothing resolved).
std::vector<std::string> ImportedDlls(HMODULE image) {
  // A module loaded as a resource image is marked in its low bits.
  auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<UINT_PTR>(image) & ~UINT_PTR{3});
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE || nt->Signature != IMAGE_NT_SIGNATURE) return {};
  const IMAGE_DATA_DIRECTORY& imports =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::vector<std::string> names;
  for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       imports.VirtualAddress != 0 && entry->Name != 0; ++entry) {
    names.emplace_back(reinterpret_cast<const char*>(base + entry->Name));
  }
  return names;
}

TEST_F(ResourcesTest, ImportsOnlySystemDlls) {
  const std::vector<std::string> dlls = ImportedDlls(exe);
  ASSERT_FALSE(dlls.empty()) << "no import table found";
  char system[MAX_PATH] = {};
  ASSERT_NE(GetSystemDirectoryA(system, MAX_PATH), 0u);
  bool kernel = false;
  for (std::string dll : dlls) {
    std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) {
      return static_cast<char>(std::tolower(c));
    });
    kernel = kernel || dll == "kernel32.dll";
    // The MinGW runtime's own DLLs: libstdc++-6, libgcc_s_*, libwinpthread-1.
    EXPECT_NE(dll.rfind("lib", 0), 0u) << dll << " does not ship with Windows";
    const std::string installed = std::string(system) + "\\" + dll;
    EXPECT_NE(GetFileAttributesA(installed.c_str()), INVALID_FILE_ATTRIBUTES)
        << dll << " is not a system DLL";
  }
  EXPECT_TRUE(kernel) << "kernel32.dll missing from the imports read";
}

}  // namespace
