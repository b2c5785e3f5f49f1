#include "ui/velmarwindow.h"

#include "app/frmvelmar.h"
#include "ui/accessibleroles.h"
#include "ui/accesskeys.h"
#include "ui/announcer.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/errorreport.h"
#include "ui/formfit.h"
#include "ui/resultbox.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>

namespace ui {

namespace {

QWidget* makeControl(const app::ControlPlace& p, QWidget* parent)
{
    QWidget* widget = nullptr;
    switch (p.kind) {
    case app::ControlKind::Canvas:
        widget = new CanvasWidget(parent);
        break;
    case app::ControlKind::Button:
        widget = new CommandButton(QString::fromUtf8(p.caption), parent);
        break;
    case app::ControlKind::ResultBox:
        widget = new ResultBox(parent);
        break;
    }
    widget->setObjectName(QLatin1String(p.name));
    widget->setGeometry(p.geometry.left, p.geometry.top, p.geometry.width, p.geometry.height);
    widget->setAccessibleName(QString::fromUtf8(p.spokenName));
    if (p.description)
        widget->setAccessibleDescription(QString::fromUtf8(p.description));
    return widget;
}

} // namespace

VelmarWindow::VelmarWindow(QWidget* parent) : QWidget(parent)
{
    installAccessibleRoles();
    for (const app::ControlPlace& p : app::kLayout)
        m_controls.append({makeControl(p, this), &p});
    for (qsizetype i = 1; i < m_controls.size(); ++i)
        setTabOrder(m_controls[i - 1].widget, m_controls[i].widget);
    m_picGraph = control<CanvasWidget>("picGraph");
    m_txtRes = control<ResultBox>("txtRes");
    m_announcer = std::make_unique<Announcer>(this);

    setObjectName(QStringLiteral("frmvelmar"));
    setWindowTitle(QString::fromUtf8(app::kCaption));
    // Every size the build compiled in (see ui/CMakeLists.txt).
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files))
        icon.addFile(file.filePath());
    setWindowIcon(icon);
    m_fit = new FormFit(*this, m_controls, *m_picGraph, *m_txtRes);
    m_fit->fit();
}

void VelmarWindow::drive(frmvelmar& form)
{
    for (const app::ControlPlace& p : app::kLayout)
        if (p.kind == app::ControlKind::Button)
            connect(control<CommandButton>(p.name), &QPushButton::clicked, this,
                    [&form, name = p.name] { form.click(name); });
    connect(m_picGraph, &CanvasWidget::redrawNeeded, this, [&form] { form.canvasChanged(); });
}

plot::Canvas& VelmarWindow::canvas()
{
    return m_picGraph->raster();
}

plot::TextBox& VelmarWindow::resultBox()
{
    return *m_txtRes;
}

bool VelmarWindow::canvasNeedsRedraw()
{
    return m_picGraph->raster().stale();
}

void VelmarWindow::showDrawing()
{
    m_picGraph->flush();
}

void VelmarWindow::describeCanvas(const std::string& text)
{
    m_picGraph->setAccessibleDescription(QString::fromStdString(text));
}

void VelmarWindow::announce(const std::string& text)
{
    m_announcer->announce(QString::fromStdString(text));
}

void VelmarWindow::open()
{
    m_picGraph->setFocus(Qt::OtherFocusReason);
    show();
}

void VelmarWindow::reportError(const plot::RuntimeError& error)
{
    ui::reportError(error, [](const QString& heading, const QString& description) {
        QMessageBox::critical(nullptr, QString::fromUtf8(app::kCaption),
                              heading + QLatin1String("\n\n") + description);
    });
}

// The report (when there was one) was dismissed: the event loop ends.
void VelmarWindow::quit(int status)
{
    hide();
    QCoreApplication::exit(status);
}

QList<QWidget*> VelmarWindow::tabOrder() const
{
    QList<QWidget*> widgets;
    for (const PlacedControl& c : m_controls)
        widgets.append(c.widget);
    return widgets;
}

int exec(frmvelmar& form)
{
    if (!form.start())
        return form.exitCode();
    const int status = QApplication::exec();
    return form.ending() ? form.exitCode() : status;
}

void VelmarWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_fit->shown();
}

void VelmarWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_fit->resized();
}

VelmarWindow::~VelmarWindow() = default;

// Every Alt chord is the window's: Qt's own access keys (registered by the
// buttons' captions, and told to assistive technology) never act, so the core
// alone decides which button a chord presses, once the key comes.
bool VelmarWindow::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && isAltChord(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

// An Alt chord that no control took (none does): the button the core names.
void VelmarWindow::keyPressEvent(QKeyEvent* event)
{
    if (const char* name = buttonForKey(*event)) {
        control<CommandButton>(name)->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The control the table names so, of the kind the table gives it.
template <typename T> T* VelmarWindow::control(const char* name) const
{
    for (const PlacedControl& c : m_controls)
        if (c.widget->objectName() == QLatin1String(name))
            if (T* typed = qobject_cast<T*>(c.widget))
                return typed;
    qFatal("the layout has no %s of that kind", name);
}

} // namespace ui
