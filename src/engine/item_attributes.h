// Clearing an open item's attributes for the time it is worked on, and giving them back to an
// item that stays.
#pragma once

#include <windows.h>

// Resets the attributes of an open item (read-only, hidden, system...) to normal through its
// handle, and puts back through it, when destroyed and unless the item is gone, every original
// attribute that an application can set (the newer ones such as pinned and unpinned included).
// Declare it after the handle it uses, so that it acts before the handle is closed.
class AttributesReset {
public:
    AttributesReset(HANDLE item, DWORD original);
    ~AttributesReset();
    AttributesReset(const AttributesReset&) = delete;
    AttributesReset& operator=(const AttributesReset&) = delete;
    AttributesReset(AttributesReset&& other) noexcept;
    AttributesReset& operator=(AttributesReset&&) = delete;

    // The item is gone: nothing to give back.
    void ItemRemoved() { item_ = nullptr; }

private:
    HANDLE item_;
    DWORD original_;
};
