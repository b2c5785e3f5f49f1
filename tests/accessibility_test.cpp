// What a screen reader gets: names, descriptions, and the news of a new result.
#include "formtest.h"
#include "results.h"

#include <QAccessible>
// Test only: switching accessibility on without a screen reader takes the platform.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <gtest/gtest.h>

namespace {

// The editor hands out a line break as a paragraph separator: read it as one.
QString lines(QString text)
{
    return text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

QString spoken(QWidget* w, QAccessible::Text what)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? lines(iface->text(what)) : QString();
}

TEST(Accessibility, EveryControlHasANameAndADescription)
{
    StartedForm f;
    const struct
    {
        QWidget* widget;
        QAccessible::Role role;
        const char* name;
    } controls[] = {
        {f.picGraph(), QAccessible::Graphic, "Graph"},
        {f.cmd1rect(), QAccessible::Button, "1 Trapezoid"},
        {f.cmd2rect(), QAccessible::Button, "2 Trapezoids"},
        {f.cmd10Rec(), QAccessible::Button, "10 Trapezoids"},
        {f.cmdcalc(), QAccessible::Button, "Calculate"},
        {f.cmdclear(), QAccessible::Button, "Clear"},
        {f.cmdexit(), QAccessible::Button, "Exit"},
        {f.txtRes(), QAccessible::EditableText, "Result"},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(spoken(c.widget, QAccessible::Name), c.name);
        EXPECT_FALSE(spoken(c.widget, QAccessible::Description).isEmpty()) << c.name;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(c.widget)->role(), c.role) << c.name;
    }
}

TEST(Accessibility, TheCanvasSaysWhatItShows)
{
    StartedForm f;
    const QString bare = spoken(f.picGraph(), QAccessible::Description);
    EXPECT_TRUE(bare.contains("sine curve")) << bare.toStdString();
    EXPECT_FALSE(bare.contains("trapezoid")) << bare.toStdString();
    QTest::mouseClick(f.cmd10Rec(), Qt::LeftButton);
    EXPECT_EQ(spoken(f.picGraph(), QAccessible::Description),
              bare + " 10 trapezoids approximate the area under it from 0 to π.");
    QTest::mouseClick(f.cmdcalc(), Qt::LeftButton);
    EXPECT_TRUE(spoken(f.picGraph(), QAccessible::Description).contains("10000 trapezoids"));
    QTest::mouseClick(f.cmd1rect(), Qt::LeftButton);
    EXPECT_TRUE(spoken(f.picGraph(), QAccessible::Description)
                    .contains("1 trapezoid approximates the area"));
    QTest::mouseClick(f.cmdclear(), Qt::LeftButton);
    EXPECT_EQ(spoken(f.picGraph(), QAccessible::Description), bare);
}

std::vector<std::pair<QObject*, QString>> g_insertions;

void recordInsertions(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::TextInserted)
        g_insertions.emplace_back(event->object(),
                                  static_cast<QAccessibleTextInsertEvent*>(event)->textInserted());
}

// With a screen reader listening, writing a result tells it the new text.
TEST(Accessibility, ANewResultIsAnnouncedAsATextChange)
{
    QPlatformAccessibility* platform =
        QGuiApplicationPrivate::platformIntegration()->accessibility();
    ASSERT_NE(platform, nullptr);
    platform->setActive(true);
    QAccessible::installUpdateHandler(recordInsertions);
    {
        StartedForm f;
        g_insertions.clear();
        QTest::mouseClick(f.cmd2rect(), Qt::LeftButton);
        ASSERT_FALSE(g_insertions.empty());
        EXPECT_EQ(g_insertions.back().first, f.txtRes());
        // The box's two lines, as a screen reader reads them.
        const QString shown = QString(kRuns[1].text).replace("\r\n", "\n");
        EXPECT_EQ(lines(g_insertions.back().second), shown);
        EXPECT_EQ(spoken(f.txtRes(), QAccessible::Value), shown);
    }
    QAccessible::installUpdateHandler(nullptr);
    platform->setActive(false);
}

} // namespace
