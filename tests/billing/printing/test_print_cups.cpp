// Prints the sample receipt from the settings screen through QPrinter to the
// CUPS-PDF queue "PDF" and waits for the one-page PDF it writes; prints kitchen
// tickets to a queue of the test's own that refuses jobs or is paused. Skips
// without a running cupsd or the queue "PDF", unless REQUIRE_CUPS=1.

#include "billing/printing/devices/qtpagedevice.h"
#include "billing/printing/form_setting.h"
#include "billing/printing/myprint.h"
#include "billing/printing/setorloadini.h"
#include "billing/printing/ticketlayouts.h"
#include "billing/table/kitchenticket.h"
#include "common/appvalues.h"
#include "common/ui/laymsg.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "deskwindowfixture.h"
#include "qtprinters.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <utility>

namespace {

const QString kQueue = QStringLiteral("PDF");

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromLocal8Bit(p.readAll());
}

// Why CUPS cannot take the job, or empty when it can.
// A missing CUPS skips the test, except where REQUIRE_CUPS=1 makes it a failure.
#define SKIP_OR_FAIL_WITHOUT_CUPS(missing)                                                         \
    do {                                                                                           \
        if (qEnvironmentVariable("REQUIRE_CUPS") == QLatin1String("1"))                            \
            FAIL() << (missing).toStdString() << " (REQUIRE_CUPS=1)";                              \
        GTEST_SKIP() << (missing).toStdString();                                                   \
    } while (false)

QString cupsMissing() {
    if (!run(QStringLiteral("lpstat"), {QStringLiteral("-r")})
             .contains(QStringLiteral("is running")))
        return QStringLiteral("cupsd is not running");
    if (!QPrinterInfo::availablePrinterNames().contains(kQueue))
        return QStringLiteral("CUPS has no queue named ") + kQueue;
    return QString();
}

// cups-pdf writes root's jobs to /root/PDF and everybody else's to $HOME/PDF.
QString outputFolder() {
    return getuid() == 0 ? QStringLiteral("/root/PDF") : QDir::homePath() + QStringLiteral("/PDF");
}

// PDF files of the folder with their modification times; a job whose title
// repeats overwrites its earlier file, so a changed time counts as new.
QHash<QString, QDateTime> pdfs() {
    QHash<QString, QDateTime> files;
    const QDir dir(outputFolder());
    for (const QFileInfo& f : dir.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
        files.insert(f.absoluteFilePath(), f.lastModified());
    return files;
}

QStringList newSince(const QHash<QString, QDateTime>& before) {
    QStringList added;
    const QHash<QString, QDateTime> now = pdfs();
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        if (!before.contains(it.key()) || before.value(it.key()) != it.value())
            added << it.key();
    }
    return added;
}

TEST(QtPageDevice, TicketFaceIsASongFaceMeasuredOnTheScreen) {
    TQtPageDevice device;
    EXPECT_EQ(QFontInfo(QFont(TicketFace())).family(), QStringLiteral("Noto Serif CJK SC"));
    const double w12 = gettextwidth(device, QStringLiteral("鱼香茄子"), 12);
    const double w24 = gettextwidth(device, QStringLiteral("鱼香茄子"), 24);
    // Four full-width characters at 12 pt are 4 x 12/72 inch = 16.9 mm.
    EXPECT_NEAR(w12, 16.9, 1.0);
    EXPECT_NEAR(w24, 2 * w12, 1.0);
}

TEST(PrintCups, SampleReceiptBecomesOneOnePagePdf) {
    const QString missing = cupsMissing();
    if (!missing.isEmpty()) {
        SKIP_OR_FAIL_WITHOUT_CUPS(missing);
    }

    TQtPageDevice device;
    SetPageDevice(&device);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    inipath = folder.filePath(QStringLiteral("config.ini"));
    TicketSettings().Reset();

    // Pick the queue on the settings screen, save, then print its sample receipt.
    TForm_setting form;
    form.FormCreate();
    form.show();
    const int queue = form.box_kd->findText(kQueue);
    ASSERT_GE(queue, 0) << "the settings screen does not list the queue";
    form.box_kd->setCurrentIndex(queue);
    QTest::mouseClick(form.btnAdd, Qt::LeftButton);
    ASSERT_EQ(kd_printname, kQueue);

    const QHash<QString, QDateTime> before = pdfs();
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    // Any outcome but a finished print would be shown on the screen.
    ASSERT_TRUE(mypan() && mypan()->text() == QStringLiteral("保存成功"))
        << (mypan() ? mypan()->text().toStdString() : std::string("no message"));
    SetPageDevice(nullptr);

    // Wait for a file whose page count pdfinfo can read: then cups-pdf is done.
    QElapsedTimer clock;
    clock.start();
    QStringList added;
    QString info;
    while (clock.elapsed() < 60000) {
        added = newSince(before);
        if (added.size() == 1) {
            info = run(QStringLiteral("pdfinfo"), {added.first()});
            if (info.contains(QStringLiteral("Pages:")))
                break;
        }
        QThread::msleep(500);
    }
    ASSERT_EQ(added.size(), 1) << "no PDF from the job in " << outputFolder().toStdString()
                               << " within 60 s";
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
        << info.toStdString();

    // Nothing else arrives from this job.
    QThread::msleep(2000);
    EXPECT_EQ(newSince(before), added);

    // The page carries the ticket: the top-left ticket area has ink, the rest
    // below the last row is blank. (cups-pdf stores glyphs as Type 3 fonts
    // without text, so the page is checked as a picture.)
    QTemporaryDir png;
    ASSERT_TRUE(png.isValid());
    run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"),
         QStringLiteral("-singlefile"), added.first(), png.filePath(QStringLiteral("page"))});
    const QImage page(png.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    const auto ink = [&page](int top, int bottom) {
        int dark = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < page.width(); ++x)
                dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        }
        return dark;
    };
    // 50 dpi: the sample's rows run from about 1.5 cm to 10 cm down the page.
    EXPECT_GT(ink(0, page.height() / 4), 500);
    EXPECT_EQ(ink(page.height() / 2, page.height()), 0);
    QFile::remove(added.first());
}

