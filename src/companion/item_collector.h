// The collecting companion: takes the items of every companion started meanwhile, starts Ferrolet
// once with them (or hands them to its open window), and ends when the window has them all.
#pragma once

#include "handles/kernel_handle.h"

#include <windows.h>

#include <string>
#include <vector>

// Runs until every item collected was taken by a Ferrolet window or reported as not added. pipe is
// the collector's end, made while mutex was held; mutex is held again to close it, so that a
// companion either reaches this collector or finds none and becomes the next.
void CollectItems(KernelHandle pipe, HANDLE mutex, const std::wstring& ferroletPath,
                  std::vector<std::wstring> items);
