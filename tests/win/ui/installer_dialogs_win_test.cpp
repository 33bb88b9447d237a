// The installer's dialogs shown for real and answered by a person played from a helper thread:
// what they show and where, each rule for what is typed or ticked, the quit question, and the
// ways the plug-in ends them.
#include "lexical/ansi_text.h"
#include "os/file_system.h"
#include "os/message_box_prompts.h"
#include "support/screen_block_store.h"
#include "support/temp_dir.h"
#include "support/ui_robot.h"
#include "ui/dialog_template.h"
#include "ui/win32/dialog_resources.h"
#include "ui/win32/progress_dialogs.h"
#include "ui/win32/win32_installer_dialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>

namespace kestrel::ui::win32 {
namespace {

using test::UiRobot;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RECT kArea{100, 80, 740, 560}; // the plug-in window's client area on the screen

struct Box {
    std::string caption;
    std::string text;
    bool yesNo = false;
};

// Reads the message box over owner and presses button.
Box answerBox(UiRobot& robot, HWND owner, int button) {
    const HWND box = robot.messageBoxOver(owner);
    Box seen{UiRobot::text(box), UiRobot::text(box, 0xFFFF),
             GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO)};
    UiRobot::press(box, button);
    robot.waitHidden(box);
    Sleep(100); // let the handler that asked go on before the next move
    return seen;
}

// A window whose messages run a function on the test's thread, from the robot's.
LRESULT CALLBACK callbackProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UiRobot::kRescue) {
        (*reinterpret_cast<std::function<void()>*>(GetWindowLongPtrA(window, GWLP_USERDATA)))();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class InstallerDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, kArea.left, kArea.top,
                                  kArea.right - kArea.left, kArea.bottom - kArea.top, nullptr,
                                  nullptr, nullptr, nullptr);
        settings_.okText = "Go";
        settings_.cancelText = "Stop";
        settings_.badDriveText = "No such drive.";
        prompts_.quit = "Leave now?";
        prompts_.noGroup = "Choose one.";
        DialogHost host{GetModuleHandleA(nullptr), plugin_,
                        [] {
                            return Rect{kArea.left, kArea.top, kArea.right, kArea.bottom};
                        },
                        [this] { ++aborts_; }};
        dialogs_ = std::make_unique<Win32InstallerDialogs>(std::move(host), settings_, prompts_);
        rescue_ = callbackWindow(&rescueAction_);
        rescueAction_ = [this] { dialogs_->cancelOpenDialog(); };
    }
    void TearDown() override {
        dialogs_.reset();
        DestroyWindow(rescue_);
        DestroyWindow(plugin_);
    }

    HWND callbackWindow(std::function<void()>* action) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = callbackProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KestrelTestCallback";
        RegisterClassA(&windowClass);
        HWND window = CreateWindowExA(0, "KestrelTestCallback", "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, nullptr, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(action));
        return window;
    }

    // Pumps the thread's messages, as the copy loop does, until the robot is done.
    void pumpUntilDone(UiRobot& robot, const std::atomic<bool>& done) {
        for (int i = 0; i < 1000 && !done; ++i) {
            dialogs_->pumpMessages();
            Sleep(10);
        }
        robot.finish();
        dialogs_->pumpMessages();
    }

    static POINT centred(const RECT& window) {
        const LONG w = window.right - window.left;
        const LONG h = window.bottom - window.top;
        return POINT{kArea.left + (640 - w) / 2, kArea.top + (480 - h) / 2};
    }

    HWND plugin_ = nullptr;
    HWND rescue_ = nullptr;
    std::function<void()> rescueAction_;
    script::GlobalSettings settings_;
    script::PromptTexts prompts_;
    std::unique_ptr<Win32InstallerDialogs> dialogs_;
    int aborts_ = 0;
};

