// The tests of `IF` lines. A test answers true, false, error, or deferred: deferred means it
// depends on answers the user has not given yet (a group choice, an ASK answer), so its whole
// block was stored for the deferred pass and is tested again there.
//
// Main pass tests, by name (any case):
//   isfile NAME                       file, wildcard pattern, or directory (NAME ends in '\')
//   ocxfilever "CLSID" 16|32 OP "VER" version text of a registered in-process server
//   search "TEXT" FILE ["PREFIX"]     a line of FILE containing TEXT (sets the found position)
//   locate FILE [X|local|network]     FILE anywhere on the drives (sets $LOCATEDIR$)
//   videocolor <N | >N, videoresolution <W H | >W H, video <N [W H] | <W H ...
//   memory OP KILOBYTES, winver OP NUMBER, winver = range LOW HIGH, dosver (the same)
//   group ..., $ASKn ...              deferred
//   anything else: NAME OP VALUE      text comparison ignoring case
// Deferred pass tests:
//   group = N [N ...]                 any listed group number's option is selected
//   $ASKn OP "VALUE", $ASKn OP range LOW HIGH
#pragma once

#include "lexical/field_cursor.h"
#include "os/directory_search.h"
#include "os/drives.h"
#include "os/file_system.h"
#include "os/file_version.h"
#include "os/registry_reader.h"
#include "os/system_info.h"
#include "script/plugin_globals.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrel::script {

enum class ConditionResult : int32_t {
    Error = -1,
    False = 0,
    True = 1,
    Deferred = 100, // the block is stored for the deferred pass; its lines are consumed
};

// Where the last successful `search` test found its text; ADDTEXT puts these into its
// $SEARCH$, $LEFT$ and $RIGHT$.
struct FoundPosition {
    std::string lineNumber; // decimal, 1 = first line
    std::string left;       // the line before the match
    std::string right;      // the line after the match, without its line feed
};

// Everything a test reads or writes outside its own line. The interpreter fills one from its
// script and the process-wide values; every reference must outlive the evaluation.
struct ConditionContext {
    // Macro values (the ASK answers; $LOCATEDIR$ and $LOCATEDRIVE$ are written by `locate`;
    // $SOURCEDIR$ names the drive that `locate` passes over), the option tables behind the
    // `group` test, and the Windows and DOS version numbers.
    PluginGlobals& globals;

    // The machine.
    os::SystemInfo& system;           // memory, display
    os::Drives& drives;               // drive types for `locate`
    os::DirectorySearch& directories; // isfile, locate
    os::RegistryReader& registry;     // ocxfilever
    os::FileVersionReader& versions;  // ocxfilever
    os::FileSystem& files;            // search

    FoundPosition& found; // written by a successful `search`
    bool& located;        // the located flag: cleared when a drive search starts, set on a find
    bool& errorFlag;      // the script's error flag: set with every Error result

    // Called with the name being located just before a drive search starts, so that the
    // plug-in window can show its locate panel. May be empty.
    std::function<void(const std::string& fileName)> announceDriveSearch;

    // Main pass, `group` and `$ASKn` tests: make a new deferred block at the end of the
    // script's chain (counted, deferred-blocks-exist set) and fill it with the `IF` line still
    // in the line buffer and the lines that follow up to its ENDIF. Returns the number of
    // lines stored, or -1 when the block is too long (the chain is then destroyed and
    // emptied). Empty means no block can be made: the test is an error.
    std::function<int32_t()> bufferDeferredBlock;

    // What the test read leniently (a word taken as a number as far as it went, a field left
    // empty), for the author; filled by the evaluation.
    std::vector<std::string> warnings;
};

// Main pass. cursor stands behind the `IF` keyword. A `group` or `$ASKn` test is Deferred
// however it is written: the deferred pass reads it, and the warnings say now what it will find
// there.
ConditionResult evaluateCondition(lexical::FieldCursor& cursor, ConditionContext& context);

// Deferred pass: only `group` and `$ASKn` tests; anything else is an Error. Never Deferred.
ConditionResult evaluateDeferredCondition(lexical::FieldCursor& cursor, ConditionContext& context);

} // namespace kestrel::script
