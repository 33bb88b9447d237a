#include "ui/dialog_template.h"

#include "lexical/numbers.h"
#include "lexical/option_tables.h"
#include "ui/dialog_template_writer.h"

#include <algorithm>
#include <utility>

namespace kestrel::ui {

namespace {

enum class Kind { Screen, Group, ExitMessage, ExclusiveGroup };

constexpr int kMinScreenWidth = 40; // characters
constexpr int32_t kDefaultPointSize = 10;
constexpr int32_t kMaxPointSize = 255;

int evenUp(int n) {
    return n + (n & 1);
}

BuiltTemplate failure(TemplateError error, int lineIndex = -1, std::string line = {}) {
    BuiltTemplate result;
    result.error = true;
    result.problem = error;
    result.errorLineIndex = lineIndex;
    result.errorLine = std::move(line);
    return result;
}

struct OptionItem {
    int indent = 0;
    std::string_view text;
};

// Makes the option of a group line: numbers it, maps its group number to it and records
// whether it starts ticked.
TemplateError makeOption(std::string_view line, lexical::OptionTables& options,
                         GroupBuildState& groups, OptionItem& item) {
    size_t marker = line.find("[ ]");
    const bool preselected = marker == std::string_view::npos;
    if (preselected)
        marker = line.find("[X]");
    if (marker == std::string_view::npos)
        return TemplateError::NoMarker;
    const int32_t option = groups.optionCount;
    if (option >= lexical::OptionTables::kSize)
        return TemplateError::TooManyOptions;
    int32_t groupNumber = line[0] - '0';
    if (line.size() > 1 && lexical::isDecimalDigit(line[1]))
        groupNumber = groupNumber * 10 + (line[1] - '0');
    options.setOptionOfGroup(groupNumber, option);
    if (preselected)
        options.setPreselected(option, true);
    ++groups.optionCount;
    // A marker right after the digit would put the box left of the dialog.
    item.indent = std::max(0, static_cast<int>(marker) - 2);
    item.text = line.substr(marker + 3);
    return TemplateError::None;
}

BuiltTemplate build(TextStore& store, Kind kind, const DialogLook& look,
                    lexical::OptionTables& options, GroupBuildState& groups) {
    ScreenBlock block;
    if (!store.take(block))
        return failure(TemplateError::NoBlock);
    const bool exclusive = kind == Kind::ExclusiveGroup;
    const bool group = kind == Kind::Group || exclusive;
    const int w = std::max(evenUp(block.width), kMinScreenWidth);
    const int lines = evenUp(static_cast<int>(block.lines.size()));
    const int row = exclusive ? 10 : 8;
    const int height = exclusive ? 10 * lines + 19 : 8 * lines + 16;

    DialogTemplateWriter writer(kScreenDialogStyle, {0, 0, 4 * w, height}, look.pointSize,
                                look.face);
    int optionsInDialog = 0;
    for (size_t r = 0; r < block.lines.size(); ++r) {
        const std::string_view line = block.lines[r];
        if (line.empty())
            continue;
        const int y = row * static_cast<int>(r);
        if (group && lexical::isDecimalDigit(line[0])) {
            OptionItem item;
            const TemplateError error = makeOption(line, options, groups, item);
            if (error != TemplateError::None)
                return failure(error, static_cast<int>(r), std::string(line));
            uint32_t style = kCheckBoxStyle;
            if (exclusive) {
                style = groups.radioButtonMade ? kRadioButtonStyle : kFirstRadioButtonStyle;
                groups.radioButtonMade = true;
            }
            writer.addItem(style, {4 * item.indent, y, 4 * w, row},
                           static_cast<uint16_t>(kFirstOptionId + optionsInDialog++),
                           ControlClass::Button, item.text);
            continue;
        }
        const std::string_view text = group ? line.substr(std::min<size_t>(2, line.size())) : line;
        writer.addItem(exclusive ? kStaticStyle : kGroupedStaticStyle, {0, y, 4 * w, row},
                       kStaticTextId, ControlClass::Static, text);
    }

    if (exclusive) {
        writer.addItem(kOkButtonStyle, {4 * ((w - 30) / 2), 10 * lines, 36, 12}, kOkId,
                       ControlClass::Button, look.okText);
        writer.addItem(kCancelButtonStyle, {4 * (w / 2) + 20, 10 * lines, 36, 12}, kCancelId,
                       ControlClass::Button, look.cancelText);
    } else if (kind == Kind::ExitMessage) {
        writer.addItem(kOkButtonStyle, {2 * w - 20, 8 * lines, 40, 12}, kOkId, ControlClass::Button,
                       look.okText);
    } else {
        writer.addItem(kOkButtonStyle, {w - 12, 8 * lines, 40, 12}, kOkId, ControlClass::Button,
                       look.okText);
        writer.addItem(kCancelButtonStyle, {3 * w - 28, 8 * lines, 40, 12}, kCancelId,
                       ControlClass::Button, look.cancelText);
    }

    BuiltTemplate result;
    result.bytes = writer.finish();
    result.lines = std::move(block.lines);
    return result;
}

} // namespace

DialogLook dialogLookFor(std::string_view ownFace, int32_t ownSize, std::string_view screenFace,
                         std::string_view okText, std::string_view cancelText) {
    DialogLook look;
    look.face = std::string(ownFace.empty() ? screenFace : ownFace);
    look.pointSize =
        static_cast<uint16_t>(ownSize <= 0 ? kDefaultPointSize : std::min(ownSize, kMaxPointSize));
    look.okText = okText;
    look.cancelText = cancelText;
    return look;
}

BuiltTemplate buildScreenTemplate(TextStore& store, ScreenMode mode, const DialogLook& look,
                                  lexical::OptionTables& options, GroupBuildState& groups) {
    const Kind kind = mode == ScreenMode::Group         ? Kind::Group
                      : mode == ScreenMode::ExitMessage ? Kind::ExitMessage
                                                        : Kind::Screen;
    return build(store, kind, look, options, groups);
}

BuiltTemplate buildExclusiveGroupTemplate(TextStore& store, const DialogLook& look,
                                          lexical::OptionTables& options, GroupBuildState& groups) {
    return build(store, Kind::ExclusiveGroup, look, options, groups);
}

BuiltTemplate buildPopupTemplate(TextStore& store, const DialogLook& look) {
    ScreenBlock block;
    if (!store.take(block))
        return failure(TemplateError::NoBlock);
    const int w = evenUp(block.width);
    const int lines = static_cast<int>(block.lines.size());
    DialogTemplateWriter writer(kPopupDialogStyle, {0, 0, 4 * w, 8 * lines}, look.pointSize,
                                look.face);
    for (size_t r = 0; r < block.lines.size(); ++r) {
        if (!block.lines[r].empty())
            writer.addItem(kStaticStyle, {0, 8 * static_cast<int>(r), 4 * w, 8}, kStaticTextId,
                           ControlClass::Static, block.lines[r]);
    }
    BuiltTemplate result;
    result.bytes = writer.finish();
    result.lines = std::move(block.lines);
    return result;
}

} // namespace kestrel::ui
