#include "billing/printing/ticketsettings.h"

namespace {

const QList<QPair<QString, QString>>& startEdits() {
    static const QList<QPair<QString, QString>> edits = {
        {QStringLiteral("lab_shopname"), QString()},
        {QStringLiteral("lab_title"), QString()},
        {QStringLiteral("lab_tel"), QString()},
        {QStringLiteral("lab_address"), QString()},
        {QStringLiteral("lab_cwf"), QStringLiteral("0")},
        {QStringLiteral("lab_cwfname"), QStringLiteral("茶水费")},
        {QStringLiteral("lab_zwhmc"), QStringLiteral("桌位号：")},
        {QStringLiteral("kd_labedit_top"), QStringLiteral("0.5")},
        {QStringLiteral("kd_labedit_hg"), QStringLiteral("0.5")},
        {QStringLiteral("kd_labedit_size"), QStringLiteral("12")},
        {QStringLiteral("kd_labedit_lieju"), QStringLiteral("0.00,3.10,4.20,5.30")},
        {QStringLiteral("cd_labedit_top"), QStringLiteral("0.5")},
        {QStringLiteral("cd_labedit_hg"), QStringLiteral("0.5")},
        {QStringLiteral("cd_labedit_size"), QStringLiteral("12")},
        {QStringLiteral("cd_labedit_lieju"), QStringLiteral("0.00,3.10,4.20")},
    };
    return edits;
}

const QList<QPair<QString, bool>>& startBoxes() {
    static const QList<QPair<QString, bool>> boxes = {
        {QStringLiteral("box_xptitle"), true},
        {QStringLiteral("box_xpiscenter"), true},
        {QStringLiteral("box_xpisaddress"), true},
        {QStringLiteral("box_xpistel"), true},
        {QStringLiteral("box_autoprint"), true},
        // Off unless asked for: a kitchen printer that suddenly prints after
        // every order would surprise a kitchen used to the manual ticket.
        {QStringLiteral("box_autochuda"), false},
    };
    return boxes;
}

template <typename List> qsizetype indexOf(const List& list, const QString& name) {
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (list[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

TTicketSettings::TTicketSettings() : FEdits(startEdits()), FBoxes(startBoxes()) {}

QStringList TTicketSettings::EditNames() const {
    QStringList names;
    for (const auto& e : FEdits)
        names << e.first;
    return names;
}

QStringList TTicketSettings::CheckBoxNames() const {
    QStringList names;
    for (const auto& b : FBoxes)
        names << b.first;
    return names;
}

qsizetype TTicketSettings::editIndex(const QString& name) const {
    return indexOf(FEdits, name);
}

qsizetype TTicketSettings::boxIndex(const QString& name) const {
    return indexOf(FBoxes, name);
}

bool TTicketSettings::IsEdit(const QString& name) const {
    return editIndex(name) >= 0;
}

bool TTicketSettings::IsCheckBox(const QString& name) const {
    return boxIndex(name) >= 0;
}

QString TTicketSettings::Edit(const QString& name) const {
    const qsizetype i = editIndex(name);
    return i < 0 ? QString() : FEdits[i].second;
}

void TTicketSettings::SetEdit(const QString& name, const QString& text) {
    const qsizetype i = editIndex(name);
    if (i >= 0)
        FEdits[i].second = text;
}

bool TTicketSettings::CheckBox(const QString& name) const {
    const qsizetype i = boxIndex(name);
    return i >= 0 && FBoxes[i].second;
}

void TTicketSettings::SetCheckBox(const QString& name, bool ticked) {
    const qsizetype i = boxIndex(name);
    if (i >= 0)
        FBoxes[i].second = ticked;
}

void TTicketSettings::Reset() {
    FEdits = startEdits();
    FBoxes = startBoxes();
}

TTicketSettings& TicketSettings() {
    static TTicketSettings settings;
    return settings;
}
