// The yardstick of install_bench: how fast this machine's CopyFile copies a file, timed inside
// the process so that starting the program does not count.
// Usage: copy_file_timer SOURCE DESTINATION  -> prints the seconds the copy took.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: copy_file_timer SOURCE DESTINATION\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CopyFileW(argv[1], argv[2], FALSE)) {
        std::fprintf(stderr, "CopyFile failed: error %lu\n", GetLastError());
        return 1;
    }
    QueryPerformanceCounter(&end);
    std::printf("%.6f\n", static_cast<double>(end.QuadPart - start.QuadPart) /
                              static_cast<double>(frequency.QuadPart));
    return 0;
}
