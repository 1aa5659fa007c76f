// How cloud files (OneDrive and other sync clients' placeholders) appear to this process.
#pragma once

// Asks Windows to show this process every cloud placeholder as what it is, a reparse point
// (sparse and offline for one held only online), instead of disguising it as a plain file: the
// engine then leaves such a file whole, as it does every reparse point that is no link, rather
// than downloading, overwriting and deleting a copy while the cloud keeps the original. True when
// the system took the request; where it is unknown (before Windows 10 1803, Wine) nothing changes
// and placeholders are shown as they already are.
bool ExposeCloudPlaceholders();
