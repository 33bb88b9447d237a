#include "files/container_format.h"

#include "files/little_endian.h"

#include <algorithm>
#include <cstring>

namespace kestrel::files {
namespace {

bool writeAll(os::OutputFile& out, const void* bytes, uint32_t count) {
    return count == 0 || out.write(bytes, count) == int32_t(count);
}

} // namespace

std::optional<ContainerTrailer> readContainerTrailer(os::InputFile& file) {
    int64_t length = file.seek(0, os::SeekOrigin::End);
    unsigned char trailer[kContainerTrailerSize];
    if (length < int64_t(kContainerTrailerSize) ||
        file.seek(length - kContainerTrailerSize, os::SeekOrigin::Start) < 0 ||
        file.read(trailer, kContainerTrailerSize) != int32_t(kContainerTrailerSize) ||
        std::memcmp(trailer, kContainerSignature, sizeof kContainerSignature) != 0 ||
        loadU32(trailer + 8) == 0) {
        return std::nullopt;
    }
    return ContainerTrailer{uint64_t(length), loadU32(trailer + 8), loadU32(trailer + 12)};
}

bool walkContainerRecords(os::InputFile& file, const ContainerTrailer& trailer,
                          const std::function<bool(const ContainerRecord&)>& visit) {
    // Every record takes 276 bytes of the file, so a longer chain has looped.
    uint64_t stepsLeft = trailer.fileLength / kContainerRecordSize + 1;
    unsigned char bytes[kContainerRecordSize];
    for (uint32_t offset = trailer.firstRecord; offset != 0;) {
        if (stepsLeft-- == 0 || file.seek(offset, os::SeekOrigin::Start) < 0 ||
            file.read(bytes, kContainerRecordSize) != int32_t(kContainerRecordSize)) {
            return false;
        }
        ContainerRecord record;
        record.offset = offset;
        record.next = loadU32(bytes);
        record.attributes = loadU32(bytes + 4);
        record.stamp.time = uint16_t(loadU32(bytes + 8));
        record.stamp.date = uint16_t(loadU32(bytes + 12));
        uint64_t data = uint64_t(offset) + kContainerRecordSize;
        uint64_t available = trailer.fileLength > data ? trailer.fileLength - data : 0;
        record.size = uint32_t(std::min<uint64_t>(loadU32(bytes + 16), available));
        const char* name = reinterpret_cast<const char*>(bytes + 20);
        record.name.assign(name, strnlen(name, kContainerNameSize));
        if (!visit(record)) {
            return true;
        }
        offset = record.next;
    }
    return true;
}

bool writeContainer(os::FileSystem& files, const std::vector<ContainerMemberSource>& members,
                    os::OutputFile& out, ContainerWriteError& error) {
    struct Planned {
        std::unique_ptr<os::InputFile> input;
        uint32_t size;
        uint32_t attributes;
        os::DosDateTime stamp;
    };
    std::vector<Planned> planned;
    uint64_t offset = kContainerPreambleSize;
    for (const auto& member : members) {
        if (member.name.empty() || member.name.size() >= kContainerNameSize) {
            error = {member.path, "member name must have 1 to 255 characters"};
            return false;
        }
        auto stamp = files.readDosDateTime(member.path);
        auto input = files.openForReading(member.path);
        int64_t size = input ? input->seek(0, os::SeekOrigin::End) : -1;
        if (!stamp || size < 0 || input->seek(0, os::SeekOrigin::Start) != 0) {
            error = {member.path, "cannot read the file"};
            return false;
        }
        offset += kContainerRecordSize + uint64_t(size);
        if (offset + kContainerTrailerSize > UINT32_MAX) {
            error = {member.path, "the container would exceed 4 GiB"};
            return false;
        }
        uint32_t attributes = files.readAttributes(member.path).value_or(os::attributes::Normal);
        planned.push_back({std::move(input), uint32_t(size), attributes, *stamp});
    }

    unsigned char preamble[kContainerPreambleSize] = {};
    std::memcpy(preamble, kContainerPreamble, sizeof kContainerPreamble);
    storeU32(preamble + 8, kContainerFormatVersion);
    storeU32(preamble + 12, uint32_t(members.size()));
    if (!writeAll(out, preamble, sizeof preamble)) {
        error = {"", "cannot write the container"};
        return false;
    }
    uint32_t position = kContainerPreambleSize;
    std::vector<char> buffer(64 * 1024);
    for (size_t i = 0; i < planned.size(); ++i) {
        Planned& member = planned[i];
        uint32_t next = position + kContainerRecordSize + member.size;
        unsigned char record[kContainerRecordSize] = {};
        storeU32(record, i + 1 < planned.size() ? next : 0);
        storeU32(record + 4, member.attributes);
        storeU32(record + 8, member.stamp.time);
        storeU32(record + 12, member.stamp.date);
        storeU32(record + 16, member.size);
        std::memcpy(record + 20, members[i].name.data(), members[i].name.size());
        if (!writeAll(out, record, sizeof record)) {
            error = {"", "cannot write the container"};
            return false;
        }
        for (uint32_t left = member.size; left > 0;) {
            int32_t got = member.input->read(buffer.data(),
                                             std::min<uint32_t>(left, uint32_t(buffer.size())));
            if (got <= 0) {
                error = {members[i].path, "the file changed while it was packed"};
                return false;
            }
            if (!writeAll(out, buffer.data(), uint32_t(got))) {
                error = {"", "cannot write the container"};
                return false;
            }
            left -= uint32_t(got);
        }
        position = next;
    }
    unsigned char trailer[kContainerTrailerSize] = {};
    std::memcpy(trailer, kContainerSignature, sizeof kContainerSignature);
    storeU32(trailer + 8, planned.empty() ? 0 : kContainerPreambleSize);
    if (!writeAll(out, trailer, sizeof trailer)) {
        error = {"", "cannot write the container"};
        return false;
    }
    return true;
}

} // namespace kestrel::files
