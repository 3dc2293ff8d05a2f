#pragma once

// The start-up sequence run when the main window is created: working folder
// and paths, the folder's lock, a look at the database file, schema,
// demonstration offer and count, floor view, resize timer, demonstration menu
// entry, and last the online update check.

class Tform_main;

void FormCreate(Tform_main& form);

// The online update check, the last step of start-up.
void RunUpdateCheck(Tform_main& form);
