#include "engine/compression.h"

#include "engine/file_system.h"

#include <winioctl.h>

bool StoreUncompressed(HANDLE stream, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_COMPRESSED) == 0) {
        return true;
    }
    USHORT format = COMPRESSION_FORMAT_NONE;
    DWORD returned = 0;
    return FileSystem.DeviceIoControl(stream, FSCTL_SET_COMPRESSION, &format, sizeof(format),
                                      nullptr, 0, &returned, nullptr) != FALSE;
}
