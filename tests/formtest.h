#pragma once

#include "app/frmvelmar.h"
#include "plot/canvas.h"
#include "plot/error.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"
#include "ui/velmarwindow.h"

#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QScreen>
#include <QTest>
#include <qpa/qplatformnativeinterface.h>

#include <memory>
#include <vector>

// The program's window, whose error reports are collected instead of shown.
struct CollectingWindow : ui::VelmarWindow
{
    std::vector<plot::RuntimeError> reports;
    void reportError(const plot::RuntimeError& e) override { reports.push_back(e); }
};

// The window and its form, wired as the program wires them.
template <typename Window = ui::VelmarWindow> struct FormOn
{
    Window w;
    frmvelmar form{w};
    FormOn() { w.drive(form); }

    // The controls by the names the form knows them by, as the window names them.
    template <typename T> T* control(const char* name) const
    {
        return w.template findChild<T*>(name);
    }
    ui::CanvasWidget* picGraph() const { return control<ui::CanvasWidget>("picGraph"); }
    ui::CommandButton* cmd1rect() const { return control<ui::CommandButton>("cmd1rect"); }
    ui::CommandButton* cmd2rect() const { return control<ui::CommandButton>("cmd2rect"); }
    ui::CommandButton* cmd10Rec() const { return control<ui::CommandButton>("cmd10Rec"); }
    ui::CommandButton* cmdcalc() const { return control<ui::CommandButton>("cmdcalc"); }
    ui::CommandButton* cmdclear() const { return control<ui::CommandButton>("cmdclear"); }
    ui::CommandButton* cmdexit() const { return control<ui::CommandButton>("cmdexit"); }
    ui::ResultBox* txtRes() const { return control<ui::ResultBox>("txtRes"); }
};

// A started form whose error reports are collected instead of shown.
struct StartedForm : FormOn<CollectingWindow>
{
    std::vector<plot::RuntimeError>& reports = w.reports;

    explicit StartedForm(bool activate = true, QScreen* screen = nullptr)
    {
        if (screen) {
            w.setScreen(screen);
            w.move(screen->geometry().topLeft() + QPoint(50, 50));
        }
        form.start();
        if (activate) {
            w.activateWindow();
            (void)QTest::qWaitForWindowActive(&w);
        }
    }

    QImage image() const { return picGraph()->image().copy(); }
    QString text() const { return QString::fromStdString(txtRes()->Text()); }
};

// The offscreen platform's screens, set for one test and put back after it:
// each {name, x, y, width, height, device pixel ratio}.
class OffscreenScreens
{
public:
    struct Screen
    {
        const char* name;
        int x, y, width, height;
        double ratio;
        double dpi = 96; // the logical dots per inch a desktop's font setting gives
    };

    explicit OffscreenScreens(std::initializer_list<Screen> screens)
    {
        m_saved = call<QJsonObject (*)(void*)>("configuration")(platform());
        QJsonObject config = m_saved;
        QJsonArray list;
        for (const Screen& s : screens)
            list.append(QJsonObject{{"name", s.name},
                                    {"x", s.x},
                                    {"y", s.y},
                                    {"width", s.width},
                                    {"height", s.height},
                                    {"logicalDpi", s.dpi},
                                    {"logicalBaseDpi", 96},
                                    {"dpr", s.ratio}});
        config["screens"] = list;
        call<void (*)(const QJsonObject&, void*)>("setConfiguration")(config, platform());
    }
    ~OffscreenScreens()
    {
        call<void (*)(const QJsonObject&, void*)>("setConfiguration")(m_saved, platform());
    }
    OffscreenScreens(const OffscreenScreens&) = delete;
    OffscreenScreens& operator=(const OffscreenScreens&) = delete;

    static QScreen* named(const char* name)
    {
        for (QScreen* s : QGuiApplication::screens())
            if (s->name() == QLatin1String(name))
                return s;
        return nullptr;
    }

private:
    // The offscreen platform's own functions take its native interface.
    static void* platform() { return QGuiApplication::platformNativeInterface(); }
    template <typename F> static F call(const char* name)
    {
        void* function =
            QGuiApplication::platformNativeInterface()->nativeResourceForIntegration(name);
        if (!function)
            qFatal("the offscreen platform has no %s", name);
        return reinterpret_cast<F>(function);
    }

    QJsonObject m_saved;
};

inline QRgb toQRgb(plot::Rgb c)
{
    return qRgb(c.red, c.green, c.blue);
}

inline const QRgb kBlack = qRgb(0, 0, 0);
inline const QRgb kYellow = toQRgb(plot::kAxisColour);
inline const QRgb kCyan = toQRgb(plot::kCurveColour);
inline const QRgb kGreen = toQRgb(plot::kTrapezoidColour);
