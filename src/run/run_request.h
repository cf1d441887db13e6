// The choices of one run and the pure operations that turn them into the
// engine's command line and the folder where its results are expected.
#pragma once

#include <array>
#include <string>
#include <string_view>

struct RunRequest {
    std::wstring inputPath;
    std::wstring outputRoot;
    std::wstring label;
    int speakerCount = 2;
    bool makeClips = false;
};

// From the main window's fields: the two paths cleaned (cleanPathField), an
// empty output field means "outputs"; list index i means i + 2 speakers (no
// selection, -1, gives 1). The label is taken as typed.
RunRequest makeRunRequest(std::wstring_view inputText, std::wstring_view outputText, std::wstring_view labelText,
    int speakerIndex, int checkState);

// One argument in double quotes, so that the engine's argument parser gives
// back exactly the value: embedded quotes get a backslash, and backslashes
// directly before a quote or before the closing quote are doubled (E:\ would
// otherwise swallow the rest of the command line).
// A path as pasted: surrounding blanks and one pair of surrounding double
// quotes (the file manager's "Copy as path") removed.
std::wstring cleanPathField(std::wstring_view text);

// True when the text can be one folder's name: no separator, colon or other
// character Windows forbids, not "." or "..", no dot or blank at the end, no
// device name such as CON or LPT1 (with or without an extension).
bool isValidFolderName(std::wstring_view name);

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 (also with superscript digits) and the
// console names, in any case, with or without an extension or blanks after.
bool isDeviceName(std::wstring_view name);

// True when any part of the path is a device name: such an output folder
// would send the results to a device, or nowhere.
bool namesDevice(std::wstring_view path);

// An exit code as the log shows it: in decimal, and from 0x80000000 on also
// in hexadecimal ("3221225477 (0xC0000005)"), as such codes are looked up.
std::wstring exitCodeText(unsigned exitCode);

std::wstring quoteArgument(std::wstring_view value);

std::wstring buildCommandLine(std::wstring_view enginePath, const RunRequest& request);

// True when all five account values are non-empty (blanks count as content).
bool accountComplete(const std::array<std::string, 5>& values);

// The stem of a path's file name, by the Windows path grammar.
std::wstring fileStem(std::wstring_view path);

// Appends right to left by the Windows path grammar, writing "\": an
// absolute right part (drive and separator, or a network name) or one on
// another drive replaces the left part; a rooted one keeps only the left
// part's drive or network name; drive letters compare without case.
std::wstring joinPath(std::wstring_view left, std::wstring_view right);

// The label as typed, or the input's stem when the label is empty.
std::wstring runFolderName(const RunRequest& request);
std::wstring dateFolderName(int year, int month, int day);
std::wstring deriveOutputFolder(std::wstring_view outputRoot, std::wstring_view dateFolder,
    std::wstring_view runFolder);

// CreateProcessW takes at most this many units, terminator included.
constexpr size_t COMMAND_LINE_LIMIT = 32767;

// Everything a launch needs from a request, for a single run and for each
// item of a queue alike.
struct LaunchPlan {
    std::wstring commandLine;
    std::wstring outputFolder; // where the results are expected
    bool labelValid = true;    // empty, or one folder's name
    bool fits = true;          // the command line is within CreateProcessW's limit
};
LaunchPlan planLaunch(const RunRequest& request, std::wstring_view enginePath, std::wstring_view dateFolder);
