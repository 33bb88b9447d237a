#include "host_options.h"

#include <CLI/CLI.hpp>

namespace kestrel::host {

ParsedOptions parseHostOptions(int argc, char** argv) {
    HostOptions options;
    double timeout = 0;
    CLI::App app{"kestrel-host: runs an installation web page or script through the plug-in, "
                 "as a browser would",
                 "kestrel-host"};
    app.add_option("TARGET", options.target,
                   "URL of a web page that embeds a .kst, URL of a .kst, a file: URL or a path")
        ->required();
    app.add_option("--plugin", options.plugin,
                   "the plug-in DLL (default: npkestrel.dll beside "
                   "kestrel-host)");
    app.add_option("--answers", options.answers,
                   "answer every window that waits for the user by these rules (TEXT => ACTION)");
    app.add_option("--transcript", options.transcript,
                   "write one JSON line for every window shown");
    app.add_option("--screenshots", options.screenshots,
                   "save a PNG of the plug-in window and of each dialog in this folder");
    app.add_option("--timeout", timeout, "leave the page after this many seconds (exit 1)")
        ->check(CLI::PositiveNumber);
    app.add_option("--base-url", options.baseUrl,
                   "tell the plug-in that the script was fetched from this URL");
    ParsedOptions parsed;
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        parsed.output = app.help();
        return parsed;
    } catch (const CLI::ParseError& error) {
        parsed.exitCode = 2;
        parsed.output = std::string("kestrel-host: ") + error.what() + "\n" + app.help();
        return parsed;
    }
    if (app.count("--timeout") != 0) {
        options.timeoutSeconds = timeout;
    }
    parsed.options = options;
    return parsed;
}

} // namespace kestrel::host
