// kestrel-host's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrel::host {

struct HostOptions {
    std::string target;      // page URL, .kst URL, file: URL or local path
    std::string plugin;      // empty: npkestrel.dll beside the host
    std::string answers;     // rules file: unattended mode
    std::string transcript;  // JSON lines, one per window
    std::string screenshots; // folder for PNGs of the plug-in window and each dialog
    std::string baseUrl;     // the script's URL as the plug-in is told it
    std::optional<double> timeoutSeconds;
};

struct ParsedOptions {
    std::optional<HostOptions> options; // empty: exit with `exitCode` after printing `output`
    int exitCode = 0;
    std::string output;
};

ParsedOptions parseHostOptions(int argc, char** argv);

} // namespace kestrel::host
