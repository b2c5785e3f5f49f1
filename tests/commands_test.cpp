// Every button by click, by access key and by Enter, in order; the error path.
#include "formtest.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const char* const kText1 = "Integral Sin(x) [0,pi]=-6.44351424333978E-10\r\ndx= 3.141592654";
const char* const kText2 = "Integral Sin(x) [0,pi]= 1.57079632667782\r\ndx= 1.570796327";
const char* const kText10 = "Integral Sin(x) [0,pi]= 1.98352353750514\r\ndx= .3141592654";
const char* const kText10000 = "Integral Sin(x) [0,pi]= 1.9999999835511\r\ndx= .0003141592654";

int greenPixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == kGreen;
    return n;
}

struct Press
{
    const char* name;
    std::function<ui::CommandButton*(ui::VelmarWindow&)> button;
    Qt::Key accessKey;
    double nTrap;
    const char* text;
};

const Press kTrapezoidButtons[] = {
    {"1 trapezoid", [](ui::VelmarWindow& w) { return w.cmd1rect; }, Qt::Key_1, 1, kText1},
    {"2 trapezoids", [](ui::VelmarWindow& w) { return w.cmd2rect; }, Qt::Key_2, 2, kText2},
    {"10 trapezoids", [](ui::VelmarWindow& w) { return w.cmd10Rec; }, Qt::Key_0, 10, kText10},
    {"calculate", [](ui::VelmarWindow& w) { return w.cmdcalc; }, Qt::Key_C, 10000, kText10000},
};

TEST(Commands, EachTrapezoidButtonByClickAndByAccessKey)
{
    for (const Press& p : kTrapezoidButtons) {
        for (bool byKey : {false, true}) {
            SCOPED_TRACE(std::string(p.name) + (byKey ? " by access key" : " by click"));
            StartedForm f;
            const QImage startUp = f.image();
            if (byKey)
                QTest::keyClick(&f.w, p.accessKey, Qt::AltModifier);
            else
                QTest::mouseClick(p.button(f.w), Qt::LeftButton);
            EXPECT_EQ(f.form.state().nTrap, p.nTrap);
            EXPECT_EQ(f.text().toStdString(), p.text);
            const QImage after = f.image();
            EXPECT_NE(after, startUp);
            EXPECT_GT(greenPixels(after), 0);
        }
    }
}

