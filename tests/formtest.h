#pragma once

#include "app/frmvelmar.h"
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

inline const QRgb kBlack = qRgb(0, 0, 0);
inline const QRgb kYellow = qRgb(255, 255, 0);
inline const QRgb kCyan = qRgb(100, 255, 255);
inline const QRgb kGreen = qRgb(0, 255, 0);
