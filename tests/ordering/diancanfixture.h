#pragma once

// A database with one table, three categories (one empty), three plain dishes
// and one dish in two specifications, the recording messenger, and the
// ordering screen created on it and shown offscreen for that table.

#include "common/messages.h"
#include "ordering/form_diancan.h"
#include "store/sqlitedb.h"

#include "tempfolder.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <ostream>

// Readable texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '[' << texts.join(QStringLiteral(" | ")).toStdString() << ']';
}

class QDialog;

// One repaint of a tile as the floor view would receive it.
struct TTileCall {
    int32_t id = 0;
    QString title, bh, nums, stat;
    double price = 0;
};

class DiancanTest : public TempFolderTest {
public:
    static void click(QWidget* w);
    // Clicks the named button of a dialog.
    static void clickIn(QDialog& dialog, const QString& name);

protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the screen (FormCreate) and, when desk > 0, opens it for that table.
    void makeScreen(int32_t desk);
    // The screen without its creation step, connected to notes, tiles and confirmations.
    void newScreen();

    // The next modal dialog is shown and handed to script; its result is
    // whatever the script left (closing with a button sets it).
    void onNextDialog(std::function<void(QDialog&)> script);

    QStringList cartTexts() const;
    QStringList confirmedTexts() const;
    QList<QWidget*> cartRows() const;
    QList<QWidget*> confirmedRows() const;
    QString text(const QString& objectName) const;
    // Ticks line index of the ordered-lines list as the operator would.
    void tick(int index);

    void exec(const QString& sql);
    QString scalar(const QString& sql);
    int32_t addDish(const QString& title, double price, int32_t cid, int32_t sort,
                    bool specs = false);
    int32_t addSpec(int32_t dish, const QString& title, double price);

    TRecordingMessenger messages;
    std::unique_ptr<TForm_diancan> screen;
    QStringList notes;
    QList<TTileCall> tiles;
    int confirmations = 0;
    int32_t desk = 0;
    int32_t hot = 0, cold = 0, empty = 0;
    int32_t yuxiang = 0, gongbao = 0, shuizhu = 0, huanggua = 0;
    int32_t small = 0, large = 0;

private:
    std::unique_ptr<TSQLiteDatabase> db;
    std::function<void(QDialog&)> FNextDialog;
};
