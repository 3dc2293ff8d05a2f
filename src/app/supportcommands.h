#pragma once

// The support commands of the main menu ("一键在线升级", "版本比对",
// "创建桌面快捷访问", "远程协助", "帮助文档") and the online update check of
// start-up. Nothing here waits for the network: queries and downloads run in
// the background and their answers come back to the user-interface thread.

#include <QStringList>

class Tform_main;

// Starts the update query and returns; a usable answer is stored, offered when
// it says so, and hands over to the updater upkeep of the main window.
void StartUpdateCheck(Tform_main& form);

// Connects N10, N11, N2, N6 and N5 to their commands.
void WireSupportCommands(Tform_main& form);

// The install paths of the remote-desktop tool looked at, in order; tests
// replace them.
QStringList& RemoteToolPaths();