TEST(Commands, LetterAccessKeysWorkInEitherCase)
{
    StartedForm f;
    QSignalSpy calc(f.w.cmdcalc, &QPushButton::clicked);
    QTest::keyClick(&f.w, Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(calc.count(), 1) << "Alt+Shift+C";
    QTest::keyClick(&f.w, 'c', Qt::AltModifier);
    EXPECT_EQ(calc.count(), 2) << "Alt+c";
    EXPECT_EQ(f.form.state().nTrap, 10000);
}

TEST(Commands, TrapezoidsPileUpWhileTheTextIsReplaced)
{
    StartedForm f;
    QTest::mouseClick(f.w.cmd1rect, Qt::LeftButton);
    const int one = greenPixels(f.image());
    QTest::mouseClick(f.w.cmd10Rec, Qt::LeftButton);
    const QImage both = f.image();
    EXPECT_EQ(f.text().toStdString(), kText10);

    StartedForm only10;
    QTest::mouseClick(only10.w.cmd10Rec, Qt::LeftButton);
    const QImage ten = only10.image();
    // Every green pixel of the ten-trapezoid run is there, and more besides.
    int extra = 0;
    for (int y = 0; y < ten.height(); ++y)
        for (int x = 0; x < ten.width(); ++x) {
            if (ten.pixel(x, y) == kGreen) {
                ASSERT_EQ(both.pixel(x, y), kGreen) << x << "," << y;
            }
            extra += both.pixel(x, y) == kGreen && ten.pixel(x, y) != kGreen;
        }
    EXPECT_GT(one, 0);
    EXPECT_GT(extra, 0) << "the one-trapezoid top stays";
}

TEST(Commands, SameButtonTwiceChangesNothing)
{
    for (const Press& p : kTrapezoidButtons) {
        SCOPED_TRACE(p.name);
        StartedForm f;
        QTest::mouseClick(p.button(f.w), Qt::LeftButton);
        const QImage once = f.image();
        const QString text = f.text();
        QTest::mouseClick(p.button(f.w), Qt::LeftButton);
        EXPECT_EQ(f.image(), once);
        EXPECT_EQ(f.text(), text);
    }
}

TEST(Commands, ClearGivesBackTheStartUpPicture)
{
    StartedForm f;
    const QImage startUp = f.image();
    for (const Press& p : kTrapezoidButtons)
        QTest::mouseClick(p.button(f.w), Qt::LeftButton);
    f.w.txtRes->SetText("typed by hand");
    QTest::keyClick(&f.w, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(f.image(), startUp);
    EXPECT_TRUE(f.text().isEmpty());
    QTest::mouseClick(f.w.cmd2rect, Qt::LeftButton);
    QTest::mouseClick(f.w.cmdclear, Qt::LeftButton);
    EXPECT_EQ(f.image(), startUp);
}

TEST(Commands, TabThenEnterPressesTheButtonsInTabOrder)
{
    StartedForm f;
    const QImage startUp = f.image();
    auto tabEnter = [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    };
    tabEnter();
    EXPECT_EQ(QApplication::focusWidget(), f.w.cmd1rect);
    EXPECT_EQ(f.form.state().nTrap, 1);
    tabEnter();
    EXPECT_EQ(f.form.state().nTrap, 2);
    tabEnter();
    EXPECT_EQ(f.form.state().nTrap, 10000);
    EXPECT_EQ(f.text().toStdString(), kText10000);
    tabEnter(); // Clear
    EXPECT_TRUE(f.text().isEmpty());
    EXPECT_EQ(f.image(), startUp);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // to Exit, not pressed
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // to the result box
    EXPECT_EQ(QApplication::focusWidget(), f.w.txtRes);
    QTest::keyClick(f.w.txtRes, Qt::Key_Return);
    EXPECT_EQ(f.w.txtRes->Text(), "\r\n") << "Enter in the box starts a new line";
    tabEnter();
    EXPECT_EQ(QApplication::focusWidget(), f.w.cmd10Rec);
    EXPECT_EQ(f.form.state().nTrap, 10);
    // Space presses the focused button too.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(f.form.state().nTrap, 1);
    EXPECT_FALSE(f.form.ending());
}

TEST(Commands, EscAndEnterOnTheCanvasPressNothing)
{
    StartedForm f;
    const QImage startUp = f.image();
    QSignalSpy spies[] = {QSignalSpy(f.w.cmd1rect, &QPushButton::clicked),
                          QSignalSpy(f.w.cmd2rect, &QPushButton::clicked),
                          QSignalSpy(f.w.cmd10Rec, &QPushButton::clicked),
                          QSignalSpy(f.w.cmdcalc, &QPushButton::clicked),
                          QSignalSpy(f.w.cmdclear, &QPushButton::clicked),
                          QSignalSpy(f.w.cmdexit, &QPushButton::clicked)};
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_C, Qt::Key_Space})
        QTest::keyClick(f.w.picGraph, key);
    QTest::qWait(150); // long enough for any delayed click to land
    for (const QSignalSpy& spy : spies)
        EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(f.image(), startUp);
    EXPECT_TRUE(f.w.isVisible());
    EXPECT_FALSE(f.form.ending());
}

