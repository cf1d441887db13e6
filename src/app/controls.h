// What the main window shows: the control table, the captions and tooltips
// each language puts on it, and the operations that build and re-label it.
#pragma once

#include "app/window_state.h"
#include "text/catalogue.h"

#include <windows.h>

struct ControlRow {
    int id;                  // 0 for the labels
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height; // client pixels; the list's height includes its drop-down
    int chineseTextId;       // a TextId shown until the first re-labelling, or -1
    const wchar_t* fixedText; // text that no language replaces, or null
};

struct CaptionRow {
    ControlIndex control;
    TextId text;
};

struct TooltipRow {
    ControlIndex control;
    TipId tip;
};

extern const ControlRow CONTROL_TABLE[CONTROL_COUNT];
constexpr int CAPTION_COUNT = 12;
extern const CaptionRow CAPTION_TABLE[CAPTION_COUNT];
constexpr int MAIN_TOOLTIP_COUNT = 13;
extern const TooltipRow TOOLTIP_TABLE[MAIN_TOOLTIP_COUNT];

constexpr int MAIN_WINDOW_WIDTH = 730;
constexpr int MAIN_WINDOW_HEIGHT = 610;
constexpr int FIRST_SPEAKER_COUNT = 2;
constexpr int LAST_SPEAKER_COUNT = 10;
constexpr COLORREF LINK_COLOUR = RGB(0, 102, 204);

// The UI font at a DPI: -12 pixels at 96 DPI.
HFONT createUiFont(unsigned dpi);

// The UI font and the 17 controls at the window's DPI, the speakers list
// filled with 2..10 and "2" selected.
void createMainControls();

// Puts every control where the layout wants it for the window's DPI, size
// and language.
void layoutMainWindow();

// The menu items' states as the run and the queue stand now (grey, checked).
void updateMenuStates(HMENU menu);

// Gives every control the font.
void applyFont(HFONT font);

// Title, captions, menu bar and tooltip window in the current language; the
// menu and the tooltip window are rebuilt whole, and the controls laid out
// for the captions. Fields, selection, check box and log are left as they are.
void applyUiLanguage();
