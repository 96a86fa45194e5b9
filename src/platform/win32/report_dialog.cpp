#include "platform/report_dialog.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/win32/own_module.h"
#include "platform/win32/resource_source.h"

namespace vivo::platform {
namespace {

struct DialogState {
    const ReportDialogForm& form;
    std::string_view summaryText;
    bool generateUpgradeFile;
    ReportDialogOutcome outcome;
};

std::string ControlText(HWND dialog, int control) {
    HWND window = GetDlgItem(dialog, control);
    if (window == nullptr) return {};
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int got = GetDlgItemTextA(dialog, control, text.data(), length + 1);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

INT_PTR CALLBACK ReportDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<DialogState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        // A report may be longer than an edit control takes by default.
        SendDlgItemMessageA(dialog, state->form.summaryTextControl, EM_SETLIMITTEXT, 0, 0);
        const std::string text(state->summaryText);
        SetDlgItemTextA(dialog, state->form.summaryTextControl, text.c_str());
        CheckDlgButton(dialog, state->form.checkBoxControl,
                       state->generateUpgradeFile ? BST_CHECKED : BST_UNCHECKED);
        return TRUE;
    }
    case WM_COMMAND: {
        auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (state == nullptr) return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            state->outcome.ok = true;
            state->outcome.summaryText = ControlText(dialog, state->form.summaryTextControl);
            state->outcome.generateUpgradeFile =
                IsDlgButtonChecked(dialog, state->form.checkBoxControl) == BST_CHECKED;
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:  // Escape: nothing is read back
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    }
    default:
        return FALSE;
    }
}

// The window that is active when the report is asked for (the host's) owns the dialog.
INT_PTR ShowFrom(HMODULE module, DialogState& state) {
    return DialogBoxParamA(module, MAKEINTRESOURCEA(state.form.templateId), GetActiveWindow(),
                           ReportDialogProc, reinterpret_cast<LPARAM>(&state));
}

}  // namespace

ReportDialogOutcome ShowReportDialog(const ReportDialogForm& form, std::string_view summaryText,
                                     bool generateUpgradeFile) {
    DialogState state{form, summaryText, generateUpgradeFile, {}};
    // The template of the current resource source; a library without it leaves the plug-in's own.
    INT_PTR result = -1;
    if (ResourceLibrary* library = CurrentResourceSource()) result = ShowFrom(ResourceModule(library), state);
    if (result == -1) result = ShowFrom(OwnModule(), state);
    if (result == -1) state.outcome = {};
    return state.outcome;
}

}  // namespace vivo::platform
