#include "framework/Platform.h"

#include "framework/Dpi.h"

namespace {

LSTATUS WINAPI OpenKey(HKEY root, LPCWSTR subKey, REGSAM access, PHKEY key) {
  const LSTATUS status = RegOpenKeyExW(root, subKey, 0, access, key);
  if (status != ERROR_FILE_NOT_FOUND || (access & KEY_SET_VALUE) == 0) return status;
  return RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key,
                         nullptr);
}

constexpr Platform kSystem{Shell_NotifyIconA, ShellExecuteW, OpenKey, GetLocalTime, TaskbarDpi,
                           CreateFileA, SetFileInformationByHandle};

}  // namespace

const Platform& Platform::System() { return kSystem; }
