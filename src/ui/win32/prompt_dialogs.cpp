#include "ui/win32/prompt_dialogs.h"

#include "ui/ask_answer.h"
#include "ui/dialog_template.h"
#include "ui/group_choice.h"
#include "ui/prompt_lines.h"
#include "ui/win32/dialog_controls.h"
#include "ui/win32/dialog_resources.h"

#include <memory>
#include <span>

namespace kestrel::ui::win32 {

namespace {

// Their quit questions: the screens' caption is empty, the ASK dialog's one blank.
constexpr std::string_view kPromptQuitCaption = "";
constexpr std::string_view kAskQuitCaption = " ";

// Typed text that the checks below take whole: the destination's capacity less its drive.
constexpr size_t kTypedPathLimit = kDestinationCapacity - 2;

constexpr int kFirstDestinationDialog = 200;
constexpr int kDestinationDialogStep = 50;

void limitText(HWND dialog, int id, size_t characters) {
    SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, WPARAM(characters), 0);
}

} // namespace

// ---------------------------------------------------------------------------- PromptDialog

os::PromptResult PromptDialog::showScreen(const std::vector<uint8_t>& dialogTemplate) {
    if (environment_.ending())
        return os::kIdCancel;
    const INT_PTR result = runModal(dialogTemplate, environment_.module(), environment_.parent(),
                                    environment_.modals());
    return result == IDCANCEL ? os::kIdCancel : os::kIdOk;
}

void PromptDialog::onInit() {
    environment_.place(window(), DialogKind::Prompt);
}

void PromptDialog::onCancel() {
    if (environment_.confirmQuit(window(), kPromptQuitCaption))
        end(IDCANCEL);
}

// ----------------------------------------------------------------------------- GroupDialog

bool GroupDialog::choose(const script::BuiltScreen& screen) {
    if (environment_.ending())
        return false;
    return runModal(screen.dialogTemplate, environment_.module(), environment_.parent(),
                    environment_.modals()) == IDOK;
}

void GroupDialog::onInit() {
    PromptDialog::onInit();
    const auto preselected = std::make_unique<bool[]>(size_t(optionCount_));
    for (int32_t k = 0; k < optionCount_; ++k)
        preselected[size_t(k)] = options_.preselected(firstOption_ + k);
    const std::span<const bool> flags(preselected.get(), size_t(optionCount_));
    for (const int32_t k : initiallyChecked(flags, exclusive_)) {
        const int id = kFirstOptionId + k;
        if (exclusive_)
            CheckRadioButton(window(), kFirstOptionId, kFirstOptionId + optionCount_ - 1, id);
        else
            CheckDlgButton(window(), id, BST_CHECKED);
    }
}

void GroupDialog::onOk() {
    // A group without options has nothing to choose: OK goes on.
    if (optionCount_ == 0) {
        end(IDOK);
        return;
    }
    const auto checked = std::make_unique<bool[]>(size_t(optionCount_));
    for (int32_t k = 0; k < optionCount_; ++k)
        checked[size_t(k)] = IsDlgButtonChecked(window(), kFirstOptionId + k) == BST_CHECKED;
    const GroupChoice choice =
        chooseGroup(std::span<const bool>(checked.get(), size_t(optionCount_)));
    if (!choice.accepted) {
        environment_.tell(window(), environment_.prompts().noGroup);
        return;
    }
    for (const int32_t k : choice.selected)
        options_.setSelected(firstOption_ + k, true);
    end(IDOK);
}

// ----------------------------------------------------------------------- DestinationDialog

std::optional<std::string> DestinationDialog::choose() {
    const int32_t mode = askMode();
    if (mode == 0 || mode == 4 || mode == 5)
        return prompt_.path;
    if (mode < 1 || mode > 3) {
        const DestinationAnswer unknown = acceptDestination(mode, prompt_.path, "");
        environment_.tell(environment_.parent(), unknown.message);
        return prompt_.path;
    }
    if (environment_.ending())
        return std::nullopt;
    const int resource = kFirstDestinationDialog + kDestinationDialogStep * mode;
    if (runModal(environment_.module(), resource, environment_.parent(), environment_.modals()) !=
        IDOK)
        return std::nullopt;
    return answer_;
}

void DestinationDialog::onInit() {
    const int32_t mode = askMode();
    showPromptRows(window(), destinationPromptLines(prompt_.promptText, prompt_.promptGiven, mode));
    captionButtons(window(), environment_.settings().okText, environment_.settings().cancelText);
    fields_ = destinationFields(mode, prompt_.path);
    setItemText(KESTREL_DESTINATION_EDIT, fields_.edit);
    if (mode == 1)
        setItemText(KESTREL_DESTINATION_FIXED_DRIVE, fields_.drive);
    if (mode == 2)
        setItemText(KESTREL_DESTINATION_FIXED_REST, fields_.fixedRest);
    else
        limitText(window(), KESTREL_DESTINATION_EDIT, kTypedPathLimit);
    PromptDialog::onInit();
}

void DestinationDialog::onOk() {
    const std::string typed = itemText(KESTREL_DESTINATION_EDIT);
    const DestinationAnswer answer = acceptDestination(askMode(), fields_.path, typed);
    switch (answer.verdict) {
    case DestinationVerdict::CreateDirectories:
        // The maker reports its own failure (the bad directory text).
        if (makeDirectories_ && !makeDirectories_(answer.path)) {
            setItemText(KESTREL_DESTINATION_EDIT, typed);
            return;
        }
        answer_ = answer.path;
        end(IDOK);
        return;
    case DestinationVerdict::BadDrive:
        refuse(environment_.settings().badDriveText, typed);
        return;
    case DestinationVerdict::BadDirectory:
        refuse(environment_.settings().badDirectoryText, typed);
        return;
    case DestinationVerdict::Unchanged:
    case DestinationVerdict::UnknownAskMode:
        answer_ = fields_.path;
        end(IDOK);
        return;
    }
}

void DestinationDialog::refuse(const std::string& message, const std::string& typed) {
    environment_.tell(window(), message);
    setItemText(KESTREL_DESTINATION_EDIT, typed);
}

// -------------------------------------------------------------------------------- AskDialog

bool AskDialog::ask() {
    if (environment_.ending())
        return false;
    return runModal(environment_.module(), script::AskPrompt::kDialogResource,
                    environment_.parent(), environment_.modals()) == IDOK;
}

void AskDialog::onInit() {
    showPromptRows(window(), askPromptLines(prompt_.promptText, prompt_.promptGiven));
    captionButtons(window(), environment_.settings().okText, environment_.settings().cancelText);
    limitText(window(), KESTREL_ASK_EDIT, kAskAnswerCapacity);
    setItemText(KESTREL_ASK_EDIT, prompt_.answer);
    environment_.place(window(), DialogKind::Ask);
}

void AskDialog::onOk() {
    prompt_.answer = askAnswer(itemText(KESTREL_ASK_EDIT));
    end(IDOK);
}

void AskDialog::onCancel() {
    if (environment_.confirmQuit(window(), kAskQuitCaption))
        end(IDCANCEL);
}

std::optional<INT_PTR> AskDialog::onMessage(UINT message, WPARAM wParam, LPARAM) {
    return windowColours(message, wParam);
}

} // namespace kestrel::ui::win32
