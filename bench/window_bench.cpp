// Cost of one recalculation pass in the real window, shown offscreen with the
// joint active, against the floor Qt Charts sets: the same changed point
// lists handed to a bare QChartView of the same size. Each pass is timed by
// itself (manual time, steady clock); the events it posts, painting
// included, are processed untimed after it. After the usual table the run
// prints the median of each case over its repetitions and the two ratios.
//
// With KELVANE_STARTUP_PROBE set (window, chart or empty) the executable runs
// no benchmark: it starts one window as a program does, and at its first
// painted frame prints the wall-clock time and the peak resident memory, then
// quits. bench/startup.sh reads that.

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QLineSeries>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QScatterSeries>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "projection/equal_area.h"
#include "projection/point_series.h"
// Both layouts of the windows' folders, so that bench/compare_speed.sh can
// build this file against revisions before and after the move into rooms.
#if __has_include("ui/main/main_window.h")
#include "ui/charts/net_chart.h"
#include "ui/common/application_icon.h"
#include "ui/common/application_style.h"
#include "ui/main/main_window.h"
#else
#include "ui/application_icon.h"
#include "ui/application_style.h"
#include "ui/main_window.h"
#include "ui/net_chart.h"
#endif

#if __has_include("ui/planes/plane_study.h")
#include <QFile>
#include <optional>

#include "engine/plane_set.h"
#include "tables/plane_reader.h"
#include "ui/planes/plane_files.h"
#include "ui/planes/plane_study.h"
#endif

namespace {

using ui::NetChartView;
using Clock = std::chrono::steady_clock;

constexpr std::array<const char*, 6> kStressBoxes = {"input_sx",  "input_sy",  "input_sz",
                                                     "input_txy", "input_tyx", "input_tzx"};
// Two states whose passes differ in every principal plane and pole; the joint
// stays where it is.
constexpr std::array<const char*, 6> kStateA = {"3.4", "1", "8", "1", "-1", "2"};
constexpr std::array<const char*, 6> kStateB = {"4", "3", "2", "-2", "-1", "-2"};

QLineEdit* Box(QWidget& window, const char* name) {
  auto* box = window.findChild<QLineEdit*>(QLatin1String(name));
  if (box == nullptr) {
    std::fprintf(stderr, "window_bench: no box named %s\n", name);
    std::abort();
  }
  return box;
}

void TypeState(QWidget& window, const std::array<const char*, 6>& state) {
  for (std::size_t i = 0; i < state.size(); ++i)
    Box(window, kStressBoxes[i])->setText(QLatin1String(state[i]));
}

/// The real window as the user has it: shown, first pass done, joint active.
struct ShownWindow {
  ui::TFrmMorvane window;

