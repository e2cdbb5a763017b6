#include "language/interface_texts.h"

#include "language/language_list.h"
#include "res/resource.h"
#include "settings/profile.h"
#include "ui/mirroring.h"

#include <string.h>

namespace {

struct InterfaceText {
    const char* key;
    int controlId;
    const char* builtIn;
};

// In the order the texts are applied; the built-in texts equal the dialog
// template's.
const InterfaceText InterfaceTexts[] = {
    {"0", IDC_LANGUAGE_GROUP, "Interface Language"},
    {"1", IDC_LANGUAGE_LABEL, "&Language:"},
    {"2", IDC_URI_GROUP, "URI"},
    {"3", IDC_URI_LABEL, "&URI:"},
    {"4", IDC_GENERATE_HTML, "&Generate HTML Code"},
    {"5", IDC_USE_SCRIPT, "Use &Script Method"},
    {"6", IDC_DESCRIPTION_LABEL, "&Description:"},
    {"7", IDC_CRYPTED_LABEL, "Cryp&ted:"},
    {"8", IDC_CRYPT, "C&rypt"},
    {"9", IDC_COPY, "&Copy to Clipboard"},
    {"10", IDC_EXIT, "E&xit"},
};

enum { TextCapacity = 2048 };

void ApplyBuiltInTexts() {
    for (const InterfaceText& text : InterfaceTexts) {
        SetDlgItemTextA(MainDialog, text.controlId, text.builtIn);
    }
}

// A pack for a language written right to left says so in [Info]; any other
// pack, and an ANSI one written before the key existed, reads left to right.
bool IsRightToLeftPack(const char* packPath) {
    char value[2];
    ReadProfileValue("Info", "RightToLeft", "0", value, sizeof value, packPath);
    return value[0] == '1';
}

void ApplyPackTexts(const char* packPath) {
    FlushProfile(packPath);
    for (const InterfaceText& row : InterfaceTexts) {
        // A missing key leaves the English text.
        char text[TextCapacity];
        ReadProfileValue("Data", row.key, row.builtIn, text, TextCapacity, packPath);
        SetDlgItemTextA(MainDialog, row.controlId, text);
    }
    SetDialogReadingOrder(IsRightToLeftPack(packPath));
    FlushProfile(packPath);
}

} // namespace

void ApplyInterfaceTexts() {
    char packPath[PathCapacity];
    // A pack whose path cannot be formed whole reads as a missing pack.
    if (strcmp(CurrentLanguageFile, DefaultLanguageToken) == 0 ||
        !BuildPackPath(packPath, CurrentLanguageFile)) {
        ApplyBuiltInTexts();
        SetDialogReadingOrder(false);
        return;
    }
    ApplyPackTexts(packPath);
}
