// kst: the authoring tool for installation scripts, containers and archives.
#include "command.h"
#include "lexical/numbers.h"
#include "os/file_system.h"
#include "os/read_fully.h"

#include <filesystem>
#include <iostream>

namespace kst {

int fail(const std::string& file, const std::string& message) {
    std::cerr << "kst: " << (file.empty() ? "" : file + ": ") << message << '\n';
    return kFailed;
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

CLI::Validator valueIs(const std::string& expected, std::function<bool(const std::string&)> reads) {
    return CLI::Validator(
        [expected, reads](std::string& value) {
            return reads(value) ? std::string() : "\"" + value + "\" is not " + expected;
        },
        "");
}

CLI::Validator numberFrom(uint64_t low, uint64_t high) {
    return valueIs("a number from " + std::to_string(low) + " to " + std::to_string(high),
                   [low, high](const std::string& text) {
                       const auto number = kestrel::lexical::parseUnsignedDecimal(text);
                       return number && *number >= low && *number <= high;
                   });
}

namespace {

// The first word that is not an option must name a command; CLI11 would only say that a
// command is missing. The options before it take no value.
std::optional<std::string> unknownCommand(const CLI::App& app, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (!word.empty() && word[0] == '-')
            continue;
        for (const CLI::App* command : app.get_subcommands({})) {
            if (command->check_name(word))
                return std::nullopt;
        }
        return word;
    }
    return std::nullopt;
}

std::string commandNames(const CLI::App& app) {
    std::string names;
    for (const CLI::App* command : app.get_subcommands({})) {
        if (!command->get_group().empty()) // hidden: an earlier spelling
            names += (names.empty() ? "" : ", ") + command->get_name();
    }
    return names;
}

// A usage error: what is wrong, and where help is (the command's own when one was named).
int usageError(const CLI::App& app, const std::string& message) {
    const auto named = app.get_subcommands();
    const std::string command = named.empty() ? "" : named.back()->get_name() + " ";
    std::cerr << "kst: " << message << "\nkst: see 'kst " << command << "--help'\n";
    return kUsageError;
}

} // namespace

} // namespace kst

int main(int argc, char** argv) {
    CLI::App app{"Make and inspect installation scripts, containers and archives", "kst"};
    app.require_subcommand(1);
    // -v may stand before or after the command.
    app.fallthrough();
    app.set_version_flag("--version", std::string("kst ") + KST_VERSION);
    kst::Session session;
    app.add_flag("-v,--verbose", session.verbose, "Say what is done");
    kst::addScriptCommands(app, session);
    kst::addCheckCommand(app, session);
    kst::addContainerCommands(app, session);
    kst::addArchiveCommands(app, session);
    kst::addListCommand(app, session);
    kst::addCodecCommands(app, session);
    if (const auto word = kst::unknownCommand(app, argc, argv))
        return kst::usageError(app, "\"" + *word + "\" is not a command (" +
                                        kst::commandNames(app) + ")");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and --version print on stdout and succeed.
        if (e.get_exit_code() == 0)
            return app.exit(e);
        if (app.get_subcommands().empty() && dynamic_cast<const CLI::RequiredError*>(&e))
            return kst::usageError(app, "name a command: " + kst::commandNames(app));
        return kst::usageError(app, e.what());
    }
    return session.exitCode;
}
