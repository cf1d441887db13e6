// The account and language settings dialog (template IDD_SETTINGS).
#pragma once

#include "config/config.h"
#include "text/catalogue.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

// Reloads settingsConfig from the file and runs the dialog modally over the
// owner. On OK the dialog has saved the file, switched currentLanguage and
// called languageApplied (which puts the language on the owner) before it
// closes.
void openSettingsDialog(HINSTANCE instance, HWND owner, void (*languageApplied)());

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// What the user changed in the dialog: each of the five account values (in
// the order of ACCOUNT_KEYS) and the language list's position, or nothing
// where they left it as it was shown.
struct AccountChanges {
    std::array<std::optional<std::string>, 5> values;
    std::optional<int> languagePosition;
};

// OK's work on the document as the file holds it now: the changed account
// values, ui_lang from a changed list position (none selected counts as
// Chinese) and ffmpeg_path "embedded" only when absent. Nothing else is
// touched. Returns the language to switch to, when it changed.
std::optional<LanguageIndex> applyAccountSettings(AppConfig& config, const AccountChanges& changes);
