#pragma once

// The print settings in effect: ticket texts, ticket options and the geometry of
// both ticket kinds, each under the name of its config.ini key (which is also the
// name of the settings screen field bound to it). Widget-free: the settings
// screen binds its fields to one of these, builders and the print routine read it.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TTicketSettings {
public:
    // Every field at its start value (the value in effect without config.ini).
    TTicketSettings();

    // Text fields ("SettingEdit") in the order a save writes them, and option
    // fields ("Setting").
    QStringList EditNames() const;
    QStringList CheckBoxNames() const;

    // Names match regardless of case, as ini keys do.
    bool IsEdit(const QString& name) const;
    bool IsCheckBox(const QString& name) const;

    // An unknown name reads as empty / unticked; setting it does nothing.
    QString Edit(const QString& name) const;
    void SetEdit(const QString& name, const QString& text);
    bool CheckBox(const QString& name) const;
    void SetCheckBox(const QString& name, bool ticked);

    // Back to the start values.
    void Reset();

private:
    qsizetype editIndex(const QString& name) const;
    qsizetype boxIndex(const QString& name) const;

    QList<QPair<QString, QString>> FEdits;
    QList<QPair<QString, bool>> FBoxes;
};

// The settings in effect for the whole program (what the settings screen shows).
TTicketSettings& TicketSettings();
