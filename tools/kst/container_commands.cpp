// kst pack: packed installation files (containers).
#include "command.h"
#include "files/container_format.h"
#include "lexical/ansi_text.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>

namespace kst {
namespace {

using kestrel::files::ContainerMemberSource;

int pack(const std::string& output, const std::vector<std::string>& inputs, bool verbose) {
    auto fs = kestrel::os::makeNativeFileSystem();
    std::vector<ContainerMemberSource> members;
    std::set<std::string> seen;
    for (const auto& input : inputs) {
        std::string name = std::filesystem::path(input).filename().string();
        // Lookup is by name alone and the first match wins: a second one could never be read.
        if (!seen.insert(kestrel::lexical::asciiUpper(name)).second) {
            return fail(input, "a member named " + name + " is already packed");
        }
        if (std::filesystem::is_directory(input)) {
            return fail(input, "is a directory; name the files to pack");
        }
        members.push_back({name, input});
    }
    auto out = fs->createForWriting(output);
    if (!out) {
        return fail(output, "cannot create the file");
    }
    kestrel::files::ContainerWriteError error;
    if (!kestrel::files::writeContainer(*fs, members, *out, error)) {
        out.reset();
        return failAndRemove(output, error.path.empty() ? output : error.path, error.message);
    }
    if (verbose) {
        std::cerr << "kst: packed " << members.size() << " files into " << output << '\n';
    }
    return 0;
}

} // namespace

void addContainerCommands(CLI::App& app, Session& session) {
    auto* packCommand = app.add_subcommand("pack", "Build a packed installation file from files");
    auto output = std::make_shared<std::string>();
    auto inputs = std::make_shared<std::vector<std::string>>();
    packCommand->add_option("-o,--output", *output, "The container to write")->required();
    packCommand->add_option("FILE", *inputs, "Files to pack (stored by file name)")->required();
    packCommand->callback(
        [&session, output, inputs] { session.exitCode = pack(*output, *inputs, session.verbose); });
}

} // namespace kst
