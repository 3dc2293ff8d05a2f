#include "billing/printing/setorloadini.h"

#include "platform/platform.h"

#include <QFile>
#include <QSaveFile>

#include <string>

#define SI_CONVERT_ICU
#include <SimpleIni.h>

namespace {

const QString kSettingPrint = QStringLiteral("SettingPrint");
const QString kKdPrintName = QStringLiteral("kd_printname");
const QString kCdPrintName = QStringLiteral("cd_printname");

// One opening of config.ini: read whole, changed in memory, written whole.
class TIniFile {
public:
    explicit TIniFile(const QString& path) : FPath(path) {
        FIni.SetUnicode(true);
        FIni.SetSpaces(false);
    }

    bool Exists() const { return QFile::exists(FPath); }

    // A missing file is an empty one; false only when an existing file cannot be read.
    bool Load(QString& error) {
        QFile file(FPath);
        if (!file.exists())
            return true;
        if (!file.open(QIODevice::ReadOnly)) {
            error = file.errorString();
            return false;
        }
        const QByteArray data = file.readAll();
        if (FIni.LoadData(data.constData(), size_t(data.size())) < 0) {
            error = QStringLiteral("内容无法解析");
            return false;
        }
        return true;
    }

    // Replaces the file in one step, so a failed write never leaves half a file.
    bool Save(QString& error) {
        std::string text;
        if (FIni.Save(text, false) < 0) {
            error = QStringLiteral("内容无法生成");
            return false;
        }
        QSaveFile file(FPath);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
            error = file.errorString();
            return false;
        }
        return true;
    }

    QStringList Keys(const QString& section) const {
        CSimpleIniA::TNamesDepend keys;
        FIni.GetAllKeys(section.toUtf8().constData(), keys);
        keys.sort(CSimpleIniA::Entry::LoadOrder());
        QStringList names;
        for (const auto& k : keys)
            names << QString::fromUtf8(k.pItem);
        return names;
    }

    QString Value(const QString& section, const QString& key, const QString& def = {}) const {
        const char* v =
            FIni.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
        return v ? QString::fromUtf8(v) : def;
    }

    // A line break would end the value and start a line of its own in the file.
    bool SetValue(const QString& section, const QString& key, QString value) {
        value.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        return FIni.SetValue(section.toUtf8().constData(), key.toUtf8().constData(),
                             value.toUtf8().constData()) >= 0;
    }

private:
    QString FPath;
    CSimpleIniA FIni;
};

[[noreturn]] void failSave(const QString& path, const QString& why) {
    throw EIniError(QStringLiteral("保存配置文件失败: ") + path + QStringLiteral(": ") + why);
}

// Opens the file for a change; throws when an existing file cannot be read,
// since writing then would lose what it holds.
void loadForChange(TIniFile& ini, const QString& path) {
    QString error;
    if (!ini.Load(error))
        failSave(path, error);
}

void save(TIniFile& ini, const QString& path) {
    QString error;
    if (!ini.Save(error))
        failSave(path, error);
}

// Opens an existing file for reading; false when there is nothing to read.
bool loadForRead(TIniFile& ini, const QString& path) {
    if (!ini.Exists())
        return false;
    QString error;
    if (!ini.Load(error)) {
        platform::DebugOutput(QStringLiteral("读取配置文件失败: ") + path + QStringLiteral(": ") +
                              error);
        return false;
    }
    return true;
}

} // namespace

EIniError::EIniError(const QString& message) : std::runtime_error(message.toStdString()) {}

void setconfig(const QString& name, const QString& section, const TTicketSettings& form,
               const QString& path) {
    if (!form.IsCheckBox(name))
        return;
    TIniFile ini(path);
    QString error;
    if (!ini.Load(error) ||
        !ini.SetValue(section, name,
                      form.CheckBox(name) ? QStringLiteral("1") : QStringLiteral("0")) ||
        !ini.Save(error))
        platform::DebugOutput(QStringLiteral("setconfig ") + name + QStringLiteral(" -> ") + path +
                              QStringLiteral(": ") + error);
}

void GetCheckBoxStat(const QString& section, TTicketSettings& form, const QString& path) {
    TIniFile ini(path);
    if (!loadForRead(ini, path))
        return;
    for (const QString& key : ini.Keys(section)) {
        if (form.IsCheckBox(key))
            form.SetCheckBox(key, ini.Value(section, key) == QLatin1String("1"));
    }
}

void GetEditStat(const QString& section, TTicketSettings& form, const QString& path) {
    TIniFile ini(path);
    if (!loadForRead(ini, path))
        return;
    for (const QString& key : ini.Keys(section)) {
        if (form.IsEdit(key))
            form.SetEdit(key, ini.Value(section, key));
    }
}

void SaveAllEditsToIni(const QString& section, const TTicketSettings& form, const QString& path) {
    TIniFile ini(path);
    loadForChange(ini, path);
    for (const QString& name : form.EditNames()) {
        if (!ini.SetValue(section, name, form.Edit(name)))
            failSave(path, name);
    }
    save(ini, path);
}

void saveprint(const QString& path) {
    TIniFile ini(path);
    loadForChange(ini, path);
    if (!ini.SetValue(kSettingPrint, kKdPrintName, kd_printname) ||
        !ini.SetValue(kSettingPrint, kCdPrintName, cd_printname))
        failSave(path, kSettingPrint);
    save(ini, path);
}

void loadprint(const QString& path) {
    kd_printname.clear();
    cd_printname.clear();
    TIniFile ini(path);
    if (!loadForRead(ini, path))
        return;
    kd_printname = ini.Value(kSettingPrint, kKdPrintName);
    cd_printname = ini.Value(kSettingPrint, kCdPrintName);
}

void LoadTicketSettings(TTicketSettings& form, const QString& path) {
    GetCheckBoxStat(QStringLiteral("Setting"), form, path);
    GetEditStat(QStringLiteral("SettingEdit"), form, path);
    loadprint(path);
}

void SaveTicketSettings(const TTicketSettings& form, const QString& kdPicked,
                        const QString& cdPicked, const QString& path) {
    SaveAllEditsToIni(QStringLiteral("SettingEdit"), form, path);
    cd_printname = cdPicked.trimmed();
    kd_printname = kdPicked.trimmed();
    saveprint(path);
}
