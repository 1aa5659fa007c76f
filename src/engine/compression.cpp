#include "engine/compression.h"

#include "engine/file_system.h"

#include <winioctl.h>

namespace {

bool MeansNoCompression(DWORD error) {
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED;
}

} // namespace

bool StoreUncompressed(HANDLE stream) {
    USHORT format = COMPRESSION_FORMAT_NONE;
    DWORD returned = 0;
    if (!FileSystem.DeviceIoControl(stream, FSCTL_GET_COMPRESSION, nullptr, 0, &format,
                                    sizeof(format), &returned, nullptr)) {
        return MeansNoCompression(GetLastError());
    }
    if (format == COMPRESSION_FORMAT_NONE) {
        return true;
    }
    format = COMPRESSION_FORMAT_NONE;
    return FileSystem.DeviceIoControl(stream, FSCTL_SET_COMPRESSION, &format, sizeof(format),
                                      nullptr, 0, &returned, nullptr) != FALSE;
}
