// The tests that look at files: isfile, search, locate and ocxfilever.
#include "script/ansi_text.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"
#include "script/drive_search.h"
#include "script/quoted_field.h"
#include "script/text_lines.h"

#include <algorithm>

namespace kestrel::script {

namespace {

constexpr std::string_view kUnknownVersion = "0.0.0.0";
constexpr size_t kRegistryValueCapacity = 999;

ConditionResult resultOf(bool holds) {
    return holds ? ConditionResult::True : ConditionResult::False;
}

// A name written in quotes, or else as a word. Nothing for an unterminated quote.
std::optional<std::string> readName(FieldCursor& cursor) {
    QuotedField quoted = readQuotedField(cursor);
    switch (quoted.state) {
    case QuotedField::State::Complete:
        return std::move(quoted.text);
    case QuotedField::State::Unterminated:
        return std::nullopt;
    case QuotedField::State::Absent:
        break;
    }
    return cursor.readConditionWord();
}

// What follows the last '\', '/' or ':' of a path.
std::string_view fileNamePart(std::string_view path) {
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The drive $SOURCEDIR$ stands on, or 0 when it is no drive path (a URL, a network share):
// the first letter of "http://..." is no drive to pass over.
char sourceDrive(const std::string& sourceDir) {
    if (sourceDir.size() >= 2 && sourceDir[1] == ':' && isAsciiLetter(sourceDir[0]))
        return asciiUpper(sourceDir[0]);
    return 0;
}

} // namespace

ConditionResult testIsFile(FieldCursor& cursor, ConditionContext& context) {
    auto name = readName(cursor);
    if (!name || name->empty())
        return ConditionResult::Error;
    // A macro that is still empty leaves nothing: no directory, no file name, so false.
    expandLeadingMacro(*name, context.globals.macros);
    if (!name->empty() && name->back() == '\\')
        return resultOf(context.directories.directoryExists(*name));
    if (fileNamePart(*name).empty())
        return ConditionResult::False;
    return resultOf(context.directories.anyEntryMatches(*name));
}

ConditionResult testOcxFileVersion(FieldCursor& cursor, ConditionContext& context) {
    const QuotedField classId = readQuotedField(cursor);
    if (!classId.complete() || classId.text.empty())
        return ConditionResult::Error;
    const std::string bitness = cursor.readConditionWord();
    if (bitness != "16" && bitness != "32")
        return ConditionResult::Error;
    const ComparisonOperator op = cursor.readOperator();
    if (op == ComparisonOperator::Error)
        return ConditionResult::Error;
    const QuotedField wanted = readQuotedField(cursor);
    if (!wanted.complete() || wanted.text.empty())
        return ConditionResult::Error;

    std::string key = "CLSID\\";
    if (classId.text.front() != '{')
        key += '{';
    key += classId.text;
    if (classId.text.back() != '}')
        key += '}';
    key += "\\InprocServer";
    if (bitness == "32")
        key += "32";

    std::string installed(kUnknownVersion);
    if (auto server = context.registry.classesRootDefaultValue(key)) {
        server->resize(std::min(server->size(), kRegistryValueCapacity));
        if (auto version = context.versions.versionString(*server))
            installed = std::move(*version);
    }
    // As text, not as numbers: "10.0.0.0" sorts before "9.0.0.0".
    return resultOf(comparisonHolds(compareIgnoringCase(installed, wanted.text), op));
}

ConditionResult testSearch(FieldCursor& cursor, ConditionContext& context) {
    if (cursor.atEnd())
        return ConditionResult::Error;
    const QuotedField text = readQuotedField(cursor);
    if (!text.complete() || cursor.atEnd())
        return ConditionResult::Error;
    auto file = readName(cursor);
    if (!file || file->empty())
        return ConditionResult::Error;
    const QuotedField prefix = readQuotedField(cursor);
    if (prefix.state == QuotedField::State::Unterminated)
        return ConditionResult::Error;

    expandLeadingMacro(*file, context.globals.macros);
    MacroString wanted(text.text);
    wanted.expandAllMacros(context.globals.macros);

    auto input = context.files.openForReading(*file);
    if (!input)
        return ConditionResult::False;
    TextLineReader lines(*input);
    std::string line;
    for (uint32_t number = 1; lines.next(line); ++number) {
        if (!prefix.text.empty() &&
            compareIgnoringCase(std::string_view(line).substr(0, prefix.text.size()),
                                prefix.text) != 0)
            continue;
        if (line.back() == '\n')
            line.pop_back();
        const size_t at = findIgnoringCase(line, wanted.text());
        if (at == std::string::npos)
            continue;
        context.found.lineNumber = std::to_string(number);
        context.found.left = line.substr(0, at);
        context.found.right = line.substr(at + wanted.text().size());
        return ConditionResult::True;
    }
    return ConditionResult::False;
}

ConditionResult testLocate(FieldCursor& cursor, ConditionContext& context) {
    auto file = readName(cursor);
    if (!file || file->empty())
        return ConditionResult::Error;
    const std::string scope = cursor.readConditionWord();

    DriveSearchRequest request;
    request.fileName = std::move(*file);
    if (scope.empty()) {
        request.scope = DriveScope::AllDrives;
    } else if (scope.size() == 1 && isAsciiLetter(scope[0])) {
        request.scope = DriveScope::OneDrive;
        request.drive = asciiUpper(scope[0]);
    } else if (equalsIgnoreCase(scope, "local")) {
        request.scope = DriveScope::FixedDrives;
    } else if (equalsIgnoreCase(scope, "network")) {
        request.scope = DriveScope::NetworkDrives;
    } else {
        return ConditionResult::Error; // no scope of that name
    }
    request.sourceDrive = sourceDrive(context.globals.macros.sourceDir());

    if (context.announceDriveSearch)
        context.announceDriveSearch(request.fileName);
    context.located = false;
    const auto directory = searchDrives(request, context.drives, context.directories);
    if (!directory)
        return ConditionResult::False;
    context.globals.macros.setLocateDir(*directory);
    context.located = true;
    return ConditionResult::True;
}

} // namespace kestrel::script
