#include "lexical/install_log_lines.h"

#include <initializer_list>

namespace kestrel::lexical::logline {

namespace {

void appendQuoted(std::string& line, std::string_view field) {
    line += '"';
    line += field;
    line += '"';
}

// prefix "a", "b", ...
std::string quotedLine(std::string_view prefix, std::initializer_list<std::string_view> fields) {
    std::string line(prefix);
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            line += ", ";
        first = false;
        appendQuoted(line, field);
    }
    return line;
}

} // namespace

std::string file(std::string_view path) {
    return quotedLine("FILE: ", {path});
}

std::string directory(std::string_view path) {
    return "DIRECTORY: " + std::string(path);
}

std::string defaultDir(std::string_view path) {
    return quotedLine("DEFAULTDIR: ", {path});
}

std::string rename(std::string_view newName, std::string_view oldName) {
    return "RENAME: " + std::string(newName) + ", " + std::string(oldName);
}

std::string autoexec(std::string_view oldLine, std::string_view newLine) {
    return quotedLine("AUTOEXEC: ", {oldLine, newLine});
}

std::string config(std::string_view oldLine, std::string_view newLine) {
    return quotedLine("CONFIG: ", {oldLine, newLine});
}

std::string configMinimum(std::string_view word, int32_t minimum) {
    // The uninstaller has always met these without their closing quote; it copes with that.
    return "CONFIG: \"\", \"" + std::string(word) + " = " + std::to_string(minimum);
}

std::string iniValueSet(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view file) {
    return quotedLine("INIFILE: ", {section, key, value, file});
}

std::string iniValueChanged(std::string_view section, std::string_view key, std::string_view value,
                            std::string_view file, std::string_view previous) {
    return quotedLine("INIFILE: ", {section, key, value, file, previous});
}

std::string iniSection(std::string_view section, std::string_view file) {
    return quotedLine("INIFILE: ", {section, file});
}

std::string addText(std::string_view oldLine, std::string_view file, std::string_view text) {
    std::string line = "ADDTEXT: ";
    appendQuoted(line, oldLine);
    line += ", ";
    line += file;
    line += ", ";
    appendQuoted(line, text);
    return line;
}

std::string regKey(std::string_view root, std::string_view path) {
    return quotedLine("REGKEY: ", {root, path});
}

std::string winItem(std::string_view group, std::string_view item) {
    return quotedLine("WINITEM: ", {group, item});
}

std::string regServer(std::string_view path) {
    return quotedLine("RegServer: ", {path});
}

std::string uninstallBeginPrompt(std::string_view text) {
    return quotedLine("UNINSTALLBEGINPROMPT: ", {text});
}

std::string uninstallEndPrompt(std::string_view text) {
    return quotedLine("UNINSTALLENDPROMPT: ", {text});
}

std::string uninstallTitlePrompt(std::string_view text) {
    return quotedLine("UNINSTALLTITLEPROMPT: ", {text});
}

} // namespace kestrel::lexical::logline