// A cups-pdf queue of the test's own, so the shared "PDF" queue is never
// refused or paused; removed again however the test ends.
class TestQueue {
public:
    static inline const QString Name = QStringLiteral("ZelRefuse");

    // Empty when the queue is ready, else why it could not be added.
    QString Add() {
        FAdded = true;
        const QString out =
            run(QStringLiteral("lpadmin"),
                {QStringLiteral("-p"), Name, QStringLiteral("-v"), QStringLiteral("cups-pdf:/"),
                 QStringLiteral("-P"), QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"),
                 QStringLiteral("-E")});
        if (!QPrinterInfo::availablePrinterNames().contains(Name))
            return QStringLiteral("lpadmin could not add the queue: ") + out;
        return QString();
    }
    ~TestQueue() {
        if (!FAdded)
            return;
        command(QStringLiteral("cupsenable"));
        command(QStringLiteral("cupsaccept"));
        run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), Name});
    }
    // Runs a queue command (cupsreject, cupsdisable, ...) on the queue.
    static void command(const QString& program) { run(program, {Name}); }

private:
    bool FAdded = false;
};

class PrintCupsKitchen : public DeskWindowFixture {
protected:
    TQtPageDevice qt;

    void SetUp() override {
        DeskWindowFixture::SetUp();
        SetPageDevice(&qt);
        cd_printname = TestQueue::Name;
    }
    QString marks() {
        return scalar(QStringLiteral("SELECT group_concat(title||':'||iscal) FROM "
                                     "zel_orders_detail WHERE deskid=2"));
    }
};

TEST_F(PrintCupsKitchen, ARefusingOrPausedQueueIsReportedAndMarksNothing) {
    QString missing = cupsMissing();
    TestQueue queue;
    if (missing.isEmpty())
        missing = queue.Add();
    if (!missing.isEmpty()) {
        SKIP_OR_FAIL_WITHOUT_CUPS(missing);
    }
    for (const QString& title :
         {QStringLiteral("宫保鸡丁"), QStringLiteral("米饭"), QStringLiteral("鱼香肉丝")})
        addLine(title, 10, 1, 1, 2);
    form->OpenForDesk(2, nullptr);
    const QString unsent = QStringLiteral("宫保鸡丁:0,米饭:0,鱼香肉丝:0");
    ASSERT_EQ(marks(), unsent);

    const struct {
        const char* fault;
        const char* mend;
        QString shown;
    } cases[] = {
        {"cupsreject", "cupsaccept", printresult::Refusing(TestQueue::Name)},
        {"cupsdisable", "cupsenable", printresult::Paused(TestQueue::Name)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        TestQueue::command(QString::fromUtf8(c.fault));
        notes.clear();
        click(form->btn_chuda);
        EXPECT_EQ(notes, QStringList{c.shown});
        EXPECT_EQ(marks(), unsent);
        TestQueue::command(QString::fromUtf8(c.mend));
    }

    // Ready again: the next ticket carries all three and says so.
    notes.clear();
    click(form->btn_chuda);
    EXPECT_EQ(notes, QStringList{QStringLiteral("已送厨房：3道菜")});
    EXPECT_EQ(marks(), QStringLiteral("宫保鸡丁:1,米饭:1,鱼香肉丝:1"));
    EXPECT_TRUE(messenger.Calls.isEmpty());
}

// Qt hands the page to CUPS without telling whether CUPS took it: the device
// itself must see that no job arrived, even when the queue turned away jobs
// only after it was asked.
TEST_F(PrintCupsKitchen, AJobTheQueueRefusedIsNotCountedAsPrinted) {
    QString missing = cupsMissing();
    TestQueue queue;
    if (missing.isEmpty())
        missing = queue.Add();
    if (!missing.isEmpty()) {
        SKIP_OR_FAIL_WITHOUT_CUPS(missing);
    }
    const auto printOne = [this] {
        qt.SelectPrinter(int(qt.Printers().indexOf(TestQueue::Name)));
        const TQueueState state = qt.QueueState();
        EXPECT_TRUE(qt.BeginJob(QStringLiteral("zeltora-kitchen")));
        qt.SetFont(TicketFace(), 12, TFontStyle::Plain);
        qt.DrawText(0, 0, QStringLiteral("米饭"));
        return std::make_pair(state, qt.EndJob());
    };
    EXPECT_EQ(printOne(), std::make_pair(TQueueState::Ready, true));
    TestQueue::command(QStringLiteral("cupsreject"));
    qt.SelectPrinter(int(qt.Printers().indexOf(TestQueue::Name)));
    EXPECT_EQ(qt.QueueState(), TQueueState::Refusing);
    EXPECT_TRUE(qt.BeginJob(QStringLiteral("zeltora-kitchen")));
    qt.DrawText(0, 0, QStringLiteral("米饭"));
    EXPECT_FALSE(qt.EndJob());
}

} // namespace