// An access key clicks at once: a click that arrives after it cannot overtake
// it, and quick repeats are neither merged nor lost.
TEST(Commands, AccessKeysAndClicksAreHandledInArrivalOrder)
{
    StartedForm f;
    std::vector<double> handled;
    for (auto* b : {f.w.cmd1rect, f.w.cmd10Rec})
        QObject::connect(b, &QPushButton::clicked, &f.w,
                         [&] { handled.push_back(f.form.state().nTrap); });
    // Queue both before either is handled.
    QMetaObject::invokeMethod(
        &f.w, [&] { QTest::keyClick(&f.w, Qt::Key_1, Qt::AltModifier); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &f.w, [&] { QTest::mouseClick(f.w.cmd10Rec, Qt::LeftButton); }, Qt::QueuedConnection);
    QTest::qWait(250);
    EXPECT_EQ(handled, (std::vector<double>{1, 10}));
    EXPECT_EQ(f.form.state().nTrap, 10);
    EXPECT_EQ(f.text().toStdString(), kText10);

    QSignalSpy calc(f.w.cmdcalc, &QPushButton::clicked);
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(&f.w, Qt::Key_C, Qt::AltModifier);
    QTest::qWait(150);
    EXPECT_EQ(calc.count(), 10);
}

TEST(Commands, ExitEndsTheEventLoopWithStatusZero)
{
    for (bool byKey : {false, true}) {
        StartedForm f;
        QTimer::singleShot(0, &f.w, [&] {
            if (byKey)
                QTest::keyClick(&f.w, Qt::Key_X, Qt::AltModifier);
            else
                QTest::mouseClick(f.w.cmdexit, Qt::LeftButton);
            // Queued after Exit: must never run.
            QMetaObject::invokeMethod(f.w.cmd1rect, "click", Qt::QueuedConnection);
        });
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_TRUE(f.form.ending());
        EXPECT_EQ(f.form.exitCode(), 0);
        EXPECT_EQ(f.form.state().nTrap, 0) << "nothing ran after Exit";
        QApplication::processEvents();
        EXPECT_EQ(f.form.state().nTrap, 0);
    }
}

TEST(Commands, ClosingTheWindowEndsTheProgram)
{
    StartedForm f;
    QTimer::singleShot(0, &f.w, [&] { f.w.close(); });
    EXPECT_EQ(QApplication::exec(), 0);
}

// A canvas whose image cannot be had (far too large) fails in every handler
// that draws: the error reaches the top-level report once, with its number,
// the program ends with a failure status, and no further handler runs.
TEST(Errors, EveryDrawingHandlerReachesTheTopLevelReport)
{
    for (const Press& p : kTrapezoidButtons) {
        SCOPED_TRACE(p.name);
        StartedForm f;
        QTest::mouseClick(f.w.cmd1rect, Qt::LeftButton);
        const QString text = f.text();
        f.w.picGraph->setGeometry(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QImage.*"));
        QTest::mouseClick(p.button(f.w), Qt::LeftButton);
        ASSERT_EQ(f.reports.size(), 1u);
        EXPECT_EQ(f.reports[0].number(), plot::ErrorNumber::CanvasFailure);
        EXPECT_TRUE(f.form.ending());
        EXPECT_EQ(f.form.exitCode(), frmvelmar::kErrorExitCode);
        EXPECT_EQ(f.text(), text) << "the box keeps its text";
        QTest::mouseClick(f.w.cmdclear, Qt::LeftButton);
        EXPECT_EQ(f.reports.size(), 1u) << "nothing runs after the report";
    }

    StartedForm clear;
    clear.w.picGraph->setGeometry(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QTest::mouseClick(clear.w.cmdclear, Qt::LeftButton);
    ASSERT_EQ(clear.reports.size(), 1u);
    EXPECT_EQ(clear.reports[0].code(), 480);
}

// The report the user sees: a message window naming the error, which stays up
// until it is dismissed; then the program ends with a failure status.
TEST(Errors, TheReportIsAMessageWindowThenTheProgramEnds)
{
    frmvelmar form; // the real report
    ASSERT_TRUE(form.start());
    QString shown;
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    dismiss.start(50);
    QTimer::singleShot(0, &form.window(), [&] {
        form.window().picGraph->setGeometry(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        form.window().cmdclear->click();
    });
    EXPECT_EQ(QApplication::exec(), frmvelmar::kErrorExitCode);
    EXPECT_TRUE(shown.startsWith("Run-time error '480':")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("Canvas operation failed")) << shown.toStdString();
}

TEST(Errors, AFailedStartUpIsReportedAndTheWindowNeverShows)
{
    std::vector<plot::RuntimeError> reports;
    frmvelmar form([&](const plot::RuntimeError& e) { reports.push_back(e); });
    form.window().picGraph->setGeometry(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    EXPECT_FALSE(form.start());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].number(), plot::ErrorNumber::CanvasFailure);
    EXPECT_FALSE(form.window().isVisible());
    EXPECT_EQ(form.exitCode(), frmvelmar::kErrorExitCode);
}

} // namespace
