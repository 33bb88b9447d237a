#include "script_json.h"

#include "lexical/macros.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"

#include <string>

namespace kst {

namespace {

using namespace kestrel;
using script::InstallScript;
using script::PluginGlobals;

const char* askModeName(script::AskMode mode) {
    switch (mode) {
    case script::AskMode::Nothing:
        return "nothing";
    case script::AskMode::Directory:
        return "directory";
    case script::AskMode::Drive:
        return "drive";
    case script::AskMode::DriveAndDirectory:
        return "drive and directory";
    }
    return "?";
}

const char* editModeName(sysedit::EditMode mode) {
    switch (mode) {
    case sysedit::EditMode::None:
        return "none";
    case sysedit::EditMode::Modify:
        return "modify";
    case sysedit::EditMode::ModifyThenAsk:
        return "ask";
    }
    return "?";
}

const char* positionName(script::PicturePosition position) {
    static const char* const kNames[] = {
        "centre",       "TOPLEFT",    "TOPMIDDLE",  "TOPRIGHT", "MIDDLERIGHT", "BOTTOMRIGHT",
        "BOTTOMMIDDLE", "BOTTOMLEFT", "MIDDLELEFT", "TILE",     "FULLSCREEN",
    };
    const auto index = static_cast<size_t>(position);
    return index < std::size(kNames) ? kNames[index] : "?";
}

void colour(JsonWriter& json, std::string_view name, const ui::Colour& c) {
    json.key(name);
    json.beginArray(true);
    json.number(int64_t{c.red});
    json.number(int64_t{c.green});
    json.number(int64_t{c.blue});
    json.endArray();
}

void strings(JsonWriter& json, std::string_view name, const std::vector<std::string>& items) {
    json.key(name);
    json.beginArray();
    for (const std::string& item : items)
        json.string(item);
    json.endArray();
}

void macroStrings(JsonWriter& json, std::string_view name,
                  const std::vector<lexical::MacroString>& items) {
    json.key(name);
    json.beginArray();
    for (const lexical::MacroString& item : items)
        json.string(item.text());
    json.endArray();
}

void screen(JsonWriter& json, std::string_view name, const std::optional<script::BuiltScreen>& s) {
    json.key(name);
    if (!s) {
        json.null();
        return;
    }
    json.beginObject();
    strings(json, "lines", s->lines);
    json.field("templateBytes", uint32_t(s->dialogTemplate.size()));
    json.endObject();
}

void settings(JsonWriter& json, const InstallScript& s, const PluginGlobals& g) {
    const script::GlobalSettings& gs = g.settings;
    json.key("settings");
    json.beginObject();
    json.field("title", s.title);
    json.key("titleFont");
    json.beginObject();
    json.field("face", gs.titleFont.face);
    json.field("size", gs.titleFont.size);
    json.field("bold", gs.titleFont.bold);
    json.field("italic", gs.titleFont.italic);
    json.field("underline", gs.titleFont.underline);
    json.endObject();
    colour(json, "titleColour", s.titleColour);
    colour(json, "screenColourTop", s.screenColourTop);
    colour(json, "screenColourBottom", s.screenColourBottom);
    json.field("screenFont", gs.screenFont);
    json.field("readme", s.readmeFile);
    json.field("runAtStart", s.runAtStart.text());
    json.key("runAtExit");
    json.beginArray();
    for (const auto& command : s.runAtExit)
        json.string(command.text());
    json.endArray();
    strings(json, "regServers", gs.regServers);
    json.key("screenGraphic");
    if (s.screenGraphic) {
        json.beginObject();
        json.field("file", s.screenGraphic->fileName);
        json.field("position", positionName(s.screenGraphic->position));
        json.endObject();
    } else {
        json.null();
    }
    json.key("introScreen");
    if (s.introScreen) {
        json.beginObject();
        json.field("file", s.introScreen->fileName);
        json.field("seconds", s.introScreen->seconds);
        json.endObject();
    } else {
        json.null();
    }
    json.field("minCpu", s.minCpu);
    json.field("minDiskSpace", s.minDiskSpace);
    json.key("optionMinDiskSpace");
    json.beginArray(true);
    const int32_t slots = std::max(1, s.optionCount);
    for (int32_t i = 0; i < slots && i < InstallScript::kDiskSpaceSlots; ++i)
        json.number(int64_t{s.optionMinDiskSpace[i]});
    json.endArray();
    json.field("progressTotal", s.progressTotal);
    json.field("overwrite", lexical::overwriteModeWord(gs.overwriteMode));
    json.field("reboot", static_cast<int32_t>(gs.rebootMode));
    json.field("compression", gs.compression == script::Compression::Lha ? "LHA" : "PKWARE");
    json.field("uninstall", gs.uninstall);
    json.field("fileCount", s.fileCount);
    json.field("byteModeOff", s.byteModeOff);
    json.endObject();
}

void prompts(JsonWriter& json, const InstallScript& s, const PluginGlobals& g) {
    const script::GlobalSettings& gs = g.settings;
    json.key("prompts");
    json.beginObject();
    json.field("COPYFILEPROMPT", s.prompts.copyFile);
    json.field("AUTOEXECPROMPT", s.prompts.autoexec);
    json.field("BADDIRPROMPT", gs.badDirectoryText);
    json.field("OKPROMPT", gs.okText);
    json.field("CANCELPROMPT", gs.cancelText);
    json.field("BADDRIVEPROMPT", gs.badDriveText);
    json.field("CONFIGPROMPT", s.prompts.config);
    json.field("CPUPROMPT", s.prompts.cpu);
    json.field("FILEEXISTPROMPT", gs.fileExistsText);
    json.field("INIFILEPROMPT", s.prompts.iniFile);
    json.field("INSERTDISKPROMPT", s.prompts.insertDisk);
    json.field("LOCATEPROMPT", s.prompts.locate);
    json.field("NOGROUPPROMPT", s.prompts.noGroup);
    json.field("NOSPACEPROMPT", s.prompts.noSpace);
    json.field("QUITPROMPT", s.prompts.quit);
    json.field("REBOOTPROMPT", s.prompts.reboot);
    json.field("FILENOTFOUNDPROMPT", gs.fileNotFoundText);
    json.field("UNINSTALLBEGINPROMPT", gs.uninstallBeginText);
    json.field("UNINSTALLENDPROMPT", gs.uninstallEndText);
    json.field("UninstallTitlePrompt", gs.uninstallTitleText);
    json.endObject();
}

void destination(JsonWriter& json, std::string_view name,
                 const std::optional<script::DirectoryPrompt>& record) {
    json.key(name);
    if (!record) {
        json.null();
        return;
    }
    json.beginObject();
    json.field("path", record->path);
    json.field("ask", askModeName(record->askMode));
    json.key("prompt");
    if (record->promptGiven)
        json.string(record->promptText);
    else
        json.null();
    json.endObject();
}

void questions(JsonWriter& json, const InstallScript& s, const PluginGlobals& g) {
    json.key("destinations");
    json.beginObject();
    destination(json, "DEFAULTDIR", s.defaultDir);
    destination(json, "DIR2", s.dir2);
    destination(json, "DIR3", s.dir3);
    json.endObject();

    json.key("macros");
    json.beginObject();
    json.field("DEFAULTDIR", g.macros.defaultDir());
    json.field("DEFAULTDRIVE", g.macros.defaultDrive());
    json.field("DIR2", g.macros.dir2());
    json.field("DIR3", g.macros.dir3());
    json.field("LOCATEDIR", g.macros.locateDir());
    json.field("SOURCEDIR", g.macros.sourceDir());
    json.field("WINDIR", g.macros.windowsDir());
    json.field("WINSYSDIR", g.macros.systemDir());
    for (int n = 1; n <= InstallScript::kAskCount; ++n)
        json.field("ASK" + std::to_string(n), g.macros.ask(n));
    json.endObject();

    json.key("asks");
    json.beginArray();
    for (int n = 1; n <= InstallScript::kAskCount; ++n) {
        const auto& ask = s.asks[n - 1];
        if (!ask)
            continue;
        json.beginObject();
        json.field("number", n);
        json.field("answer", ask->answer);
        json.field("prompt", ask->promptText);
        json.endObject();
    }
    json.endArray();
}

void groups(JsonWriter& json, const InstallScript& s, const PluginGlobals& g) {
    json.key("options");
    json.beginArray();
    for (int32_t option = 0; option < s.optionCount; ++option) {
        json.beginObject();
        json.field("index", option);
        json.key("groupNumbers");
        json.beginArray(true);
        for (int32_t number = 0; number < lexical::OptionTables::kSize; ++number) {
            if (g.options.optionOfGroup(number) == option)
                json.number(int64_t{number});
        }
        json.endArray();
        json.field("preselected", g.options.preselected(option));
        json.endObject();
    }
    json.endArray();

    json.key("groups");
    json.beginArray();
    for (const script::GroupRecord& group : s.groups) {
        json.beginObject();
        json.field("number", group.groupNumber);
        json.field("exclusive", group.exclusive);
        json.field("firstOption", group.firstOption);
        json.field("endOption", group.endOption);
        screen(json, "screen", group.screen);
        json.endObject();
    }
    json.endArray();
    json.key("defaultGroup");
    if (s.defaultGroup.screen) {
        json.beginObject();
        json.field("exclusive", s.defaultGroup.exclusive);
        json.field("endOption", s.defaultGroup.endOption);
        screen(json, "screen", s.defaultGroup.screen);
        json.endObject();
    } else {
        json.null();
    }

    json.key("screens");
    json.beginObject();
    screen(json, "first", s.firstScreen);
    screen(json, "last", s.lastScreen);
    screen(json, "exit", s.exitScreen);
    json.endObject();

    json.key("popMessages");
    json.beginArray();
    for (const script::PopMessage& pop : s.popMessages) {
        json.beginObject();
        json.field("number", pop.number);
        json.field("fontFace", pop.fontFace);
        json.field("fontSize", pop.fontSize);
        strings(json, "lines", pop.popup.lines);
        json.endObject();
    }
    json.endArray();
}

void fileEntries(JsonWriter& json, const InstallScript& s) {
    json.key("files");
    json.beginArray();
    for (const auto& entry : s.fileEntries) {
        json.beginObject();
        if (entry.kind == files::EntryKind::File) {
            json.field("kind", "file");
            json.field("name", entry.name);
            static const char* const kCompression[] = {"none", "COMPRESSED", "SELF-EXTRACT"};
            json.field("compression", kCompression[static_cast<size_t>(entry.compression) % 3]);
            json.field("overwrite", lexical::overwriteModeWord(entry.overwrite));
            json.key("groups");
            json.beginArray(true);
            for (uint32_t option : entry.groups) {
                if (option != files::FileEntry::kNoGroup)
                    json.number(int64_t{option});
            }
            json.endArray();
            json.key("source");
            if (entry.hasSource) {
                static const char* const kKinds[] = {"script directory", "server root", "local",
                                                     "url"};
                json.beginObject();
                json.field("path", entry.source);
                json.field("kind", kKinds[static_cast<size_t>(entry.sourceKind) % 4]);
                json.endObject();
            } else {
                json.null();
            }
            json.field("attributes", entry.attributes);
        } else {
            json.field("kind", "disk");
            json.field("description", entry.name);
            json.field("volumeLabel", entry.volumeLabel);
        }
        json.field("popupId", entry.popupId);
        json.endObject();
    }
    json.endArray();
}

void registryBlocks(JsonWriter& json, const InstallScript& s) {
    static const char* const kKeyOperations[] = {"none", "NEW", "DELETE", "RENAME", "QUERY"};
    static const char* const kValueOperations[] = {"NEW", "DELETE", "RENAME",   "REPLACE",
                                                   "MAX", "MIN",    "INCREMENT"};
    static const char* const kTypes[] = {"?",
                                         "REG_SZ",
                                         "REG_EXPAND_SZ",
                                         "REG_BINARY",
                                         "REG_DWORD",
                                         "REG_DWORD_BIG_ENDIAN",
                                         "REG_LINK",
                                         "REG_MULTI_SZ",
                                         "REG_RESOURCE_LIST",
                                         "REG_FULL_RESOURCE_DESCRIPTOR"};
    json.key("registry");
    json.beginArray();
    for (const auto& block : s.registryBlocks) {
        json.beginObject();
        json.field("key", kKeyOperations[static_cast<size_t>(block.keyOperation) % 5]);
        json.field("root", block.rootName);
        json.field("path", block.subkeyPath);
        if (block.keyOperation == files::RegistryKeyOperation::Rename)
            json.field("newName", block.newKeyName);
        json.key("values");
        json.beginArray();
        for (const files::RegistryValue& value : block.values) {
            json.beginObject();
            json.field("type", kTypes[static_cast<size_t>(value.type) % 10]);
            json.field("operation",
                       kValueOperations[(static_cast<size_t>(value.operation) - 5) % 7]);
            json.key("name");
            if (value.name)
                json.string(*value.name);
            else
                json.null();
            if (value.operation == files::RegistryValueOperation::Rename) {
                json.key("newName");
                if (value.newName)
                    json.string(*value.newName);
                else
                    json.null();
            } else if (value.operation != files::RegistryValueOperation::Delete) {
                json.field("data", value.data);
            }
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void systemEdits(JsonWriter& json, const InstallScript& s) {
    json.key("autoexec");
    json.beginObject();
    json.field("mode", editModeName(s.autoexec.mode));
    json.field("addDestinationToPath", s.autoexec.addDestination);
    macroStrings(json, "paths", s.autoexec.pathList);
    macroStrings(json, "lines", s.autoexec.lineList);
    json.key("share");
    if (s.autoexec.shareWanted) {
        json.beginObject();
        json.field("files", s.autoexec.shareFiles);
        json.field("locks", s.autoexec.shareLocks);
        json.endObject();
    } else {
        json.null();
    }
    json.endObject();

    json.key("config");
    json.beginObject();
    json.field("mode", editModeName(s.config.mode));
    json.field("filesMinimum", s.config.filesMinimum);
    json.field("buffersMinimum", s.config.buffersMinimum);
    macroStrings(json, "lines", s.config.lineList);
    json.endObject();

    json.key("iniFiles");
    json.beginArray();
    for (const auto& edit : s.iniEdits) {
        json.beginObject();
        json.field("file", edit.file);
        json.field("section", edit.section);
        json.field("key", edit.key);
        json.field("value", edit.value);
        json.field("ask", edit.mode == sysedit::EditMode::ModifyThenAsk);
        json.field("add", edit.add);
        json.endObject();
    }
    json.endArray();

    json.key("addText");
    json.beginArray();
    for (const auto& insertion : s.textInsertions) {
        json.beginObject();
        json.field("file", insertion.file);
        json.field("text", insertion.text);
        json.field("where", insertion.where);
        json.field("replace", insertion.replace);
        json.endObject();
    }
    json.endArray();
}

void otherLists(JsonWriter& json, const InstallScript& s) {
    static const char* const kModes[] = {"add", "replace", "remove"};
    json.key("winItems");
    json.beginArray();
    for (const auto& item : s.winItems) {
        json.beginObject();
        json.field("group", item.group);
        json.field("commandLine", item.commandLine);
        json.field("title", item.itemName);
        json.field("directory", item.defaultDirectory);
        json.field("iconFile", item.iconPath);
        json.field("iconIndex", item.iconIndex);
        json.field("mode", kModes[static_cast<size_t>(item.mode) % 3]);
        json.endObject();
    }
    json.endArray();

    json.key("delete");
    json.beginArray();
    for (const auto& item : s.deletes)
        json.string(item.path);
    json.endArray();

    json.key("rename");
    json.beginArray();
    for (const auto& item : s.renames) {
        json.beginObject();
        json.field("from", item.oldName);
        json.field("to", item.newName);
        json.endObject();
    }
    json.endArray();
}

void deferredBlocks(JsonWriter& json, const std::vector<script::DeferredBlock>& blocks) {
    json.key("deferredBlocks");
    json.beginArray();
    for (const script::DeferredBlock& block : blocks) {
        json.beginObject();
        json.field("firstLine", block.firstLineNumber());
        json.key("lines");
        json.beginArray();
        for (size_t slot = 0; slot < block.count(); ++slot)
            json.string(block.line(slot));
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

} // namespace

void writeScriptJson(JsonWriter& json, const InstallScript& script, const PluginGlobals& globals,
                     const std::vector<script::DeferredBlock>& blocks) {
    json.beginObject();
    settings(json, script, globals);
    prompts(json, script, globals);
    questions(json, script, globals);
    groups(json, script, globals);
    fileEntries(json, script);
    registryBlocks(json, script);
    systemEdits(json, script);
    otherLists(json, script);
    deferredBlocks(json, blocks);
    json.endObject();
    json.finish();
}

} // namespace kst
