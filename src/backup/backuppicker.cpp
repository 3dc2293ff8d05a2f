#include "backup/backuppicker.h"

#include "backup/backup.h"
#include "common/ui/closeonescape.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem* cell(const QString& text, Qt::Alignment align) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

QString SizeText(qint64 bytes) {
    if (bytes >= 1024 * 1024)
        return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
    return QString::number((bytes + 1023) / 1024) + QStringLiteral(" KB");
}

TForm_backup_restore::TForm_backup_restore(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form_backup_restore"));
    setWindowTitle(QStringLiteral("从备份恢复"));
    list = new QTableWidget(0, 3, this);
    list->setObjectName(QStringLiteral("list"));
    list->setHorizontalHeaderLabels(
        {QStringLiteral("备份时间"), QStringLiteral("大小"), QStringLiteral("订单数")});
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->verticalHeader()->hide();
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    list->setMinimumSize(460, 300);
    lab_empty = new QLabel(QStringLiteral("没有可用的备份"), this);
    lab_empty->hide();
    btnRestore = new QPushButton(QStringLiteral("恢复"), this);
    btnRestore->setObjectName(QStringLiteral("btnRestore"));
    btnCancel = new QPushButton(QStringLiteral("取消"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(QStringLiteral("恢复后程序将重新启动"), this), 1);
    buttons->addWidget(btnRestore);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addWidget(lab_empty);
    layout->addLayout(buttons);
    CloseOnEscape(this);

    connect(btnCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(btnRestore, &QPushButton::clicked, this, [this] {
        const QString copy = Selected();
        if (copy.isEmpty())
            return;
        close();
        emit Chosen(copy);
    });
    connect(list, &QTableWidget::cellDoubleClicked, btnRestore, &QPushButton::click);
}

void TForm_backup_restore::Load(const QString& folder) {
    list->setRowCount(0);
    const auto copies = ListBackups(folder);
    for (const TBackupCopy& copy : copies) {
        const int row = list->rowCount();
        list->insertRow(row);
        auto* when =
            cell(copy.Taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), Qt::AlignLeft);
        when->setData(Qt::UserRole, copy.Path);
        list->setItem(row, 0, when);
        list->setItem(row, 1, cell(SizeText(copy.Size), Qt::AlignRight));
        const qint64 orders = CountOrders(copy.Path);
        list->setItem(row, 2,
                      cell(orders < 0 ? QStringLiteral("无法读取") : QString::number(orders),
                           Qt::AlignRight));
    }
    lab_empty->setVisible(copies.isEmpty());
    btnRestore->setEnabled(!copies.isEmpty());
    if (!copies.isEmpty())
        list->selectRow(0);
}

QString TForm_backup_restore::Selected() const {
    const auto rows = list->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return QString();
    return list->item(rows.first().row(), 0)->data(Qt::UserRole).toString();
}
