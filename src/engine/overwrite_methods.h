// The five overwrite methods and the table the job picks one from.
#pragma once

#include "engine/pass_fill.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>

// Overwrites every byte of data the open file holds in place, pass by pass (a sparse file's
// allocated ranges only, every other file's whole length); true when every pass was written in
// full and flushed. Never opens, closes, truncates or renames the file.
using ShredMethod = bool (*)(HANDLE& file);

bool OverwriteZeros(HANDLE& file);
bool OverwriteRandom(HANDLE& file);
bool OverwriteDod3(HANDLE& file);
bool OverwriteDod7(HANDLE& file);
bool OverwriteGutmann(HANDLE& file);

constexpr int ShredMethodCount = 5;

// Indexed by the checked radio button's id minus IDC_METHOD_FIRST.
extern const ShredMethod ShredMethods[ShredMethodCount];

// The passes method writes, in order, from the same table the method itself writes; empty for a
// function that is not one of the five.
std::span<const PassFill> PassesOf(ShredMethod method);

constexpr std::size_t OverwriteChunkSize = 64u * 1024u * 1024u;
