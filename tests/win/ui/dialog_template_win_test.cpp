// The built templates given to the system's own dialog functions: they must create exactly the
// controls they describe, with their texts, styles and places.
#include "lexical/option_tables.h"
#include "support/screen_block_store.h"
#include "ui/dialog_template.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace kestrel::ui {
namespace {

using test::storeBlock;

INT_PTR CALLBACK quietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog created from template bytes in movable global memory, as the plug-in holds them.
class TemplateDialog {
  public:
    explicit TemplateDialog(const std::vector<uint8_t>& bytes) {
        memory_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes.size());
        if (!memory_)
            return;
        void* locked = GlobalLock(memory_);
        CopyMemory(locked, bytes.data(), bytes.size());
        window_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             static_cast<LPCDLGTEMPLATEA>(locked), nullptr,
                                             quietDialogProc, 0);
        GlobalUnlock(memory_);
    }
    ~TemplateDialog() {
        if (window_)
            DestroyWindow(window_);
        if (memory_)
            GlobalFree(memory_);
    }
    TemplateDialog(const TemplateDialog&) = delete;
    TemplateDialog& operator=(const TemplateDialog&) = delete;

    HWND window() const { return window_; }

    std::vector<HWND> controls() const {
        std::vector<HWND> found;
        for (HWND child = GetWindow(window_, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT))
            found.push_back(child);
        return found;
    }

    // A control's rectangle in dialog units, measured back from its pixels.
    RECT placeInDialogUnits(HWND control) const {
        RECT pixels;
        GetWindowRect(control, &pixels);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&pixels), 2);
        RECT unit{0, 0, 400, 800}; // dialog units -> pixels, to scale back
        MapDialogRect(window_, &unit);
        return RECT{MulDiv(pixels.left, 400, unit.right), MulDiv(pixels.top, 800, unit.bottom),
                    MulDiv(pixels.right, 400, unit.right), MulDiv(pixels.bottom, 800, unit.bottom)};
    }

  private:
    HGLOBAL memory_ = nullptr;
    HWND window_ = nullptr;
};

std::wstring textOf(HWND control) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    return text;
}

std::wstring classOf(HWND control) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    return name;
}

void expectPlace(const TemplateDialog& dialog, HWND control, RECT expected) {
    const RECT place = dialog.placeInDialogUnits(control);
    // One dialog unit of rounding either way.
    EXPECT_NEAR(place.left, expected.left, 1);
    EXPECT_NEAR(place.top, expected.top, 1);
    EXPECT_NEAR(place.right, expected.right, 1);
    EXPECT_NEAR(place.bottom, expected.bottom, 1);
}

TEST(Win32DialogTemplate, GroupScreenCreatesItsControlsWithTextsAndPlaces) {
    TextStore store = storeBlock({"  Choose \x80 parts:", "01 [ ] Program", "02   [X] Caf\xE9"});
    lexical::OptionTables options;
    GroupBuildState groups;
    const BuiltTemplate built = buildScreenTemplate(
        store, ScreenMode::Group, dialogLookFor("", 0, "MS Sans Serif", "OK", "Abbrechen"), options,
        groups);
    ASSERT_TRUE(built.ok());
    TemplateDialog dialog(built.bytes);
    ASSERT_TRUE(dialog.window()) << GetLastError();

    const std::vector<HWND> controls = dialog.controls();
    ASSERT_EQ(controls.size(), 5u);
    EXPECT_EQ(classOf(controls[0]), L"Static");
    EXPECT_EQ(textOf(controls[0]), L"Choose \u20AC parts:");
    EXPECT_EQ(GetDlgCtrlID(controls[0]), 0xFFFF);

    HWND program = GetDlgItem(dialog.window(), 100);
    HWND cafe = GetDlgItem(dialog.window(), 101);
    ASSERT_TRUE(program && cafe);
    EXPECT_EQ(classOf(program), L"Button");
    EXPECT_EQ(textOf(program), L" Program");
    EXPECT_EQ(textOf(cafe), L" Caf\u00E9");
    EXPECT_EQ(GetWindowLongW(cafe, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    expectPlace(dialog, program, {4, 8, 4 + 160, 16});
    expectPlace(dialog, cafe, {12, 16, 12 + 160, 24});

    HWND ok = GetDlgItem(dialog.window(), IDOK);
    HWND cancel = GetDlgItem(dialog.window(), IDCANCEL);
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(textOf(ok), L"OK");
    EXPECT_EQ(textOf(cancel), L"Abbrechen");
    EXPECT_EQ(GetWindowLongW(ok, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    expectPlace(dialog, ok, {28, 32, 68, 44});
    expectPlace(dialog, cancel, {92, 32, 132, 44});

    RECT client;
    GetClientRect(dialog.window(), &client);
    RECT expected{0, 0, 160, 48};
    MapDialogRect(dialog.window(), &expected);
    EXPECT_EQ(client.right, expected.right);
    EXPECT_EQ(client.bottom, expected.bottom);
    EXPECT_FALSE(IsWindowVisible(dialog.window()));
}

TEST(Win32DialogTemplate, ExclusiveGroupRadioButtonsCheckOneAtATime) {
    TextStore store = storeBlock({"10 [ ] Typical", "11 [ ] Compact", "12 [ ] Full"});
    lexical::OptionTables options;
    GroupBuildState groups;
    const BuiltTemplate built = buildExclusiveGroupTemplate(
        store, dialogLookFor("", 0, "MS Sans Serif", "OK", "Cancel"), options, groups);
    ASSERT_TRUE(built.ok());
    TemplateDialog dialog(built.bytes);
    ASSERT_TRUE(dialog.window());
    ShowWindow(dialog.window(), SW_SHOWNA);

    SendDlgItemMessageW(dialog.window(), 100, BM_CLICK, 0, 0);
    SendDlgItemMessageW(dialog.window(), 102, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog.window(), 100), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog.window(), 101), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog.window(), 102), BST_CHECKED);
    expectPlace(dialog, GetDlgItem(dialog.window(), 101), {4, 10, 164, 20});
}

TEST(Win32DialogTemplate, PopupIsCreatedVisibleWithoutButtons) {
    TextStore store = storeBlock({"Copying files", "", "please wait"});
    const BuiltTemplate built =
        buildPopupTemplate(store, dialogLookFor("Arial", 12, "MS Sans Serif", "", ""));
    ASSERT_TRUE(built.ok());
    TemplateDialog dialog(built.bytes);
    ASSERT_TRUE(dialog.window());
    EXPECT_TRUE(IsWindowVisible(dialog.window()));
    const std::vector<HWND> controls = dialog.controls();
    ASSERT_EQ(controls.size(), 2u);
    EXPECT_EQ(textOf(controls[1]), L"please wait");
    EXPECT_FALSE(GetDlgItem(dialog.window(), IDOK));
    expectPlace(dialog, controls[1], {0, 16, 80, 24}); // 13 characters measure 20
}

} // namespace
} // namespace kestrel::ui
