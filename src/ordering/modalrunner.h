#pragma once

// Every modal window of the ordering screen runs through one function, so a
// test can drive a dialog synchronously instead of racing an event loop.

#include <functional>

class QDialog;

// Runs dialog modally and returns its result code.
using TModalRunner = std::function<int(QDialog& dialog)>;

// Runs dialog with the installed runner, QDialog::exec until one is installed.
int RunModal(QDialog& dialog);

// Installs runner; an empty one restores QDialog::exec.
void SetModalRunner(TModalRunner runner);
