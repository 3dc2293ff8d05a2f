#pragma once

// The table window on a real database of its own: four tables in two areas,
// recorded boxes, questions, notifications, tile repaints and printers.

#include "billing/printing/devices/recordingdevice.h"
#include "billing/printing/myprint.h"
#include "billing/table/form_desk_open.h"

#include "deskenvironment.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

// The ways a printer takes no job, with what the print routine then says.
struct TakesNoJobCase {
    const char* name;
    TQueueState queue;
    bool lose;
    QString shown;
};

inline QList<TakesNoJobCase> TakesNoJobCases(const QString& printer) {
    return {
        {"paused", TQueueState::Paused, false, printresult::Paused(printer)},
        {"refusing", TQueueState::Refusing, false, printresult::Refusing(printer)},
        {"job lost", TQueueState::Ready, true, printresult::NotReceived(printer)},
    };
}

class DeskWindowFixture : public DeskWindowEnvironment {
protected:
    // One repaint of a tile as the floor view would receive it: "id|title|bh|nums|stat|price".
    QStringList tiles;
    QStringList notes;
    std::unique_ptr<TForm_desk_open> form;

    void SetUp() override {
        DeskWindowEnvironment::SetUp();
        // Table 1 (area 1, occupied) comes from DeskFixture.
        db->ExecSQL(QStringLiteral("INSERT INTO zel_desk_class (id, title, sort) VALUES "
                                   "(1, '大厅', 1), (2, '包间', 2)"));
        db->ExecSQL(QStringLiteral("UPDATE zel_desk SET cid=1, sort=1 WHERE id=1"));
        db->ExecSQL(QStringLiteral(
            "INSERT INTO zel_desk (id, title, bh, nums, price, stat, cid, sort, fwy, ydtruename, "
            "ydtel, yj, deleted) VALUES "
            "(2, '桌位02', 'B02', 0, 0, 0, 1, 2, '', '', '', 0, 0),"
            "(3, '桌位03', 'C03', 2, 12, 1, 1, 3, '', '李四', '', 20, 0),"
            "(4, '包间04', 'D04', 0, 0, 0, 2, 4, '', '', '', 0, 0),"
            "(5, '旧桌05', 'E05', 0, 0, 0, 1, 5, '', '', '', 0, 1)"));

        form = std::make_unique<TForm_desk_open>();
        QObject::connect(form.get(), &TForm_desk_open::DeskInfoChanged, form.get(),
                         [this](int32_t id, const QString& title, const QString& bh,
                                const QString& nums, const QString& stat, double price) {
                             tiles << QStringLiteral("%1|%2|%3|%4|%5|%6")
                                          .arg(id)
                                          .arg(title, bh, nums, stat)
                                          .arg(price);
                         });
        QObject::connect(form.get(), &TForm_desk_open::Notified, form.get(),
                         [this](const QString& text) { notes << text; });
    }
    void TearDown() override {
        form.reset();
        DeskWindowEnvironment::TearDown();
    }

    static void click(QAbstractButton* button) {
        ASSERT_TRUE(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // Ticks the list row of that title the way the operator does.
    void tick(const QString& title) {
        const auto found = form->ListView1->findItems(title, Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1) << title.toStdString();
        form->ListView1->setCurrentItem(found.first());
        QTest::keyClick(form->ListView1, Qt::Key_Space);
    }
    QStringList listed() const {
        QStringList titles;
        for (int i = 0; i < form->ListView1->topLevelItemCount(); ++i)
            titles << form->ListView1->topLevelItem(i)->text(0);
        return titles;
    }
    // The last repaint of table id, "<none>" without one.
    QString tileOf(int id) const {
        for (qsizetype i = tiles.size() - 1; i >= 0; --i)
            if (tiles[i].startsWith(QString::number(id) + QLatin1Char('|')))
                return tiles[i];
        return QStringLiteral("<none>");
    }
    QStringList boxes(TMessageKind kind) const {
        QStringList texts;
        for (const auto& call : messenger.Calls)
            if (call.kind == kind)
                texts << call.text;
        return texts;
    }
};
