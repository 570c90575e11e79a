// A DLL planted beside the program under the name of one it uses: loaded, it leaves the file
// PLANTED-RAN beside itself. It exports what the program asks of the socket library.
#include <windows.h>

#include <string>

extern "C" {
__declspec(dllexport) int WINAPI WSAStartup(WORD, void*) { return 0; }
__declspec(dllexport) int WINAPI WSACleanup() { return 0; }
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH] = {};
  std::wstring file(path, GetModuleFileNameW(self, path, MAX_PATH));
  file = file.substr(0, file.find_last_of(L'\\') + 1) + L"PLANTED-RAN";
  HANDLE mark = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  (void)CloseHandle(mark);
  return TRUE;
}
