// The manifest built into the program (and into this test) is read and acted
// on: it brings in version 6 of the common controls from the side-by-side store.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ManifestTest, BringsInCommonControls6) {
  char path[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH), 0u);
  std::string lower = path;
  (void)CharLowerA(lower.data());
  EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos)
      << path;
}

}  // namespace
