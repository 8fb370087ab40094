// The message loop, pending-message processing, exit routines and message boxes.
#pragma once
#include <windows.h>

#include <string_view>

namespace ui {

// Runs until no main window of the program is left; returns the quit code.
int runMessageLoop();

// Lets every message already waiting be handled, then returns. A quit
// message met on the way is put back for the loop that owns it.
void processPendingMessages();

// Arranges for `routine` to run once when the program ends normally;
// registering the same routine again has no effect.
void registerExitRoutine(void (*routine)());
// Runs the registered routines once each, in order of registration.
void runExitRoutines();
// How many exit routines have run in this process.
int exitRoutinesRun();

// Every message box of the program: texts are GBK, no owner unless given.
int showMessageBox(std::string_view gbkText, std::string_view gbkCaption, UINT flags,
                   HWND owner = nullptr);

}  // namespace ui
