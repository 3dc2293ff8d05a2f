// Kitchen tickets that tell the kitchen only what it does not know yet: the
// first ticket, add-on tickets headed "加菜", reprints on request, returned
// lines announced once, failed prints that mark nothing, and the automatic
// ticket after a confirmation.

#include "billing/printing/form_setting.h"
#include "billing/printing/myprint.h"
#include "billing/printing/setorloadini.h"
#include "common/ui/laymsg.h"
#include "ordering/TOrderManager.h"

#include "deskwindowfixture.h"
#include "qtprinters.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>

namespace {

const QStringList kDishes = {"宫保鸡丁", "米饭", "鱼香肉丝", "酸辣汤", "凉拌黄瓜"};

class KitchenTicketTest : public DeskWindowFixture {
protected:
    // Confirms dishes for table 2 as the ordering screen does, on its own connection.
    void confirm(const QStringList& titles) {
        TSQLiteDatabase orderDb(dbPath());
        TOrderManager orders(&orderDb);
        orders.SetDeskID(QStringLiteral("2"));
        for (const QString& title : titles) {
            TOrderItem item;
            item.caipinid = int32_t(kDishes.indexOf(title)) + 1;
            item.title = title;
            item.Quantity = 1;
            item.Price = 10;
            orders.AddOrUpdateOrderItem(item);
        }
        orders.MoveCartToConfirmed();
        form->LoadOrderDetails();
    }
    // What one press of "厨打小票" printed; empty when nothing was.
    QList<TRecordingPageDevice::Text> printKitchen() {
        const qsizetype before = device.Texts.size();
        const int jobs = device.JobsEnded;
        click(form->btn_chuda);
        if (device.JobsEnded == jobs)
            return {};
        return device.Texts.mid(before);
    }
    static QStringList dishesOf(const QList<TRecordingPageDevice::Text>& texts) {
        QStringList titles;
        for (const auto& t : texts)
            if (kDishes.contains(t.text))
                titles << t.text;
        return titles;
    }
    static bool hasText(const QList<TRecordingPageDevice::Text>& texts, const QString& text) {
        for (const auto& t : texts)
            if (t.text == text)
                return true;
        return false;
    }
    QString marks() {
        return scalar(QStringLiteral("SELECT group_concat(title||':'||iscal) FROM "
                                     "zel_orders_detail WHERE deskid=2"));
    }
    QStringList questions() const { return boxes(TMessageKind::OkCancel); }
};

const QString kReprint = QStringLiteral("没有新加的菜品，是否重新打印全部菜品？");

} // namespace

TEST_F(KitchenTicketTest, FirstTicketThenAddOnThenReprintOnRequest) {
    form->OpenForDesk(2, nullptr);
    confirm({"宫保鸡丁", "米饭"});
    // New lines start unsent.
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:0,米饭:0"));

    const auto first = printKitchen();
    EXPECT_EQ(dishesOf(first), QStringList({"宫保鸡丁", "米饭"}));
    EXPECT_FALSE(hasText(first, QStringLiteral("加菜")));
    EXPECT_EQ(device.Selected, QStringLiteral("厨房"));
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1"));
    EXPECT_EQ(notes.last(), QStringLiteral("已送厨房：2道菜"));

    confirm({"鱼香肉丝", "酸辣汤"});
    const auto addOn = printKitchen();
    EXPECT_EQ(dishesOf(addOn), QStringList({"鱼香肉丝", "酸辣汤"}));
    ASSERT_FALSE(addOn.isEmpty());
    // The heading comes first, bold and larger, centred on the paper.
    EXPECT_EQ(addOn.first().text, QStringLiteral("加菜"));
    EXPECT_EQ(addOn.first().style, TFontStyle::Bold);
    EXPECT_EQ(addOn.first().size, 16);
    EXPECT_GT(addOn.first().x, addOn[1].x);
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,鱼香肉丝:1,酸辣汤:1"));
    EXPECT_TRUE(questions().isEmpty());

    // Nothing new: a question; cancelled, nothing printed; confirmed, every
    // line again, as a reprint that marks nothing.
    messenger.Answers = {false, true};
    EXPECT_TRUE(printKitchen().isEmpty());
    EXPECT_EQ(questions(), QStringList{kReprint});
    EXPECT_EQ(notes.last(), QStringLiteral("您取消了操作"));
    const auto reprint = printKitchen();
    EXPECT_EQ(questions(), QStringList({kReprint, kReprint}));
    EXPECT_EQ(dishesOf(reprint), QStringList({"宫保鸡丁", "米饭", "鱼香肉丝", "酸辣汤"}));
    EXPECT_FALSE(hasText(reprint, QStringLiteral("加菜")));
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,鱼香肉丝:1,酸辣汤:1"));
    EXPECT_EQ(notes.last(), QStringLiteral("厨打小票已重新打印"));
    EXPECT_TRUE(boxes(TMessageKind::Info).isEmpty());
}

