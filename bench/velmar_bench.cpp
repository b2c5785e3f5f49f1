// Figures for the program's hot paths, each beside its reference:
//  - one press of Calculate (10000 trapezoids) through the form and the Qt canvas,
//    against the engine alone on a canvas that draws nothing plus the raster alone
//    drawing the same 30000 segments (the press's floor), and those segments drawn
//    straight through one QPainter into an image of the canvas size;
//  - the engine alone against the same engine with its status tests compiled out;
//  - one press of Clear against its 0.5 ms budget;
//  - start-up to the first frame against a bare window with the same eight widgets;
//  - 1000 presses of Calculate in one process: memory growth and drift of the press time.
// Run through script/bench (release build, offscreen platform).
#include "app/frmvelmar.h"
#include "bench/enginefloor.h"
#include "bench/enginerun.h"
#include "plot/graph.h"
#include "raster/rastercanvas.h"
#include "ui/canvaswidget.h"
#include "ui/commandbutton.h"
#include "ui/resultbox.h"
#include "ui/velmarwindow.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

qreal g_ratio = 1;
std::string g_self;

// The program's own window and form, started once for the whole run.
struct Program
{
    ui::VelmarWindow window;
    frmvelmar form{window};
};

Program& program()
{
    static Program* p = [] {
        auto* created = new Program;
        created->window.drive(created->form);
        created->form.start();
        QApplication::processEvents();
        return created;
    }();
    return *p;
}

ui::VelmarWindow& window()
{
    return program().window;
}

// The controls, found by the names the form knows them by.
ui::CanvasWidget* picGraph()
{
    return window().findChild<ui::CanvasWidget*>(QStringLiteral("picGraph"));
}

QPushButton* button(const char* name)
{
    return window().findChild<QPushButton*>(QLatin1String(name));
}

plot::FormState calculateState()
{
    plot::FormState s = program().form.state(); // as the load handler left it
    s.nTrap = 10000;
    return s;
}

// ---- the references: the engine alone, and the segments of a 10000 run ----

struct Segment
{
    float x1, y1, x2, y2;
    plot::Rgb colour;
};

// The program's canvas extent; keeps the segments.
class SegmentCollector : public bench::NullCanvas
{
public:
    SegmentCollector()
        : NullCanvas(picGraph()->raster().ScaleWidth(), picGraph()->raster().ScaleHeight())
    {
    }
    void Line(float x1, float y1, float x2, float y2, plot::Rgb colour) override
    {
        segments.push_back({x1, y1, x2, y2, colour});
    }
    std::vector<Segment> segments;
};

const std::vector<Segment>& calculateSegments()
{
    static const std::vector<Segment> segments = [] {
        SegmentCollector c;
        plot::integrate(calculateState(), c, c);
        return c.segments;
    }();
    return segments;
}

void BM_EngineAlone(benchmark::State& state)
{
    const auto& raster = picGraph()->raster();
    bench::runEngine(state, calculateState(), raster.ScaleWidth(), raster.ScaleHeight());
}

// The same run with the engine's status tests compiled out: the floor they are
// measured against.
void BM_EngineFloor(benchmark::State& state)
{
    const plot::FormState s = calculateState();
    const auto& raster = picGraph()->raster();
    bench::engineFloor(state, raster.ScaleWidth(), raster.ScaleHeight(), s.xOrigin, s.yMargin,
                       s.pi);
}

void BM_RasterAlone(benchmark::State& state)
{
    const std::vector<Segment>& segments = calculateSegments();
    raster::RasterCanvas canvas;
    canvas.setArea(picGraph()->raster().area());
    canvas.Erase();
    for (auto _ : state) {
        for (const Segment& l : segments)
            canvas.Line(l.x1, l.y1, l.x2, l.y2, l.colour);
        benchmark::DoNotOptimize(canvas.takeChanged());
    }
}

