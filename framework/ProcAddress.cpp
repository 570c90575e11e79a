#include "framework/ProcAddress.h"

#include <string>

HMODULE LoadSystemLibrary(const wchar_t* name) {
  HMODULE library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (library != nullptr || GetLastError() != ERROR_INVALID_PARAMETER) return library;
  // A Windows 7 without its loader update (KB2533623) knows no search flags:
  // the full path leaves no search to make.
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(folder, length) + L'\\' + name).c_str());
}

HMODULE SystemModule(const char* dll) {
  if (HMODULE loaded = GetModuleHandleA(dll)) return loaded;
  const std::wstring name(dll, dll + lstrlenA(dll));  // the names are ASCII
  return LoadSystemLibrary(name.c_str());
}
