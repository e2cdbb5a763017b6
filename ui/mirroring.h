#pragma once
// The main window's reading order: left to right as the template lays it
// out, or mirrored for a language written right to left.

// Mirrors the main dialog, or restores it; does nothing when it already reads
// that way, so a window that was never mirrored is never touched.
void SetDialogReadingOrder(bool rightToLeft);
