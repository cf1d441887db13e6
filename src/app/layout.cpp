#include "app/layout.h"

#include "app/controls.h"
#include "util/dpi.h"

#include <algorithm>

namespace {

RECT tablePlace(ControlIndex control, unsigned dpi)
{
    const ControlRow& row = CONTROL_TABLE[control];
    const int left = scaled(row.x, dpi);
    const int top = scaled(row.y, dpi);
    return RECT{left, top, left + scaled(row.width, dpi), top + scaled(row.height, dpi)};
}

void shift(RECT& place, int dx, int dy)
{
    OffsetRect(&place, dx, dy);
}

// Makes the place at least wide enough, keeping its right edge.
void widenLeftwards(RECT& place, int width)
{
    place.left = std::min(place.left, place.right - width);
}

void widenRightwards(RECT& place, int width)
{
    place.right = std::max(place.right, place.left + width);
}

} // namespace

SIZE firstWindowSize(unsigned dpi)
{
    return SIZE{scaled(MAIN_WINDOW_WIDTH, dpi), scaled(MAIN_WINDOW_HEIGHT, dpi)};
}

ControlPlaces layoutControls(const LayoutInput& input)
{
    const unsigned dpi = input.dpi;
    ControlPlaces places;
    for (int control = 0; control < CONTROL_COUNT; ++control) {
        places[control] = tablePlace(static_cast<ControlIndex>(control), dpi);
    }
    const auto caption = [&](ControlIndex control) { return input.captionWidth[control]; };
    const int labelGap = scaled(LABEL_GAP, dpi);
    const int buttonMargins = 2 * scaled(BUTTON_MARGIN, dpi);

    // The label column widens for the longest label; what follows it moves.
    static constexpr ControlIndex LABELS[] = {CTL_INPUT_LABEL, CTL_OUTPUT_LABEL, CTL_LABEL_LABEL, CTL_SPEAKERS_LABEL};
    int labelNeed = 0;
    for (const ControlIndex label : LABELS) {
        labelNeed = std::max(labelNeed, caption(label) + labelGap);
    }
    const int column = places[CTL_INPUT].left - places[CTL_INPUT_LABEL].left;
    const int extra = std::max(0, labelNeed - column);
    for (const ControlIndex label : LABELS) {
        places[label].right += extra;
    }
    places[CTL_INPUT].left += extra;
    places[CTL_OUTPUT].left += extra;
    for (const ControlIndex follower : {CTL_LABEL, CTL_CLIPS, CTL_SPEAKERS, CTL_SETTINGS}) {
        shift(places[follower], extra, 0);
    }

    // Buttons keep their right edge (Browse, OK) or their left (Settings).
    const int fieldGap = places[CTL_BROWSE_INPUT].left - places[CTL_INPUT].right;
    for (const auto [field, browse] : {std::pair{CTL_INPUT, CTL_BROWSE_INPUT}, std::pair{CTL_OUTPUT, CTL_BROWSE_OUTPUT}}) {
        widenLeftwards(places[browse], caption(browse) + buttonMargins);
        places[field].right = places[browse].left - fieldGap;
    }
    widenRightwards(places[CTL_SETTINGS], caption(CTL_SETTINGS) + buttonMargins);
    widenRightwards(places[CTL_CLIPS], input.checkMarkWidth + caption(CTL_CLIPS) + labelGap);
    widenRightwards(places[CTL_LOG_LABEL], caption(CTL_LOG_LABEL) + labelGap);
    widenRightwards(places[CTL_LINK], caption(CTL_LINK) + labelGap);
    const int buttonGap = places[CTL_OK].left - places[CTL_CANCEL].right;
    widenLeftwards(places[CTL_OK], caption(CTL_OK) + buttonMargins);
    const int cancelWidth = std::max<int>(places[CTL_CANCEL].right - places[CTL_CANCEL].left, caption(CTL_CANCEL) + buttonMargins);
    places[CTL_CANCEL].right = places[CTL_OK].left - buttonGap;
    places[CTL_CANCEL].left = places[CTL_CANCEL].right - cancelWidth;

    // The window's growth goes to the fields and the log; what sits at the
    // right or the bottom edge moves with it.
    const int dx = input.client.cx - input.baseClient.cx;
    const int dy = input.client.cy - input.baseClient.cy;
    places[CTL_INPUT].right += dx;
    places[CTL_OUTPUT].right += dx;
    shift(places[CTL_BROWSE_INPUT], dx, 0);
    shift(places[CTL_BROWSE_OUTPUT], dx, 0);
    places[CTL_LOG].right += dx;
    places[CTL_LOG].bottom += dy;
    shift(places[CTL_CANCEL], dx, dy);
    shift(places[CTL_OK], dx, dy);
    shift(places[CTL_LINK], 0, dy);
    return places;
}

RECT placeQueueList(ControlPlaces& places, unsigned dpi)
{
    RECT& label = places[CTL_LOG_LABEL];
    RECT& log = places[CTL_LOG];
    const int top = label.top;
    const int labelToLog = log.top - label.top;
    const int gap = scaled(8, dpi);
    // Two fifths of the room for the list, but never less than a few rows.
    const int room = log.bottom - top;
    const int height = std::max(scaled(90, dpi), room * 2 / 5);
    const RECT list = {log.left, top, log.right, top + height};
    OffsetRect(&label, 0, list.bottom + gap - label.top);
    log.top = label.top + labelToLog;
    return list;
}
