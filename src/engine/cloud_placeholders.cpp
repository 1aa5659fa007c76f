#include "engine/cloud_placeholders.h"

#include <windows.h>

namespace {

// ntdll's RtlSetProcessPlaceholderCompatibilityMode and its mode that exposes placeholders; it
// answers the mode that was in force, or a negative value when it refused.
using SetPlaceholderModeFunction = CHAR(NTAPI*)(CHAR mode);
constexpr CHAR ExposePlaceholdersMode = 2;

} // namespace

bool ExposeCloudPlaceholders() {
    const auto entry =
        reinterpret_cast<SetPlaceholderModeFunction>(reinterpret_cast<void*>(GetProcAddress(
            GetModuleHandleW(L"ntdll.dll"), "RtlSetProcessPlaceholderCompatibilityMode")));
    return entry != nullptr && entry(ExposePlaceholdersMode) >= 0;
}