TEST_F(KitchenTicketTest, AFailedPrintMarksNothing) {
    form->OpenForDesk(2, nullptr);
    confirm({"宫保鸡丁", "米饭"});
    const struct {
        const char* name;
        std::function<void()> fault;
        std::function<void()> mend;
        QString shown;
    } cases[] = {
        {"no printer", [] { cd_printname.clear(); }, [] { cd_printname = QStringLiteral("厨房"); },
         printresult::NoPrinter()},
        {"job refused", [this] { device.RefuseJob = true; }, [this] { device.RefuseJob = false; },
         printresult::JobFailed()},
        {"queue paused", [this] { device.Queue = TQueueState::Paused; },
         [this] { device.Queue = TQueueState::Ready; }, printresult::Paused("厨房")},
        {"queue refuses jobs", [this] { device.Queue = TQueueState::Refusing; },
         [this] { device.Queue = TQueueState::Ready; }, printresult::Refusing("厨房")},
        {"job never reached the queue", [this] { device.LoseJob = true; },
         [this] { device.LoseJob = false; }, printresult::NotReceived("厨房")},
        {"too few columns",
         [] { TicketSettings().SetEdit(QStringLiteral("cd_labedit_lieju"), QStringLiteral("0")); },
         [] { TicketSettings().Reset(); }, printresult::BadColumns()},
        {"font size not a number",
         [] { TicketSettings().SetEdit(QStringLiteral("cd_labedit_size"), QStringLiteral("x")); },
         [] { TicketSettings().Reset(); }, QStringLiteral("'x' 不是有效的整数")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.fault();
        printKitchen();
        EXPECT_EQ(notes.last(), c.shown);
        EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:0,米饭:0"));
        c.mend();
    }
    // Mended, the next ticket still carries every line, and marks them.
    EXPECT_EQ(dishesOf(printKitchen()), QStringList({"宫保鸡丁", "米饭"}));
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1"));
    EXPECT_EQ(notes.last(), QStringLiteral("已送厨房：2道菜"));
    EXPECT_TRUE(questions().isEmpty());
}

TEST_F(KitchenTicketTest, AReturnedLineIsAnnouncedOnce) {
    form->OpenForDesk(2, nullptr);
    confirm({"宫保鸡丁", "米饭", "鱼香肉丝"});
    printKitchen();

    tick(QStringLiteral("米饭"));
    click(form->btn_tc);
    const auto returned = printKitchen();
    EXPECT_EQ(dishesOf(returned), QStringList{"米饭"});
    EXPECT_TRUE(hasText(returned, QStringLiteral("加菜")));
    for (const auto& t : returned)
        if (t.text == QLatin1String("米饭")) {
            EXPECT_EQ(t.style, TFontStyle::StrikeOut);
        }
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:2,鱼香肉丝:1"));

    // Announced: the next press finds nothing new.
    messenger.Answers = {false};
    EXPECT_TRUE(printKitchen().isEmpty());
    EXPECT_EQ(questions().last(), kReprint);

    // A line returned before any ticket carried it is news to nobody: the
    // kitchen never hears of it, neither as a dish nor as a cancellation.
    confirm({"酸辣汤", "凉拌黄瓜"});
    tick(QStringLiteral("酸辣汤"));
    click(form->btn_tc);
    const auto unsent = printKitchen();
    EXPECT_EQ(dishesOf(unsent), QStringList{"凉拌黄瓜"});
    for (const auto& t : unsent)
        EXPECT_EQ(t.style == TFontStyle::StrikeOut, false) << t.text.toStdString();
    messenger.Answers = {false};
    EXPECT_TRUE(printKitchen().isEmpty());
    EXPECT_EQ(questions().count(kReprint), 2);
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:2,鱼香肉丝:1,酸辣汤:0,凉拌黄瓜:1"));

    // The return taken back: the kitchen must cook it after all.
    tick(QStringLiteral("米饭"));
    click(form->btn_dzz);
    const auto again = printKitchen();
    EXPECT_EQ(dishesOf(again), QStringList{"米饭"});
    for (const auto& t : again)
        if (t.text == QLatin1String("米饭")) {
            EXPECT_EQ(t.style, TFontStyle::Plain);
        }
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,鱼香肉丝:1,酸辣汤:0,凉拌黄瓜:1"));

    // Taken back, the unsent return is a new dish for the kitchen.
    tick(QStringLiteral("酸辣汤"));
    click(form->btn_dzz);
    EXPECT_EQ(dishesOf(printKitchen()), QStringList{"酸辣汤"});
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,鱼香肉丝:1,酸辣汤:1,凉拌黄瓜:1"));
}

TEST_F(KitchenTicketTest, AutomaticTicketAfterAConfirmationOnlyWhenTicked) {
    form->OpenForDesk(2, nullptr);
    confirm({"宫保鸡丁"});
    form->AfterConfirmation(2);
    EXPECT_EQ(device.JobsEnded, 0);
    EXPECT_EQ(listed(), QStringList{"宫保鸡丁"});

    TicketSettings().SetCheckBox(QStringLiteral("box_autochuda"), true);
    form->AfterConfirmation(2);
    EXPECT_EQ(dishesOf(device.Texts), QStringList{"宫保鸡丁"});
    EXPECT_EQ(device.JobsEnded, 1);

    confirm({"米饭"});
    // A confirmation for another table prints nothing here.
    form->AfterConfirmation(3);
    EXPECT_EQ(device.JobsEnded, 1);
    const qsizetype before = device.Texts.size();
    form->AfterConfirmation(2);
    EXPECT_EQ(dishesOf(device.Texts.mid(before)), QStringList{"米饭"});
    EXPECT_TRUE(hasText(device.Texts.mid(before), QStringLiteral("加菜")));

    // Nothing new: no question and no ticket after a confirmation.
    form->AfterConfirmation(2);
    EXPECT_EQ(device.JobsEnded, 2);
    EXPECT_TRUE(messenger.Calls.isEmpty());

    // A failed automatic ticket marks nothing and says why in a box: the
    // ordering screen covers this window, so a notification would go unseen.
    confirm({"酸辣汤"});
    cd_printname.clear();
    form->AfterConfirmation(2);
    EXPECT_EQ(boxes(TMessageKind::Info),
              QStringList{QStringLiteral("厨打小票未打印：") + printresult::NoPrinter() +
                          QStringLiteral("\n新点的菜品还没有送到厨房，请处理后点“厨打小票”。")});
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,酸辣汤:0"));

    // A paused kitchen printer is no success either.
    cd_printname = QStringLiteral("厨房");
    device.Queue = TQueueState::Paused;
    form->AfterConfirmation(2);
    EXPECT_EQ(boxes(TMessageKind::Info).last(),
              QStringLiteral("厨打小票未打印：") + printresult::Paused("厨房") +
                  QStringLiteral("\n新点的菜品还没有送到厨房，请处理后点“厨打小票”。"));
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,酸辣汤:0"));
    device.Queue = TQueueState::Ready;
    form->AfterConfirmation(2);
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,酸辣汤:1"));
    EXPECT_EQ(notes.last(), QStringLiteral("已送厨房：1道菜"));
}

// The test print of the settings screen goes through the same routine and
// shows why a printer took nothing.
TEST_F(KitchenTicketTest, TheTestPrintShowsAPrinterThatTakesNoJob) {
    TForm_setting setting;
    setting.FormCreate();
    setting.show();
    // A first start has no saved printer; the kitchen printer is chosen.
    cd_printname = QStringLiteral("厨房");
    for (const TakesNoJobCase& c : TakesNoJobCases(QStringLiteral("厨房"))) {
        SCOPED_TRACE(c.name);
        device.Queue = c.queue;
        device.LoseJob = c.lose;
        laymsg(QStringLiteral("-"), 0, &setting);
        click(setting.Button2);
        ASSERT_TRUE(mypan());
        EXPECT_EQ(mypan()->text(), c.shown);
        EXPECT_EQ(device.JobsEnded, 0);
    }
}

// The option is one check box of the settings screen, off on a first start,
// written to config.ini the moment it is toggled and read back at start-up.
TEST_F(KitchenTicketTest, TheOptionIsACheckBoxOfTheSettingsScreen) {
    TForm_setting setting;
    setting.FormCreate();
    setting.show();
    QCheckBox* box = setting.CheckBox(QStringLiteral("box_autochuda"));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("点单后自动打印厨打小票"));
    EXPECT_FALSE(box->isChecked());
    EXPECT_FALSE(TicketSettings().CheckBox(QStringLiteral("box_autochuda")));

    click(box);
    EXPECT_TRUE(TicketSettings().CheckBox(QStringLiteral("box_autochuda")));
    QFile file(inipath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral("box_autochuda=1")));

    TTicketSettings restarted;
    LoadTicketSettings(restarted, inipath);
    EXPECT_TRUE(restarted.CheckBox(QStringLiteral("box_autochuda")));
}
