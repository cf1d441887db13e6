// Keeping the computer awake while work runs: a power request with a
// reason naming the work, which `powercfg /requests` shows. The system does
// not go to sleep on its idle timer meanwhile; the display may still turn
// off. Cleared as soon as the work ends or is cancelled.
#pragma once

#include "util/handles.h"

#include <string>

struct KeepAwake {
    UniqueHandle request; // null: the computer may sleep
};

// Replaces any request with one of this reason (the work's progress).
void keepAwake(KeepAwake& awake, const std::wstring& reason);
void letSleep(KeepAwake& awake);