  ShownWindow() {
    window.show();
    QCoreApplication::processEvents();
    window.findChild<QCheckBox*>(QStringLiteral("chkJoint"))->click();
    QCoreApplication::processEvents();
  }
};

/// Whether a pass is timed alone or with the repaint it causes.
enum class Timed { Pass, PassAndRepaint };

/// Times `pass`, then runs what it posted (the repaint among it): timed too
/// for Timed::PassAndRepaint, untimed for Timed::Pass.
template <class Pass>
void TimePass(benchmark::State& state, Timed timed, Pass&& pass) {
  const auto start = Clock::now();
  pass();
  if (timed == Timed::PassAndRepaint)
    QCoreApplication::processEvents();
  const auto end = Clock::now();
  state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  QCoreApplication::processEvents();
}

void BM_PassNewInput(benchmark::State& state, Timed timed) {
  ShownWindow shown;
  bool b = false;
  for (auto _ : state) {
    b = !b;
    TypeState(shown.window, b ? kStateB : kStateA);
    TimePass(state, timed, [&] { shown.window.Recalculate(); });
  }
}
BENCHMARK_CAPTURE(BM_PassNewInput, pass, Timed::Pass)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PassNewInput, repainted, Timed::PassAndRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

void BM_PassUnchangedInput(benchmark::State& state, Timed timed) {
  ShownWindow shown;
  for (auto _ : state)
    TimePass(state, timed, [&] { shown.window.Recalculate(); });
}
BENCHMARK_CAPTURE(BM_PassUnchangedInput, pass, Timed::Pass)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PassUnchangedInput, repainted, Timed::PassAndRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

/// Choosing the other azimuth convention: the boxes change, the net does not.
void BM_PassSwitchConvention(benchmark::State& state, Timed timed) {
  ShownWindow shown;
  bool left = false;
  for (auto _ : state) {
    left = !left;
    TimePass(state, timed, [&] {
      if (left)
        shown.window.mnuAngleLeftClick();
      else
        shown.window.mnuAngleRightClick();
    });
  }
}
BENCHMARK_CAPTURE(BM_PassSwitchConvention, pass, Timed::Pass)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PassSwitchConvention, repainted, Timed::PassAndRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

/// Switching the joint off and on: the joint plane and its pole come and go.
void BM_PassToggleJoint(benchmark::State& state, Timed timed) {
  ShownWindow shown;
  auto* joint = shown.window.findChild<QCheckBox*>(QStringLiteral("chkJoint"));
  for (auto _ : state)
    TimePass(state, timed, [&] { joint->click(); });
}
BENCHMARK_CAPTURE(BM_PassToggleJoint, pass, Timed::Pass)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PassToggleJoint, repainted, Timed::PassAndRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

/// The three principal planes of a new state traced from scratch, as a pass
/// with new input does: what the geometry alone costs beside the floor.
void BM_TraceThreePlanes(benchmark::State& state) {
  projection::PointList series;
  projection::PointList poles(projection::PointOrder::AscendingX);
  double turn = 0.0;
  for (auto _ : state) {
    turn += 1e-3;  // a new state each time, as the cache would skip the same one
    const auto start = Clock::now();
    poles.ClearPoints();
    for (int i = 0; i < 3; ++i)
      projection::PlotPlane(series, poles, projection::kGreen, -2.0 + turn + i, 0.3 + 0.4 * i,
                            "s1");
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}
BENCHMARK(BM_TraceThreePlanes)->UseManualTime()->Unit(benchmark::kMicrosecond);

/// The Mohr window's repaint at a friction angle of 30 and of 89.99 degrees
/// (stresses 10, 5, 1; joint 30/60, c = 0): the steep limit line must cost
/// no more than the ordinary one, as only what the view shows is stroked.
void BM_MohrRepaint(benchmark::State& state, const char* friction) {
  ShownWindow shown;
  TypeState(shown.window, {"10", "5", "1", "0", "0", "0"});
  for (const auto& [name, text] : {std::pair{"input_joint_beta", "30"},
                                   {"input_joint_psi", "60"},
                                   {"input_joint_c", "0"},
                                   {"input_joint_phi", friction}})
    Box(shown.window, name)->setText(QLatin1String(text));
  shown.window.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
  shown.window.findChild<QAction*>(QStringLiteral("mnuMohr"))->trigger();
  QCoreApplication::processEvents();
  QWidget* mohr = shown.window.findChild<QWidget*>(QStringLiteral("FrmMohr"));
  for (auto _ : state) {
    const auto start = Clock::now();
    const QPixmap pixels = mohr->grab();
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    benchmark::DoNotOptimize(pixels.cacheKey());
  }
}
BENCHMARK_CAPTURE(BM_MohrRepaint, friction_30, "30")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_MohrRepaint, friction_89_99, "89.99")
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

#if __has_include("ui/planes/plane_study.h")
/// `count` planes of random orientation, each fifth with its own friction.
engine::PlaneSet RandomPlanes(std::size_t count) {
  engine::PlaneSet set;
  set.planes.reserve(count);
  set.ids.reserve(count);
  std::uint64_t x = 88172645463325252ull;
  const auto next = [&x] {  // xorshift64: cheap and the same every run
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return static_cast<double>(x >> 11) / 9007199254740992.0;
  };
  for (std::size_t i = 0; i < count; ++i) {
    engine::Plane plane{360.0 * next(), 90.0 * next()};
    if (i % 5 == 0)
      plane.phi = 20.0 + 20.0 * next();
    std::string id = "F";  // appended, not "F" + ..., which g++ 12 misreads
    id += std::to_string(i);
    set.push_back(plane, std::move(id));
  }
  return set;
}

/// A pass with new input, repaint included, with the net and the Mohr window
/// shown and `range(0)` planes loaded: what a plane set adds to a pass.
void BM_PassWithPlanes(benchmark::State& state) {
  ShownWindow shown;
  shown.window.findChild<QAction*>(QStringLiteral("mnuMohr"))->trigger();
  QCoreApplication::processEvents();
  shown.window.Planes().Replace(RandomPlanes(static_cast<std::size_t>(state.range(0))),
                                QStringLiteral("Import"));
  QCoreApplication::processEvents();
  bool b = false;
  for (auto _ : state) {
    b = !b;
    TypeState(shown.window, b ? kStateB : kStateA);
    TimePass(state, Timed::PassAndRepaint, [&] { shown.window.Recalculate(); });
  }
}
BENCHMARK(BM_PassWithPlanes)->Arg(0)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
#endif

#if __has_include("engine/tendency_map.h")
/// A pass with new input with the tendency map chosen by View > Tendency map:
/// range(0) 0 for None, 1 for the slip tendency; range(1) 0 for the pass
/// alone, 1 with the repaint it causes. The map is made off the GUI thread:
/// each iteration then waits, untimed, until it is shown, and the counter
/// map_shown_ms is the mean time from the pass's start until then. Run with
/// QT_SCALE_FACTOR=2 too.
void BM_PassWithMap(benchmark::State& state) {
  ShownWindow shown;
  const char* item = state.range(0) == 0 ? "mnuMapNone" : "mnuMapSlip";
  shown.window.findChild<QAction*>(QLatin1String(item))->trigger();
  auto* chart = shown.window.findChild<NetChartView*>(QStringLiteral("Chart1"));
  const auto waitForMap = [chart] {
    while (chart->MapPending())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  };
  QCoreApplication::processEvents();
  waitForMap();
  const Timed timed = state.range(1) == 0 ? Timed::Pass : Timed::PassAndRepaint;
  bool b = false;
  double shownSeconds = 0.0;
  for (auto _ : state) {
    b = !b;
    TypeState(shown.window, b ? kStateB : kStateA);
    const auto start = Clock::now();
    TimePass(state, timed, [&] { shown.window.Recalculate(); });
    waitForMap();
    shownSeconds += std::chrono::duration<double>(Clock::now() - start).count();
  }
  state.counters["map_shown_ms"] = 1e3 * shownSeconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PassWithMap)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
#endif

/// The point lists of one pass, as Qt points, per series 1 to 6.
using PassLists = std::array<QList<QPointF>, NetChartView::kSeriesCount>;

PassLists ListsOf(const NetChartView& chart) {
  PassLists lists;
  for (int n = 1; n <= NetChartView::kSeriesCount; ++n) {
    for (const projection::NetPoint& p : chart.Points(n).Points())
      lists[n - 1].append(QPointF(p.x, p.y));
  }
  return lists;
}

/// The floor: a bare QChartView of the net's size with the same axes and the
/// same kinds of series (five lines, one scatter) is handed, in turn, the
/// lists of states A and B that differ between the two.
void BM_BareChartFloor(benchmark::State& state, Timed timed) {
  std::array<PassLists, 2> passes;
  {
    ShownWindow shown;
    const auto* chart = shown.window.findChild<NetChartView*>(QStringLiteral("Chart1"));
    for (int i = 0; i < 2; ++i) {
      TypeState(shown.window, i == 0 ? kStateA : kStateB);
      shown.window.Recalculate();
      passes[i] = ListsOf(*chart);
    }
  }
  std::vector<int> changed;
  for (int n = 0; n < NetChartView::kSeriesCount; ++n) {
    if (passes[0][n] != passes[1][n])
      changed.push_back(n);
  }

  QChartView view;
  view.setFixedSize(NetChartView::kViewSize, NetChartView::kViewSize);
  QChart* chart = view.chart();
  chart->legend()->hide();
  std::array<QXYSeries*, NetChartView::kSeriesCount> series{};
  for (int n = 0; n < NetChartView::kSeriesCount; ++n) {
    if (n + 1 == NetChartView::kPoleSeries)
      series[n] = new QScatterSeries(chart);
    else
      series[n] = new QLineSeries(chart);
    chart->addSeries(series[n]);
  }
  for (Qt::Alignment alignment : {Qt::AlignBottom, Qt::AlignLeft}) {
    auto* axis = new QValueAxis(chart);
    axis->setRange(-NetChartView::kNetRange, NetChartView::kNetRange);
    chart->addAxis(axis, alignment);
    for (QXYSeries* s : series)
      s->attachAxis(axis);
  }
  for (int n = 0; n < NetChartView::kSeriesCount; ++n)
    series[n]->replace(passes[0][n]);
  view.show();
  QCoreApplication::processEvents();

  int i = 0;
  for (auto _ : state) {
    i = 1 - i;
    TimePass(state, timed, [&] {
      for (int n : changed)
        series[n]->replace(passes[i][n]);
    });
  }
  state.counters["series"] = static_cast<double>(changed.size());
}
BENCHMARK_CAPTURE(BM_BareChartFloor, pass, Timed::Pass)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BareChartFloor, repainted, Timed::PassAndRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

/// Console output plus each case's median time per iteration: the median
/// aggregate when the run computes one, else the median of the repetitions.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred)
        continue;
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty())
        name += "/" + run.run_name.args;
      if (run.run_type == Run::RT_Iteration)
        times_[name].push_back(run.GetAdjustedRealTime());
      else if (run.aggregate_name == "median")
        medians_[name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  /// Median time per iteration in microseconds; 0 when the case did not run.
  double Median(const std::string& name) const {
    if (const auto found = medians_.find(name); found != medians_.end())
      return found->second;
    const auto found = times_.find(name);
    if (found == times_.end() || found->second.empty())
      return 0.0;
    std::vector<double> t = found->second;
    std::sort(t.begin(), t.end());
    const std::size_t n = t.size();
    return n % 2 == 1 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2.0;
  }

  void PrintSummary() const {
    std::set<std::string> names;
    for (const auto& entry : times_)
      names.insert(entry.first);
    for (const auto& entry : medians_)
      names.insert(entry.first);
    std::printf("\nMedian time per pass (us):\n");
    for (const std::string& name : names)
      std::printf("  %-36s %9.1f\n", name.c_str(), Median(name));
    for (const char* timed : {"pass", "repainted"}) {
      const std::string suffix = std::string("/") + timed;
      const double fresh = Median("BM_PassNewInput" + suffix);
      const double same = Median("BM_PassUnchangedInput" + suffix);
      const double floor = Median("BM_BareChartFloor" + suffix);
      if (fresh > 0.0 && same > 0.0)
        std::printf("%-9s unchanged input / new input:  %.3f  (goal <= 0.2)\n", timed,
                    same / fresh);
      if (fresh > 0.0 && floor > 0.0)
        std::printf("%-9s new input / bare QChartView:  %.3f  (goal <= 1.3)\n", timed,
                    fresh / floor);
    }
    const double none = Median("BM_PassWithPlanes/0");
    const double many = Median("BM_PassWithPlanes/100000");
    if (none > 0.0 && many > 0.0)
      std::printf("pass with 100,000 planes / with none:  %.3f  (goal <= 10)\n", many / none);
    const double trace = Median("BM_TraceThreePlanes");
    const double floor = Median("BM_BareChartFloor/pass");
    if (trace > 0.0 && floor > 0.0)
      std::printf("tracing three planes / bare QChartView:  %.3f\n", trace / floor);
  }

 private:
  std::map<std::string, std::vector<double>> times_;
  std::map<std::string, double> medians_;
};