TEST_F(InstallerDialogs, AskShowsItsPromptRowsTrimsTheAnswerAndQuitsOnlyOnYes) {
    script::AskPrompt prompt{"Fred",
                             "Please type the name of the person who will use this program, "
                             "then the name of the company they work for",
                             true};
    struct {
        std::vector<std::string> texts;
        RECT place, edit, thirdRow;
    } seen;
    UiRobot robot(
        [&](UiRobot& r) {
            const HWND dialog = r.dialogWith(KESTREL_ASK_EDIT);
            for (HWND child = GetWindow(dialog, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT))
                seen.texts.push_back(UiRobot::text(child));
            seen.place = UiRobot::place(dialog);
            seen.edit = UiRobot::place(GetDlgItem(dialog, KESTREL_ASK_EDIT));
            seen.thirdRow = UiRobot::place(
                GetWindow(GetDlgItem(dialog, KESTREL_PROMPT_SECOND_ROW), GW_HWNDNEXT));
            UiRobot::type(dialog, KESTREL_ASK_EDIT, " ,(Jane Doe) ");
            UiRobot::press(dialog, IDOK);
        },
        rescue_);
    EXPECT_TRUE(dialogs_->ask(prompt));
    robot.finish();
    EXPECT_THAT(robot.failures(), IsEmpty());
    EXPECT_EQ(prompt.answer, "Jane Doe) ");
    EXPECT_THAT(seen.texts, ElementsAre("Please type the name of the person who will",
                                        "use this program, then the name of the",
                                        "company they work for", "Fred", "Go", "Stop"));
    EXPECT_GE(seen.edit.top, seen.thirdRow.bottom); // the edit box moved below the extra row
    EXPECT_EQ(seen.place.left, centred(seen.place).x);
    EXPECT_EQ(seen.place.top, centred(seen.place).y);

    // Cancel asks; No keeps the question open, Yes ends it.
    std::vector<Box> boxes;
    UiRobot quitter(
        [&](UiRobot& r) {
            const HWND dialog = r.dialogWith(KESTREL_ASK_EDIT);
            for (const int answer : {IDNO, IDYES}) {
                UiRobot::press(dialog, IDCANCEL);
                boxes.push_back(answerBox(r, dialog, answer));
            }
        },
        rescue_);
    EXPECT_FALSE(dialogs_->ask(prompt));
    quitter.finish();
    EXPECT_THAT(quitter.failures(), IsEmpty());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, " ");
    EXPECT_EQ(boxes[0].text, "Leave now?");
    EXPECT_TRUE(boxes[0].yesNo);
    EXPECT_EQ(prompt.answer, "Jane Doe) ");
}

