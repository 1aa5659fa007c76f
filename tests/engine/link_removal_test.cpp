// Links and other reparse points inside a chosen folder: a link goes as itself, its target
// untouched; data kept elsewhere stays whole.
#include "engine/folder_shredder.h"
#include "support/file_system_trace.h"
#include "support/fresh_thread.h"
#include "support/progress_recorder.h"
#include "support/reference_random.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

using K = FileOp::Kind;

// A listing that shows chosen entries as reparse points with the given tags, and answers their
// tag for a handle opened on them, as Windows would for a junction or a cloud placeholder.
struct StandInReparsePoints {
    static inline std::vector<std::pair<std::wstring, DWORD>> points; // name, tag
    static inline FileSystemApi below;

    static const std::pair<std::wstring, DWORD>* Find(const std::wstring& name) {
        for (const auto& point : points) {
            if (point.first == name) {
                return &point;
            }
        }
        return nullptr;
    }

    static BOOL WINAPI Query(HANDLE handle, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info,
                             DWORD size) {
        if (kind == FileAttributeTagInfo) {
            const std::wstring path = FileSystemTrace::PathOf(handle);
            if (const auto* point = Find(path.substr(path.rfind(L'\\') + 1))) {
                below.GetFileInformationByHandleEx(handle, kind, info, size);
                auto* tag = static_cast<FILE_ATTRIBUTE_TAG_INFO*>(info);
                tag->FileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
                tag->ReparseTag = point->second;
                return TRUE;
            }
        }
        if (!below.GetFileInformationByHandleEx(handle, kind, info, size)) {
            return FALSE;
        }
        if (kind == FileIdBothDirectoryRestartInfo || kind == FileIdBothDirectoryInfo) {
            auto* bytes = static_cast<unsigned char*>(info);
            for (std::size_t offset = 0;;) {
                auto* entry = reinterpret_cast<FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
                const std::wstring name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
                if (const auto* point = Find(name)) {
                    entry->FileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
                    entry->EaSize = point->second;
                }
                if (entry->NextEntryOffset == 0) {
                    break;
                }
                offset += entry->NextEntryOffset;
            }
        }
        return TRUE;
    }

    StandInReparsePoints() {
        below = FileSystem;
        FileSystem.GetFileInformationByHandleEx = Query;
    }
};

constexpr DWORD CloudPlaceholderTag = 0x9000601A;

TEST(ReparsePointsInAFolder, LinksAreDeletedAsThemselvesAndOtherKindsStayWhole) {
    TempFolder root;
    const std::wstring chosen = root / L"chosen";
    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\junction");
    WriteTestFile(chosen + L"\\placeholder", "kept in the cloud");
    const std::vector<std::wstring> listed = ListedNames(chosen);
    OnFreshThread([&] {
        ProgressRecorder recorder;
        std::wstring path = chosen;
        FileSystemTrace trace;
        StandInReparsePoints::points = {{L"junction", IO_REPARSE_TAG_MOUNT_POINT},
                                        {L"placeholder", CloudPlaceholderTag}};
        StandInReparsePoints fake;
        EXPECT_EQ(3, CountShredItems(chosen));
        EXPECT_EQ(ShredFolderIncomplete, ShredFolder(path, OverwriteZeros, recorder));

        std::vector<ProgressEvent> expected;
        for (const std::wstring& name : listed) {
            expected.push_back(ShownName(name));
            expected.push_back(Stepped());
        }
        expected.push_back(ShownName(L"chosen"));
        expected.push_back(Stepped());
        EXPECT_EQ(expected, recorder.Events());

        const std::wstring junction = Extended(chosen + L"\\junction");
        const std::wstring placeholder = Extended(chosen + L"\\placeholder");
        for (const FileOp& op : trace.Ops()) {
            EXPECT_NE(placeholder, op.path) << "another kind of reparse point is never opened";
            if (op.path == junction) {
                EXPECT_TRUE(op.kind == K::Open || op.kind == K::ReadTag ||
                            op.kind == K::RemoveFolder || op.kind == K::Close)
                    << static_cast<int>(op.kind);
            }
        }
        EXPECT_EQ(1u, std::count_if(trace.Ops().begin(), trace.Ops().end(), [&](const FileOp& op) {
                      return op.kind == K::RemoveFolder && op.path == junction;
                  }));
        EXPECT_EQ(0u, trace.Count(K::Write));
        // The link took no draws: the folder's ten names are the first ones.
        const auto draws = ReferenceDraws(130);
        EXPECT_EQ(root / ReferenceName(draws, 117, false), path);
    });
    const std::wstring stays = root / ReferenceName(ReferenceDraws(130), 117, false);
    EXPECT_EQ((std::vector<std::wstring>{L"placeholder"}), ListedNames(stays));
    EXPECT_EQ("kept in the cloud", ReadTestFile(stays + L"\\placeholder"));

    MakeTestFolder(chosen);
    MakeTestFolder(chosen + L"\\link");
    OnFreshThread([&] {
        std::wstring path = chosen;
        FileSystemTrace trace;
        StandInReparsePoints::points = {{L"link", IO_REPARSE_TAG_SYMLINK}};
        StandInReparsePoints fake;
        EXPECT_EQ(ShredFolderRemoved, ShredFolder(path, OverwriteZeros, NoProgress()));
    });
    EXPECT_FALSE(PathExists(chosen));
}

} // namespace
