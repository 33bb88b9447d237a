// Paths the build writes into the Windows tests, made usable by the Windows API. The build
// runs on Linux and writes host paths; under Wine the host's "/x/y" is "Z:\x\y".
#pragma once

#include <algorithm>
#include <string>

namespace kestrel::test {

inline std::string windowsPath(std::string path) {
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

#ifdef KESTREL_FIXTURE_DIR
// One of the small x86_64 DLLs of tests/support/fixtures.
inline std::string fixtureDll(const std::string& name) {
    return windowsPath(std::string(KESTREL_FIXTURE_DIR) + "/x86_64-w64-mingw32/" + name + ".dll");
}
#endif

} // namespace kestrel::test
