// Path macros: words between dollar signs ($DEFAULTDIR$, $WINSYSDIR$, $ASK1$ ...) that stand
// for a directory, a drive letter or a user's answer. Their values are known at different
// moments, so expansion happens at three points: seven macros at the start of a field while
// the line is read (FieldCursor), one macro at the start of a path when it is finally needed
// (expandLeadingMacro), and every macro inside a stored item just before it is carried out
// (MacroString::expandAllMacros).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::lexical {

enum class Macro {
    LocateDir,
    LocateDrive,
    DefaultDir,
    SourceDir,
    WinDir,
    WinHelpDir,
    WinSysDir,
    Dir2,
    Dir3,
    System,
    Sys2,
    Sys3,
    DefaultDrive,
    SourceDrive,
    Ask1,
    Ask2,
    Ask3,
    Ask4,
    Ask5,
};

// The macro as written in a script, in capitals: "$DEFAULTDIR$".
std::string_view macroName(Macro macro);

// The values behind the macros, one set per plug-in process. Every setter keeps its text within
// the capacity of that value and returns false when it had to cut the text. Setting a
// directory also sets its drive macro (its first character).
class MacroVariables {
  public:
    static constexpr size_t kDirectoryCapacity = 499;        // destinations, source, answers
    static constexpr size_t kWindowsDirectoryCapacity = 998; // Windows, system, help folders
    static constexpr int kAskCount = 5;
    static constexpr std::string_view kInitialLocateDir = "C:\\NEWFILES";

    MacroVariables();

    // The value a macro expands to ("" for $SYSTEM$, $SYS2$ and $SYS3$, which nothing sets).
    const std::string& value(Macro macro) const;

    const std::string& defaultDir() const { return defaultDir_; }
    const std::string& defaultDrive() const { return defaultDrive_; }
    bool setDefaultDir(std::string_view dir);

    const std::string& dir2() const { return dir2_; }
    bool setDir2(std::string_view dir);
    const std::string& dir3() const { return dir3_; }
    bool setDir3(std::string_view dir);

    const std::string& locateDir() const { return locateDir_; }
    const std::string& locateDrive() const { return locateDrive_; }
    bool setLocateDir(std::string_view dir);

    const std::string& sourceDir() const { return sourceDir_; }
    bool setSourceDir(std::string_view dir);
    // Set by the disk prompts when the source is a local drive; '\0' empties it.
    const std::string& sourceDrive() const { return sourceDrive_; }
    void setSourceDrive(char letter);

    // Taken from the system at start-up; a trailing backslash is cut. The Windows directory
    // also gives $WINHELPDIR$ (the Windows directory followed by "\help").
    const std::string& windowsDir() const { return windowsDir_; }
    const std::string& windowsHelpDir() const { return windowsHelpDir_; }
    bool setWindowsDir(std::string_view dir);
    const std::string& systemDir() const { return systemDir_; }
    bool setSystemDir(std::string_view dir);

    // Answers of ASK1..ASK5 (number 1..5); an out-of-range number is refused (false).
    const std::string& ask(int number) const;
    bool setAsk(int number, std::string_view answer);

  private:
    std::string defaultDir_;
    std::string defaultDrive_;
    std::string dir2_;
    std::string dir3_;
    std::string locateDir_;
    std::string locateDrive_;
    std::string sourceDir_;
    std::string sourceDrive_;
    std::string windowsDir_;
    std::string windowsHelpDir_;
    std::string systemDir_;
    std::array<std::string, kAskCount> asks_;
};

// Longest text an expanded string or a MacroString holds.
constexpr size_t kMacroTextCapacity = 999;

// Replaces one macro at the very start of text (the first that matches, case-insensitively,
// in a fixed order) by its value; a macro further inside stays. The result is cut at 999
// characters. Returns text.
std::string& expandLeadingMacro(std::string& text, const MacroVariables& macros);

// A text item of a list (a program to run, a path, an edit) whose macros are expanded just
// before it is used.
class MacroString {
  public:
    static constexpr size_t kCapacity = kMacroTextCapacity;

    MacroString() = default;
    explicit MacroString(const char* text); // nullptr gives an empty item
    explicit MacroString(std::string_view text);
    virtual ~MacroString() = default;
    MacroString(const MacroString&) = default;
    MacroString& operator=(const MacroString&) = default;

    const std::string& text() const { return text_; }
    void setText(std::string_view text); // cut at 999 characters
    bool empty() const { return text_.empty(); }

    // Replaces every occurrence of name (written in capitals; matched ignoring case) by value.
    // Text brought in by the value is not searched again for the same name.
    void expandMacro(std::string_view value, std::string_view name);
    // expandMacro for every macro, in a fixed order: a macro inside a value is expanded too
    // when its own turn comes later.
    void expandAllMacros(const MacroVariables& macros);

    int32_t flag = 1;

  private:
    std::string text_;
};

// text with every macro expanded, as MacroString::expandAllMacros does it.
std::string allMacrosExpanded(std::string_view text, const MacroVariables& macros);

// The destination when a main pass ends without a DEFAULTDIR: the working directory, unless
// it lies on the same drive as the source, in which case "C:\NEWFILES" on the default drive.
// Does nothing when $DEFAULTDIR$ is already set.
void applyFallbackDestination(MacroVariables& macros, std::string_view workingDirectory,
                              char defaultDriveLetter);

} // namespace kestrel::lexical