void BM_PainterReference(benchmark::State& state)
{
    std::vector<QLine> lines;
    const raster::DrawingArea area = picGraph()->raster().area();
    auto dx = [&](float t) { return raster::RasterCanvas::toDevice(t, g_ratio, area.twipsX); };
    auto dy = [&](float t) { return raster::RasterCanvas::toDevice(t, g_ratio, area.twipsY); };
    for (const Segment& s : calculateSegments())
        lines.emplace_back(dx(s.x1), dy(s.y1), dx(s.x2), dy(s.y2));
    QImage image(picGraph()->image().size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    for (auto _ : state) {
        QPainter p(&image);
        p.setPen(QPen(QColor(0, 255, 0), 1));
        for (const QLine& l : lines)
            p.drawLine(l);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_CalculatePress(benchmark::State& state)
{
    for (auto _ : state)
        button("cmdcalc")->click();
    state.counters["image_px"] = picGraph()->image().width();
}

void BM_ClearPress(benchmark::State& state)
{
    for (auto _ : state)
        button("cmdclear")->click();
}

// ---- start-up: a child process that shows a window and says when its first frame is done ----

int startupProbe(const std::string& what)
{
    static int argc = 1;
    static char name[] = "velmar-bench";
    static char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    struct FirstFrame : QObject
    {
        bool eventFilter(QObject* o, QEvent* e) override
        {
            if (e->type() == QEvent::Paint && o->isWidgetType() &&
                static_cast<QWidget*>(o)->isWindow())
                QTimer::singleShot(0, [] {
                    std::fputs("frame\n", stdout);
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            return false;
        }
    } watcher;
    app.installEventFilter(&watcher);

    if (what == "form") {
        static ui::VelmarWindow w;
        static frmvelmar f(w);
        w.drive(f);
        f.start();
    } else {
        // Plain widgets at the window's own places, with nothing drawn.
        auto* w = new QWidget;
        for (const app::ControlPlace& place : app::kLayout) {
            QWidget* control;
            if (place.kind == app::ControlKind::Button) {
                control = new QPushButton(place.caption, w);
            } else if (place.kind == app::ControlKind::Canvas) {
                auto* canvas = new QFrame(w);
                canvas->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                canvas->setLineWidth(2);
                canvas->setAutoFillBackground(true);
                QPalette p = canvas->palette();
                p.setColor(QPalette::Window, Qt::black);
                canvas->setPalette(p);
                control = canvas;
            } else {
                control = new QPlainTextEdit(w);
            }
            const app::Rect& g = place.geometry;
            control->setGeometry(g.left, g.top, g.width, g.height);
        }
        w->setWindowTitle("Integration Velmar");
        w->resize(app::kClientWidth, app::kClientHeight);
        w->show();
    }
    return app.exec();
}

double spawnToFirstFrame(const char* what)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const char* argv[] = {g_self.c_str(), "--startup-probe", what, nullptr};
    pid_t pid;
    const auto begin = Clock::now();
    if (posix_spawn(&pid, g_self.c_str(), &actions, nullptr, const_cast<char**>(argv), environ) !=
        0)
        return -1;
    close(out[1]);
    char buffer[16] = {};
    const ssize_t n = read(out[0], buffer, sizeof buffer - 1);
    const auto end = Clock::now();
    close(out[0]);
    int status;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
    if (n <= 0 || std::strncmp(buffer, "frame", 5) != 0)
        return -1;
    return std::chrono::duration<double>(end - begin).count();
}

void BM_StartUp(benchmark::State& state, const char* what)
{
    for (auto _ : state) {
        const double seconds = spawnToFirstFrame(what);
        if (seconds < 0) {
            state.SkipWithError("the probe did not show a frame");
            return;
        }
        state.SetIterationTime(seconds);
    }
}

// ---- steadiness over 1000 presses --------------------------------------------

long residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void steadiness()
{
    button("cmdclear")->click();
    std::vector<double> ms;
    long afterFirst = 0;
    for (int i = 0; i < 1000; ++i) {
        const auto begin = Clock::now();
        button("cmdcalc")->click();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
        QApplication::processEvents(); // the repaint a user would see, outside the timing
        if (i == 0)
            afterFirst = residentBytes();
    }
    const long growth = residentBytes() - afterFirst;
    const double first = median({ms.begin(), ms.begin() + 100});
    const double last = median({ms.end() - 100, ms.end()});
    std::printf("steady: resident memory after press 1 -> 1000: %+.1f KiB (target < 1024 KiB)\n",
                growth / 1024.0);
    std::printf("steady: median press, first 100 %.3f ms, last 100 %.3f ms, drift %+.1f %% "
                "(target within 10 %%)\n",
                first, last, 100 * (last - first) / first);
}

// Keeps the medians so the summary can set each figure beside its reference.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.aggregate_name == "median")
                medians[r.run_name.function_name] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians; // in the benchmark's time unit
};

} // namespace

int main(int argc, char* argv[])
{
    g_self = argv[0];
    if (argc == 3 && std::string(argv[1]) == "--startup-probe")
        return startupProbe(argv[2]);
    // --ratio R sets the device pixel ratio; every other option goes to the
    // benchmark library after our defaults, so the user's own win.
    std::vector<char*> userOptions;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--ratio" && i + 1 < argc)
            qputenv("QT_SCALE_FACTOR", argv[++i]);
        else
            userOptions.push_back(argv[i]);
    }

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    g_ratio = picGraph()->pixelRatio();

    benchmark::RegisterBenchmark("calculate_press", BM_CalculatePress)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("engine_alone", BM_EngineAlone)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("engine_floor", BM_EngineFloor)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("raster_alone", BM_RasterAlone)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("painter_reference", BM_PainterReference)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("clear_press", BM_ClearPress)->Unit(benchmark::kMillisecond);
    if (g_ratio == 1) {
        benchmark::RegisterBenchmark("startup_form", BM_StartUp, "form")
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1);
        benchmark::RegisterBenchmark("startup_bare", BM_StartUp, "bare")
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1);
    }
    std::string defaults[] = {"--benchmark_repetitions=15",
                              "--benchmark_report_aggregates_only=true", "--benchmark_color=false"};
    std::vector<char*> benchArgv{argv[0]};
    for (std::string& o : defaults)
        benchArgv.push_back(o.data());
    benchArgv.insert(benchArgv.end(), userOptions.begin(), userOptions.end());
    int benchArgc = int(benchArgv.size());
    benchmark::Initialize(&benchArgc, benchArgv.data());
    if (benchmark::ReportUnrecognizedArguments(benchArgc, benchArgv.data()))
        return 2;
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // Each figure beside its reference, where a filter left both to print.
    const auto& m = reporter.medians;
    auto has = [&m](std::initializer_list<const char*> names) {
        return std::all_of(names.begin(), names.end(),
                           [&m](const char* n) { return m.count(n) != 0; });
    };
    const QSize canvas = picGraph()->image().size();
    std::printf("\nat device pixel ratio %g (canvas image %d x %d):\n", g_ratio, canvas.width(),
                canvas.height());
    if (has({"calculate_press", "engine_alone", "raster_alone", "painter_reference"})) {
        const double press = m.at("calculate_press");
        std::printf("calculate: press %.3f ms; engine alone %.3f ms, raster alone %.3f ms, "
                    "QPainter reference %.3f ms\n",
                    press, m.at("engine_alone"), m.at("raster_alone"), m.at("painter_reference"));
        // The press's floor: its arithmetic and its pixels.
        std::printf("calculate: press / (engine alone + raster alone) %.2f (target <= 1.50), "
                    "press / QPainter reference %.2f (target <= 0.30)\n",
                    press / (m.at("engine_alone") + m.at("raster_alone")),
                    press / m.at("painter_reference"));
    }
    if (has({"engine_alone", "engine_floor"})) {
        const double engine = m.at("engine_alone"), floor = m.at("engine_floor");
        std::printf("calculate: engine alone %.3f ms (target <= 1.0 ms), with its status tests "
                    "compiled out %.3f ms, ratio %.2f (target <= 1.50)\n",
                    engine, floor, engine / floor);
    }
    if (g_ratio == 1 && has({"calculate_press"}))
        std::printf("calculate: press %.3f ms at ratio 1 (target <= 1.5 ms)\n",
                    m.at("calculate_press"));
    if (has({"clear_press"}))
        std::printf("clear: press %.3f ms (target < 0.5 ms)\n", m.at("clear_press"));
    if (has({"startup_form", "startup_bare"}))
        std::printf("start-up to first frame: form %.1f ms, bare window %.1f ms, ratio %.2f "
                    "(target <= 1.20)\n",
                    m.at("startup_form"), m.at("startup_bare"),
                    m.at("startup_form") / m.at("startup_bare"));
    // The 1000-press run is no registered benchmark: it runs unless a filter is given.
    const bool filtered = std::any_of(userOptions.begin(), userOptions.end(), [](const char* o) {
        return std::strncmp(o, "--benchmark_filter", 18) == 0;
    });
    if (g_ratio == 1 && !filtered)
        steadiness();
    return 0;
}
