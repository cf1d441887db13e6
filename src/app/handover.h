// One window per installation: a start that brings work (the Explorer verb,
// Send To, a drop on the icon, --autostart) while a window of the same
// installation is open hands the work to that window and ends; a start
// without any brings that window to the front. The window
// is the one that keeps queue.json, as its lock names it. --new-window
// starts a window of its own, as before.
#pragma once

#include "util/handles.h"

#include <windows.h>

struct StartPaths;

// Starts of one installation take turns, so that two starting at once (the
// verb on several files, say) find each other: held by a start until its
// window has claimed queue.json or it has handed its work over.
UniqueHandle waitForStartTurn();

// Hands the work to the open window of this installation when there is one
// that takes it: true then, and this start ends.
bool handOverToOpenWindow(const StartPaths& paths);

// The window's side: WM_COPYDATA from another start. The work is done from
// WM_HANDED_OVER once no box of the window's is open (a message box, the
// settings dialog): the recordings are added as if dropped (while a run is
// active they join the list waiting), --autostart ones start the queue
// when it is idle or join the running one.
LRESULT takeHandedOver(HWND window, const COPYDATASTRUCT* data);
void doHandedOverWork(HWND window);
// The window is going (closed, or the session ends) while handed-over work
// still waits for a box: its recordings join the queue, waiting, so that
// what the start was told it delivered is kept in queue.json.
void keepHandedOverWork();
