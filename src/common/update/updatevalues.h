#pragma once

// Program-wide values of the online update, user-interface thread only.

#include <QString>

#include <cstdint>

struct TUpdateAnswer;

extern QString helpurl;       // help document, from the update answer
extern QString downupdateurl; // where the current updater is downloaded from
extern QString updateversion; // the version the updater should have
extern int32_t isupupdate;    // 1 when the program keeps the updater current
extern QString loadtit;       // caption of the download notification
extern int64_t allsize;       // total bytes of the download in progress

// Keeps downupdateurl, updateversion, isupupdate and helpurl of answer.
void StoreUpdateAnswer(const TUpdateAnswer& answer);

// config.ini [Update] url: base of the update service; empty when missing.
QString UpdateServiceBase(const QString& iniPath);
// config.ini [Update] download: base of the vendor's download server.
QString DownloadServerBase(const QString& iniPath);
