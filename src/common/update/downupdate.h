#pragma once

// A download with its progress shown as notifications: "加载中(00.00%)" when
// the answer begins, the percentage while it runs, "加载完成(100.00%)" at the
// end, each headed by loadtit ("组件" when empty). The transfer runs in the
// background; a failed one ends silently and removes its notification.

#include <QString>

#include <functional>

class QWidget;

// Starts downloading picurl to fname, notifications on window. done(ok)
// follows on this thread when it ends. False, and nothing started, when
// picurl is empty or fname is being downloaded already. A download refused
// by its checks (see download.h; version, when set, is the version the
// program must carry) is told in a box; fname stays as it was.
bool downupdate(const QString& picurl, const QString& fname, QWidget* window,
                std::function<void(bool ok)> done = {}, const QString& version = {});

// The box of a refused download titled title.
QString DownloadRefusedText(const QString& title);

// True while fname is being downloaded.
bool DownloadRunning(const QString& fname);
