// Conversions between the UTF-8 of the configuration file and the engine's
// output and the UTF-16 of everything the window system shows.
#pragma once

#include <string>
#include <string_view>

// Malformed input comes out as U+FFFD; neither conversion ever fails.
// Embedded zeros are ordinary characters: the explicit length is used.
std::wstring utf8ToWide(std::string_view utf8);
std::string wideToUtf8(std::wstring_view wide);

// One line of a program's output: UTF-8 when it is valid UTF-8, otherwise
// text in the given code page (the system's ANSI code page for the engine,
// whose helpers may write in it). Never fails.
std::wstring decodeOutputLine(std::string_view bytes, unsigned fallbackCodePage);
