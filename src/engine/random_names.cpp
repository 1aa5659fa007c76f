#include "engine/random_names.h"

#include "engine/file_system.h"
#include "engine/long_path.h"
#include "engine/random.h"

namespace {

constexpr int NameLength = 13;
constexpr int FileDotPosition = 10;
constexpr int RenameCount = 10;
constexpr int LetterCount = 25;

} // namespace

std::wstring RandomName(RandomNameKind kind) {
    std::wstring name(NameLength, L'a');
    for (wchar_t& letter : name) {
        letter = static_cast<wchar_t>(L'a' + NextRandom() % LetterCount);
    }
    if (kind == RandomNameKind::File) {
        name[FileDotPosition] = L'.';
    }
    return name;
}

void RenameTenTimes(HANDLE item, HANDLE folder, std::wstring& path, RandomNameKind kind) {
    for (int i = 0; i < RenameCount; ++i) {
        const std::wstring name = RandomName(kind);
        if (FileSystem.RenameByHandle(item, folder, name.c_str())) {
            path = DirectoryPart(path) + name;
        }
    }
}
