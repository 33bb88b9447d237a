// kestrel-host: a stand-in browser for the Kestrel plug-in. It runs an installation from a web
// page, a .kst URL or a local script where no browser loads plug-ins any more, and it is the
// harness of the end-to-end tests.
//
// Exit status: 0 the installation ran to its end; 1 it was aborted or failed, a window needed an
// answer that no rule gave, or the time limit passed; 2 the host could not start.
#include "browser_session.h"
#include "host_options.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace kestrel::host;
    ParsedOptions parsed = parseHostOptions(argc, argv);
    if (!parsed.options) {
        std::fputs(parsed.output.c_str(), parsed.exitCode == 0 ? stdout : stderr);
        return parsed.exitCode;
    }
    BrowserSession session(*parsed.options);
    return session.run();
}
