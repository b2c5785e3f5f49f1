// GoogleTest under a QApplication on the offscreen platform unless told otherwise.
#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

// One test asks for an image far too large on purpose: under AddressSanitizer the
// allocation must fail as it does in a normal build, not abort the run.
extern "C" const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // --scale=F runs the whole binary at that screen scale factor.
    for (int i = 1; i < argc; ++i)
        if (qstrncmp(argv[i], "--scale=", 8) == 0)
            qputenv("QT_SCALE_FACTOR", argv[i] + 8);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
