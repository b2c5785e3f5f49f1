#include "ui/velmarwindow.h"

#include "app/frmvelmar.h"
#include "ui/announcer.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWindow>

#include <algorithm>

namespace ui {

namespace {

QRect toQRect(const app::Rect& r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

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
    widget->setGeometry(toQRect(p.geometry));
    widget->setAccessibleName(QString::fromUtf8(p.spokenName));
    if (p.description)
        widget->setAccessibleDescription(QString::fromUtf8(p.description));
    return widget;
}

// Pixels kept free on either side of a caption, so that it does not touch the
// button's edges; and one more, for rounding the scaled edges.
constexpr int kCaptionPadding = 2;
constexpr int kRoundingSlack = 1;

// What assistive technology is told each of our own widget classes is: the
// window a frame (a top-level window), the canvas an image. Left to Qt, a plain
// top-level widget reads as a filler and a QFrame as a frame, which a screen
// reader announces as a second window inside the first.
QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String(VelmarWindow::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (className == QLatin1String(CanvasWidget::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    if (className == QLatin1String(Notification::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

// Installs accessibleFor() once, before the first control exists: Qt keeps the
// first interface it made for a widget for the whole life of the widget.
void installAccessibleRoles()
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
}

// The character a key carries on a US keyboard, by its keycode (evdev's code
// plus 8, as X11 and Wayland number keys). The same place carries the digit on
// the keyboards whose digits need Shift (French, Belgian, Czech, Slovak,
// Lithuanian) and the Latin letter on the keyboards of non-Latin layouts
// (Russian, Ukrainian, Greek, Hebrew, Arabic), which print it there.
QChar usCharacter(quint32 keycode)
{
    static const struct
    {
        quint32 first;
        QLatin1String row;
    } rows[] = {{10, QLatin1String("1234567890")},
                {24, QLatin1String("QWERTYUIOP")},
                {38, QLatin1String("ASDFGHJKL")},
                {52, QLatin1String("ZXCVBNM")}};
    for (const auto& r : rows)
        if (keycode >= r.first && keycode < r.first + quint32(r.row.size()))
            return r.row.at(keycode - r.first);
    return {};
}

QRect scaled(const QRect& r, double factor)
{
    // Edges, not sizes, are scaled: neighbours keep their proportions and gaps.
    return QRect(
        QPoint(qRound(r.left() * factor), qRound(r.top() * factor)),
        QPoint(qRound((r.right() + 1) * factor) - 1, qRound((r.bottom() + 1) * factor) - 1));
}

} // namespace

VelmarWindow::VelmarWindow(QWidget* parent) : QWidget(parent)
{
    installAccessibleRoles();
    m_fittedAt = devicePixelRatioF();
    for (const app::ControlPlace& p : app::kLayout)
        m_controls.append(makeControl(p, this));
    for (qsizetype i = 1; i < m_controls.size(); ++i)
        setTabOrder(m_controls[i - 1], m_controls[i]);
    picGraph = control<CanvasWidget>("picGraph");
    cmd1rect = control<CommandButton>("cmd1rect");
    cmd2rect = control<CommandButton>("cmd2rect");
    cmd10Rec = control<CommandButton>("cmd10Rec");
    cmdcalc = control<CommandButton>("cmdcalc");
    cmdclear = control<CommandButton>("cmdclear");
    cmdexit = control<CommandButton>("cmdexit");
    txtRes = control<ResultBox>("txtRes");
    m_announcer = std::make_unique<Announcer>(this);

    setObjectName(QStringLiteral("frmvelmar"));
    setWindowTitle(QString::fromUtf8(app::kCaption));
    // Every size the build compiled in (see ui/CMakeLists.txt).
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/icons")).entryInfoList(QDir::Files))
        icon.addFile(file.filePath());
    setWindowIcon(icon);
    fitToScreen();
}

void VelmarWindow::drive(frmvelmar& form)
{
    for (const app::ControlPlace& p : app::kLayout)
        if (p.kind == app::ControlKind::Button)
            connect(control<CommandButton>(p.name), &QPushButton::clicked, this,
                    [&form, name = p.name] { form.click(name); });
    connect(picGraph, &CanvasWidget::redrawNeeded, this, [&form] { form.canvasChanged(); });
}

plot::Canvas& VelmarWindow::canvas()
{
    return picGraph->raster();
}

plot::TextBox& VelmarWindow::resultBox()
{
    return *txtRes;
}

bool VelmarWindow::canvasNeedsRedraw()
{
    return picGraph->raster().stale();
}

void VelmarWindow::showDrawing()
{
    picGraph->flush();
}

void VelmarWindow::describeCanvas(const std::string& text)
{
    picGraph->setAccessibleDescription(QString::fromStdString(text));
}

void VelmarWindow::announce(const std::string& text)
{
    m_announcer->announce(QString::fromStdString(text));
}

void VelmarWindow::open()
{
    picGraph->setFocus(Qt::OtherFocusReason);
    show();
}

void VelmarWindow::reportError(const plot::RuntimeError& error)
{
    QMessageBox::critical(nullptr, QString::fromUtf8(app::kCaption),
                          QStringLiteral("Run-time error '%1':\n\n%2")
                              .arg(error.code())
                              .arg(QString::fromStdString(error.description())));
}

// The report (when there was one) was dismissed: the event loop ends.
void VelmarWindow::quit(int status)
{
    hide();
    QCoreApplication::exit(status);
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
    // The native window exists from the first show on: follow it from screen to
    // screen. A window manager may also place it on another screen than the one
    // it was fitted for (kwin puts a new window where the pointer is).
    if (QWindow* native = windowHandle(); native && !m_watched) {
        connect(native, &QWindow::screenChanged, this, &VelmarWindow::followScreen);
        followScreen(native->screen());
    }
}

void VelmarWindow::followScreen(QScreen* screen)
{
    if (!screen)
        return;
    if (screen != m_watched) {
        disconnect(m_roomWatch);
        m_watched = screen;
        m_roomWatch = connect(screen, &QScreen::availableGeometryChanged, this, [this] {
            fitToScreen();
            keepOnScreen();
        });
    }
    if (devicePixelRatioF() != m_fittedAt)
        followRatio();
    else if (screen->availableGeometry() != m_fittedRoom)
        fitToScreen(); // another screen of the same scale, with a room of its own
}

// A change of scale without a resize by the window manager: the window kept its
// device pixels, and so shows another logical size. It takes the form's again,
// once Qt has told both the new ratio and the new geometry: they come as two
// events, in either order, so the fit waits for the event loop to deliver both.
void VelmarWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    followRatio();
}

void VelmarWindow::followRatio()
{
    if (devicePixelRatioF() == m_fittedAt || m_fitPending)
        return;
    m_fitPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_fitPending = false;
            m_fittedAt = devicePixelRatioF();
            fitToScreen();
        },
        Qt::QueuedConnection);
}

void VelmarWindow::fitToScreen()
{
    // The desktop's font again, should the last fit have taken a smaller one.
    setFont(QApplication::font(this));
    scaleBy(fittingScale());
    m_fittedRoom = screen() ? screen()->availableGeometry() : QRect();
}

// A window manager leaves a window where it was when the screen shrinks: the
// form, fitted anew, is moved back inside the room left.
void VelmarWindow::keepOnScreen()
{
    if (!isVisible() || !screen())
        return;
    const QRect room = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    if (room.contains(frame))
        return;
    const QPoint inside(std::clamp(frame.left(), room.left(),
                                   std::max(room.left(), room.right() - frame.width() + 1)),
                        std::clamp(frame.top(), room.top(),
                                   std::max(room.top(), room.bottom() - frame.height() + 1)));
    move(inside);
}

VelmarWindow::~VelmarWindow() = default;

// Alt with a key no access key matched reaches the window. Where that key gives
// no Latin letter or digit (an unshifted digit key on French AZERTY, a letter
// key on a Russian layout), the access key is taken from the character the key
// carries in its place on the keyboard, as desktop programs do: Alt + the key
// labelled 1 presses "&1 Trapezoid" on every layout. AltGr is no Alt: the
// characters it types are untouched.
void VelmarWindow::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers chord =
        event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
    const int key = event->key();
    const bool latin =
        (key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z);
    const QChar place = usCharacter(event->nativeScanCode());
    if (chord == Qt::AltModifier && !latin && !place.isNull()) {
        for (CommandButton* b : findChildren<CommandButton*>()) {
            const QKeySequence mnemonic = QKeySequence::mnemonic(b->text());
            if (!mnemonic.isEmpty() && mnemonic[0].key() == Qt::Key(place.unicode())) {
                b->click();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

// The control the table names so, of the kind the table gives it.
template <typename T> T* VelmarWindow::control(const char* name) const
{
    for (QWidget* w : m_controls)
        if (w->objectName() == QLatin1String(name))
            if (T* typed = qobject_cast<T*>(w))
                return typed;
    qFatal("the layout has no %s of that kind", name);
}

// The smallest factor, at least 1, at which every caption fits inside its
// button's label area and both result lines inside the box, in the default font.
double VelmarWindow::neededScale() const
{
    // Measured on the controls at their normal sizes, whatever the last fit made them.
    auto normal = [this](const QWidget* w) {
        return toQRect(app::kLayout[m_controls.indexOf(w)].geometry).size();
    };
    double factor = 1;
    for (const CommandButton* b : findChildren<CommandButton*>()) {
        QStyleOptionButton option;
        option.initFrom(b);
        option.rect = QRect(QPoint(), normal(b));
        option.text = b->text();
        const int width = option.rect.width();
        const int label =
            b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b).width();
        const int caption = b->fontMetrics().horizontalAdvance(QString(b->text()).remove('&'));
        const int needed = caption + 2 * kCaptionPadding + (width - label) + kRoundingSlack;
        factor = std::max(factor, double(needed) / width);
    }
    const int twoLines = txtRes->heightForTwoLines() + kRoundingSlack;
    return std::max(factor, double(twoLines) / normal(txtRes).height());
}

// How far the form may grow on its screen: the available area (less panels and
// docks) less the title bar and borders a window manager adds.
double VelmarWindow::screenRoom() const
{
    const QRect available = screen()->availableGeometry();
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    return std::min(double(available.width() - 2 * border) / app::kClientWidth,
                    double(available.height() - titleBar - 2 * border) / app::kClientHeight);
}

// The growth the font asks for where it fits the screen. Where it does not, the
// controls take the largest font, in half points, whose growth fits; where not
// even the normal size fits (640 x 480), the font decides as it would anyway.
double VelmarWindow::fittingScale()
{
    const double wanted = neededScale();
    const double room = screenRoom();
    if (wanted <= room || room < 1)
        return wanted;
    QFont smaller = font();
    const bool inPoints = smaller.pointSizeF() > 0;
    const qreal asked = inPoints ? smaller.pointSizeF() : smaller.pixelSize();
    const qreal step = inPoints ? 0.5 : 1;
    for (qreal size = asked - step; size >= 1; size -= step) {
        if (inPoints)
            smaller.setPointSizeF(size);
        else
            smaller.setPixelSize(int(size));
        setFont(smaller);
        if (neededScale() <= room)
            break;
    }
    return std::min(neededScale(), room);
}

void VelmarWindow::scaleBy(double factor)
{
    for (qsizetype i = 0; i < m_controls.size(); ++i) // made from kLayout, in its order
        m_controls[i]->setGeometry(scaled(toQRect(app::kLayout[i].geometry), factor));
    // In logical pixels: on a screen of twice the scale, twice the device pixels.
    resize(qRound(app::kClientWidth * factor), qRound(app::kClientHeight * factor));
    // The canvas keeps its extent in twips, whatever its size in pixels.
    const QSize drawingArea = toQRect(app::kLayout[m_controls.indexOf(picGraph)].geometry).size() -
                              2 * QSize(app::kCanvasBorder, app::kCanvasBorder);
    picGraph->setTwipExtent(drawingArea.width() * app::kTwipsPerPixel,
                            drawingArea.height() * app::kTwipsPerPixel);
}

} // namespace ui
