// Every button by click, by access key and by Enter, in order; the error path.
#include "formtest.h"
#include "results.h"

#include <QApplication>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTextCursor>
#include <QTimer>

#include <memory>

#include <gtest/gtest.h>

namespace {

int greenPixels(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == kGreen;
    return n;
}

// The trapezoid buttons, in the order of kRuns.
struct TrapezoidButton
{
    const char* objectName;
    Qt::Key accessKey;
    const TrapezoidRun& run;
};

const TrapezoidButton kButtons[] = {
    {"cmd1rect", Qt::Key_1, kRuns[0]},
    {"cmd2rect", Qt::Key_2, kRuns[1]},
    {"cmd10Rec", Qt::Key_0, kRuns[2]},
    {"cmdcalc", Qt::Key_C, kRuns[3]},
};

ui::CommandButton* buttonOf(ui::VelmarWindow& w, const TrapezoidButton& b)
{
    return w.findChild<ui::CommandButton*>(b.objectName);
}

class EachButton : public testing::TestWithParam<TrapezoidButton>
{
};

TEST_P(EachButton, ClickRunsItsCountAndDrawsIt)
{
    const TrapezoidButton& b = GetParam();
    StartedForm f;
    const QImage startUp = f.image();
    QTest::mouseClick(buttonOf(f.w, b), Qt::LeftButton);
    EXPECT_EQ(f.form.state().nTrap, b.run.nTrap);
    EXPECT_EQ(f.text().toStdString(), b.run.text);
    const QImage after = f.image();
    EXPECT_NE(after, startUp);
    EXPECT_GT(greenPixels(after), 0);
}

INSTANTIATE_TEST_SUITE_P(Buttons, EachButton, testing::ValuesIn(kButtons),
                         [](const testing::TestParamInfo<TrapezoidButton>& p) {
                             return std::string(p.param.objectName);
                         });

TEST(Commands, LetterAccessKeysWorkInEitherCase)
{
    StartedForm f;
    QSignalSpy calc(f.cmdcalc(), &QPushButton::clicked);
    QTest::keyClick(&f.w, Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(calc.count(), 1) << "Alt+Shift+C";
    QTest::keyClick(&f.w, 'c', Qt::AltModifier);
    EXPECT_EQ(calc.count(), 2) << "Alt+c";
    EXPECT_EQ(f.form.state().nTrap, 10000);
}

TEST(Commands, TrapezoidsPileUpWhileTheTextIsReplaced)
{
    StartedForm f;
    QTest::mouseClick(f.cmd1rect(), Qt::LeftButton);
    const int one = greenPixels(f.image());
    QTest::mouseClick(f.cmd10Rec(), Qt::LeftButton);
    const QImage both = f.image();
    EXPECT_EQ(f.text().toStdString(), kRuns[2].text);

    StartedForm only10;
    QTest::mouseClick(only10.cmd10Rec(), Qt::LeftButton);
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

TEST(Commands, ClearGivesBackTheStartUpPicture)
{
    StartedForm f;
    const QImage startUp = f.image();
    for (const TrapezoidButton& b : kButtons)
        QTest::mouseClick(buttonOf(f.w, b), Qt::LeftButton);
    f.txtRes()->SetText("typed by hand");
    QTest::keyClick(&f.w, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(f.image(), startUp);
    EXPECT_TRUE(f.text().isEmpty());
    QTest::mouseClick(f.cmd2rect(), Qt::LeftButton);
    QTest::mouseClick(f.cmdclear(), Qt::LeftButton);
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
    EXPECT_EQ(QApplication::focusWidget(), f.cmd1rect());
    EXPECT_EQ(f.form.state().nTrap, 1);
    tabEnter();
    EXPECT_EQ(f.form.state().nTrap, 2);
    tabEnter();
    EXPECT_EQ(f.form.state().nTrap, 10000);
    EXPECT_EQ(f.text().toStdString(), kRuns[3].text);
    tabEnter(); // Clear
    EXPECT_TRUE(f.text().isEmpty());
    EXPECT_EQ(f.image(), startUp);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // to Exit, not pressed
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // to the result box
    EXPECT_EQ(QApplication::focusWidget(), f.txtRes());
    QTest::keyClick(f.txtRes(), Qt::Key_Return);
    EXPECT_EQ(f.txtRes()->Text(), "\r\n") << "Enter in the box starts a new line";
    tabEnter();
    EXPECT_EQ(QApplication::focusWidget(), f.cmd10Rec());
    EXPECT_EQ(f.form.state().nTrap, 10);
    // Space presses the focused button too.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(f.form.state().nTrap, 1);
    EXPECT_FALSE(f.form.ending());
}

// Every key from every control: Esc presses nothing; Enter, keypad Enter and
// Space press the focused button only (in the box Enter starts a new line and
// Space types a blank); each access key presses its button from anywhere, the
// box included; Alt with any other key does nothing anywhere. Checked right after the keys: a
// button's click is never delayed.
struct KeyPress
{
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* accessKeyOf; // the button this key presses from anywhere, if any
};

const KeyPress kKeys[] = {
    {"Esc", Qt::Key_Escape, Qt::NoModifier, nullptr},
    {"Enter", Qt::Key_Return, Qt::NoModifier, nullptr},
    {"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, nullptr},
    {"Space", Qt::Key_Space, Qt::NoModifier, nullptr},
    {"Alt1", Qt::Key_1, Qt::AltModifier, "cmd1rect"},
    {"Alt2", Qt::Key_2, Qt::AltModifier, "cmd2rect"},
    {"Alt0", Qt::Key_0, Qt::AltModifier, "cmd10Rec"},
    {"AltC", Qt::Key_C, Qt::AltModifier, "cmdcalc"},
    {"AltR", Qt::Key_R, Qt::AltModifier, "cmdclear"},
    {"AltX", Qt::Key_X, Qt::AltModifier, "cmdexit"},
    // Alt with a key that is no access key presses nothing and types nothing.
    {"AltA", Qt::Key_A, Qt::AltModifier, nullptr},
    {"AltE", Qt::Key_E, Qt::AltModifier, nullptr},
    {"AltQ", Qt::Key_Q, Qt::AltModifier, nullptr},
};

const char* const kButtonNames[] = {"cmd1rect", "cmd2rect", "cmd10Rec",
                                    "cmdcalc",  "cmdclear", "cmdexit"};

class KeyFromControl : public testing::TestWithParam<std::tuple<KeyPress, int>>
{
};

TEST_P(KeyFromControl, PressesWhatTheKeyboardRulesSay)
{
    const auto& [k, tabIndex] = GetParam();
    StartedForm f;
    QWidget* const control = f.w.tabOrder()[tabIndex];
    const QString typed = QStringLiteral("typed");
    f.txtRes()->SetText(typed.toStdString());
    f.txtRes()->moveCursor(QTextCursor::End);
    control->setFocus();
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const char* name : kButtonNames)
        spies.push_back(
            std::make_unique<QSignalSpy>(f.w.findChild<QPushButton*>(name), &QPushButton::clicked));

    QTest::keyClick(QApplication::focusWidget(), k.key, k.modifiers);

    const bool onButton = qobject_cast<QPushButton*>(control) != nullptr;
    const bool pressesFocused = k.modifiers != Qt::AltModifier && k.key != Qt::Key_Escape;
    const QString pressed = k.accessKeyOf                ? QString(k.accessKeyOf)
                            : onButton && pressesFocused ? control->objectName()
                                                         : QString();
    std::vector<int> counts, expectedCounts;
    for (std::size_t i = 0; i < spies.size(); ++i) {
        counts.push_back(int(spies[i]->count()));
        expectedCounts.push_back(pressed == kButtonNames[i] ? 1 : 0);
    }
    EXPECT_EQ(counts, expectedCounts)
        << "clicks of cmd1rect cmd2rect cmd10Rec cmdcalc cmdclear cmdexit";

    QString text = typed;
    for (const TrapezoidButton& b : kButtons)
        if (pressed == b.objectName)
            text = QString::fromLatin1(b.run.text);
    if (pressed == "cmdclear")
        text.clear();
    if (pressed.isEmpty() && control == f.txtRes() && k.key == Qt::Key_Space)
        text += ' ';
    if (pressed.isEmpty() && control == f.txtRes() && pressesFocused && k.key != Qt::Key_Space)
        text += "\r\n";
    EXPECT_EQ(f.text(), text);

    EXPECT_EQ(f.form.ending(), pressed == "cmdexit");
    if (!f.form.ending()) {
        EXPECT_EQ(QApplication::focusWidget(), control) << "the focus stays where it was";
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyFromControl,
                         testing::Combine(testing::ValuesIn(kKeys), testing::Range(0, 8)),
                         [](const testing::TestParamInfo<KeyFromControl::ParamType>& p) {
                             return std::string(std::get<0>(p.param).name) + "_from_" +
                                    app::kLayout[std::get<1>(p.param)].name;
                         });

// An access key clicks at once: a click that arrives after it cannot overtake
// it, and quick repeats are neither merged nor lost.
TEST(Commands, AccessKeysAndClicksAreHandledInArrivalOrder)
{
    StartedForm f;
    std::vector<double> handled;
    for (auto* b : {f.cmd1rect(), f.cmd10Rec()})
        QObject::connect(b, &QPushButton::clicked, &f.w,
                         [&] { handled.push_back(f.form.state().nTrap); });
    // Queue both before either is handled.
    QMetaObject::invokeMethod(
        &f.w, [&] { QTest::keyClick(&f.w, Qt::Key_1, Qt::AltModifier); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &f.w, [&] { QTest::mouseClick(f.cmd10Rec(), Qt::LeftButton); }, Qt::QueuedConnection);
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled.size() >= 2; }));
    EXPECT_EQ(handled, (std::vector<double>{1, 10}));
    EXPECT_EQ(f.form.state().nTrap, 10);
    EXPECT_EQ(f.text().toStdString(), kRuns[2].text);

    QSignalSpy calc(f.cmdcalc(), &QPushButton::clicked);
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(&f.w, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(calc.count(), 10) << "each click at once, none merged";
}

// Exit, by click and by key: status 0, and nothing queued after it runs.
struct Ending
{
    const char* name;
    void (*act)(ui::VelmarWindow&);
};

class Endings : public testing::TestWithParam<Ending>
{
};

TEST_P(Endings, EndsWithStatusZeroAndRunsNothingAfter)
{
    FormOn<> f;
    frmvelmar& form = f.form;
    ui::VelmarWindow& w = f.w;
    QTimer::singleShot(0, &w, [&] {
        w.activateWindow();
        (void)QTest::qWaitForWindowActive(&w);
        GetParam().act(w);
        // Queued after Exit: must never run.
        QMetaObject::invokeMethod(w.findChild<QPushButton*>("cmd1rect"), "click",
                                  Qt::QueuedConnection);
    });
    EXPECT_EQ(ui::exec(form), 0);
    EXPECT_TRUE(form.ending());
    QApplication::processEvents();
    EXPECT_EQ(form.state().nTrap, 0) << "nothing ran after Exit";
}

INSTANTIATE_TEST_SUITE_P(Commands, Endings,
                         testing::Values(Ending{"exitByClick",
                                                [](ui::VelmarWindow& w) {
                                                    QTest::mouseClick(
                                                        w.findChild<QPushButton*>("cmdexit"),
                                                        Qt::LeftButton);
                                                }},
                                         Ending{"exitByAccessKey",
                                                [](ui::VelmarWindow& w) {
                                                    QTest::keyClick(&w, Qt::Key_X, Qt::AltModifier);
                                                }}),
                         byName);

TEST(Commands, ClosingTheWindowEndsTheProgram)
{
    FormOn<> f;
    QTimer::singleShot(0, &f.w, [&] { f.w.close(); });
    EXPECT_EQ(ui::exec(f.form), 0);
}

// The report the user sees: a message window naming the error, which stays up
// until it is dismissed; then the program ends with a failure status.
TEST(Errors, TheReportIsAMessageWindowThenTheProgramEnds)
{
    FormOn<> f; // the real report
    QString shown;
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    dismiss.start(50);
    QTimer::singleShot(0, &f.w, [&] {
        f.picGraph()->setGeometry(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        f.cmdclear()->click();
    });
    EXPECT_EQ(ui::exec(f.form), frmvelmar::kErrorExitCode);
    EXPECT_TRUE(shown.startsWith("Run-time error '480':")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("Canvas operation failed")) << shown.toStdString();
}

} // namespace
