#include "framework/Platform.h"

namespace {

std::time_t SystemNow() { return std::time(nullptr); }

constexpr Platform kSystem{Shell_NotifyIconA, ShellExecuteW,   RegCreateKeyW,
                           RegSetValueExW,    RegDeleteValueW, SystemNow};

}  // namespace

const Platform& Platform::System() { return kSystem; }
