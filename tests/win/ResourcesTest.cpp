// The built program carries each generated icon under its id, image for image. The build
// hands over host paths: under Wine the host's root is drive Z:.
#include "WinTestSupport.h"

#include <cstdio>
#include <cstring>

static std::string Resource(HMODULE module, LPCSTR type, UINT id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);  // none: empty
  return {static_cast<const char*>(LockResource(LoadResource(module, found))),
          SizeofResource(module, found)};
}

static UINT Number(const std::string& bytes, std::size_t at, std::size_t size) {
  UINT value = 0;  // little-endian, as is this machine
  std::memcpy(&value, bytes.data() + at, size);
  return value;
}

TEST(ResourcesTest, EachIconIsTheGeneratedFileImageForImage) {
  HMODULE exe = LoadLibraryExA("Z:" RAVELIND_EXE_FILE, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr) << RAVELIND_EXE_FILE;
  for (int day = 0; day <= 31; ++day) {
    char name[16];
    (void)std::snprintf(name, sizeof name, day ? "/day%02d.ico" : "/main.ico", day);
    const std::string ico = ReadIni("Z:" RAVELIND_ICON_DIR + std::string(name));
    const std::string group = Resource(exe, RT_GROUP_ICON, kDayIcon[day]);
    ASSERT_EQ(group.size(), 6 + 14 * Number(ico, 4, 2)) << name << ": not as many images";
    for (std::size_t i = 0; i < Number(ico, 4, 2); ++i) {  // entries of 16 bytes; 14 in the group
      EXPECT_EQ(Resource(exe, RT_ICON, Number(group, 6 + 14 * i + 12, 2)),
                ico.substr(Number(ico, 6 + 16 * i + 12, 4), Number(ico, 6 + 16 * i + 8, 4)))
          << name << ", image " << i;
    }
  }
}