TEST_F(InstallerDialogs, DestinationChecksWhatIsTypedAndHasItsDirectoriesMade) {
    test::TempDir temp;
    const std::unique_ptr<os::FileSystem> files = os::makeNativeFileSystem();
    // Edit boxes of destinations show capitals.
    const std::string made = lexical::asciiUpper(temp.file("New Folder\\Sub"));
    std::vector<std::string> asked;
    const host::DirectoryMaker maker = [&](const std::string& path) {
        asked.push_back(path);
        if (path.find("BAD") != std::string::npos)
            return false; // as if it could not be made
        return path != made || files->createDirectories(path);
    };
    struct Case {
        script::AskMode mode;
        std::string path;
        std::vector<std::string> typed; // each typed and OK pressed; all but the last refused
        std::vector<std::pair<int, std::string>> shown; // controls and texts when it opens
        std::string chosen;
        std::vector<std::string> boxes; // messages the refusals showed
    } cases[] = {
        {script::AskMode::Directory,
         "C:\\KESTREL",
         {"BAD", "Program Files"},
         {{KESTREL_DESTINATION_FIXED_DRIVE, "C:\\"}, {KESTREL_DESTINATION_EDIT, "KESTREL"}},
         "C:\\PROGRAM",
         {}},
        {script::AskMode::Drive,
         "C:\\KESTREL",
         {"5", "D"},
         {{KESTREL_DESTINATION_EDIT, "C"}, {KESTREL_DESTINATION_FIXED_REST, ":\\KESTREL"}},
         "D:\\KESTREL",
         {"No such drive."}},
        {script::AskMode::DriveAndDirectory,
         "C:\\KESTREL",
         {"1:\\APP", "C:APP", made + ",X"},
         {{KESTREL_DESTINATION_EDIT, "C:\\KESTREL"}},
         made,
         {"No such drive.", "No such drive."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        script::DirectoryPrompt prompt{"Where to?", true, c.mode, c.path};
        std::vector<std::string> shown, boxes;
        std::string stillTyped;
        UiRobot robot(
            [&](UiRobot& r) {
                const HWND dialog = r.dialogWith(KESTREL_DESTINATION_EDIT);
                for (const auto& [id, text] : c.shown)
                    shown.push_back(UiRobot::text(dialog, id));
                for (size_t i = 0; i < c.typed.size(); ++i) {
                    UiRobot::type(dialog, KESTREL_DESTINATION_EDIT, c.typed[i]);
                    UiRobot::press(dialog, IDOK);
                    if (i + 1 == c.typed.size())
                        break;
                    if (c.typed[i] == "BAD") { // the maker refused: the dialog stays
                        Sleep(200);
                        continue;
                    }
                    boxes.push_back(answerBox(r, dialog, IDOK).text);
                    stillTyped = UiRobot::text(dialog, KESTREL_DESTINATION_EDIT);
                }
            },
            rescue_);
        const std::optional<std::string> chosen = dialogs_->chooseDestination(prompt, maker);
        robot.finish();
        EXPECT_THAT(robot.failures(), IsEmpty());
        EXPECT_EQ(chosen, c.chosen);
        for (size_t i = 0; i < c.shown.size() && i < shown.size(); ++i)
            EXPECT_EQ(shown[i], c.shown[i].second);
        EXPECT_EQ(boxes, c.boxes);
        if (!c.boxes.empty()) {
            EXPECT_EQ(stillTyped, c.typed[c.typed.size() - 2]);
        }
    }
    EXPECT_THAT(asked, ElementsAre("C:\\BAD", "C:\\PROGRAM", "D:\\KESTREL", made));
    EXPECT_TRUE(std::filesystem::is_directory(made));
}

TEST_F(InstallerDialogs, GroupsTickTheirPreselectedOptionsAndRequireOne) {
    lexical::OptionTables options;
    GroupBuildState groups;
    const DialogLook look = dialogLookFor("", 0, "MS Sans Serif", "Go", "Stop");
    TextStore several =
        test::storeBlock({"Parts:", "01 [ ] Program", "02 [X] Help", "03 [ ] Samples"});
    const BuiltTemplate checkBoxes =
        buildScreenTemplate(several, ScreenMode::Group, look, options, groups);
    TextStore one = test::storeBlock({"11 [ ] Typical", "12 [X] Compact", "13 [X] Full"});
    const BuiltTemplate radioButtons = buildExclusiveGroupTemplate(one, look, options, groups);
    ASSERT_TRUE(checkBoxes.ok() && radioButtons.ok());

    std::vector<bool> opened;
    std::vector<std::string> boxes;
    UiRobot robot(
        [&](UiRobot& r) {
            const HWND dialog = r.dialogWith(kFirstOptionId);
            for (int id = kFirstOptionId; id < kFirstOptionId + 3; ++id) {
                opened.push_back(UiRobot::checked(dialog, id));
                UiRobot::setChecked(dialog, id, false);
            }
            UiRobot::press(dialog, IDOK);
            boxes.push_back(answerBox(r, dialog, IDOK).text);
            UiRobot::setChecked(dialog, kFirstOptionId, true);
            UiRobot::setChecked(dialog, kFirstOptionId + 2, true);
            UiRobot::press(dialog, IDOK);
        },
        rescue_);
    EXPECT_TRUE(dialogs_->chooseOptions({checkBoxes.bytes, {}}, false, 0, 3, options));
    robot.finish();
    EXPECT_THAT(robot.failures(), IsEmpty());
    EXPECT_THAT(opened, ElementsAre(false, true, false));
    EXPECT_THAT(boxes, ElementsAre("Choose one."));
    EXPECT_THAT((std::vector<bool>{options.selected(0), options.selected(1), options.selected(2)}),
                ElementsAre(true, false, true));

    // Radio buttons: only the first preselected option starts checked.
    opened.clear();
    UiRobot chooser(
        [&](UiRobot& r) {
            const HWND dialog = r.dialogWith(kFirstOptionId);
            for (int id = kFirstOptionId; id < kFirstOptionId + 3; ++id)
                opened.push_back(UiRobot::checked(dialog, id));
            UiRobot::press(dialog, IDOK);
        },
        rescue_);
    EXPECT_TRUE(dialogs_->chooseOptions({radioButtons.bytes, {}}, true, 3, 6, options));
    chooser.finish();
    EXPECT_THAT(opened, ElementsAre(false, true, false));
    EXPECT_THAT((std::vector<bool>{options.selected(3), options.selected(4), options.selected(5)}),
                ElementsAre(false, true, false));
}

TEST_F(InstallerDialogs, ScreensSitInThePluginAreaAndQuitOnlyOnYes) {
    lexical::OptionTables options;
    GroupBuildState groups;
    const DialogLook look = dialogLookFor("", 0, "MS Sans Serif", "Go", "Stop");
    // Taller than the plug-in area: it hangs from the area's bottom edge.
    std::vector<std::string> lines(60, "A line of the first screen");
    TextStore tall = test::storeBlock(lines);
    const BuiltTemplate first =
        buildScreenTemplate(tall, ScreenMode::Screen, look, options, groups);
    TextStore exit = test::storeBlock({"Thank you."});
    const BuiltTemplate bye =
        buildScreenTemplate(exit, ScreenMode::ExitMessage, look, options, groups);
    os::MessageBoxPrompts prompts(plugin_, dialogs_->screenRunner());

    RECT place{};
    std::vector<Box> boxes;
    UiRobot robot(
        [&](UiRobot& r) {
            HWND dialog = r.dialogWith(IDCANCEL);
            place = UiRobot::place(dialog);
            UiRobot::press(dialog, IDOK);
            r.waitHidden(dialog);
            dialog = r.dialogWith(IDOK);
            UiRobot::press(dialog, IDCANCEL); // Escape, in a dialog without Cancel
            boxes.push_back(answerBox(r, dialog, IDYES));
        },
        rescue_);
    EXPECT_EQ(prompts.showScreen({first.bytes, first.lines}), os::kIdOk);
    EXPECT_EQ(prompts.showScreen({bye.bytes, bye.lines}), os::kIdCancel);
    robot.finish();
    EXPECT_THAT(robot.failures(), IsEmpty());
    EXPECT_EQ(place.left, centred(place).x);
    EXPECT_EQ(place.bottom, kArea.bottom);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "");
    EXPECT_EQ(boxes[0].text, "Leave now?");
}

TEST_F(InstallerDialogs, ProgressDrawsItsBarsAndPostsTheAbortOnceOnYes) {
    TextStore block = test::storeBlock({"Installing the program", "please wait"});
    script::PopMessage popup;
    popup.popup.dialogTemplate =
        buildPopupTemplate(block, dialogLookFor("", 0, "MS Sans Serif", "", "")).bytes;
    dialogs_->showPopup(popup);
    const RECT popupPlace = UiRobot::place(dialogs_->popupWindow());
    EXPECT_EQ(popupPlace.top,
              kArea.top + (480 - (popupPlace.bottom - popupPlace.top) - 244) / 2 + 60);

    ByteProgress bytes;
    bytes.countFiles = true;
    dialogs_->openProgress(4, bytes);
    const HWND progress = dialogs_->progressWindow();
    ASSERT_TRUE(progress);
    EXPECT_EQ(UiRobot::place(progress).top, popupPlace.bottom + 24);
    dialogs_->showCurrentFile("Copying: ", "sub\\Setup-\xE9.exe");
    EXPECT_EQ(UiRobot::text(progress, KESTREL_PROGRESS_FILE_NAME), "SUB\\SETUP-\xE9.EXE");
    EXPECT_EQ(UiRobot::text(progress, IDCANCEL), "Stop");

    // One file of four: a quarter of the file bar blue; the download at 150 %: all of it.
    dialogs_->progressStep(true);
    SendMessageA(progress, kDownloadPercentMessage, 150, 0);
    const auto pixel = [&](int id, bool leftEnd) {
        RECT bar{};
        GetClientRect(GetDlgItem(progress, id), &bar);
        MapWindowPoints(GetDlgItem(progress, id), progress, reinterpret_cast<POINT*>(&bar), 2);
        HDC dc = GetDC(progress);
        const COLORREF colour =
            GetPixel(dc, leftEnd ? bar.left + 2 : bar.right - 3, (bar.top + bar.bottom) / 2);
        ReleaseDC(progress, dc);
        return colour;
    };
    EXPECT_EQ(pixel(KESTREL_PROGRESS_FILE_BAR, true), RGB(0, 0, 255));
    EXPECT_EQ(pixel(KESTREL_PROGRESS_FILE_BAR, false), RGB(255, 255, 255));
    EXPECT_EQ(pixel(KESTREL_PROGRESS_DOWNLOAD_BAR, false), RGB(0, 0, 255));

    // Cancel answered No, then Yes, then Cancel again on the hidden dialog.
    std::atomic<bool> done = false, answeredNo = false, checkedAfterNo = false;
    std::vector<Box> boxes;
    bool cancelledAfterNo = true;
    UiRobot robot(
        [&](UiRobot& r) {
            UiRobot::press(progress, IDCANCEL);
            boxes.push_back(answerBox(r, progress, IDNO));
            answeredNo = true;
            while (!checkedAfterNo)
                Sleep(10);
            UiRobot::press(progress, IDCANCEL);
            boxes.push_back(answerBox(r, progress, IDYES));
            r.waitHidden(progress);
            UiRobot::press(progress, IDCANCEL);
            Sleep(100);
            done = true;
        },
        rescue_);
    for (int i = 0; i < 1000 && !answeredNo; ++i) {
        dialogs_->pumpMessages();
        Sleep(10);
    }
    cancelledAfterNo = dialogs_->pumpMessages();
    checkedAfterNo = true;
    pumpUntilDone(robot, done);
    EXPECT_THAT(robot.failures(), IsEmpty());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "");
    EXPECT_EQ(boxes[0].text, "Leave now?");
    EXPECT_FALSE(cancelledAfterNo);
    EXPECT_EQ(aborts_, 1);
    EXPECT_TRUE(dialogs_->pumpMessages());
    EXPECT_FALSE(IsWindowVisible(dialogs_->popupWindow()));
    dialogs_->closeProgressAndPopup();
    EXPECT_FALSE(IsWindow(progress));
}

