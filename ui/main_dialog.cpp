#include "ui/main_dialog.h"

#include "compose/compose.h"
#include "language/interface_texts.h"
#include "language/language_list.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "ui/code_page.h"
#include "ui/globals.h"
#include "ui/program_paths.h"

#include <commctrl.h>

namespace {

// Each input box is read with this capacity, terminator included, so the
// composer sees at most 32,765 bytes of each.
enum { InputCapacity = 32766 };

// A multi-line edit control in a dialog answers Esc by posting WM_CLOSE to
// the dialog, which would end the program and throw the result away; the key
// does nothing there, as it does everywhere else in the window. Put in front
// by comctl32, the box stays a Unicode window and keeps every character typed.
LRESULT CALLBACK KeepEscapeFromOutputBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR) {
    if ((message == WM_KEYDOWN || message == WM_CHAR) && wParam == VK_ESCAPE) {
        return 0;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

void DeriveGlobalPaths() {
    char modulePath[PathCapacity];
    DeriveProgramPaths(ReadModulePath(modulePath) ? modulePath : nullptr, ExeDirectory,
                       SettingsPath);
}

void OnInitDialog(HWND dialog) {
    DeriveGlobalPaths();
    MainDialog = dialog;
    SetWindowIcons();
    SetWindowSubclass(GetDlgItem(MainDialog, IDC_CRYPTED), KeepEscapeFromOutputBox, 0, 0);
    CheckDlgButton(MainDialog, IDC_GENERATE_HTML, BST_CHECKED);
    AddLanguageItem("English (USA)");
    LoadSettings();
    int selected = BuildLanguageList();
    SendDlgItemMessageA(MainDialog, IDC_LANGUAGE, CB_SETCURSEL, selected, 0);
    ApplyInterfaceTexts();
}

void EndMainDialog() {
    EndDialog(MainDialog, 0);
}

bool IsChecked(int controlId) {
    return IsDlgButtonChecked(MainDialog, controlId) == BST_CHECKED;
}

// A click on one of the buttons; the script check box toggles itself.
void OnClick(WORD id) {
    switch (id) {
    case IDC_GENERATE_HTML:
        UpdateHtmlOptionControls();
        break;
    case IDC_CRYPT:
        OnCryptCommand();
        break;
    case IDC_EXIT:
        EndMainDialog();
        break;
    case IDC_COPY:
        CopyOutputToClipboard();
        break;
    default:
        break;
    }
}

void OnCommand(WORD code, WORD id, bool fromControl) {
    // Menus and accelerators, and with them Enter and Esc (the window has no
    // OK or Cancel button), come without a control and do nothing.
    if (!fromControl) {
        return;
    }
    if (code == BN_CLICKED) {
        OnClick(id);
    } else if (code == CBN_SELCHANGE && id == IDC_LANGUAGE) {
        SelectLanguageByIndex();
        ApplyInterfaceTexts();
    }
}

} // namespace

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(HIWORD(wParam), LOWORD(wParam), lParam != 0);
        return TRUE;
    case WM_CLOSE:
        EndMainDialog();
        return TRUE;
    case WM_DESTROY:
        SaveSettings();
        FreeLanguageList(LanguageList);
        return TRUE;
    default:
        return FALSE;
    }
}

void SetWindowIcons() {
    HICON icon = LoadIconA(InstanceHandle, MAKEINTRESOURCEA(IDI_MAIN));
    const WPARAM kinds[] = {ICON_SMALL, ICON_BIG, ICON_SMALL2};
    for (WPARAM kind : kinds) {
        SendMessageA(MainDialog, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    }
}

void UpdateHtmlOptionControls() {
    BOOL enabled = IsChecked(IDC_GENERATE_HTML);
    const int dependents[] = {IDC_USE_SCRIPT, IDC_DESCRIPTION_LABEL, IDC_DESCRIPTION};
    for (int id : dependents) {
        EnableWindow(GetDlgItem(MainDialog, id), enabled);
    }
}

void OnCryptCommand() {
    // Both inputs share one allocation; if memory cannot be had the output
    // box keeps what it showed.
    char* inputs = static_cast<char*>(GlobalAlloc(GPTR, 2 * InputCapacity));
    if (!inputs) {
        return;
    }
    CryptRequest request;
    request.uri = inputs;
    request.description = inputs + InputCapacity;
    GetDlgItemTextA(MainDialog, IDC_URI, inputs, InputCapacity);
    GetDlgItemTextA(MainDialog, IDC_DESCRIPTION, inputs + InputCapacity, InputCapacity);
    request.generateHtml = IsChecked(IDC_GENERATE_HTML);
    request.useScript = IsChecked(IDC_USE_SCRIPT);
    // The boxes hand over text in the system's code page, which references
    // must name as characters.
    request.readCharacter = CharacterReaderFor(GetACP());
    char* output = ComposeCryptedText(request);
    if (output) {
        SetDlgItemTextA(MainDialog, IDC_CRYPTED, output);
        FreeCryptedText(output);
    }
    GlobalFree(inputs);
}

// The box's own WM_COPY fails unseen while another program holds the clipboard, as clipboard
// managers do for a moment: it is opened here, and tried for about a second, as .NET does.
void CopyOutputToClipboard() {
    SendDlgItemMessageA(MainDialog, IDC_CRYPTED, EM_SETSEL, 0, -1);
    const int length = GetWindowTextLengthW(GetDlgItem(MainDialog, IDC_CRYPTED));
    HGLOBAL text = length ? GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(WCHAR)) : nullptr;
    if (!text) {
        return; // nothing to copy, or no memory to copy it with
    }
    GetDlgItemTextW(MainDialog, IDC_CRYPTED, static_cast<WCHAR*>(GlobalLock(text)), length + 1);
    GlobalUnlock(text);
    BOOL open = OpenClipboard(MainDialog);
    for (int retry = 0; !open && retry < 10; ++retry) {
        Sleep(100);
        open = OpenClipboard(MainDialog);
    }
    // Windows makes the ANSI text from the Unicode text when it is asked for.
    if (!open || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, text)) {
        GlobalFree(text);
        MessageBeep(MB_ICONWARNING); // the result stays selected, for Ctrl+C
    }
    if (open) {
        CloseClipboard();
    }
}