// --- Start-up probe -----------------------------------------------------------

double WallSeconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// User and system CPU time of this process so far, in milliseconds.
double CpuMilliseconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) * 1e-3;
  };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

/// VmHWM of this process in KiB, 0 when /proc does not tell.
long PeakResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 12, '\n');
  }
  return 0;
}

/// Notes the end of the first paint of any widget: the zero timer fires once
/// the whole repaint, flush to the screen included, is done.
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget* window) : window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      seen_ = true;
      QTimer::singleShot(0, this, [] {
        std::printf("painted %.6f\ncpu_ms %.2f\npeak_rss_kib %ld\n", WallSeconds(),
                    CpuMilliseconds(), PeakResidentKiB());
        std::fflush(stdout);
        QCoreApplication::exit(0);
      });
    }
    return false;
  }

 private:
  QWidget* window_;
  bool seen_ = false;
};

/// Starts the window `kind` as a program would and exits after its first
/// paint; 2 for an unknown kind.
int RunStartupProbe(int argc, char** argv, const std::string& kind) {
  QApplication app(argc, argv);
  std::unique_ptr<QWidget> window;
  if (kind == "window") {
    // As src/app/main.cpp starts the program.
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("kelvane"));
    QApplication::setWindowIcon(ui::ApplicationIcon());
    QApplication::setStyle(new ui::ApplicationStyle);
    window = std::make_unique<ui::TFrmMorvane>();
  } else if (kind == "chart") {
    auto main = std::make_unique<QMainWindow>();
    main->setCentralWidget(new QChartView(main.get()));
    window = std::move(main);
  } else if (kind == "empty") {
    window = std::make_unique<QWidget>();
  } else {
    std::fprintf(stderr, "window_bench: unknown probe %s (window, chart or empty)\n", kind.c_str());
    return 2;
  }
  // The others as large as the real window: the same pixels to paint.
  if (kind != "window")
    window->resize(482, 515);
  FirstPaint probe(window.get());
  app.installEventFilter(&probe);
  window->show();
  const int status = QApplication::exec();
  if (kind == "window") {
    // Results on the first painted frame: the first pass ran before it.
    std::printf("s1 %s\n", qPrintable(Box(*window, "input_s1")->text()));
  }
  return status;
}

