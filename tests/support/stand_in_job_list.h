// The job's list without a window: rows in memory, with the identity each row read when it was
// added, the method the job is to use and the window that owns the job's dialogs.
#pragma once

#include "engine/item_identity.h"
#include "job/shred_job_list.h"

#include <windows.h>

#include <string>
#include <vector>

class StandInJobList final : public ShredJobList {
public:
    StandInJobList(HWND owner, ShredMethod method) : owner_(owner), method_(method) {}

    // Adds a row as a pick does: with the identity of the item at path, when it has one.
    void Add(const std::wstring& path) {
        Row row{path, {}, false};
        row.hasIdentity = ReadItemIdAtPath(path, row.identity);
        rows_.push_back(row);
    }
    // The row of the free space of the volume at root.
    void AddFreeSpace(const std::wstring& root) {
        rows_.push_back(Row{L"Free space of " + root, {}, false, root});
    }
    // A row whose path the program itself would never list, and no identity.
    void AddRaw(const std::wstring& path) { rows_.push_back(Row{path, {}, false}); }
    // The job reads the method before its worker starts; a later check must not reach it.
    void Check(ShredMethod method) { method_ = method; }

    std::vector<std::wstring> Paths() const {
        std::vector<std::wstring> paths;
        for (const Row& row : rows_) {
            paths.push_back(row.path);
        }
        return paths;
    }

    HWND Owner() const override { return owner_; }
    int RowCount() const override { return static_cast<int>(rows_.size()); }
    std::wstring RowPath(int row) const override { return At(row).path; }
    bool RowIdentity(int row, ItemId& id) const override {
        id = At(row).identity;
        return At(row).hasIdentity;
    }
    std::wstring RowFreeSpaceRoot(int row) const override { return At(row).freeSpaceRoot; }
    void SetRowItem(int row, const std::wstring& path, const ItemId& id) override {
        rows_.at(static_cast<std::size_t>(row)).path = path;
        rows_.at(static_cast<std::size_t>(row)).identity = id;
    }
    void DeleteRow(int row) override { rows_.erase(rows_.begin() + row); }
    ShredMethod CheckedMethod() const override { return method_; }

private:
    struct Row {
        std::wstring path;
        ItemId identity;
        bool hasIdentity;
        std::wstring freeSpaceRoot = {};
    };
    const Row& At(int row) const { return rows_.at(static_cast<std::size_t>(row)); }

    HWND owner_;
    ShredMethod method_;
    std::vector<Row> rows_;
};
