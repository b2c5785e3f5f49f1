#include "ui/errorreport.h"

#include "app/frmvelmar.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

namespace ui {

namespace {

// The report as one line, kept where a signal handler can write it.
char g_reportLine[512];

extern "C" [[noreturn]] void reportLineAndExit(int)
{
    const ssize_t written = ::write(STDERR_FILENO, g_reportLine, std::strlen(g_reportLine));
    (void)written;
    _exit(frmvelmar::kErrorExitCode);
}

// While the report is up, an abort writes the line instead.
class AbortWritesTheLine
{
public:
    AbortWritesTheLine()
    {
        struct sigaction action = {};
        action.sa_handler = reportLineAndExit;
        sigaction(SIGABRT, &action, &m_saved);
    }
    ~AbortWritesTheLine() { sigaction(SIGABRT, &m_saved, nullptr); }
    AbortWritesTheLine(const AbortWritesTheLine&) = delete;
    AbortWritesTheLine& operator=(const AbortWritesTheLine&) = delete;

private:
    struct sigaction m_saved = {};
};

} // namespace

void reportError(const plot::RuntimeError& error,
                 void (*show)(const QString& heading, const QString& description))
{
    const std::string heading = frmvelmar::reportHeading(error);
    std::snprintf(g_reportLine, sizeof g_reportLine, "integration-velmar: %s %s\n", heading.c_str(),
                  error.description().c_str());
    AbortWritesTheLine fallback;
    try {
        show(QString::fromStdString(heading), QString::fromStdString(error.description()));
    } catch (const std::bad_alloc&) {
        reportLineAndExit(SIGABRT);
    }
}

} // namespace ui
