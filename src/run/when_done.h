// What the computer does when a queue is done: nothing (the default),
// sleep, or shut down. Chosen in the main menu or with --when-done on the
// command line; never remembered across starts.
#pragma once

#include <optional>
#include <string_view>

enum class WhenDone { Nothing, Sleep, ShutDown };

// "sleep" or "shutdown" (any case), as --when-done takes them.
std::optional<WhenDone> whenDoneFromText(std::wstring_view text);

// Puts the computer to sleep or shuts it down (enabling the shutdown
// privilege first); false when Windows refused. Replaceable, so that tests
// never do either.
using WhenDoneAction = bool (*)(WhenDone what);
extern WhenDoneAction performWhenDone;
