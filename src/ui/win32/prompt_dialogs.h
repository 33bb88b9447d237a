// The installer's modal dialogs. Each places itself in the plug-in area when it opens and asks
// the quit question when the user cancels (Cancel, Escape or the close box): only Yes ends it
// as cancelled.
//
//   PromptDialog       the first and last screens and the exit message, from their templates
//   GroupDialog        a BEGINGROUP block's options as check boxes or radio buttons
//   DestinationDialog  the destination drive, directory or both (resources 250, 300, 350)
//   AskDialog          one free-text answer (resource 601), always centred
#pragma once

#include "host/installer_dialogs.h"
#include "lexical/option_tables.h"
#include "os/prompts.h"
#include "script/install_script.h"
#include "ui/destination_answer.h"
#include "ui/win32/dialog_environment.h"
#include "ui/win32/dialog_window.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::ui::win32 {

class PromptDialog : public DialogWindow {
  public:
    explicit PromptDialog(DialogEnvironment& environment) : environment_(environment) {}

    // A screen from its template: OK, or Cancel when the user quit. A template that cannot be
    // made into a dialog is a screen left out: OK.
    os::PromptResult showScreen(const std::vector<uint8_t>& dialogTemplate);

  protected:
    void onInit() override;
    void onCancel() override;

    DialogEnvironment& environment_;
};

class GroupDialog final : public PromptDialog {
  public:
    // The options [firstOption, endOption) of screen; checked ones are marked selected in
    // options on OK.
    GroupDialog(DialogEnvironment& environment, bool exclusive, int32_t firstOption,
                int32_t endOption, lexical::OptionTables& options)
        : PromptDialog(environment), exclusive_(exclusive), firstOption_(firstOption),
          optionCount_(endOption > firstOption ? endOption - firstOption : 0), options_(options) {}

    // False when the user quit.
    bool choose(const script::BuiltScreen& screen);

  private:
    void onInit() override;
    void onOk() override;

    bool exclusive_;
    int32_t firstOption_;
    int32_t optionCount_;
    lexical::OptionTables& options_;
};

class DestinationDialog final : public PromptDialog {
  public:
    DestinationDialog(DialogEnvironment& environment, const script::DirectoryPrompt& prompt,
                      const host::DirectoryMaker& makeDirectories)
        : PromptDialog(environment), prompt_(prompt), makeDirectories_(makeDirectories) {}

    // The path chosen (made by makeDirectories), or nothing when the user quit.
    std::optional<std::string> choose();

  private:
    void onInit() override;
    void onOk() override;
    int32_t askMode() const { return int32_t(prompt_.askMode); }
    void refuse(const std::string& message, const std::string& typed);

    const script::DirectoryPrompt& prompt_;
    const host::DirectoryMaker& makeDirectories_;
    DestinationFields fields_;
    std::string answer_;
};

class AskDialog final : public DialogWindow {
  public:
    AskDialog(DialogEnvironment& environment, script::AskPrompt& prompt)
        : environment_(environment), prompt_(prompt) {}

    // On OK the typed answer goes into the record; false when the user quit.
    bool ask();

  private:
    void onInit() override;
    void onOk() override;
    void onCancel() override;
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    DialogEnvironment& environment_;
    script::AskPrompt& prompt_;
};

} // namespace kestrel::ui::win32
