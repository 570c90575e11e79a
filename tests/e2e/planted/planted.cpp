// A DLL planted beside the program under the name of a system DLL, exporting a stub under each
// of that DLL's names and ordinals (planted.py writes the list), so that whatever asks for it
// can load it: loaded, it leaves the file NAME.dll.ran beside itself.
#include <windows.h>

extern "C" INT_PTR PlantedStub() { return 0; }

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  wchar_t mark[MAX_PATH + 8] = {};
  const DWORD end = reason == DLL_PROCESS_ATTACH ? GetModuleFileNameW(self, mark, MAX_PATH) : 0;
  if (end > 0 && lstrcatW(mark, L".ran") != nullptr) {
    (void)CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}
