#pragma once

// "订单详情": the texts of one settled order, all its lines (returned ones
// included) and "打印小票", which prints its receipt again.

#include <QString>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QTreeWidget;
class TSQLiteDatabase;

class TForm_orders_detail : public QWidget {
    Q_OBJECT
public:
    TForm_orders_detail();
    ~TForm_orders_detail() override;

    // Row id of the order shown; set before getdata.
    QString Ordid;

    QLabel* lab_title = nullptr;
    QLabel* lab_ordid = nullptr;
    QLabel* lab_price = nullptr;
    QLabel* lab_addtime = nullptr;
    QLabel* lab_shishou = nullptr;
    QLabel* lab_zhaoling = nullptr;
    QLabel* lab_bh = nullptr;
    QLabel* lab_nums = nullptr;
    QLabel* lab_ydtel = nullptr;
    QLabel* lab_yj = nullptr;
    QLabel* lab_ydtruename = nullptr;
    QLabel* lab_fwy = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* btn_keda = nullptr;

    // Loads order Ordid. An order that is no longer there leaves the texts of
    // the one shown before; the lines are read anew either way.
    void getdata();
    // "打印小票": an outcome other than "打印完成" is shown.
    void btn_kedaClick();
    // Ordid = id, getdata, then shown centred on owner.
    void OpenFor(const QString& id, QWidget* owner);

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* addField(class QGridLayout* grid, int row, int column, const QString& caption,
                     const char* name);

    std::unique_ptr<TSQLiteDatabase> FDatabase;
    QString FBh;
};
