// kst pack / kst ls: packed installation files (containers).
#include "command.h"
#include "files/container_format.h"
#include "lexical/ansi_text.h"
#include "listing_format.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <memory>
#include <set>

namespace kst {
namespace {

using kestrel::files::ContainerMemberSource;
using kestrel::files::ContainerRecord;

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

int list(const std::string& container) {
    auto fs = kestrel::os::makeNativeFileSystem();
    auto file = fs->openForReading(container);
    if (!file) {
        return fail(container, "cannot open the file");
    }
    auto trailer = kestrel::files::readContainerTrailer(*file);
    if (!trailer) {
        return fail(container, "not a packed installation file (no [KSTRL] trailer)");
    }
    std::vector<ContainerRecord> records;
    bool intact = kestrel::files::walkContainerRecords(*file, *trailer, [&](const auto& record) {
        records.push_back(record);
        return true;
    });
    size_t width = 12;
    for (const auto& record : records) {
        width = std::max(width, record.name.size());
    }
    for (const auto& record : records) {
        std::cout << std::left << std::setw(int(width)) << record.name << ' ' << std::right
                  << std::setw(10) << record.size << ' ' << formatDosDate(record.stamp.date) << ' '
                  << formatDosTime(record.stamp.time) << ' ' << formatAttributes(record.attributes)
                  << '\n';
    }
    if (!intact) {
        return fail(container, "the directory chain is damaged after " +
                                   std::to_string(records.size()) + " members");
    }
    return 0;
}

} // namespace

void addContainerCommands(CLI::App& app, Session& session) {
    auto* packCommand = app.add_subcommand("pack", "Build a packed installation file from files");
    auto output = std::make_shared<std::string>();
    auto inputs = std::make_shared<std::vector<std::string>>();
    packCommand->add_option("-o,--output", *output, "The container to write")->required();
    packCommand->add_option("files", *inputs, "Files to pack (stored by file name)")->required();
    packCommand->callback(
        [&session, output, inputs] { session.exitCode = pack(*output, *inputs, session.verbose); });

    auto* lsCommand = app.add_subcommand("ls", "List the members of a packed installation file");
    auto container = std::make_shared<std::string>();
    lsCommand->add_option("container", *container, "The container")->required();
    lsCommand->callback([&session, container] { session.exitCode = list(*container); });
}

} // namespace kst
