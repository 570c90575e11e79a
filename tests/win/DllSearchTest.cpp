// The framework's entry keeps the search for DLLs to the system folder before the application
// runs, for good: a suite of its own, so that it runs in a process of its own. The plant is
// the end-to-end suites' wsock32.dll, renamed.
#include <gtest/gtest.h>

#include <filesystem>

#include "framework/Paths.h"
#include "framework/WinApp.h"

struct LoadingApp : CWinApp {
  LoadingApp() : CWinApp("DllSearchTest") {}
  BOOL InitInstance() override { return (loaded = LoadLibraryW(L"planted.dll")), FALSE; }
  HMODULE loaded = nullptr;
};

TEST(DllSearchTest, ADllBesideTheProgramFoundByNameBeforeIsNotFoundInTheApplication) {
  const std::filesystem::path beside = ModuleFolder() + L"\\planted.dll";
  std::filesystem::copy_file("Z:" RAVELIND_PLANTED_DLL, beside,
                             std::filesystem::copy_options::overwrite_existing);
  HMODULE found = LoadLibraryW(L"planted.dll");
  EXPECT_NE(found, nullptr) << "a plant that is never found proves nothing";
  (void)FreeLibrary(found);
  LoadingApp app;
  (void)AfxWinMain();
  EXPECT_EQ(app.loaded, nullptr) << "the DLL beside the program was loaded";
  std::filesystem::remove(beside), std::filesystem::remove(beside.parent_path() / "PLANTED-RAN");
}
