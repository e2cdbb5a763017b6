#pragma once
// The eleven translatable texts of the main window.

// Sets the texts from the language CurrentLanguageFile names: the built-in
// English for the default token, otherwise the pack's [Data] section, with the
// English text for every key the pack lacks.
void ApplyInterfaceTexts();
