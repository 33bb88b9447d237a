#include "ui/destination_answer.h"

namespace kestrel::ui {

namespace {

// Destinations without a drive are on C:, as the script's own paths are.
constexpr char kDefaultDrive = 'C';

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

char driveOf(std::string_view path) {
    return path.empty() ? kDefaultDrive : path.front();
}

std::string_view from(std::string_view text, size_t at) {
    return at < text.size() ? text.substr(at) : std::string_view();
}

std::string cutAt(std::string_view text, std::string_view stops) {
    return std::string(text.substr(0, text.find_first_of(stops)));
}

DestinationAnswer answer(DestinationVerdict verdict, std::string path = {}) {
    if (verdict != DestinationVerdict::CreateDirectories)
        return DestinationAnswer{verdict, {}, {}};
    if (path.size() > kDestinationCapacity)
        return DestinationAnswer{DestinationVerdict::BadDirectory, {}, {}};
    // "D" or "D:" alone would name the drive's current directory.
    if (path.size() <= 2)
        path = std::string{path.front(), ':', '\\'};
    return DestinationAnswer{verdict, std::move(path), {}};
}

} // namespace

DestinationFields destinationFields(int32_t askMode, std::string_view defaultPath) {
    DestinationFields fields;
    fields.path = std::string(defaultPath);
    const char drive = driveOf(defaultPath);
    switch (askMode) {
    case 1:
        if (defaultPath.size() <= 2)
            fields.path = std::string{drive, ':', '\\'};
        fields.drive = std::string{upper(drive), ':', '\\'};
        fields.edit = std::string(from(fields.path, 3));
        break;
    case 2:
        fields.edit = std::string(1, drive);
        fields.fixedRest = std::string(from(defaultPath, 1));
        break;
    case 3:
        fields.edit = fields.path;
        break;
    default:
        break;
    }
    return fields;
}

DestinationAnswer acceptDestination(int32_t askMode, std::string_view path,
                                    std::string_view typed) {
    switch (askMode) {
    case 0:
    case 4:
    case 5:
        return answer(DestinationVerdict::Unchanged);
    case 1:
        return answer(DestinationVerdict::CreateDirectories,
                      std::string{driveOf(path), ':', '\\'} + cutAt(typed, " ,"));
    case 2:
        if (typed.empty() || !isDriveLetter(typed.front()))
            return answer(DestinationVerdict::BadDrive);
        return answer(DestinationVerdict::CreateDirectories,
                      typed.front() + std::string(from(path, 1)));
    case 3: {
        const bool wellFormed = !typed.empty() && isDriveLetter(typed[0]) &&
                                (typed.size() < 2 || typed[1] == ':') &&
                                (typed.size() < 3 || typed[2] == '\\');
        if (!wellFormed)
            return answer(DestinationVerdict::BadDrive);
        return answer(DestinationVerdict::CreateDirectories, cutAt(typed, ","));
    }
    default:
        return DestinationAnswer{
            DestinationVerdict::UnknownAskMode, {}, "AskFlag = " + std::to_string(askMode)};
    }
}

} // namespace kestrel::ui
