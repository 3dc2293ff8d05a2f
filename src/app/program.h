#pragma once

// The program's run: application set-up, the screens in their order of
// creation, and the message loop that ends with the main window.

#include <memory>

class QApplication;
class Tform_main;

// Fixes the number format, loads Qt's Chinese texts and installs the message
// boxes.
void InitProgram();

// Creates the main window, hidden, and runs its start-up sequence to the end.
// An exception of the sequence is shown like any uncaught one.
std::unique_ptr<Tform_main> CreateMainWindow();

// Unless a quit was requested during start-up: shows the main window and runs
// the message loop until it closes and the closing backup has ended. Returns
// the exit code.
int RunMessageLoop(QApplication& app, Tform_main& mainWindow);
