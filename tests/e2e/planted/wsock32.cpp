// A DLL planted beside the program under the name of one it uses: loaded, it leaves the file
// PLANTED-RAN beside itself. It exports what the program asks of the socket library.
#include <windows.h>

extern "C" {
__declspec(dllexport) int WINAPI WSAStartup(WORD, void*) { return 0; }
__declspec(dllexport) int WINAPI WSACleanup() { return 0; }
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  wchar_t mark[MAX_PATH + 16] = {};
  DWORD end = reason == DLL_PROCESS_ATTACH ? GetModuleFileNameW(self, mark, MAX_PATH) : 0;
  while (end > 0 && mark[end - 1] != L'\\') --end;
  if (end > 0 && lstrcpyW(mark + end, L"PLANTED-RAN") != nullptr) {
    (void)CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  return TRUE;
}
