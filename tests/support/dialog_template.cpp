#include "support/dialog_template.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>

namespace {

constexpr WORD OrdinalMark = 0xFFFF;

class TemplateReader {
public:
    explicit TemplateReader(const BYTE* base) : base_(base), at_(base) {}

    template <typename T> T Take() {
        T value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    // Empty, an ordinal (written as "#n"), or a string.
    std::wstring StringOrOrdinal() {
        if (Peek() == OrdinalMark) {
            Take<WORD>();
            return L"#" + std::to_wstring(Take<WORD>());
        }
        std::wstring text;
        for (wchar_t c = Take<wchar_t>(); c != L'\0'; c = Take<wchar_t>()) {
            text += c;
        }
        return text;
    }
    void AlignToDword() {
        while ((at_ - base_) % sizeof(DWORD) != 0) {
            ++at_;
        }
    }
    void Skip(std::size_t bytes) { at_ += bytes; }

private:
    WORD Peek() const {
        WORD first;
        std::memcpy(&first, at_, sizeof first);
        return first;
    }

    const BYTE* base_;
    const BYTE* at_;
};

TemplateControl ReadControl(TemplateReader& reader, bool extended) {
    TemplateControl control;
    reader.AlignToDword();
    if (extended) {
        reader.Take<DWORD>();
        control.exStyle = reader.Take<DWORD>();
        control.style = reader.Take<DWORD>();
    } else {
        control.style = reader.Take<DWORD>();
        control.exStyle = reader.Take<DWORD>();
    }
    control.x = reader.Take<short>();
    control.y = reader.Take<short>();
    control.cx = reader.Take<short>();
    control.cy = reader.Take<short>();
    control.id = extended ? static_cast<int>(reader.Take<DWORD>()) : reader.Take<WORD>();
    control.id = static_cast<short>(control.id);
    control.className = reader.StringOrOrdinal();
    // Resource compilers differ in the case they store a class name in.
    for (wchar_t& c : control.className) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    control.text = reader.StringOrOrdinal();
    control.creationDataBytes = reader.Take<WORD>();
    reader.Skip(control.creationDataBytes);
    return control;
}

} // namespace

void PrintTo(const TemplateControl& control, std::ostream* out) {
    *out << "{id " << control.id << ", " << testing::PrintToString(control.className) << ", "
         << testing::PrintToString(control.text) << ", " << control.x << ", " << control.y << ", "
         << control.cx << ", " << control.cy << ", style 0x" << std::hex << control.style
         << ", ex 0x" << control.exStyle << std::dec << ", " << control.creationDataBytes
         << " bytes of creation data}";
}

DialogTemplate ReadDialogTemplate(int templateId) {
    DialogTemplate result;
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    EXPECT_NE(nullptr, resource) << "no template " << templateId;
    if (!resource) {
        return result;
    }
    TemplateReader reader(static_cast<const BYTE*>(LockResource(LoadResource(module, resource))));
    // The extended form starts with its version 1 and 0xFFFF; the classic one with its style.
    const WORD first = reader.Take<WORD>();
    const WORD second = reader.Take<WORD>();
    result.extended = first == 1 && second == OrdinalMark;
    if (result.extended) {
        reader.Take<DWORD>();
        result.exStyle = reader.Take<DWORD>();
        result.style = reader.Take<DWORD>();
    } else {
        result.style = MAKELONG(first, second);
        result.exStyle = reader.Take<DWORD>();
    }
    const WORD count = reader.Take<WORD>();
    result.x = reader.Take<short>();
    result.y = reader.Take<short>();
    result.cx = reader.Take<short>();
    result.cy = reader.Take<short>();
    result.menu = reader.StringOrOrdinal();
    result.windowClass = reader.StringOrOrdinal();
    result.title = reader.StringOrOrdinal();
    result.pointSize = reader.Take<WORD>();
    if (result.extended) {
        result.weight = reader.Take<WORD>();
        result.italic = reader.Take<BYTE>();
        result.charset = reader.Take<BYTE>();
    }
    result.typeface = reader.StringOrOrdinal();
    for (WORD i = 0; i < count; ++i) {
        result.controls.push_back(ReadControl(reader, result.extended));
    }
    return result;
}
