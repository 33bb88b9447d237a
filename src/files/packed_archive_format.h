// The packed archive: imploded files with their names, dates and times, spread over one or
// more volumes (one file per disk). All numbers are little-endian.
//
// Every volume starts with a 58-byte header:
//   0   char[14]  name of the next volume, zero-terminated; empty in the last volume. The
//                 name has no directory: the next volume sits beside the current one.
//   14  u16       116, the archive mark
//   16  i16       number of members in the whole archive (taken from the first volume)
//   18  u16       116 in the first volume, 117 in every continuation volume
//   20  38 bytes  unused, zero
//
// Behind it members follow each other without gaps, each a 168-byte header and its stored
// (imploded) bytes:
//   0   char[136] member name, zero-terminated; may hold a relative directory, backslashes
//   136 u32       stored length; 0 for an empty file, which has no imploded stream at all
//   140 u32       DOS date in the low 16 bits
//   144 u32       DOS time in the low 16 bits
//   148 20 bytes  unused, zero
//
// Stored bytes may run on into the next volume, right behind its header; a member header
// never does: a volume that ends inside a header is left behind and the whole header is
// read from the next volume. There is no stored-without-compression method, and the unpacked
// size is not recorded anywhere.
#pragma once

#include "files/little_endian.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace kestrel::files::archive {

inline constexpr uint32_t kVolumeHeaderSize = 58;
inline constexpr uint32_t kNextNameSize = 14; // with its terminating zero
inline constexpr uint16_t kArchiveMark = 116;
inline constexpr uint16_t kFirstVolumeMark = 116;
inline constexpr uint16_t kContinuationMark = 117;

inline constexpr uint32_t kMemberHeaderSize = 168;
inline constexpr uint32_t kMemberNameSize = 136; // with its terminating zero
inline constexpr int32_t kMaxMembers = 32767;    // the count is a signed 16-bit word

// A zero-terminated text field. `terminated` is false when the field holds no zero at all,
// which no writer produces: the text is then the whole field.
struct TextField {
    std::string text;
    bool terminated = true;
};

inline TextField loadText(const uint8_t* at, uint32_t size) {
    const void* zero = std::memchr(at, 0, size);
    uint32_t length = zero ? uint32_t(static_cast<const uint8_t*>(zero) - at) : size;
    return {std::string(reinterpret_cast<const char*>(at), length), zero != nullptr};
}

struct VolumeHeader {
    TextField nextName;
    uint16_t archiveMark = 0;
    int16_t memberCount = 0;
    uint16_t volumeMark = 0;

    bool isFirstVolume() const {
        return archiveMark == kArchiveMark && volumeMark == kFirstVolumeMark;
    }
    bool isContinuation() const {
        return archiveMark == kArchiveMark && volumeMark == kContinuationMark;
    }
    bool hasNextVolume() const { return !nextName.text.empty(); }
};

inline VolumeHeader loadVolumeHeader(const uint8_t* at) {
    VolumeHeader header;
    header.nextName = loadText(at, kNextNameSize);
    header.archiveMark = loadU16(at + 14);
    header.memberCount = int16_t(loadU16(at + 16));
    header.volumeMark = loadU16(at + 18);
    return header;
}

// `nextName` must be shorter than kNextNameSize.
inline void storeVolumeHeader(uint8_t* at, const std::string& nextName, int16_t memberCount,
                              bool firstVolume) {
    std::memset(at, 0, kVolumeHeaderSize);
    std::memcpy(at, nextName.data(), nextName.size());
    storeU16(at + 14, kArchiveMark);
    storeU16(at + 16, uint16_t(memberCount));
    storeU16(at + 18, firstVolume ? kFirstVolumeMark : kContinuationMark);
}

struct MemberHeader {
    TextField name;
    uint32_t storedLength = 0;
    uint16_t date = 0;
    uint16_t time = 0;
};

inline MemberHeader loadMemberHeader(const uint8_t* at) {
    MemberHeader header;
    header.name = loadText(at, kMemberNameSize);
    header.storedLength = loadU32(at + 136);
    header.date = uint16_t(loadU32(at + 140));
    header.time = uint16_t(loadU32(at + 144));
    return header;
}

// `name` must be shorter than kMemberNameSize.
inline void storeMemberHeader(uint8_t* at, const std::string& name, uint32_t storedLength,
                              uint16_t date, uint16_t time) {
    std::memset(at, 0, kMemberHeaderSize);
    std::memcpy(at, name.data(), name.size());
    storeU32(at + 136, storedLength);
    storeU32(at + 140, date);
    storeU32(at + 144, time);
}

} // namespace kestrel::files::archive
