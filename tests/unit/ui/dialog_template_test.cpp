#include "ui/dialog_template.h"

#include "lexical/option_tables.h"
#include "support/dialog_template_reader.h"
#include "support/screen_block_store.h"
#include "ui/dialog_template_writer.h"
#include "ui/screen_block.h"

#include <gtest/gtest.h>

namespace kestrel::ui {
namespace {

using test::storeBlock;
using test::TemplateDialog;
using test::TemplateItem;

constexpr uint16_t kButtonAtom = 0x80;
constexpr uint16_t kStaticAtom = 0x82;

TemplateDialog parse(const BuiltTemplate& built) {
    EXPECT_TRUE(built.ok());
    test::DialogTemplateReader reader(built.bytes);
    auto dialog = reader.read();
    EXPECT_TRUE(dialog) << reader.error();
    EXPECT_EQ(dialog->itemCount, dialog->items.size());
    return dialog.value_or(TemplateDialog{});
}

void expectItem(const TemplateItem& item, uint32_t style, std::array<int, 4> rect, uint16_t id,
                uint16_t atom, std::u16string text) {
    EXPECT_EQ(item.style, style);
    EXPECT_EQ((std::array<int, 4>{item.x, item.y, item.cx, item.cy}), rect);
    EXPECT_EQ(item.id, id);
    EXPECT_EQ(item.className.ordinal, atom);
    EXPECT_EQ(item.text.text, text);
    EXPECT_EQ(item.extendedStyle, 0u);
    EXPECT_EQ(item.creationDataSize, 0u);
}

const DialogLook kLook = dialogLookFor("", 0, "MS Sans Serif", "Go", "Stop");

TEST(ScreenTemplate, StaticTextsOnTheirRowsAndTwoButtonsBelow) {
    TextStore store = storeBlock({"Welcome", "", "\x93Price\x94 \x80 5, caf\xE9"});
    lexical::OptionTables options;
    GroupBuildState groups;
    const BuiltTemplate built =
        buildScreenTemplate(store, ScreenMode::Screen, kLook, options, groups);
    const TemplateDialog dialog = parse(built);

    EXPECT_EQ(dialog.style, 0x80400040u);
    EXPECT_EQ((std::array<int, 4>{dialog.x, dialog.y, dialog.cx, dialog.cy}),
              (std::array<int, 4>{0, 0, 160, 48})); // width at least 40; 3 lines made 4
    EXPECT_FALSE(dialog.menu.ordinal);
    EXPECT_TRUE(dialog.menu.text.empty() && dialog.className.text.empty());
    EXPECT_TRUE(dialog.title.text.empty());
    EXPECT_EQ(dialog.pointSize, 10);
    EXPECT_EQ(dialog.face, u"MS Sans Serif");
    ASSERT_EQ(dialog.items.size(), 4u);
    expectItem(dialog.items[0], 0x50020000, {0, 0, 160, 8}, 0xFFFF, kStaticAtom, u"Welcome");
    expectItem(dialog.items[1], 0x50020000, {0, 16, 160, 8}, 0xFFFF, kStaticAtom,
               u"\u201CPrice\u201D \u20AC 5, caf\u00E9");
    expectItem(dialog.items[2], 0x50010001, {28, 32, 40, 12}, 1, kButtonAtom, u"Go");
    expectItem(dialog.items[3], 0x50010000, {92, 32, 40, 12}, 2, kButtonAtom, u"Stop");
    EXPECT_EQ(built.lines.size(), 3u);
}

TEST(ScreenTemplate, ExitMessageHasOnlyACentredOk) {
    // 47 characters measure 88, made even; 2 lines stay 2.
    TextStore store = storeBlock({std::string(47, 'a'), "b"});
    lexical::OptionTables options;
    GroupBuildState groups;
    const TemplateDialog dialog = parse(buildScreenTemplate(
        store, ScreenMode::ExitMessage, dialogLookFor("Times", 12, "MS Sans Serif", "OK", "Cancel"),
        options, groups));
    EXPECT_EQ(dialog.cx, 4 * 88);
    EXPECT_EQ(dialog.cy, 8 * 2 + 16);
    EXPECT_EQ(dialog.face, u"Times");
    EXPECT_EQ(dialog.pointSize, 12);
    ASSERT_EQ(dialog.items.size(), 3u);
    expectItem(dialog.items[2], 0x50010001, {2 * 88 - 20, 16, 40, 12}, 1, kButtonAtom, u"OK");
}

TEST(GroupTemplate, OptionLinesBecomeCheckBoxesNumberedAcrossGroups) {
    TextStore store = storeBlock({"  Choose the parts:", "01 [ ] Program files", "x",
                                  "17   [X] Help [ ] files", "3[ ]Extras"});
    lexical::OptionTables options;
    GroupBuildState groups{5, false}; // an earlier group made options 0..4
    const BuiltTemplate built =
        buildScreenTemplate(store, ScreenMode::Group, kLook, options, groups);
    const TemplateDialog dialog = parse(built);

    ASSERT_EQ(dialog.items.size(), 7u);
    expectItem(dialog.items[0], 0x50020000, {0, 0, 160, 8}, 0xFFFF, kStaticAtom,
               u"Choose the parts:");
    expectItem(dialog.items[1], 0x50010003, {4, 8, 160, 8}, 100, kButtonAtom, u" Program files");
    expectItem(dialog.items[2], 0x50020000, {0, 16, 160, 8}, 0xFFFF, kStaticAtom, u"");
    // "[ ]" wins over an earlier "[X]"; so this option is not preselected.
    expectItem(dialog.items[3], 0x50010003, {4 * 12, 24, 160, 8}, 101, kButtonAtom, u" files");
    expectItem(dialog.items[4], 0x50010003, {0, 32, 160, 8}, 102, kButtonAtom, u"Extras");
    EXPECT_EQ(dialog.items[5].id, 1);
    EXPECT_EQ(dialog.items[5].y, 48); // 5 lines made 6
    EXPECT_EQ(dialog.items[6].id, 2);

    EXPECT_EQ(groups.optionCount, 8);
    EXPECT_EQ(options.optionOfGroup(1), 5);
    EXPECT_EQ(options.optionOfGroup(17), 6);
    EXPECT_EQ(options.optionOfGroup(3), 7);
    EXPECT_FALSE(options.preselected(6));
}

TEST(GroupTemplate, ExclusiveGroupsUseRadioButtonsAndOnlyTheFirstStartsAGroup) {
    lexical::OptionTables options;
    GroupBuildState groups;
    TextStore store = storeBlock({"Pick one", "10 [X] Typical", "11 [ ] Compact"});
    const TemplateDialog first = parse(buildExclusiveGroupTemplate(store, kLook, options, groups));
    ASSERT_EQ(first.items.size(), 5u);
    EXPECT_EQ(first.cy, 10 * 4 + 19);
    expectItem(first.items[0], 0x50000000, {0, 0, 160, 10}, 0xFFFF, kStaticAtom, u"ck one");
    expectItem(first.items[1], 0x50030009, {4, 10, 160, 10}, 100, kButtonAtom, u" Typical");
    expectItem(first.items[2], 0x50010009, {4, 20, 160, 10}, 101, kButtonAtom, u" Compact");
    expectItem(first.items[3], 0x50010001, {20, 40, 36, 12}, 1, kButtonAtom, u"Go");
    expectItem(first.items[4], 0x50010000, {100, 40, 36, 12}, 2, kButtonAtom, u"Stop");
    EXPECT_TRUE(options.preselected(0));
    EXPECT_FALSE(options.preselected(1));

    TextStore again = storeBlock({"12 [ ] Full"});
    const TemplateDialog second = parse(buildExclusiveGroupTemplate(again, kLook, options, groups));
    EXPECT_EQ(second.items[0].style, 0x50010009u);
    EXPECT_EQ(second.items[0].id, 100); // ids count within the dialog
    EXPECT_EQ(options.optionOfGroup(12), 2);
}

TEST(GroupTemplate, MissingMarkerAndTooManyOptionsAreErrorsOnTheirLine) {
    lexical::OptionTables options;
    GroupBuildState groups;
    TextStore store = storeBlock({"Choose", "01 [ ] A", "02 ( ) B"});
    BuiltTemplate built = buildScreenTemplate(store, ScreenMode::Group, kLook, options, groups);
    EXPECT_TRUE(built.error);
    EXPECT_EQ(built.problem, TemplateError::NoMarker);
    EXPECT_EQ(built.errorLineIndex, 2);
    EXPECT_EQ(built.errorLine, "02 ( ) B");
    EXPECT_TRUE(built.bytes.empty());

    groups.optionCount = 99; // the option tables hold 100
    TextStore full = storeBlock({"01 [ ] last", "", "02 [ ] one too many"});
    built = buildExclusiveGroupTemplate(full, kLook, options, groups);
    EXPECT_TRUE(built.error);
    EXPECT_EQ(built.problem, TemplateError::TooManyOptions);
    EXPECT_EQ(built.errorLineIndex, 2);
    EXPECT_EQ(groups.optionCount, 100);
    EXPECT_EQ(options.optionOfGroup(1), 99);
    EXPECT_EQ(options.optionOfGroup(2), lexical::OptionTables::kNoOption);
}

TEST(PopupTemplate, StaticTextsOnlyAsWideAsTheBlock) {
    TextStore store = storeBlock({"Copying", "", "files"}); // 7 characters measure 8
    const TemplateDialog dialog =
        parse(buildPopupTemplate(store, dialogLookFor("Courier", 0, "MS Sans Serif", "", "")));
    EXPECT_EQ(dialog.style, 0x90400040u);
    EXPECT_EQ((std::array<int, 4>{dialog.x, dialog.y, dialog.cx, dialog.cy}),
              (std::array<int, 4>{0, 0, 32, 24})); // no minimum width; 3 lines stay 3
    EXPECT_EQ(dialog.face, u"Courier");
    EXPECT_EQ(dialog.pointSize, 10);
    ASSERT_EQ(dialog.items.size(), 2u);
    expectItem(dialog.items[0], 0x50000000, {0, 0, 32, 8}, 0xFFFF, kStaticAtom, u"Copying");
    expectItem(dialog.items[1], 0x50000000, {0, 16, 32, 8}, 0xFFFF, kStaticAtom, u"files");

    TextStore empty;
    EXPECT_EQ(buildPopupTemplate(empty, kLook).problem, TemplateError::NoBlock);
}

TEST(DialogTemplateWriter, AZeroByteEndsATextWithoutBreakingTheLayout) {
    DialogTemplateWriter writer(kScreenDialogStyle, {0, 0, 10, 10}, 8, std::string("A\0B", 3));
    writer.addItem(kStaticStyle, {1, 2, 3, 4}, 7, ControlClass::Static, std::string("ab\0cd", 5));
    writer.addItem(kStaticStyle, {-5, 40000, 3, 4}, 8, ControlClass::Static, "\x81\x9F");
    const std::vector<uint8_t> bytes = writer.finish();
    test::DialogTemplateReader reader(bytes);
    const auto dialog = reader.read();
    ASSERT_TRUE(dialog) << reader.error();
    EXPECT_EQ(dialog->face, u"A");
    ASSERT_EQ(dialog->items.size(), 2u);
    EXPECT_EQ(dialog->items[0].text.text, u"ab");
    EXPECT_EQ(dialog->items[1].text.text, u"\u0081\u0178");
    EXPECT_EQ(dialog->items[1].x, -5);
    EXPECT_EQ(dialog->items[1].y, 32767);
}

} // namespace
} // namespace kestrel::ui
