#include "framework/Platform.h"

#include "framework/Dpi.h"

namespace {

LSTATUS WINAPI OpenKey(HKEY root, LPCWSTR subKey, REGSAM access, PHKEY key) {
  return RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key,
                         nullptr);
}

constexpr Platform kSystem{Shell_NotifyIconA, ShellExecuteW, OpenKey, GetLocalTime, TaskbarDpi};

}  // namespace

const Platform& Platform::System() { return kSystem; }
