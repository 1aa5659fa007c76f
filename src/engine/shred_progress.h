// What the engine tells whoever runs it while it works, and what it asks back.
#pragma once

#include <cstdint>
#include <string>

// A job's view of the engine's work: the name of the item at hand, one step per item done, and
// whether the user wants the job to stop. The engine calls it on its own thread; an
// implementation must not block that thread on another one.
class ShredProgress {
public:
    virtual void ShowName(const std::wstring& name) = 0;
    virtual void Step() = 0;
    virtual bool StopRequested() const = 0;
    // Bytes written to fill a volume's free space, told after each chunk.
    virtual void BytesWritten(std::uint64_t) {}

protected:
    ~ShredProgress() = default;
};
