// The built ravelind.exe's version record, as Explorer shows it: numbers and
// strings from the version in CMakeLists.txt, the maker from the About box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(VersionTest, RecordCarriesTheProjectVersionAndTheAboutBoxNotice) {
  const char* exe = "Z:" RAVELIND_EXE_FILE;  // the host's root under Wine
  std::vector<char> record(GetFileVersionInfoSizeA(exe, nullptr) + 1);
  ASSERT_TRUE(GetFileVersionInfoA(exe, 0, static_cast<DWORD>(record.size()), record.data()));
  auto value = [&](const std::string& name) {
    char* text = nullptr;
    UINT size = 0;
    return VerQueryValueA(record.data(), ("\\StringFileInfo\\040904B0\\" + name).c_str(),
                          reinterpret_cast<void**>(&text), &size) ? std::string(text) : "<none>";
  };
  const std::string version = RAVELIND_PROJECT_VERSION;
  EXPECT_EQ(value("ProductName") + " " + value("FileVersion") + " " + value("ProductVersion") +
                " " + value("OriginalFilename"),
            "Ravelind " + version + " " + version + " ravelind.exe");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  unsigned part[4] = {};  // missing parts are 0
  (void)std::sscanf(version.c_str(), "%u.%u.%u.%u", &part[0], &part[1], &part[2], &part[3]);
  const DWORD high = part[0] << 16 | part[1], low = part[2] << 16 | part[3];
  EXPECT_EQ((std::vector<DWORD>{fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                fixed->dwProductVersionMS, fixed->dwProductVersionLS}),
            (std::vector<DWORD>{high, low, high, low}));
  // This test carries the same resources: the About box's two lines.
  HWND about = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100), nullptr, PlainDialog, 0);
  for (const std::string& line : {value("LegalCopyright"), "Ravelind Version " + version})
    EXPECT_NE(FindWindowExA(about, nullptr, "Static", line.c_str()), nullptr) << "no " << line;
  (void)DestroyWindow(about);
}

}  // namespace
