// One installation's script: the settings record that commands fill and the lists of items they
// append, kept until the installation ends. The interpreter fills it in the main pass and the
// deferred pass (its reading machinery lives in the interpreter, not here); the installation
// sequence carries it out.
#pragma once

#include "files/file_entry.h"
#include "files/registry_block.h"
#include "lexical/macros.h"
#include "os/prompts.h"
#include "script/plugin_globals.h"
#include "sysedit/add_text.h"
#include "sysedit/autoexec_edit.h"
#include "sysedit/config_edit.h"
#include "sysedit/ini_edit.h"
#include "sysedit/win_item_entry.h"
#include "ui/colour.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::script {

inline constexpr size_t kLongTextCapacity = 998; // texts that take a whole line
inline constexpr size_t kReadmeCapacity = 498;
inline constexpr size_t kTitleCapacity = 500;
inline constexpr size_t kPathCapacity = 499;
inline constexpr size_t kAskAnswerCapacity = 498;
inline constexpr size_t kAskPromptCapacity = 600;

// How a destination is asked for: nothing, the directory on a fixed drive (NOASKDRIVE), the
// drive with a fixed directory (NOASKDIR), or drive and directory.
enum class AskMode : int32_t { Nothing = 0, Directory = 1, Drive = 2, DriveAndDirectory = 3 };

// DEFAULTDIR, DIR2, DIR3: the destination and how it is asked for.
struct DirectoryPrompt {
    static constexpr int32_t kEditControl = 204;
    std::string promptText;
    bool promptGiven = false;
    AskMode askMode = AskMode::DriveAndDirectory;
    std::string path; // normalised: a drive, a colon and a backslash, or a macro (DIR2/DIR3)
};

// ASK1..ASK5: one free-text question and its answer.
struct AskPrompt {
    static constexpr int32_t kDialogResource = 601;
    static constexpr int32_t kEditControl = 701;
    std::string answer; // the default answer; what the user typed after the dialog
    std::string promptText;
    bool promptGiven = false;
};

// A screen made from script lines, ready to be shown, and the lines it was made from.
using BuiltScreen = os::ScreenDialog;

// A numbered BEGINGROUP block: the options it offers are [firstOption, endOption).
struct GroupRecord {
    std::optional<BuiltScreen> screen;
    int32_t groupNumber = -1;
    uint32_t firstOptionBit = 1; // 1 shifted left by firstOption
    int32_t firstOption = 0;
    int32_t endOption = 0;
    bool exclusive = false;
};

// The BEGINGROUP block without a number.
struct DefaultGroup {
    std::optional<BuiltScreen> screen;
    bool exclusive = false;
    int32_t endOption = 0;
};

// POPMESSAGE: a text shown while the files that name its number are installed.
struct PopMessage {
    BuiltScreen popup;
    int32_t number = 0;
    std::string fontFace;
    int32_t fontSize = 10;
};

// SCREENGRAPHIC: the picture drawn on the plug-in window, and where.
enum class PicturePosition : int32_t {
    Centre = 0,
    TopLeft = 1,
    TopMiddle = 2,
    TopRight = 3,
    MiddleRight = 4,
    BottomRight = 5,
    BottomMiddle = 6,
    BottomLeft = 7,
    MiddleLeft = 8,
    Tile = 9,
    FullScreen = 10,
};

struct ScreenGraphic {
    std::string fileName;
    PicturePosition position = PicturePosition::Centre;
};

// INTROSCREEN: a picture shown over the plug-in window before the installation starts.
struct IntroScreen {
    std::string fileName;
    int32_t seconds = 0; // 0: until a key or a click
};

struct DeleteItem {
    static constexpr size_t kPathCapacity = 499;
    std::string path;
};

struct RenameItem {
    static constexpr size_t kOldNameCapacity = 998;
    static constexpr size_t kNewNameCapacity = 1000;
    std::string oldName;
    std::string newName;
};

