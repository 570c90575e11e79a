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

// The same of a system DLL the program has loaded already (user32, kernel32).
template <class Function>
Function SystemCall(const char* dll, const char* name) {
  return ProcAddress<Function>(GetModuleHandleA(dll), name);
}
