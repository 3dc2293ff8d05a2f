#include "common/appvalues.h"

QString softpath;
QString sqlitename;
QString inipath;
int32_t testnums = 0;
QString kd_printname;
QString cd_printname;