// The texts of one installation's questions and messages that its script may replace (the
// ...PROMPT commands); the process-wide ones are in GlobalSettings.
struct PromptTexts {
    std::string copyFile{"Downloading and installing file: "};
    std::string autoexec{"Do you wish this program to modify your AUTOEXEC.BAT?"};
    std::string config{"Do you wish this program to modify file CONFIG.SYS?"};
    std::string cpu{"This application requires a computer with a processor no less than: "};
    std::string iniFile{"Do you wish this program to modify file "};
    std::string insertDisk{"Please insert "};
    std::string locate{"Checking system, please wait..."};
    std::string noGroup{"No group is selected."};
    std::string noSpace{"Not enough disk space on the destination drive for installation."};
    std::string quit{"Do you wish to quit?"};
    std::string reboot{"Do you wish to reboot?"};
};

struct InstallScript {
    static constexpr int32_t kMaxGroups = 16;
    static constexpr int32_t kMaxPopMessages = 16;
    static constexpr int32_t kAskCount = 5;
    static constexpr int32_t kDiskSpaceSlots = 100;

    // A new installation's script: every list empty, every setting at its default. The
    // process-wide texts that an installation shows before its script is read go back to
    // their defaults, the option tables are emptied, and the version numbers the conditions
    // compare are made from the system's version value.
    InstallScript(PluginGlobals& globals, uint32_t systemVersion, bool driveAIsFixed);
    InstallScript(const InstallScript&) = delete;
    InstallScript& operator=(const InstallScript&) = delete;

    // The settings record.
    std::string title;
    ui::Colour titleColour{128, 128, 255};
    ui::Colour screenColourTop{0, 0, 255};
    ui::Colour screenColourBottom{0, 0, 0};
    std::string readmeFile;
    lexical::MacroString runAtStart;
    std::optional<ScreenGraphic> screenGraphic;
    std::optional<IntroScreen> introScreen;
    int32_t minCpu = 0;
    // Bytes the installation needs: overall, and per option once the main pass has ended.
    int32_t minDiskSpace = -1;
    std::array<int32_t, kDiskSpaceSlots> optionMinDiskSpace = unsetDiskSpace();
    int32_t progressTotal = 0;
    // Set by the first COMPRESSED or SELF-EXTRACT file: progress is then counted in files.
    bool byteModeOff = false;
    int32_t fileCount = 0;   // FILE entries (disk changes not counted)
    int32_t optionCount = 0; // options the group blocks made
    PromptTexts prompts;

    // DEFAULTDIR, DIR2, DIR3; made by their first command.
    std::optional<DirectoryPrompt> defaultDir;
    std::optional<DirectoryPrompt> dir2;
    std::optional<DirectoryPrompt> dir3;
    std::array<std::optional<AskPrompt>, kAskCount> asks;

    // Screens and groups.
    std::optional<BuiltScreen> firstScreen;
    std::optional<BuiltScreen> lastScreen;
    std::optional<BuiltScreen> exitScreen;
    std::vector<GroupRecord> groups; // numbered groups, at most kMaxGroups
    DefaultGroup defaultGroup;
    std::vector<PopMessage> popMessages; // at most kMaxPopMessages

    // The item lists, in script order.
    std::vector<files::FileEntry> fileEntries; // FILE and INSERTDISK
    std::vector<files::RegistryBlock> registryBlocks;
    sysedit::AutoexecEdit autoexec;
    sysedit::ConfigEdit config;
    std::vector<sysedit::IniEdit> iniEdits;
    std::vector<sysedit::TextInsertion> textInsertions;
    std::vector<sysedit::WinItemEntry> winItems;
    std::vector<DeleteItem> deletes;
    std::vector<RenameItem> renames;
    std::vector<lexical::MacroString> runAtExit;

  private:
    static std::array<int32_t, kDiskSpaceSlots> unsetDiskSpace() {
        std::array<int32_t, kDiskSpaceSlots> slots{};
        slots.fill(-1);
        return slots;
    }
};

} // namespace kestrel::script
