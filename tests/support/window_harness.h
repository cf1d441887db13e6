// Runs the real main window inside a test program.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Registers the window class and the common controls once per program.
void prepareWindowProgram();

// Loads the configuration (which sets the language) and creates the main
// window as the program's entry does, then handles its pending messages
// until the log shows its first line.
HWND startMainWindow();

// Handles messages until the predicate holds or the time is up.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
void pumpPending();

// Destroys the window if it still exists and takes the quit message off the
// queue; returns the quit code, or -1 when there was none.
int closeMainWindow(HWND window);

// Sends the command to the main window, which opens a modal dialog, and runs
// the actions on another thread while it is open; they must end it.
void withDialogOpenedBy(HWND mainWindow, WORD command, const std::function<void(HWND dialog)>& actions);

// Presses a dialog's button and waits until the dialog has gone.
void press(HWND dialog, int button);

std::wstring windowText(HWND window);
std::wstring className(HWND window);

// What CreateWindowExW was given, as seen by a CBT hook on this thread:
// controls change some of their style bits once they exist.
struct CreatedWindow {
    HWND window;
    HWND parent;
    std::wstring className;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
    INT_PTR id;
};

class CreationRecorder {
public:
    CreationRecorder();
    ~CreationRecorder();
    CreationRecorder(const CreationRecorder&) = delete;
    CreationRecorder& operator=(const CreationRecorder&) = delete;
    // Child windows only: owned pop-ups such as tooltips are left out.
    std::vector<CreatedWindow> childrenOf(HWND parent) const;

private:
    HHOOK hook_;
};

// A test that opens the main window with start() (once it has put the
// configuration it wants in place); the window is closed at its end.
class WindowTest : public ::testing::Test {
protected:
    void start()
    {
        window = startMainWindow();
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override
    {
        if (window != nullptr) {
            closeMainWindow(window);
        }
    }
    HWND window = nullptr;
};

// The same, with the window open for the whole test: opened in SetUp, once
// the fixture's own members (its configuration, say) exist.
class OpenWindowTest : public WindowTest {
protected:
    void SetUp() override { start(); }
};
