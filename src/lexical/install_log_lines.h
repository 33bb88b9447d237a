// The lines of install.log, one function per kind. The uninstaller reads these back, so every
// format lives here and nowhere else. A line is a prefix, then its fields separated by ", ";
// fields are written as they stand (a double quote inside one is not doubled):
//
//   FILE: "path"                         an installed file, or an INI file the edit created
//   DIRECTORY: path                      a directory created
//   DEFAULTDIR: "path"                   the destination directory
//   RENAME: new, old                     a file renamed
//   AUTOEXEC: "old", "new"               a line of AUTOEXEC.BAT changed; old "" for an added one
//   CONFIG: "old", "new"                 the same for CONFIG.SYS
//   CONFIG: "", "FILES = n               an added FILES or BUFFERS line: no closing quote
//   INIFILE: "section", "key", "value", "file"             a key that had no value
//   INIFILE: "section", "key", "value", "file", "previous" a value replaced (or the whole
//                                                          value in the appending mode)
//   INIFILE: "section", "file"           a section created
//   ADDTEXT: "old line", file, "text"    text inserted (old "") or put in place of a line
//   REGKEY: "root", "path"               a registry key created
//   WINITEM: "group", "item"             a Program Manager item
//   RegServer: "path"                    a server registered
//   UNINSTALLBEGINPROMPT: "text"         (and ...ENDPROMPT, ...TITLEPROMPT) the uninstall's texts
//
// No line carries its line feed; the log's writer adds it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::lexical::logline {

std::string file(std::string_view path);
std::string directory(std::string_view path);
std::string defaultDir(std::string_view path);
std::string rename(std::string_view newName, std::string_view oldName);

std::string autoexec(std::string_view oldLine, std::string_view newLine);
std::string config(std::string_view oldLine, std::string_view newLine);
// An appended "FILES = n" or "BUFFERS = n" line (word is FILES or BUFFERS).
std::string configMinimum(std::string_view word, int32_t minimum);

std::string iniValueSet(std::string_view section, std::string_view key, std::string_view value,
                        std::string_view file);
std::string iniValueChanged(std::string_view section, std::string_view key, std::string_view value,
                            std::string_view file, std::string_view previous);
std::string iniSection(std::string_view section, std::string_view file);

std::string addText(std::string_view oldLine, std::string_view file, std::string_view text);
std::string regKey(std::string_view root, std::string_view path);
std::string winItem(std::string_view group, std::string_view item);
std::string regServer(std::string_view path);

std::string uninstallBeginPrompt(std::string_view text);
std::string uninstallEndPrompt(std::string_view text);
std::string uninstallTitlePrompt(std::string_view text);

} // namespace kestrel::lexical::logline
