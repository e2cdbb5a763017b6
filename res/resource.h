#pragma once
// Identifiers of the executable's resources and of the main dialog's controls.
// Plain #defines: the resource compiler and the C++ code read the same file.

// Resources
#define IDD_MAIN 101 // the main window's dialog template
#define IDI_MAIN 102 // the application's icon group

// Controls of IDD_MAIN, in their order in the template (which is the tab order)
#define IDC_LANGUAGE_GROUP 1013
#define IDC_LANGUAGE_LABEL 1012
#define IDC_LANGUAGE 1011
#define IDC_URI_GROUP 1014
#define IDC_URI_LABEL 1015
#define IDC_URI 1002
#define IDC_GENERATE_HTML 1004
#define IDC_USE_SCRIPT 1007
#define IDC_DESCRIPTION_LABEL 1010
#define IDC_DESCRIPTION 1008
#define IDC_CRYPTED_LABEL 1016
#define IDC_CRYPTED 1003
#define IDC_CRYPT 1005
#define IDC_COPY 1009
#define IDC_EXIT 1006
