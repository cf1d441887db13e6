// The account and language settings dialog (template IDD_SETTINGS).
#pragma once

#include "config/config.h"
#include "text/catalogue.h"

#include <windows.h>

#include <array>
#include <string>

// Reloads settingsConfig from the file and runs the dialog modally over the
// owner. On OK the dialog has saved the file, switched currentLanguage and
// called languageApplied (which puts the language on the owner) before it
// closes.
void openSettingsDialog(HINSTANCE instance, HWND owner, void (*languageApplied)());

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// OK's work on the document: the five account values (in the order of
// ACCOUNT_KEYS), ui_lang from the list position (none selected counts as
// Chinese) and ffmpeg_path "embedded" only when absent. Nothing else is
// touched. Returns the language to switch to.
LanguageIndex applyAccountSettings(AppConfig& config, const std::array<std::string, 5>& values, int languagePosition);
