#include "lexical/macros.h"

#include "lexical/ansi_text.h"

namespace kestrel::lexical {

namespace {

constexpr std::array<std::string_view, 19> kMacroNames = {
    "$LOCATEDIR$",  "$LOCATEDRIVE$", "$DEFAULTDIR$",   "$SOURCEDIR$",   "$WINDIR$",
    "$WINHELPDIR$", "$WINSYSDIR$",   "$DIR2$",         "$DIR3$",        "$SYSTEM$",
    "$SYS2$",       "$SYS3$",        "$DEFAULTDRIVE$", "$SOURCEDRIVE$", "$ASK1$",
    "$ASK2$",       "$ASK3$",        "$ASK4$",         "$ASK5$",
};

// Order in which a path's leading macro is looked for.
constexpr Macro kLeadingOrder[] = {
    Macro::LocateDir,  Macro::LocateDrive, Macro::DefaultDir,   Macro::SourceDir,   Macro::WinDir,
    Macro::WinHelpDir, Macro::WinSysDir,   Macro::Dir2,         Macro::Dir3,        Macro::System,
    Macro::Sys2,       Macro::Sys3,        Macro::DefaultDrive, Macro::SourceDrive, Macro::Ask1,
    Macro::Ask2,       Macro::Ask3,        Macro::Ask4,         Macro::Ask5,
};

// Order in which a stored item's macros are expanded: the destinations come before the
// answers, so an answer written into a destination is expanded too.
constexpr Macro kAllOrder[] = {
    Macro::LocateDir,  Macro::LocateDrive, Macro::System,       Macro::Sys2,        Macro::Sys3,
    Macro::DefaultDir, Macro::Dir2,        Macro::Dir3,         Macro::SourceDir,   Macro::WinDir,
    Macro::WinHelpDir, Macro::WinSysDir,   Macro::DefaultDrive, Macro::SourceDrive, Macro::Ask1,
    Macro::Ask2,       Macro::Ask3,        Macro::Ask4,         Macro::Ask5,
};

const std::string kEmpty;

// Copies text into target, cut at capacity; false when it was cut.
bool assignWithin(std::string& target, std::string_view text, size_t capacity) {
    target.assign(text.substr(0, capacity));
    return text.size() <= capacity;
}

std::string firstCharacter(const std::string& text) {
    return text.substr(0, 1);
}

std::string_view withoutTrailingBackslash(std::string_view dir) {
    if (!dir.empty() && dir.back() == '\\')
        dir.remove_suffix(1);
    return dir;
}

} // namespace

std::string_view macroName(Macro macro) {
    return kMacroNames[static_cast<size_t>(macro)];
}

MacroVariables::MacroVariables() : locateDir_(kInitialLocateDir) {}

const std::string& MacroVariables::value(Macro macro) const {
    switch (macro) {
    case Macro::LocateDir:
        return locateDir_;
    case Macro::LocateDrive:
        return locateDrive_;
    case Macro::DefaultDir:
        return defaultDir_;
    case Macro::SourceDir:
        return sourceDir_;
    case Macro::WinDir:
        return windowsDir_;
    case Macro::WinHelpDir:
        return windowsHelpDir_;
    case Macro::WinSysDir:
        return systemDir_;
    case Macro::Dir2:
        return dir2_;
    case Macro::Dir3:
        return dir3_;
    case Macro::System:
    case Macro::Sys2:
    case Macro::Sys3:
        return kEmpty;
    case Macro::DefaultDrive:
        return defaultDrive_;
    case Macro::SourceDrive:
        return sourceDrive_;
    case Macro::Ask1:
        return asks_[0];
    case Macro::Ask2:
        return asks_[1];
    case Macro::Ask3:
        return asks_[2];
    case Macro::Ask4:
        return asks_[3];
    case Macro::Ask5:
        return asks_[4];
    }
    return kEmpty;
}

bool MacroVariables::setDefaultDir(std::string_view dir) {
    const bool whole = assignWithin(defaultDir_, dir, kDirectoryCapacity);
    defaultDrive_ = firstCharacter(defaultDir_);
    return whole;
}

bool MacroVariables::setDir2(std::string_view dir) {
    return assignWithin(dir2_, dir, kDirectoryCapacity);
}

bool MacroVariables::setDir3(std::string_view dir) {
    return assignWithin(dir3_, dir, kDirectoryCapacity);
}

bool MacroVariables::setLocateDir(std::string_view dir) {
    const bool whole = assignWithin(locateDir_, dir, kDirectoryCapacity);
    locateDrive_ = firstCharacter(locateDir_);
    return whole;
}

bool MacroVariables::setSourceDir(std::string_view dir) {
    return assignWithin(sourceDir_, dir, kDirectoryCapacity);
}

void MacroVariables::setSourceDrive(char letter) {
    sourceDrive_ = letter == '\0' ? std::string() : std::string(1, letter);
}

bool MacroVariables::setWindowsDir(std::string_view dir) {
    const bool whole =
        assignWithin(windowsDir_, withoutTrailingBackslash(dir), kWindowsDirectoryCapacity);
    assignWithin(windowsHelpDir_, windowsDir_ + "\\help", kWindowsDirectoryCapacity);
    return whole;
}

bool MacroVariables::setSystemDir(std::string_view dir) {
    return assignWithin(systemDir_, withoutTrailingBackslash(dir), kWindowsDirectoryCapacity);
}

const std::string& MacroVariables::ask(int number) const {
    if (number < 1 || number > kAskCount)
        return kEmpty;
    return asks_[static_cast<size_t>(number - 1)];
}

bool MacroVariables::setAsk(int number, std::string_view answer) {
    if (number < 1 || number > kAskCount)
        return false;
    return assignWithin(asks_[static_cast<size_t>(number - 1)], answer, kDirectoryCapacity);
}

std::string& expandLeadingMacro(std::string& text, const MacroVariables& macros) {
    for (Macro macro : kLeadingOrder) {
        const std::string_view name = macroName(macro);
        if (startsWithIgnoringAsciiCase(text, name)) {
            text.replace(0, name.size(), macros.value(macro));
            if (text.size() > kMacroTextCapacity)
                text.resize(kMacroTextCapacity);
            break;
        }
    }
    return text;
}

MacroString::MacroString(const char* text) {
    if (text)
        setText(text);
}

MacroString::MacroString(std::string_view text) {
    setText(text);
}

void MacroString::setText(std::string_view text) {
    text_.assign(text.substr(0, kCapacity));
}

void MacroString::expandMacro(std::string_view value, std::string_view name) {
    if (text_.empty() || name.empty())
        return;
    // The search runs on an upper-case copy kept in step with the text, so the match ignores
    // case while the text keeps its own.
    std::string upper = asciiUpper(text_);
    const std::string upperName = asciiUpper(name);
    size_t from = 0;
    while (from < text_.size()) {
        const size_t found = upper.find(upperName, from);
        if (found == std::string::npos)
            break;
        text_.replace(found, name.size(), value);
        upper.replace(found, name.size(), asciiUpper(value));
        if (text_.size() > kCapacity) {
            text_.resize(kCapacity);
            upper.resize(kCapacity);
        }
        from = found + value.size();
    }
}

void MacroString::expandAllMacros(const MacroVariables& macros) {
    for (Macro macro : kAllOrder)
        expandMacro(macros.value(macro), macroName(macro));
}

std::string allMacrosExpanded(std::string_view text, const MacroVariables& macros) {
    MacroString item(text);
    item.expandAllMacros(macros);
    return item.text();
}

void applyFallbackDestination(MacroVariables& macros, std::string_view workingDirectory,
                              char defaultDriveLetter) {
    if (!macros.defaultDir().empty())
        return;
    macros.setDefaultDir(workingDirectory);
    const char drive = macros.defaultDir().empty() ? '\0' : macros.defaultDir()[0];
    const char sourceDrive = macros.sourceDir().empty() ? '\0' : macros.sourceDir()[0];
    if (drive == sourceDrive) {
        std::string newFiles(MacroVariables::kInitialLocateDir);
        newFiles[0] = defaultDriveLetter;
        macros.setDefaultDir(newFiles);
    }
}

} // namespace kestrel::lexical
