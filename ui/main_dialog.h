#pragma once
// The main window's dialog procedure and the commands it carries out.

#include <windows.h>

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Each acts on MainDialog.
void SetWindowIcons();
void UpdateHtmlOptionControls();
void OnCryptCommand();
void CopyOutputToClipboard();
