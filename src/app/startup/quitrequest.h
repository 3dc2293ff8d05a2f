#pragma once

// Qt ignores quit() before the event loop runs, so a quit asked for during
// start-up is remembered here and checked before exec().

void RequestAppQuit();
bool AppQuitRequested();
