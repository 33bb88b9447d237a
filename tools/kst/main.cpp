// kst: the authoring tool for installation scripts, containers and archives.
#include "command.h"
#include "os/file_system.h"
#include "os/read_fully.h"

#include <filesystem>
#include <iostream>

namespace kst {

int fail(const std::string& file, const std::string& message) {
    std::cerr << "kst: " << (file.empty() ? "" : file + ": ") << message << '\n';
    return 1;
}

int failAndRemove(const std::string& output, const std::string& file, const std::string& message) {
    std::error_code ignored;
    std::filesystem::remove(output, ignored);
    return fail(file, message);
}

std::optional<std::string> readWholeFile(const std::string& path) {
    auto file = kestrel::os::makeNativeFileSystem()->openForReading(path);
    if (!file)
        return std::nullopt;
    return kestrel::os::readToEnd(*file);
}

} // namespace kst

int main(int argc, char** argv) {
    CLI::App app{"kst: make and inspect installation scripts, containers and archives"};
    app.require_subcommand(1);
    // -v may stand before or after the subcommand.
    app.fallthrough();
    kst::Session session;
    app.add_flag("-v,--verbose", session.verbose, "Say what is done");
    kst::addContainerCommands(app, session);
    kst::addArchiveCommands(app, session);
    kst::addScriptCommands(app, session);
    kst::addCheckCommand(app, session);
    kst::addCodecCommands(app, session);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    return session.exitCode;
}
