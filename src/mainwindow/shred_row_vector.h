// Shred list rows held in memory, for the list's logic without a window.
#pragma once

#include "mainwindow/shred_list.h"

#include <string>
#include <vector>

struct ShredRow {
    std::wstring name;
    std::wstring path;
    std::wstring sizeText;
    bool selected = false;

    bool operator==(const ShredRow&) const = default;
};

class ShredRowVector final : public ShredRows {
public:
    int Count() const override;
    void Insert(int index, const std::wstring& name) override;
    void SetText(int index, int column, const std::wstring& text) override;
    std::wstring Text(int index, int column) const override;
    int NextSelected(int start) const override;
    void Delete(int index) override;
    void DeleteAll() override;

    void Select(int index, bool selected);
    const std::vector<ShredRow>& Rows() const { return rows_; }

private:
    std::vector<ShredRow> rows_;
};
