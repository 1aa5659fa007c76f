#include "engine/long_path.h"

#include <cwctype>
#include <string_view>

namespace {

constexpr std::wstring_view ExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view ExtendedUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view UncPrefix = L"\\\\";
// "Volume{GUID}", the name of a volume whether or not it has a drive letter; x is a hex digit.
constexpr std::wstring_view VolumeGuidStart = L"Volume{";
constexpr std::wstring_view GuidPattern = L"xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
constexpr std::size_t VolumeGuidLength = VolumeGuidStart.size() + GuidPattern.size() + 1;

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::towupper(text[i]) != std::towupper(prefix[i])) {
            return false;
        }
    }
    return true;
}

bool IsUsableComponent(std::wstring_view component) {
    if (component.empty() || component == L"." || component == L"..") {
        return false;
    }
    for (wchar_t c : component) {
        if (c < 0x20 || c == L'/' || c == L':' || c == L'*' || c == L'?' || c == L'<' ||
            c == L'>' || c == L'|' || c == L'"') {
            return false;
        }
    }
    return true;
}

// One or more usable components separated by single backslashes, nothing after the last.
bool AreUsableComponents(std::wstring_view rest, std::size_t minimum) {
    std::size_t count = 0;
    while (true) {
        const std::size_t end = rest.find(L'\\');
        if (!IsUsableComponent(rest.substr(0, end))) {
            return false;
        }
        ++count;
        if (end == std::wstring_view::npos) {
            return count >= minimum;
        }
        rest.remove_prefix(end + 1);
    }
}

bool IsDrivePath(std::wstring_view path) {
    return path.size() > 3 && std::iswalpha(path[0]) && path[0] < 0x80 && path[1] == L':' &&
           path[2] == L'\\' && AreUsableComponents(path.substr(3), 1);
}

bool IsVolumeGuid(std::wstring_view name) {
    if (name.size() != VolumeGuidLength || !StartsWithIgnoringCase(name, VolumeGuidStart) ||
        name.back() != L'}') {
        return false;
    }
    const std::wstring_view guid = name.substr(VolumeGuidStart.size(), GuidPattern.size());
    for (std::size_t i = 0; i < guid.size(); ++i) {
        const bool matches = GuidPattern[i] == L'x' ? guid[i] < 0x80 && std::iswxdigit(guid[i])
                                                    : guid[i] == GuidPattern[i];
        if (!matches) {
            return false;
        }
    }
    return true;
}

// "Volume{...}\item...", after the extended prefix.
bool IsVolumePath(std::wstring_view path) {
    return path.size() > VolumeGuidLength + 1 && IsVolumeGuid(path.substr(0, VolumeGuidLength)) &&
           path[VolumeGuidLength] == L'\\' &&
           AreUsableComponents(path.substr(VolumeGuidLength + 1), 1);
}

// "server\share\item...": a share root alone is no item, and "." or "?" as the server (a device
// path) is no usable component.
bool IsUncRest(std::wstring_view rest) {
    return AreUsableComponents(rest, 3);
}

} // namespace

bool IsUsableFullPath(const std::wstring& path) {
    const std::wstring_view view(path);
    if (view.find(L'\0') != std::wstring_view::npos) {
        return false;
    }
    if (StartsWithIgnoringCase(view, ExtendedUncPrefix)) {
        return IsUncRest(view.substr(ExtendedUncPrefix.size()));
    }
    if (view.starts_with(ExtendedPrefix)) {
        const std::wstring_view rest = view.substr(ExtendedPrefix.size());
        return IsDrivePath(rest) || IsVolumePath(rest);
    }
    if (view.starts_with(UncPrefix)) {
        return IsUncRest(view.substr(UncPrefix.size()));
    }
    return IsDrivePath(view);
}

std::wstring ExtendedPath(const std::wstring& path) {
    const std::wstring_view view(path);
    if (view.starts_with(ExtendedPrefix)) {
        return path;
    }
    if (view.starts_with(UncPrefix)) {
        return std::wstring(ExtendedUncPrefix) + path.substr(UncPrefix.size());
    }
    return std::wstring(ExtendedPrefix) + path;
}

std::wstring ParentFolderPath(const std::wstring& path) {
    const std::wstring extended = ExtendedPath(path);
    std::size_t rootLength = ExtendedPrefix.size() + 3;
    if (StartsWithIgnoringCase(extended, ExtendedUncPrefix)) {
        const std::size_t shareEnd =
            extended.find(L'\\', extended.find(L'\\', ExtendedUncPrefix.size()) + 1);
        rootLength = shareEnd + 1;
    } else if (IsVolumePath(std::wstring_view(extended).substr(ExtendedPrefix.size()))) {
        rootLength = ExtendedPrefix.size() + VolumeGuidLength + 1;
    }
    std::wstring parent = DirectoryPart(extended);
    if (parent.size() > rootLength) {
        parent.pop_back();
    }
    return parent;
}

std::wstring DirectoryPart(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring LastComponent(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring JoinPath(const std::wstring& path, const std::wstring& name) {
    if (!path.empty() && path.back() == L'\\') {
        return path + name;
    }
    return path + L"\\" + name;
}
