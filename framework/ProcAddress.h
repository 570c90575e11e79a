#pragma once
// Calls looked up at run time: those of later Windows versions, so that the
// program still starts where they are missing, and those of a DLL it loads
// itself.
#include <windows.h>

// The call `name` of `module` as a `Function`, or null where it is missing.
template <class Function>
Function ProcAddress(HMODULE module, const char* name) {
  const FARPROC call = module != nullptr ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(call));
}

// The system folder's copy of the DLL `name`, loaded if need be (it stays
// loaded); null when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The system DLL `dll` ("user32.dll"), loaded or not: the program delay-loads
// its system DLLs, so the one asked for may not be loaded yet.
HMODULE SystemModule(const char* dll);

// The call `name` of the system DLL `dll`.
template <class Function>
Function SystemCall(const char* dll, const char* name) {
  return ProcAddress<Function>(SystemModule(dll), name);
}
