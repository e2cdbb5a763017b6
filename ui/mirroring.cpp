#include "ui/mirroring.h"

#include "res/resource.h"
#include "ui/globals.h"

namespace {

// The boxes hold URIs and HTML, which read left to right in any language:
// they only move to their mirrored places.
bool ReadsLeftToRight(HWND control) {
    const int id = GetDlgCtrlID(control);
    return id == IDC_URI || id == IDC_DESCRIPTION || id == IDC_CRYPTED;
}

void SetExtendedStyle(HWND window, LONG_PTR bits, bool on) {
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_EXSTYLE);
    SetWindowLongPtrA(window, GWL_EXSTYLE, on ? style | bits : style & ~bits);
}

} // namespace

void SetDialogReadingOrder(bool rightToLeft) {
    const bool mirrored = (GetWindowLongPtrA(MainDialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    if (mirrored == rightToLeft) {
        return;
    }
    // Flipping the dialog's layout leaves its controls where they are on the
    // screen, so each first moves to its mirror image in the current layout,
    // which the flipped one then reads as the template's own place.
    RECT client;
    GetClientRect(MainDialog, &client);
    for (HWND control = GetWindow(MainDialog, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(control, &place);
        MapWindowPoints(nullptr, MainDialog, reinterpret_cast<POINT*>(&place), 2);
        SetWindowPos(control, nullptr, client.right - place.right, place.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!ReadsLeftToRight(control)) {
            SetExtendedStyle(control, WS_EX_LAYOUTRTL | WS_EX_RTLREADING, rightToLeft);
        }
    }
    // The language box's drop-down list is a window of its own, not a child.
    COMBOBOXINFO languageBox{};
    languageBox.cbSize = sizeof languageBox;
    if (GetComboBoxInfo(GetDlgItem(MainDialog, IDC_LANGUAGE), &languageBox)) {
        SetExtendedStyle(languageBox.hwndList, WS_EX_LAYOUTRTL | WS_EX_RTLREADING, rightToLeft);
    }
    SetExtendedStyle(MainDialog, WS_EX_LAYOUTRTL, rightToLeft);
    // The frame and caption take the new layout only when told of it.
    SetWindowPos(MainDialog, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(MainDialog, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}
