#pragma once
// The eleven translatable texts, in key order: the key of each in a pack's
// [Data] section, its control and the built-in English text. The tests' one
// copy; the resource test keeps its own literal template as an independent
// check of the dialog.

#include "res/resource.h"

struct InterfaceText {
    const char* key;
    int control;
    const char* english;
};

inline constexpr InterfaceText kInterfaceTexts[] = {
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
