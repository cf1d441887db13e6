// Where the main window's controls go: the control table's 96-DPI places,
// scaled to the window's DPI, widened where a caption of the current
// language needs more room, and stretched with the window. Pure: no window
// is touched here.
#pragma once

#include "app/window_state.h"

#include <windows.h>

#include <array>

struct LayoutInput {
    unsigned dpi = 96;
    SIZE client = {};     // the client area now
    SIZE baseClient = {}; // the client area at the window's first size, at this DPI
    // Width of each control's caption in the window's font, 0 where it has none.
    std::array<int, CONTROL_COUNT> captionWidth = {};
    int checkMarkWidth = 0; // the check box's box and the gap after it
};

using ControlPlaces = std::array<RECT, CONTROL_COUNT>;

ControlPlaces layoutControls(const LayoutInput& input);

// With the queue's list shown: the list takes the upper part of the log's
// room, and the log's label and the log move below it. Returns the list's place.
RECT placeQueueList(ControlPlaces& places, unsigned dpi);

// The window's first and smallest outer size at a DPI.
SIZE firstWindowSize(unsigned dpi);

// Room a caption is given around its text, in 96-DPI pixels.
constexpr int LABEL_GAP = 6;       // after a label's text, before what follows
constexpr int BUTTON_MARGIN = 10;  // on each side of a button's text
