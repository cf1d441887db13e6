// The stand-in engine started directly, without the front-end.
#pragma once

#include "util/handles.h"

#include <windows.h>

#include <string>

// Starts the engine at enginePath running the script (STANDIN_SCRIPT), its
// output and errors going to output, and in the job when one is given (it
// is put there before it runs). Returns its process, or null.
UniqueHandle startStandIn(const std::wstring& enginePath, HANDLE output, const std::wstring& script,
    HANDLE job = nullptr);