TEST_F(InstallerDialogs, TheInstallationMayCloseOrEndDialogsWhileTheyAsk) {
    // The progress dialog closed by the installation while its quit question is up.
    ByteProgress bytes;
    dialogs_->openProgress(2, bytes);
    const HWND progress = dialogs_->progressWindow();
    std::function<void()> close = [this] { dialogs_->closeProgressAndPopup(); };
    const HWND closer = callbackWindow(&close);
    std::atomic<bool> done = false;
    UiRobot robot(
        [&](UiRobot& r) {
            UiRobot::press(progress, IDCANCEL);
            const HWND box = r.messageBoxOver(progress);
            SendMessageA(closer, UiRobot::kRescue, 0, 0);
            UiRobot::press(box, IDYES);
            r.waitHidden(box);
            done = true;
        },
        rescue_);
    pumpUntilDone(robot, done);
    EXPECT_THAT(robot.failures(), IsEmpty());
    EXPECT_FALSE(dialogs_->progressOpen());
    EXPECT_EQ(aborts_, 1);
    EXPECT_FALSE(IsWindow(progress));
    DestroyWindow(closer);

    // The browser destroys the instance while a question's quit question is up: both end,
    // answered No and Cancel, and nothing is asked any more.
    script::AskPrompt prompt{"Fred", "Name?", true};
    UiRobot ender(
        [&](UiRobot& r) {
            const HWND dialog = r.dialogWith(KESTREL_ASK_EDIT);
            UiRobot::press(dialog, IDCANCEL);
            r.messageBoxOver(dialog);
            PostMessageA(rescue_, UiRobot::kRescue, 0, 0);
            r.waitHidden(dialog);
        },
        nullptr);
    EXPECT_FALSE(dialogs_->ask(prompt));
    ender.finish();
    EXPECT_THAT(ender.failures(), IsEmpty());
    EXPECT_EQ(dialogs_->showScreen({}), os::kIdCancel);
    EXPECT_TRUE(dialogs_->pumpMessages());
    EXPECT_EQ(aborts_, 1);
}

} // namespace
} // namespace kestrel::ui::win32
