#include "billing/printing/form_setting.h"

#include "backup/backupsettings.h"
#include "billing/printing/myprint.h"
#include "billing/printing/setorloadini.h"
#include "billing/printing/ticketlayouts.h"
#include "common/appvalues.h"
#include "common/ui/closeonescape.h"
#include "common/ui/fitscrollarea.h"
#include "common/ui/laymsg.h"
#include "report/reportsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QString kPickPrinter = QStringLiteral("请选择打印机");

QComboBox* printerPicker(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setMinimumWidth(220);
    return box;
}

// On a screen too low for the fields the window is made lower, never narrower:
// the vertical scroll bar gets room of its own beside them instead of covering
// their right edge.
class TFieldsArea : public TFitScrollArea {
public:
    using TFitScrollArea::TFitScrollArea;

    QSize minimumSizeHint() const override {
        QSize hint = TFitScrollArea::minimumSizeHint();
        if (const QWidget* content = widget())
            hint.setWidth(content->minimumSizeHint().width() +
                          verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
        return hint;
    }
};

} // namespace

TForm_setting::TForm_setting(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form_setting"));
    setWindowTitle(QStringLiteral("系统设置"));

    auto* top = new QFormLayout;
    addEdit(top, QStringLiteral("lab_shopname"), QStringLiteral("店铺名称："));
    addEdit(top, QStringLiteral("lab_title"), QStringLiteral("小票名称："));
    addEdit(top, QStringLiteral("lab_tel"), QStringLiteral("联系电话："));
    addEdit(top, QStringLiteral("lab_address"), QStringLiteral("店铺地址："));
    {
        auto* row = new QHBoxLayout;
        auto* cwf = new QLineEdit(this);
        cwf->setObjectName(QStringLiteral("lab_cwf"));
        row->addWidget(cwf);
        row->addWidget(new QLabel(QStringLiteral("元/人"), this));
        auto* caption = new QLabel(QStringLiteral("桌位费："), this);
        caption->setBuddy(cwf);
        top->addRow(caption, row);
    }
    addEdit(top, QStringLiteral("lab_cwfname"), QStringLiteral("桌位费名称："));
    addEdit(top, QStringLiteral("lab_zwhmc"), QStringLiteral("打印的桌位号名："));
    box_kd = printerPicker(this, QStringLiteral("box_kd"));
    box_cd = printerPicker(this, QStringLiteral("box_cd"));
    top->addRow(QStringLiteral("客打打印机："), box_kd);
    top->addRow(QStringLiteral("厨打打印机："), box_cd);

    auto* kdGroup = new QGroupBox(QStringLiteral("客打打印设置"), this);
    auto* kdForm = new QFormLayout(kdGroup);
    addEdit(kdForm, QStringLiteral("kd_labedit_top"), QStringLiteral("顶部距离："));
    addEdit(kdForm, QStringLiteral("kd_labedit_hg"), QStringLiteral("行间距离："));
    addEdit(kdForm, QStringLiteral("kd_labedit_size"), QStringLiteral("字体大小："));
    addEdit(kdForm, QStringLiteral("kd_labedit_lieju"), QStringLiteral("列间距离："));

    // The receipt options sit in the kitchen group, in one row above its fields.
    auto* cdGroup = new QGroupBox(QStringLiteral("厨打打印设置"), this);
    auto* cdLayout = new QVBoxLayout(cdGroup);
    auto* options = new QGridLayout;
    const std::pair<const char*, QString> boxes[] = {
        {"box_xptitle", QStringLiteral("打印小票名称")},
        {"box_xpiscenter", QStringLiteral("小票名称居中")},
        {"box_xpisaddress", QStringLiteral("打印地址")},
        {"box_xpistel", QStringLiteral("打印电话")},
        {"box_autoprint", QStringLiteral("结算时自动打印小票")},
        {"box_autochuda", QStringLiteral("点单后自动打印厨打小票")},
    };
    int column = 0;
    for (const auto& [name, caption] : boxes) {
        auto* box = new QCheckBox(caption, cdGroup);
        box->setObjectName(QString::fromLatin1(name));
        // clicked comes only from the operator (mouse or keyboard), never
        // from loading, so a loaded state is not written back.
        connect(box, &QCheckBox::clicked, this, [box](bool ticked) {
            TicketSettings().SetCheckBox(box->objectName(), ticked);
            setconfig(box->objectName(), QStringLiteral("Setting"), TicketSettings());
        });
        // Five in a row, so the screen stays narrow.
        options->addWidget(box, column / 5, column % 5);
        ++column;
    }
    cdLayout->addLayout(options);
    auto* cdForm = new QFormLayout;
    addEdit(cdForm, QStringLiteral("cd_labedit_top"), QStringLiteral("顶部距离："));
    addEdit(cdForm, QStringLiteral("cd_labedit_hg"), QStringLiteral("行间距离："));
    addEdit(cdForm, QStringLiteral("cd_labedit_size"), QStringLiteral("字体大小："));
    addEdit(cdForm, QStringLiteral("cd_labedit_lieju"), QStringLiteral("列间距离："));
    cdLayout->addLayout(cdForm);

    btnAdd = new QPushButton(QStringLiteral("提交保存"), this);
    btnAdd->setObjectName(QStringLiteral("btnAdd"));
    Button1 = new QPushButton(QStringLiteral("客打打印测试"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("厨打打印测试"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    connect(btnAdd, &QPushButton::clicked, this, &TForm_setting::btnAddClick);
    connect(Button1, &QPushButton::clicked, this, &TForm_setting::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm_setting::Button2Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnAdd);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    // The fields scroll on a screen too low for them; the buttons stay in sight.
    auto* fields = new QWidget;
    fields->setObjectName(QStringLiteral("FieldsPanel"));
    auto* fieldsLayout = new QVBoxLayout(fields);
    fieldsLayout->setContentsMargins(0, 0, 0, 0);
    fieldsLayout->addLayout(top);
    fieldsLayout->addWidget(kdGroup);
    fieldsLayout->addWidget(cdGroup);
    BackupGroup = new TBackupGroup(fields);
    fieldsLayout->addWidget(BackupGroup);
    ReportGroup = new TReportGroup(fields);
    fieldsLayout->addWidget(ReportGroup);
    fieldsLayout->addStretch();
    auto* fieldsArea = new TFieldsArea(this);
    fieldsArea->setObjectName(QStringLiteral("FieldsArea"));
    fieldsArea->setWidget(fields);

    auto* main = new QVBoxLayout(this);
    main->addWidget(fieldsArea, 1);
    main->addLayout(buttons);
    CloseOnEscape(this);

    showSettings();
}

QLineEdit* TForm_setting::addEdit(QFormLayout* form, const QString& name, const QString& caption) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    form->addRow(caption, edit);
    return edit;
}

QLineEdit* TForm_setting::Edit(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

QCheckBox* TForm_setting::CheckBox(const QString& name) const {
    return findChild<QCheckBox*>(name);
}

// Puts the settings in effect into the fields, then keeps them bound: what the
// operator types is in effect at once, saved or not.
void TForm_setting::showSettings() {
    TTicketSettings& settings = TicketSettings();
    for (const QString& name : settings.EditNames()) {
        QLineEdit* edit = Edit(name);
        if (!edit)
            continue;
        edit->disconnect(this);
        edit->setText(settings.Edit(name));
        connect(edit, &QLineEdit::textChanged, this,
                [name](const QString& text) { TicketSettings().SetEdit(name, text); });
    }
    for (const QString& name : settings.CheckBoxNames()) {
        if (QCheckBox* box = CheckBox(name))
            box->setChecked(settings.CheckBox(name));
    }
}

void TForm_setting::FormCreate() {
    LoadTicketSettings(TicketSettings());
    showSettings();
    BackupGroup->Load();
    ReportGroup->Load();
    fillPrinters();
}

void TForm_setting::fillPrinters() {
    for (QComboBox* box : {box_kd, box_cd}) {
        box->clear();
        box->addItem(kPickPrinter);
        box->setCurrentIndex(0);
    }
    for (const QString& printer : PageDevice().Printers()) {
        box_kd->addItem(printer);
        box_cd->addItem(printer);
        if (printer == kd_printname)
            box_kd->setCurrentIndex(box_kd->count() - 1);
        if (printer == cd_printname)
            box_cd->setCurrentIndex(box_cd->count() - 1);
    }
}

void TForm_setting::btnAddClick() {
    try {
        SaveTicketSettings(TicketSettings(), box_kd->currentText(), box_cd->currentText());
    } catch (const EIniError& e) {
        laymsg(e.Message(), 0, this);
        return;
    }
    laymsg(QStringLiteral("保存成功"), 0, this);
}

void TForm_setting::printSample(const QString& layout, const QString& tid) {
    QString result;
    try {
        addprint(layout, tid, result);
    } catch (const EConvertError& e) {
        result = e.Message();
    }
    if (result != printresult::Done())
        laymsg(result, 0, this);
}

void TForm_setting::Button1Click() {
    printSample(BuildSampleReceipt(TicketSettings()), QStringLiteral("0"));
}

void TForm_setting::Button2Click() {
    printSample(BuildSampleKitchenTicket(), QStringLiteral("1"));
}
