#include "mainwindow/shred_row_vector.h"

namespace {

std::wstring* TextOf(ShredRow& row, int column) {
    switch (column) {
    case ShredColumnName:
        return &row.name;
    case ShredColumnPath:
        return &row.path;
    case ShredColumnSize:
        return &row.sizeText;
    default:
        return nullptr;
    }
}

} // namespace

int ShredRowVector::Count() const {
    return static_cast<int>(rows_.size());
}

void ShredRowVector::Insert(int index, const std::wstring& name) {
    if (index < 0 || index > Count()) {
        index = Count();
    }
    rows_.insert(rows_.begin() + index, ShredRow{name, {}, {}, false});
}

void ShredRowVector::SetText(int index, int column, const std::wstring& text) {
    if (index < 0 || index >= Count()) {
        return;
    }
    if (std::wstring* target = TextOf(rows_[index], column)) {
        *target = text;
    }
}

std::wstring ShredRowVector::Text(int index, int column) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    const std::wstring* text = TextOf(const_cast<ShredRow&>(rows_[index]), column);
    return text ? *text : std::wstring();
}

int ShredRowVector::NextSelected(int start) const {
    for (int index = start < 0 ? 0 : start + 1; index < Count(); ++index) {
        if (rows_[index].selected) {
            return index;
        }
    }
    return -1;
}

void ShredRowVector::Delete(int index) {
    if (index >= 0 && index < Count()) {
        rows_.erase(rows_.begin() + index);
    }
}

void ShredRowVector::DeleteAll() {
    rows_.clear();
}

void ShredRowVector::Select(int index, bool selected) {
    if (index >= 0 && index < Count()) {
        rows_[index].selected = selected;
    }
}
