// The lecturers' guide quotes the program's own figures: its table of the four
// runs must be what the engine works out, digit for digit.
#include "fakes.h"
#include "plot/displaytext.h"
#include "plot/graph.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// A number as the guide writes it: the program's display text, without the
// blank a non-negative value takes in the box.
std::string figure(double value)
{
    const std::string text = plot::displayText(value);
    return text[0] == ' ' ? text.substr(1) : text;
}

} // namespace

TEST(TeachingGuide, TableIsTheEngines)
{
    std::string expected;
    for (const double n : {1.0, 2.0, 10.0, 10000.0}) {
        fakes::RecordingCanvas canvas(8955, 5955);
        fakes::FakeTextBox box;
        const plot::Integral run = plot::integrate(fakes::loaded(n), canvas, box);
        const double error = 2 - run.sum;
        expected += "| " + figure(n) + " | `" + box.text.substr(0, box.text.find('\r')) + "` | " +
                    figure(error) + " | " + figure(error * n * n) + " |\n";
    }
    std::ifstream guide(VELMAR_TEACHING_GUIDE);
    ASSERT_TRUE(guide) << "cannot read " << VELMAR_TEACHING_GUIDE;
    std::string table, line;
    while (std::getline(guide, line))
        if (line.rfind("| ", 0) == 0 && line.find("Integral Sin(x)") != std::string::npos)
            table += line + '\n';
    EXPECT_EQ(table, expected) << "the guide's rows, as the engine works them out:\n" << expected;
}
