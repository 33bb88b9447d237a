// Feeds arbitrary lines to the readers of the list-item commands (WINITEM, AUTOEXEC, CONFIG,
// INIFILE, ADDTEXT) and to the registry block reader: none may crash or read past its line,
// and every text a reader keeps must fit its place.
#include "fakes/line_list_source.h"
#include "files/registry_block.h"
#include "lexical/field_cursor.h"
#include "lexical/line_source.h"
#include "lexical/macros.h"
#include "support/after_keyword.h"
#include "sysedit/add_text.h"
#include "sysedit/autoexec_edit.h"
#include "sysedit/config_edit.h"
#include "sysedit/ini_edit.h"
#include "sysedit/win_item_entry.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kestrel;

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    lexical::MacroVariables macros;
    macros.setDefaultDir("C:\\KESTREL");
    const std::string& first = lines.front();

    {
        auto cursor = test::afterKeyword(first, &macros);
        auto entry = sysedit::parseWinItemEntry(cursor);
        if (!entry.error) {
            check(entry.item.group.size() <= sysedit::WinItemEntry::kGroupCapacity);
            check(entry.item.itemName.size() <= sysedit::WinItemEntry::kItemNameCapacity);
            check(entry.item.iconPath.size() <= sysedit::WinItemEntry::kIconPathCapacity);
        }
    }
    {
        auto cursor = test::afterKeyword(first, &macros);
        sysedit::AutoexecEdit edit;
        sysedit::parseAutoexec(edit, cursor);
        check(edit.shareFiles >= 0 && edit.shareLocks >= 0);
    }
    {
        auto cursor = test::afterKeyword(first, &macros);
        sysedit::ConfigEdit edit;
        if (sysedit::parseConfig(edit, cursor).ok())
            check(edit.filesMinimum >= -1 && edit.buffersMinimum >= -1);
    }
    {
        auto cursor = test::afterKeyword(first, &macros);
        auto edit = sysedit::parseIniFile(cursor);
        if (!edit.error)
            check(edit.item.section.size() <= sysedit::IniEdit::kSectionCapacity &&
                  edit.item.file.size() <= sysedit::IniEdit::kFileCapacity);
    }
    {
        auto cursor = test::afterKeyword(first, &macros);
        const std::string_view half(first.data(), first.size() / 2);
        auto entry = sysedit::parseAddText(cursor, {half, half, half});
        if (!entry.error)
            check(entry.item.text.size() <= sysedit::TextInsertion::kTextCapacity &&
                  entry.item.where.size() <= sysedit::TextInsertion::kWhereCapacity);
    }
    {
        test::LineListSource source(lines);
        lexical::FieldCursor cursor(&macros);
        files::RegistryBlockParse parsed = files::parseRegistryBlock(cursor, source);
        check(parsed.linesTaken <= static_cast<int>(lines.size()));
        if (parsed.ok() && parsed.block)
            check(parsed.block->values.size() <= files::RegistryBlock::kMaxValues);
    }
    return 0;
}
