#include "script_json.h"

#include "lexical/macros.h"
#include "lexical/option_tables.h"
#include "lexical/overwrite_mode.h"

#include <string>

namespace kst::json {

using namespace kestrel;
using files::FileEntry;
using files::RegistryBlock;
using files::RegistryValue;
using script::InstallScript;

// Enumerations, each with the word JSON gives every value.

template <> struct Words<lexical::OverwriteMode> {
    using M = lexical::OverwriteMode;
    static constexpr std::pair<M, std::string_view> kWords[] = {
        {M::No, "no"}, {M::Yes, "yes"}, {M::Ask, "ask"}, {M::New, "new"}};
};
template <> struct Words<script::RebootMode> {
    using M = script::RebootMode;
    static constexpr std::pair<M, std::string_view> kWords[] = {
        {M::None, "none"}, {M::RestartWindows, "windows"}, {M::RestartSystem, "system"}};
};
template <> struct Words<script::Compression> {
    using C = script::Compression;
    static constexpr std::pair<C, std::string_view> kWords[] = {{C::Pkware, "pkware"},
                                                                {C::Lha, "lha"}};
};
template <> struct Words<script::PicturePosition> {
    using P = script::PicturePosition;
    static constexpr std::pair<P, std::string_view> kWords[] = {
        {P::Centre, "centre"},
        {P::TopLeft, "topleft"},
        {P::TopMiddle, "topmiddle"},
        {P::TopRight, "topright"},
        {P::MiddleRight, "middleright"},
        {P::BottomRight, "bottomright"},
        {P::BottomMiddle, "bottommiddle"},
        {P::BottomLeft, "bottomleft"},
        {P::MiddleLeft, "middleleft"},
        {P::Tile, "tile"},
        {P::FullScreen, "fullscreen"},
    };
};
template <> struct Words<script::AskMode> {
    using A = script::AskMode;
    static constexpr std::pair<A, std::string_view> kWords[] = {
        {A::Nothing, "nothing"},
        {A::Directory, "directory"},
        {A::Drive, "drive"},
        {A::DriveAndDirectory, "drive-and-directory"},
    };
};
template <> struct Words<files::EntryKind> {
    using K = files::EntryKind;
    static constexpr std::pair<K, std::string_view> kWords[] = {
        {K::File, "file"}, {K::Disk, "disk"}, {K::DiskWithLabel, "disk-with-label"}};
};
template <> struct Words<files::FileCompression> {
    using C = files::FileCompression;
    static constexpr std::pair<C, std::string_view> kWords[] = {
        {C::None, "none"}, {C::Compressed, "compressed"}, {C::SelfExtract, "self-extract"}};
};
template <> struct Words<files::SourceKind> {
    using S = files::SourceKind;
    static constexpr std::pair<S, std::string_view> kWords[] = {
        {S::ScriptDirectory, "script-directory"},
        {S::ServerRoot, "server-root"},
        {S::Local, "local"},
        {S::Url, "url"},
    };
};
template <> struct Words<files::RegistryKeyOperation> {
    using O = files::RegistryKeyOperation;
    static constexpr std::pair<O, std::string_view> kWords[] = {{O::None, "none"},
                                                                {O::New, "new"},
                                                                {O::Delete, "delete"},
                                                                {O::Rename, "rename"},
                                                                {O::Query, "query"}};
};
template <> struct Words<files::RegistryValueType> {
    using T = files::RegistryValueType;
    static constexpr std::pair<T, std::string_view> kWords[] = {
        {T::String, "string"},
        {T::ExpandString, "expand-string"},
        {T::Binary, "binary"},
        {T::Dword, "dword"},
        {T::DwordBigEndian, "dword-big-endian"},
        {T::Link, "link"},
        {T::MultiString, "multi-string"},
        {T::ResourceList, "resource-list"},
        {T::FullResourceDescriptor, "full-resource-descriptor"},
    };
};
template <> struct Words<files::RegistryValueOperation> {
    using O = files::RegistryValueOperation;
    static constexpr std::pair<O, std::string_view> kWords[] = {
        {O::New, "new"}, {O::Delete, "delete"}, {O::Rename, "rename"},      {O::Replace, "replace"},
        {O::Max, "max"}, {O::Min, "min"},       {O::Increment, "increment"}};
};
template <> struct Words<sysedit::EditMode> {
    using M = sysedit::EditMode;
    static constexpr std::pair<M, std::string_view> kWords[] = {
        {M::None, "none"}, {M::Modify, "modify"}, {M::ModifyThenAsk, "ask"}};
};
template <> struct Words<sysedit::WinItemMode> {
    using M = sysedit::WinItemMode;
    static constexpr std::pair<M, std::string_view> kWords[] = {
        {M::Add, "add"}, {M::Replace, "replace"}, {M::Remove, "remove"}};
};

// Values that are not records of fields.

template <> struct Convert<ui::Colour> {
    static Json get(const ui::Colour& c) { return Json::array({c.red, c.green, c.blue}); }
};
template <> struct Convert<lexical::MacroString> {
    static Json get(const lexical::MacroString& item) { return toJson(item.text()); }
};

// Records, each with its table.

template <> struct Fields<script::TitleFont> {
    using R = script::TitleFont;
    static constexpr Field<R> kFields[] = {
        {"face", member<&R::face>},           {"size", member<&R::size>},
        {"bold", member<&R::bold>},           {"italic", member<&R::italic>},
        {"underline", member<&R::underline>},
    };
};
template <> struct Fields<script::ScreenGraphic> {
    using R = script::ScreenGraphic;
    static constexpr Field<R> kFields[] = {{"fileName", member<&R::fileName>},
                                           {"position", member<&R::position>}};
};
template <> struct Fields<script::IntroScreen> {
    using R = script::IntroScreen;
    static constexpr Field<R> kFields[] = {{"fileName", member<&R::fileName>},
                                           {"seconds", member<&R::seconds>}};
};
template <> struct Fields<script::DirectoryPrompt> {
    using R = script::DirectoryPrompt;
    static constexpr Field<R> kFields[] = {
        {"path", member<&R::path>},
        {"askMode", member<&R::askMode>},
        {"promptText", [](const R& r) { return r.promptGiven ? toJson(r.promptText) : Json(); }},
    };
};
template <> struct Fields<script::AskPrompt> {
    using R = script::AskPrompt;
    static constexpr Field<R> kFields[] = {
        {"answer", member<&R::answer>},
        {"promptText", [](const R& r) { return r.promptGiven ? toJson(r.promptText) : Json(); }},
    };
};
template <> struct Fields<script::BuiltScreen> {
    using R = script::BuiltScreen;
    static constexpr Field<R> kFields[] = {
        {"lines", member<&R::lines>},
        {"templateBytes", [](const R& r) { return Json(r.dialogTemplate.size()); }},
    };
};
template <> struct Fields<script::GroupRecord> {
    using R = script::GroupRecord;
    static constexpr Field<R> kFields[] = {
        {"groupNumber", member<&R::groupNumber>}, {"exclusive", member<&R::exclusive>},
        {"firstOption", member<&R::firstOption>}, {"endOption", member<&R::endOption>},
        {"screen", member<&R::screen>},
    };
};
template <> struct Fields<script::DefaultGroup> {
    using R = script::DefaultGroup;
    static constexpr Field<R> kFields[] = {
        {"exclusive", member<&R::exclusive>},
        {"endOption", member<&R::endOption>},
        {"screen", member<&R::screen>},
    };
};
template <> struct Fields<script::PopMessage> {
    using R = script::PopMessage;
    static constexpr Field<R> kFields[] = {
        {"number", member<&R::number>},
        {"fontFace", member<&R::fontFace>},
        {"fontSize", member<&R::fontSize>},
        {"lines", [](const R& r) { return toJson(r.popup.lines); }},
    };
};

constexpr bool isFile(const FileEntry& entry) {
    return entry.kind == files::EntryKind::File;
}
constexpr bool isDisk(const FileEntry& entry) {
    return !isFile(entry);
}

template <> struct Fields<FileEntry> {
    using R = FileEntry;
    static constexpr Field<R> kFields[] = {
        {"kind", member<&R::kind>},
        {"name", member<&R::name>},
        {"volumeLabel", member<&R::volumeLabel>, isDisk},
        {"compression", member<&R::compression>, isFile},
        {"overwrite", member<&R::overwrite>, isFile},
        {"groups",
         [](const R& r) {
             Json options = Json::array();
             for (uint32_t option : r.groups) {
                 if (option != FileEntry::kNoGroup)
                     options.push_back(option);
             }
             return options;
         },
         isFile},
        {"source", [](const R& r) { return r.hasSource ? toJson(r.source) : Json(); }, isFile},
        {"sourceKind", member<&R::sourceKind>, [](const R& r) { return isFile(r) && r.hasSource; }},
        {"attributes", member<&R::attributes>, isFile},
        {"popupId", member<&R::popupId>},
    };
};

template <> struct Fields<RegistryValue> {
    using R = RegistryValue;
    using O = files::RegistryValueOperation;
    static constexpr Field<R> kFields[] = {
        {"type", member<&R::type>},
        {"operation", member<&R::operation>},
        {"name", member<&R::name>},
        {"data", member<&R::data>,
         [](const R& r) { return r.operation != O::Delete && r.operation != O::Rename; }},
        {"newName", member<&R::newName>, [](const R& r) { return r.operation == O::Rename; }},
    };
};
template <> struct Fields<RegistryBlock> {
    using R = RegistryBlock;
    static constexpr Field<R> kFields[] = {
        {"keyOperation", member<&R::keyOperation>},
        {"rootName", member<&R::rootName>},
        {"subkeyPath", member<&R::subkeyPath>},
        {"newKeyName", member<&R::newKeyName>,
         [](const R& r) { return r.keyOperation == files::RegistryKeyOperation::Rename; }},
        {"values", member<&R::values>},
    };
};

template <> struct Fields<sysedit::AutoexecEdit> {
    using R = sysedit::AutoexecEdit;
    static constexpr Field<R> kFields[] = {
        {"mode", member<&R::mode>},
        {"addDestination", member<&R::addDestination>},
        {"pathList", member<&R::pathList>},
        {"lineList", member<&R::lineList>},
        {"shareWanted", member<&R::shareWanted>},
        {"shareFiles", member<&R::shareFiles>},
        {"shareLocks", member<&R::shareLocks>},
    };
};
template <> struct Fields<sysedit::ConfigEdit> {
    using R = sysedit::ConfigEdit;
    static constexpr Field<R> kFields[] = {
        {"mode", member<&R::mode>},
        {"filesMinimum", member<&R::filesMinimum>},
        {"buffersMinimum", member<&R::buffersMinimum>},
        {"lineList", member<&R::lineList>},
    };
};
template <> struct Fields<sysedit::IniEdit> {
    using R = sysedit::IniEdit;
    static constexpr Field<R> kFields[] = {
        {"file", member<&R::file>},   {"section", member<&R::section>}, {"key", member<&R::key>},
        {"value", member<&R::value>}, {"mode", member<&R::mode>},       {"add", member<&R::add>},
    };
};
template <> struct Fields<sysedit::TextInsertion> {
    using R = sysedit::TextInsertion;
    static constexpr Field<R> kFields[] = {
        {"file", member<&R::file>},
        {"text", member<&R::text>},
        {"where", member<&R::where>},
        {"replace", member<&R::replace>},
    };
};
template <> struct Fields<sysedit::WinItemEntry> {
    using R = sysedit::WinItemEntry;
    static constexpr Field<R> kFields[] = {
        {"group", member<&R::group>},       {"commandLine", member<&R::commandLine>},
        {"itemName", member<&R::itemName>}, {"defaultDirectory", member<&R::defaultDirectory>},
        {"iconPath", member<&R::iconPath>}, {"iconIndex", member<&R::iconIndex>},
        {"mode", member<&R::mode>},
    };
};
template <> struct Fields<script::DeleteItem> {
    using R = script::DeleteItem;
    static constexpr Field<R> kFields[] = {{"path", member<&R::path>}};
};
template <> struct Fields<script::RenameItem> {
    using R = script::RenameItem;
    static constexpr Field<R> kFields[] = {{"oldName", member<&R::oldName>},
                                           {"newName", member<&R::newName>}};
};
template <> struct Fields<script::DeferredBlock> {
    using R = script::DeferredBlock;
    static constexpr Field<R> kFields[] = {
        {"firstLineNumber", [](const R& r) { return Json(r.firstLineNumber()); }},
        {"lines",
         [](const R& r) {
             Json lines = Json::array();
             for (size_t slot = 0; slot < r.count(); ++slot)
                 lines.push_back(toJson(r.line(slot)));
             return lines;
         }},
    };
};

// The whole: the script, the process-wide values it set, and the blocks left for later.

struct ScriptView {
    const InstallScript& script;
    const script::PluginGlobals& globals;
    const std::vector<script::DeferredBlock>& deferredBlocks;
};

template <auto Member> Json fromScript(const ScriptView& view) {
    return toJson(view.script.*Member);
}
template <auto Member> Json fromSettings(const ScriptView& view) {
    return toJson(view.globals.settings.*Member);
}
template <auto Member> Json fromPrompts(const ScriptView& view) {
    return toJson(view.script.prompts.*Member);
}

using S = InstallScript;
using G = script::GlobalSettings;
using P = script::PromptTexts;

constexpr Field<ScriptView> kSettings[] = {
    {"title", fromScript<&S::title>},
    {"titleFont", fromSettings<&G::titleFont>},
    {"titleColour", fromScript<&S::titleColour>},
    {"screenColourTop", fromScript<&S::screenColourTop>},
    {"screenColourBottom", fromScript<&S::screenColourBottom>},
    {"screenFont", fromSettings<&G::screenFont>},
    {"readmeFile", fromScript<&S::readmeFile>},
    {"runAtStart", fromScript<&S::runAtStart>},
    {"runAtExit", fromScript<&S::runAtExit>},
    {"regServers", fromSettings<&G::regServers>},
    {"screenGraphic", fromScript<&S::screenGraphic>},
    {"introScreen", fromScript<&S::introScreen>},
    {"minCpu", fromScript<&S::minCpu>},
    {"minDiskSpace", fromScript<&S::minDiskSpace>},
    {"optionMinDiskSpace",
     [](const ScriptView& v) {
         Json slots = Json::array();
         const int32_t used = std::min(std::max(1, v.script.optionCount), S::kDiskSpaceSlots);
         for (int32_t i = 0; i < used; ++i)
             slots.push_back(v.script.optionMinDiskSpace[i]);
         return slots;
     }},
    {"progressTotal", fromScript<&S::progressTotal>},
    {"overwriteMode", fromSettings<&G::overwriteMode>},
    {"rebootMode", fromSettings<&G::rebootMode>},
    {"compression", fromSettings<&G::compression>},
    {"uninstall", fromSettings<&G::uninstall>},
    {"fileCount", fromScript<&S::fileCount>},
    {"byteModeOff", fromScript<&S::byteModeOff>},
};

// The texts of the ...PROMPT commands, whichever record keeps them.
constexpr Field<ScriptView> kPrompts[] = {
    {"copyFile", fromPrompts<&P::copyFile>},
    {"autoexec", fromPrompts<&P::autoexec>},
    {"config", fromPrompts<&P::config>},
    {"cpu", fromPrompts<&P::cpu>},
    {"iniFile", fromPrompts<&P::iniFile>},
    {"insertDisk", fromPrompts<&P::insertDisk>},
    {"locate", fromPrompts<&P::locate>},
    {"noGroup", fromPrompts<&P::noGroup>},
    {"noSpace", fromPrompts<&P::noSpace>},
    {"quit", fromPrompts<&P::quit>},
    {"reboot", fromPrompts<&P::reboot>},
    {"ok", fromSettings<&G::okText>},
    {"cancel", fromSettings<&G::cancelText>},
    {"badDirectory", fromSettings<&G::badDirectoryText>},
    {"badDrive", fromSettings<&G::badDriveText>},
    {"fileExists", fromSettings<&G::fileExistsText>},
    {"fileNotFound", fromSettings<&G::fileNotFoundText>},
    {"uninstallBegin", fromSettings<&G::uninstallBeginText>},
    {"uninstallEnd", fromSettings<&G::uninstallEndText>},
    {"uninstallTitle", fromSettings<&G::uninstallTitleText>},
};

constexpr Field<ScriptView> kDestinations[] = {
    {"defaultDir", fromScript<&S::defaultDir>},
    {"dir2", fromScript<&S::dir2>},
    {"dir3", fromScript<&S::dir3>},
};

constexpr Field<ScriptView> kScreens[] = {
    {"firstScreen", fromScript<&S::firstScreen>},
    {"lastScreen", fromScript<&S::lastScreen>},
    {"exitScreen", fromScript<&S::exitScreen>},
};

Json macros(const ScriptView& view) {
    Json values = Json::object();
    for (int m = 0; m <= static_cast<int>(lexical::Macro::Ask5); ++m) {
        const auto macro = static_cast<lexical::Macro>(m);
        values[std::string(lexical::macroName(macro))] = toJson(view.globals.macros.value(macro));
    }
    return values;
}

Json asks(const ScriptView& view) {
    Json made = Json::array();
    for (int n = 1; n <= S::kAskCount; ++n) {
        if (const auto& ask = view.script.asks[n - 1]) {
            Json item = {{"number", n}};
            item.update(toJson(*ask));
            made.push_back(std::move(item));
        }
    }
    return made;
}

// The options the group blocks made, with the group numbers that label each.
Json options(const ScriptView& view) {
    const lexical::OptionTables& tables = view.globals.options;
    Json made = Json::array();
    for (int32_t option = 0; option < view.script.optionCount; ++option) {
        Json numbers = Json::array();
        for (int32_t number = 0; number < lexical::OptionTables::kSize; ++number) {
            if (tables.optionOfGroup(number) == option)
                numbers.push_back(number);
        }
        made.push_back({{"index", option},
                        {"groupNumbers", std::move(numbers)},
                        {"preselected", tables.preselected(option)}});
    }
    return made;
}

constexpr Field<ScriptView> kScriptFields[] = {
    {"settings", [](const ScriptView& v) { return object<ScriptView>(v, kSettings); }},
    {"prompts", [](const ScriptView& v) { return object<ScriptView>(v, kPrompts); }},
    {"destinations", [](const ScriptView& v) { return object<ScriptView>(v, kDestinations); }},
    {"macros", macros},
    {"asks", asks},
    {"options", options},
    {"groups", fromScript<&S::groups>},
    {"defaultGroup",
     [](const ScriptView& v) {
         return v.script.defaultGroup.screen ? toJson(v.script.defaultGroup) : Json();
     }},
    {"screens", [](const ScriptView& v) { return object<ScriptView>(v, kScreens); }},
    {"popMessages", fromScript<&S::popMessages>},
    {"fileEntries", fromScript<&S::fileEntries>},
    {"registryBlocks", fromScript<&S::registryBlocks>},
    {"autoexec", fromScript<&S::autoexec>},
    {"config", fromScript<&S::config>},
    {"iniEdits", fromScript<&S::iniEdits>},
    {"textInsertions", fromScript<&S::textInsertions>},
    {"winItems", fromScript<&S::winItems>},
    {"deletes", fromScript<&S::deletes>},
    {"renames", fromScript<&S::renames>},
    {"deferredBlocks", [](const ScriptView& v) { return toJson(v.deferredBlocks); }},
};

} // namespace kst::json

namespace kst {

json::Json scriptJson(const kestrel::script::InstallScript& script,
                      const kestrel::script::PluginGlobals& globals,
                      const std::vector<kestrel::script::DeferredBlock>& deferredBlocks) {
    const json::ScriptView view{script, globals, deferredBlocks};
    return json::object<json::ScriptView>(view, json::kScriptFields);
}

} // namespace kst
