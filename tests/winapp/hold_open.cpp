// hold-open.exe: holds a file open as CASS holds the .dat it shows, for the end-to-end test of
// Velkaro.exe under wine: read access, shared for reading only, so that nobody may write,
// delete or rename it while it is held.
//   hold-open FILE READY    opens FILE, then creates READY and waits until it is killed
// Exits 1, saying why on standard error, when FILE or READY cannot be opened or created.

#include <windows.h>

#include <cstdio>

namespace {

[[nodiscard]] bool createMarker(const wchar_t *path) {
    const HANDLE marker =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(marker);
    return true;
}

} // namespace

int wmain(int argc, wchar_t **argv) {
    if (argc != 3) {
        std::fputs("usage: hold-open FILE READY\n", stderr);
        return 1;
    }
    const HANDLE held = CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "hold-open: cannot open the file: error %lu\n", GetLastError());
        return 1;
    }
    if (!createMarker(argv[2])) {
        std::fprintf(stderr, "hold-open: cannot create the marker: error %lu\n", GetLastError());
        return 1;
    }
    Sleep(INFINITE);
    CloseHandle(held);
    return 0;
}
