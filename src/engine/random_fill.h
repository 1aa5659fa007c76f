// Choosing how FillRandom computes its bytes. Every path yields exactly the bytes and the final
// state of FillRandomScalar; they differ only in speed and in the instructions they need.
#pragma once

#include <cstddef>
#include <cstdint>

enum class RandomFillPath { Scalar, Sse2, Avx2, Avx512 };

constexpr RandomFillPath AllRandomFillPaths[] = {RandomFillPath::Scalar, RandomFillPath::Sse2,
                                                 RandomFillPath::Avx2, RandomFillPath::Avx512};

// True when this processor, and the system's saving of its registers, let the path run.
bool RandomFillPathSupported(RandomFillPath path);

// The fastest path this processor supports.
RandomFillPath FastestRandomFillPath();

// The path FillRandom takes now: the fastest one unless SetRandomFillPath chose another.
RandomFillPath CurrentRandomFillPath();

// Makes FillRandom take path, on every thread, from now on. False, and nothing changes, when the
// processor does not support it.
bool SetRandomFillPath(RandomFillPath path);

// FillRandom through the given path; an unsupported path falls back to the scalar loop.
void FillRandomVia(RandomFillPath path, std::uint8_t* buffer, std::size_t count);

// A short name for tables and test names: "scalar", "sse2", "avx2", "avx512".
const char* RandomFillPathName(RandomFillPath path);
