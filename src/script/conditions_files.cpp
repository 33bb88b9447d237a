// The tests that look at files: isfile, search, locate and ocxfilever.
#include "lexical/ansi_text.h"
#include "lexical/field_cursor.h"
#include "lexical/macros.h"
#include "lexical/path_text.h"
#include "lexical/quoted_field.h"
#include "script/condition_tests.h"
#include "script/condition_values.h"
#include "script/drive_search.h"
#include "script/text_lines.h"

#include <algorithm>

namespace kestrel::script {

namespace {

constexpr std::string_view kUnknownVersion = "0.0.0.0";
constexpr size_t kRegistryValueCapacity = 999;

ConditionResult resultOf(bool holds) {
    return holds ? ConditionResult::True : ConditionResult::False;
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The drive $SOURCEDIR$ stands on, or 0 when it is no drive path (a URL, a network share):
// the first letter of "http://..." is no drive to pass over.
char sourceDrive(const std::string& sourceDir) {
    if (sourceDir.size() >= 2 && sourceDir[1] == ':' && isAsciiLetter(sourceDir[0]))
        return lexical::asciiUpper(sourceDir[0]);
    return 0;
}

} // namespace

ConditionResult testIsFile(lexical::FieldCursor& cursor, ConditionContext& context) {
    std::string name = lexical::readQuotedOrConditionWord(cursor);
    if (name.empty())
        context.warnings.push_back("no file name: the test is false");
    // A macro that is still empty leaves nothing: no directory, no file name, so false.
    lexical::expandLeadingMacro(name, context.globals.macros);
    if (!name.empty() && name.back() == '\\')
        return resultOf(context.directories.directoryExists(name));
    if (lexical::fileNamePart(name).empty())
        return ConditionResult::False;
    return resultOf(context.directories.anyEntryMatches(name));
}

ConditionResult testOcxFileVersion(lexical::FieldCursor& cursor, ConditionContext& context) {
    const lexical::QuotedField classId = lexical::readQuotedField(cursor);
    if (!classId.complete() || classId.text.empty())
        return ConditionResult::Error;
    const std::string bitness = cursor.readConditionWord();
    if (bitness != "16" && bitness != "32")
        return ConditionResult::Error;
    const lexical::ComparisonOperator op = cursor.readOperator();
    if (op == lexical::ComparisonOperator::Error)
        return ConditionResult::Error;
    const lexical::QuotedField wanted = lexical::readQuotedField(cursor);
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
    return resultOf(
        comparisonHolds(lexical::compareIgnoringCp1252Case(installed, wanted.text), op));
}

// search "TEXT" FILE ["PREFIX"]: an unquoted text reads as empty (it matches the first line
// looked at), and its word is then read as the file.
ConditionResult testSearch(lexical::FieldCursor& cursor, ConditionContext& context) {
    if (cursor.atEnd())
        return ConditionResult::Error;
    lexical::ParseStatus status;
    const std::string text = lexical::readExpectedQuoted(cursor, status, "search text");
    if (cursor.atEnd())
        return ConditionResult::Error;
    for (const lexical::ParseWarning& warning : status.warnings)
        context.warnings.push_back(warning.message);
    std::string file = lexical::readQuotedOrConditionWord(cursor);
    const std::string prefix = cursor.readQuoted();
    if (file.empty())
        context.warnings.push_back("no file name: the test is false");

    lexical::expandLeadingMacro(file, context.globals.macros);
    lexical::MacroString wanted(text);
    wanted.expandAllMacros(context.globals.macros);

    auto input = context.files.openForReading(file);
    if (!input)
        return ConditionResult::False;
    TextLineReader lines(*input);
    std::string line;
    for (uint32_t number = 1; lines.next(line); ++number) {
        if (!prefix.empty() && lexical::compareIgnoringCp1252Case(
                                   std::string_view(line).substr(0, prefix.size()), prefix) != 0)
            continue;
        if (line.back() == '\n')
            line.pop_back();
        const size_t at = lexical::findIgnoringCp1252Case(line, wanted.text());
        if (at == std::string::npos)
            continue;
        context.found.lineNumber = std::to_string(number);
        context.found.left = line.substr(0, at);
        context.found.right = line.substr(at + wanted.text().size());
        return ConditionResult::True;
    }
    return ConditionResult::False;
}

ConditionResult testLocate(lexical::FieldCursor& cursor, ConditionContext& context) {
    std::string file = lexical::readQuotedOrConditionWord(cursor);
    const std::string scope = cursor.readConditionWord();

    DriveSearchRequest request;
    request.fileName = std::move(file);
    if (scope.empty()) {
        request.scope = DriveScope::AllDrives;
    } else if (scope.size() == 1 && isAsciiLetter(scope[0])) {
        request.scope = DriveScope::OneDrive;
        request.drive = lexical::asciiUpper(scope[0]);
    } else if (lexical::equalsIgnoringAsciiCase(scope, "local")) {
        request.scope = DriveScope::FixedDrives;
    } else if (lexical::equalsIgnoringAsciiCase(scope, "network")) {
        request.scope = DriveScope::NetworkDrives;
    } else {
        return ConditionResult::Error; // no scope of that name
    }
    request.sourceDrive = sourceDrive(context.globals.macros.sourceDir());
    if (request.fileName.empty()) {
        // No directory holds a file without a name: no drive is searched.
        context.warnings.push_back("no file name: the test is false");
        context.located = false;
        return ConditionResult::False;
    }

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
