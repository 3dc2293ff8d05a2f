#pragma once

// "立即备份" and "从备份恢复" of the settings screen. A restore checks the
// chosen copy, asks, keeps the current data as a copy too, prepares the
// replacement beside the database and restarts the program, which puts it in
// place before anything opens the database.

class TForm_setting;

void WireBackupCommands(TForm_setting& setting);

// Starts the program anew in the working folder and ends this run. The new
// run waits for this one's folder lock while a restore is pending.
void RestartProgram();
