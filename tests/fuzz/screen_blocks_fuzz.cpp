// Feeds arbitrary screen blocks through the reader and every template builder: none may crash,
// every error must name a line of the block, and every template built must read back as a
// well-formed dialog template whose controls match the block.
#include "../fakes/fixed_width_measure.h"
#include "../fakes/line_list_source.h"
#include "../support/dialog_template_reader.h"
#include "lexical/option_tables.h"
#include "ui/dialog_template.h"
#include "ui/screen_block.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const int kind = data[0] % 5;
    const int charWidth = data[1] % 32;
    std::vector<std::string> lines(1);
    for (size_t i = 2; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(static_cast<char>(data[i]));
    }
    const size_t served = lines.size();
    test::LineListSource source(std::move(lines));
    test::FixedWidthMeasure measure(charWidth, 8);
    ui::TextStore store;
    const ui::ScreenBlockRead read = ui::readScreenBlock(source, "END", {"Arial"}, measure, store);
    if (read.linesTaken < 0 || static_cast<size_t>(read.linesTaken) > served ||
        read.errorLineOffset > read.linesTaken || source.plainRead)
        std::abort();
    if (!read.ok())
        return 0;

    lexical::OptionTables options;
    ui::GroupBuildState groups{static_cast<int32_t>(data[1] % 101), false};
    const ui::DialogLook look = ui::dialogLookFor("", 0, "MS Sans Serif", "OK", "Cancel");
    ui::BuiltTemplate built;
    if (kind == 3)
        built = ui::buildExclusiveGroupTemplate(store, look, options, groups);
    else if (kind == 4)
        built = ui::buildPopupTemplate(store, look);
    else
        built = ui::buildScreenTemplate(store, static_cast<ui::ScreenMode>(kind), look, options,
                                        groups);
    if (!built.ok()) {
        if (built.errorLineIndex < 0 || built.errorLineIndex >= read.linesTaken)
            std::abort();
        return 0;
    }
    test::DialogTemplateReader reader(built.bytes);
    const auto dialog = reader.read();
    if (!dialog)
        std::abort();
    size_t textLines = 0;
    for (const std::string& line : built.lines)
        textLines += line.empty() ? 0 : 1;
    const size_t buttons = kind == 4 ? 0 : kind == 2 ? 1 : 2;
    if (dialog->items.size() != textLines + buttons || groups.optionCount > 100)
        std::abort();
    return 0;
}
