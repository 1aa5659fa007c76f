// Strings allocated for COM (BSTR).
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <utility>

// A string allocated for COM, freed with SysFreeString.
class ComString {
public:
    explicit ComString(const wchar_t* text) : text_(SysAllocString(text)) {}
    ~ComString() { SysFreeString(text_); }
    ComString(ComString&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    ComString& operator=(ComString&&) = delete;
    ComString(const ComString&) = delete;
    ComString& operator=(const ComString&) = delete;

    BSTR Get() const { return text_; }

private:
    BSTR text_;
};
