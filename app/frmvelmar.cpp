#include "app/frmvelmar.h"

#include "plot/graph.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

// The report as one line, kept where a signal handler can write it: when the
// report itself cannot be shown (short of memory, the message box aborts), the
// user still learns what went wrong, and the program ends with status 1, never
// with an abort and a core.
char g_reportLine[512];

extern "C" [[noreturn]] void reportLineAndExit(int)
{
    const ssize_t written = ::write(STDERR_FILENO, g_reportLine, std::strlen(g_reportLine));
    (void)written;
    _exit(frmvelmar::kErrorExitCode);
}

class ReportFallback
{
public:
    explicit ReportFallback(const plot::RuntimeError& error)
    {
        std::snprintf(g_reportLine, sizeof g_reportLine,
                      "integration-velmar: run-time error '%d': %s\n", error.code(),
                      error.description().c_str());
        struct sigaction action = {};
        action.sa_handler = reportLineAndExit;
        sigaction(SIGABRT, &action, &m_saved);
    }
    ~ReportFallback() { sigaction(SIGABRT, &m_saved, nullptr); }
    ReportFallback(const ReportFallback&) = delete;
    ReportFallback& operator=(const ReportFallback&) = delete;

    [[noreturn]] void printAndExit() { reportLineAndExit(SIGABRT); }

private:
    struct sigaction m_saved = {};
};

} // namespace

frmvelmar::frmvelmar(ErrorReport report) : m_report(std::move(report))
{
    const std::pair<QPushButton*, void (frmvelmar::*)()> handlers[] = {
        {m_window.cmd1rect, &frmvelmar::cmd1rect_Click},
        {m_window.cmd2rect, &frmvelmar::cmd2rect_Click},
        {m_window.cmd10Rec, &frmvelmar::cmd10Rec_Click},
        {m_window.cmdcalc, &frmvelmar::cmdcalc_Click},
        {m_window.cmdclear, &frmvelmar::cmdclear_Click},
        {m_window.cmdexit, &frmvelmar::cmdexit_Click},
    };
    for (const auto& [button, handler] : handlers)
        QObject::connect(button, &QPushButton::clicked, &m_window,
                         [this, handler = handler] { run(handler); });
    QObject::connect(m_window.picGraph, &ui::CanvasWidget::redrawNeeded, &m_window,
                     [this] { run(&frmvelmar::followPixelRatio); });
}

bool frmvelmar::start()
{
    run(&frmvelmar::Form_Load);
    if (ending())
        return false;
    m_window.picGraph->setFocus(Qt::OtherFocusReason);
    m_window.show();
    return true;
}

int frmvelmar::exec()
{
    if (!start())
        return m_exitCode;
    const int status = QApplication::exec();
    return ending() ? m_exitCode : status;
}

void frmvelmar::run(void (frmvelmar::*handler)())
{
    if (ending())
        return;
    try {
        followPixelRatio(); // nothing is added to a picture drawn at another ratio
        (this->*handler)();
        m_window.picGraph->flush();
        return;
    } catch (const plot::RuntimeError& error) {
        fail(error);
    } catch (const std::bad_alloc&) {
        fail(plot::RuntimeError(plot::ErrorNumber::OutOfMemory));
    }
}

void frmvelmar::fail(const plot::RuntimeError& error)
{
    m_window.picGraph->flush(); // what was drawn before the error stays on view
    // No handler runs from here on, not even while the report is up; the event
    // loop is told to end only after it, or the report's own loop would end at once.
    m_exitCode = kErrorExitCode;
    ReportFallback fallback(error);
    try {
        m_report(error);
    } catch (const std::bad_alloc&) {
        fallback.printAndExit();
    }
    QCoreApplication::exit(kErrorExitCode);
}

void frmvelmar::end(int exitCode)
{
    m_exitCode = exitCode;
    QCoreApplication::exit(exitCode);
}

void frmvelmar::showErrorMessage(const plot::RuntimeError& error)
{
    QMessageBox::critical(nullptr, QStringLiteral("Integration Velmar"),
                          QStringLiteral("Run-time error '%1':\n\n%2")
                              .arg(error.code())
                              .arg(QString::fromStdString(error.description())));
}

void frmvelmar::Form_Load()
{
    m_state.xOrigin = plot::kLoadedXOrigin;
    m_state.yMargin = plot::kLoadedYMargin;
    m_state.pi = plot::kLoadedPi;
    cmdclear_Click();
}

void frmvelmar::cmd1rect_Click()
{
    m_state.nTrap = 1;
    Integration();
}

void frmvelmar::cmd2rect_Click()
{
    m_state.nTrap = 2;
    Integration();
}

void frmvelmar::cmd10Rec_Click()
{
    m_state.nTrap = 10;
    Integration();
}

void frmvelmar::cmdcalc_Click()
{
    m_state.nTrap = 10000;
    Integration();
}

void frmvelmar::cmdclear_Click()
{
    plot::graphReset(m_state, *m_window.picGraph, *m_window.txtRes);
    m_countsSinceClear.clear();
    m_window.tellRun(0);
}

void frmvelmar::cmdexit_Click()
{
    end(0);
    m_window.hide();
}

void frmvelmar::Integration()
{
    const plot::Integral result = plot::integrate(m_state, *m_window.picGraph, *m_window.txtRes);
    if (std::find(m_countsSinceClear.begin(), m_countsSinceClear.end(), m_state.nTrap) ==
        m_countsSinceClear.end())
        m_countsSinceClear.push_back(m_state.nTrap);
    m_window.tellRun(int(result.passes));
}

void frmvelmar::followPixelRatio()
{
    if (!m_window.picGraph->needsRedraw())
        return;
    // The box keeps its text: the redraw writes into this one instead.
    struct Unshown : plot::TextBox
    {
        std::string text;
        std::string Text() const override { return text; }
        void SetText(const std::string& t) override { text = t; }
    } unshown;
    plot::graphReset(m_state, *m_window.picGraph, unshown);
    for (double n : m_countsSinceClear) {
        plot::FormState state = m_state;
        state.nTrap = n;
        plot::integrate(state, *m_window.picGraph, unshown);
    }
}
