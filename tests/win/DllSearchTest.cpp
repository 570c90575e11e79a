// The framework's entry keeps the search for DLLs to the system folder, for good, before the
// application runs: a suite of its own, in a process of its own. The plant is the end-to-end
// suites' wsock32.dll, renamed.
#include <gtest/gtest.h>

#include <string>

#include "framework/Paths.h"
#include "framework/ProcAddress.h"
#include "framework/WinApp.h"

struct LoadingApp : CWinApp {
  LoadingApp() : CWinApp("DllSearchTest") {}
  BOOL InitInstance() override { return (loaded = LoadLibraryW(L"planted.dll")), FALSE; }
  HMODULE loaded = nullptr;
};

TEST(DllSearchTest, ADllBesideTheProgramFoundByNameBeforeIsNotFoundInTheApplication) {
  const std::wstring beside = ModuleFolder() + L"\\planted.dll";
  ASSERT_TRUE(CopyFileW(L"Z:" RAVELIND_PLANTED_DLL, beside.c_str(), FALSE));
  EXPECT_TRUE(FreeLibrary(LoadLibraryW(L"planted.dll"))) << "a plant never found proves nothing";
  LoadingApp app;
  (void)AfxWinMain();
  EXPECT_EQ(app.loaded, nullptr) << "the DLL beside the program was loaded";
  (void)DeleteFileW(beside.c_str()), (void)DeleteFileW((beside + L".ran").c_str());
}

// The program delay-loads its system DLLs: a call looked up at run time may be of one that is
// not loaded yet, which then comes from the system folder.
TEST(DllSearchTest, ACallOfASystemDllNotLoadedYetIsFound) {
  ASSERT_EQ(GetModuleHandleA("cabinet.dll"), nullptr);
  EXPECT_NE(SystemCall<FARPROC>("cabinet.dll", "FCICreate"), nullptr);
}
