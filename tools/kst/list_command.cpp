// kst list: the members of a packed installation file (a container) or of a packed archive,
// whichever the file is. A container is known by the trailer at its end, so it is looked for
// first: a container may well begin with an archive, its first member.
#include "command.h"
#include "files/container_format.h"
#include "listing_format.h"
#include "os/file_system.h"

#include <algorithm>
#include <iomanip>
#include <iostream>
#include <memory>

namespace kst {
namespace {

using kestrel::files::ContainerRecord;

int listContainer(kestrel::os::InputFile& file, const kestrel::files::ContainerTrailer& trailer,
                  const std::string& path) {
    std::vector<ContainerRecord> records;
    const bool intact =
        kestrel::files::walkContainerRecords(file, trailer, [&](const auto& record) {
            records.push_back(record);
            return true;
        });
    size_t width = 12;
    for (const auto& record : records)
        width = std::max(width, record.name.size());
    for (const auto& record : records) {
        std::cout << std::left << std::setw(int(width)) << record.name << ' ' << std::right
                  << std::setw(10) << record.size << ' ' << formatDosDate(record.stamp.date) << ' '
                  << formatDosTime(record.stamp.time) << ' ' << formatAttributes(record.attributes)
                  << '\n';
    }
    if (!intact)
        return fail(path, "the directory chain is damaged after " + std::to_string(records.size()) +
                              " members");
    return 0;
}

int list(const std::string& path, bool verbose) {
    auto file = kestrel::os::makeNativeFileSystem()->openForReading(path);
    if (!file)
        return fail(path, "cannot open the file");
    if (const auto trailer = kestrel::files::readContainerTrailer(*file))
        return listContainer(*file, *trailer, path);
    file.reset();
    return listArchive(path, verbose);
}

} // namespace

void addListCommand(CLI::App& app, Session& session) {
    auto path = std::make_shared<std::string>();
    // "ls", the earlier name for containers, lists either kind too; it is not shown in the help.
    for (const std::string_view name : {"list", "ls"}) {
        auto* command = app.add_subcommand(
            std::string(name),
            "List the members of a packed installation file or a packed archive");
        command->add_option("FILE", *path, "The container, or the archive's first volume")
            ->required();
        command->callback([&session, path] { session.exitCode = list(*path, session.verbose); });
        if (name == "ls")
            command->group("");
    }
}

} // namespace kst