#if __has_include("ui/planes/plane_study.h")
/// KELVANE_PLANES_PROBE=memory:N: the peak resident memory a set of N planes
/// adds to the shown window (net and Mohr window, one pass), per plane.
/// KELVANE_PLANES_PROBE=import:FILE: the seconds the window's import of FILE
/// takes (read off the GUI thread, then assessed and drawn), without dialogs.
int RunPlanesProbe(int argc, char** argv, const std::string& probe) {
  QApplication app(argc, argv);
  ShownWindow shown;
  shown.window.findChild<QAction*>(QStringLiteral("mnuMohr"))->trigger();
  QCoreApplication::processEvents();
  if (probe.rfind("memory:", 0) == 0) {
    const std::size_t count = std::stoul(probe.substr(7));
    const long before = PeakResidentKiB();
    shown.window.Planes().Replace(RandomPlanes(count), QStringLiteral("Import"));
    TypeState(shown.window, kStateB);
    shown.window.Recalculate();
    QCoreApplication::processEvents();
    const long after = PeakResidentKiB();
    std::printf("planes %zu\npeak_growth_kib %ld\nbytes_per_plane %.1f\n", count, after - before,
                (after - before) * 1024.0 / static_cast<double>(count));
    return 0;
  }
  if (probe.rfind("import:", 0) == 0) {
    const QString path = QString::fromStdString(probe.substr(7));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
      return 2;
    const tables::PlaneReading reading = tables::DetectReading(file.read(65536).toStdString());
    file.close();
    const auto start = Clock::now();
    // As the import does: read and prepared off the GUI thread, then taken.
    const ui::PlaneStudy::Work work = shown.window.Planes().WorkNow();
    std::optional<ui::PlaneStudy::Prepared> prepared;
    std::optional<tables::PlaneImport> read =
        ui::ReadPlaneFile(&shown.window, path, reading, &work, &prepared);
    if (!read)
      return 1;
    const std::size_t count = read->set.size();
    const auto read_end = Clock::now();
    shown.window.Planes().Replace(std::move(read->set), QStringLiteral("Import"),
                                  std::move(prepared));
    QCoreApplication::processEvents();
    const auto end = Clock::now();
    // The second part is what runs from the GUI thread: poles, results, dots.
    std::printf("planes %zu\nimport_seconds %.3f\ngui_thread_seconds %.3f\n", count,
                std::chrono::duration<double>(end - start).count(),
                std::chrono::duration<double>(end - read_end).count());
    return 0;
  }
  std::fprintf(stderr, "window_bench: unknown planes probe %s\n", probe.c_str());
  return 2;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (const char* probe = std::getenv("KELVANE_STARTUP_PROBE"))
    return RunStartupProbe(argc, argv, probe);
#if __has_include("ui/planes/plane_study.h")
  if (const char* probe = std::getenv("KELVANE_PLANES_PROBE"))
    return RunPlanesProbe(argc, argv, probe);
#endif

  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintSummary();
  benchmark::Shutdown();
  return 0;
}
