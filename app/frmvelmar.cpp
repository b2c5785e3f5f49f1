#include "app/frmvelmar.h"

#include "plot/graph.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"

#include <QApplication>
#include <QMessageBox>

#include <new>

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
    m_report(error);
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
    m_window.tellRun(int(result.passes));
}
