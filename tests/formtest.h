#pragma once

#include "app/frmvelmar.h"
#include "plot/canvas.h"
#include "plot/error.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"

#include <QImage>
#include <QTest>

#include <memory>
#include <vector>

// A started form whose error reports are collected instead of shown.
struct StartedForm
{
    std::vector<plot::RuntimeError> reports;
    frmvelmar form{[this](const plot::RuntimeError& e) { reports.push_back(e); }};
    ui::VelmarWindow& w = form.window();

    explicit StartedForm(bool activate = true)
    {
        form.start();
        if (activate) {
            w.activateWindow();
            (void)QTest::qWaitForWindowActive(&w);
        }
    }

    QImage image() const { return w.picGraph->image().copy(); }
    QString text() const { return QString::fromStdString(w.txtRes->Text()); }
};

inline QRgb toQRgb(plot::Rgb c)
{
    return qRgb(c.red, c.green, c.blue);
}

inline const QRgb kBlack = qRgb(0, 0, 0);
inline const QRgb kYellow = toQRgb(plot::kAxisColour);
inline const QRgb kCyan = toQRgb(plot::kCurveColour);
inline const QRgb kGreen = toQRgb(plot::kTrapezoidColour);
