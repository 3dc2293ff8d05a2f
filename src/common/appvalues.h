#pragma once

// Process-wide values fixed at start-up and read everywhere.

#include <QString>

#include <cstdint>

extern QString softpath;     // working folder, with a trailing separator
extern QString sqlitename;   // softpath + "zeltora.db"
extern QString inipath;      // softpath + "config.ini"
extern int32_t testnums;     // demonstration tables counted at start-up
extern QString kd_printname; // customer receipt printer
extern QString cd_printname; // kitchen ticket printer
