#pragma once

// config.ini: section "Setting" (options, one key per toggle), "SettingEdit"
// (texts, written together) and "SettingPrint" (printer names). The file is
// UTF-8; a byte-order mark and CRLF line ends are read; keys and sections match
// regardless of case; keys this program does not know stay in the file, in place.

#include "billing/printing/ticketsettings.h"
#include "common/appvalues.h"

#include <QString>

#include <stdexcept>

// A save that could not be written; the message says which file and why.
class EIniError : public std::runtime_error {
public:
    explicit EIniError(const QString& message);
    QString Message() const { return QString::fromUtf8(what()); }
};

// Writes the option `name` as 1 or 0 under `section` when `form` has such an
// option. Failures are ignored: a toggle never stops the operator.
void setconfig(const QString& name, const QString& section, const TTicketSettings& form,
               const QString& path = inipath);

// When the file exists: every key of `section` that names an option ticks it
// for the value "1" and clears it for anything else. Other keys are ignored.
void GetCheckBoxStat(const QString& section, TTicketSettings& form, const QString& path = inipath);

// When the file exists: every key of `section` that names a text field sets it.
void GetEditStat(const QString& section, TTicketSettings& form, const QString& path = inipath);

// Writes every text field under `section`; throws EIniError when it cannot.
void SaveAllEditsToIni(const QString& section, const TTicketSettings& form,
                       const QString& path = inipath);

// Writes kd_printname and cd_printname under "SettingPrint"; throws EIniError.
void saveprint(const QString& path = inipath);

// Reads kd_printname and cd_printname from "SettingPrint", empty when missing.
void loadprint(const QString& path = inipath);

// Start-up load of the settings screen: options, texts, printer names.
void LoadTicketSettings(TTicketSettings& form, const QString& path = inipath);

// "提交保存": the texts, then the printer names as picked or typed (trimmed;
// the placeholder "请选择打印机" is stored as it is). Throws EIniError.
void SaveTicketSettings(const TTicketSettings& form, const QString& kdPicked,
                        const QString& cdPicked, const QString& path = inipath);
