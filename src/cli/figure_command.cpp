#include "cli/figure_command.h"

#include "cli/commands.h"
#include "cli/options.h"

#include <QByteArray>
#include <QGuiApplication>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "engine/pass.h"
#include "figures/plane_dots.h"
#include "files/source_file.h"
#include "tables/plane_reader.h"

namespace cli {
namespace {

/// The planes of `path` with their dots' poles, results and colours (by
/// Ts/Ts,max, as the window colours them by default; dark grey without a
/// state), and the planes' poles as axes.
struct Dots {
  std::vector<figures::DotPoint> poles;
  std::vector<engine::PlaneResult> results;
  std::vector<QRgb> colours;
  std::vector<analysis::WeightedAxis> axes;
  std::vector<analysis::AnglePair> angles;  ///< dip direction and dip
};

void MakeDots(const engine::PlaneSet& set, const engine::PassResults& pass,
              const engine::PlaneDefaults& defaults, Dots& dots);

bool ReadDots(const std::string& path, const engine::PassResults& pass,
              const engine::PlaneDefaults& defaults, Dots& dots, FigureRows& rows,
              std::string& error) {
  QByteArray bytes;
  const QString problem =
      files::ReadSource(QString::fromStdString(path), files::kPlaneFileLimit, bytes);
  if (!problem.isEmpty()) {
    error = path + ": " + problem.toStdString();
    return false;
  }
  const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  tables::PlaneImport read =
      tables::ReadPlanes(text, tables::DetectReading(text), [](std::size_t) { return true; });
  if (!read.error.empty()) {
    error = path + ": " + read.error;
    return false;
  }
  rows.messages = std::move(read.messages);
  rows.skipped = read.skipped;
  MakeDots(read.set, pass, defaults, dots);
  return true;
}

void MakeDots(const engine::PlaneSet& set, const engine::PassResults& pass,
              const engine::PlaneDefaults& defaults, Dots& dots) {
  const std::size_t count = set.size();
  dots.poles.resize(count);
  dots.results.resize(count);
  dots.axes.resize(count);
  dots.angles.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    dots.poles[i] = figures::PoleDotOf(set.planes[i]);
    dots.angles[i] = {set.planes[i].dipDirection, set.planes[i].dip};
    dots.axes[i] = {analysis::PoleOfPlane(set.planes[i].dipDirection, set.planes[i].dip), 1.0};
  }
  const bool assessed = engine::CanAssessPlanes(pass);
  if (assessed)
    engine::AssessPlanes(pass, set, defaults, 0, count, dots.results.data());
  const auto colouring =
      assessed ? figures::DotQuantity::kNormalizedSlipTendency : figures::DotQuantity::kNone;
  const figures::DotRange range = figures::RangeOf(colouring, dots.results);
  dots.colours.resize(count);
  for (std::size_t i = 0; i < count; ++i)
    dots.colours[i] =
        figures::DotColour(colouring, figures::DotValue(colouring, dots.results[i]), range);
}

}  // namespace

bool RunFigure(const FigureJob& job, FigureRows& rows, std::string& error) {
  // No display is needed: the offscreen platform, unless one was chosen.
  // Qt's notes about the session (no runtime folder and the like) are not
  // the figure's business: standard error carries only what went wrong.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "kelvane-cli: %s\n", message.toLocal8Bit().constData());
  });
  static int argc = 1;
  static char name[] = "kelvane-cli";
  static char* argv[] = {name, nullptr};
  const std::unique_ptr<QGuiApplication> application(
      QGuiApplication::instance() == nullptr ? new QGuiApplication(argc, argv) : nullptr);

  figures::FigureRequest request;
  if (job.stress) {
    engine::PassInputs inputs =
        engine::PassInputs::Of(*job.stress, stress::Azimuth::kClockwiseFromNorth);
    inputs.porePressure = job.porePressure;
    request.results = engine::RunPass(inputs);
  }
  if (job.stress && !engine::CanAssessPlanes(request.results)) {
    error =
        "the stress state cannot be computed: " +
        (request.results.stop ? request.results.stop->message : std::string("no principal axes"));
    return false;
  }
  Dots dots;
  const figures::PlaneDots planeDots{&dots.poles, &dots.results, &dots.colours};
  if (job.planesFromCase) {
    MakeDots(*job.planesFromCase, request.results, job.defaults, dots);
    request.dots = dots.colours.empty() ? nullptr : &planeDots;
  } else if (!job.planesFile.empty()) {
    if (!ReadDots(job.planesFile, request.results, job.defaults, dots, rows, error))
      return false;
    request.dots = &planeDots;
  }
  // The net and the rose are round: the net's page.
  const bool net = job.kind == figures::FigureKind::kNet || job.kind == figures::FigureKind::kRose;
  request.kind = job.kind;
  request.map = {job.map, job.defaults, {}};
  request.widthMm = job.widthMm.value_or(net ? 120.0 : 160.0);
  request.heightMm = job.heightMm.value_or(net ? 130.0 : 110.0);
  request.dpi = job.dpi;
  if (job.kind == figures::FigureKind::kRose) {
    const bool strikes = job.roseOfStrikes.value_or(true);
    request.rose =
        analysis::BinRose(dots.angles, analysis::Reading::kDipDirectionDip,
                          strikes ? analysis::RoseOf::kStrikes : analysis::RoseOf::kDipDirections,
                          job.binWidth.value_or(10.0), job.areaTrue);
    request.roseOf =
        strikes ? QStringLiteral("Strikes (both ways)") : QStringLiteral("Dip directions");
    request.rosePlanes = static_cast<int>(dots.angles.size());
    request.dots = nullptr;
  }
  // The contours stand for the poles, which as dots would hide them.
  if (job.density) {
    request.density =
        figures::DensityRequest{std::move(dots.axes), *job.density, job.k, job.interval};
    request.dots = nullptr;
  }
  try {
    figures::WriteFigure(QString::fromStdString(job.output), request);
  } catch (const std::exception& e) {
    error = e.what();
    return false;
  }
  return true;
}

int RunFigureCommand(Options& options) {
  if (options.fileGiven)
    return Fail("figure reads no table; give planes with --planes FILE");
  const FigureJob& job = options.figure;
  const bool rose = job.kind == figures::FigureKind::kRose;
  if (!rose && (job.roseOfStrikes || job.binWidth || job.areaTrue))
    return Fail("--rose, --bin and --area-true go with --what rose");
  if (rose && job.planesFile.empty() && !job.planesFromCase)
    return Fail("figure --what rose needs the planes: --planes FILE");
  if (rose && (job.density || job.map != engine::MapQuantity::kNone))
    return Fail("figure --what rose takes no --density or --map");
  const bool contoured = options.figure.density.has_value();
  if (!options.stress.has_value() && !contoured && !rose)
    return Fail("figure needs --stress SX,SY,SZ,TXY,TYZ,TZX");
  if (options.figure.output.empty())
    return Fail("figure needs -o FILE.svg or -o FILE.png");
  if (contoured && options.figure.planesFile.empty() && !options.figure.planesFromCase)
    return Fail("figure --density needs the planes: --planes FILE");
  if (contoured && options.figure.kind != figures::FigureKind::kNet)
    return Fail("figure --density draws the net, not --what mohr");
  if (job.interval && !contoured)
    return Fail("--interval goes with --density");
  if (contoured && options.figure.map != engine::MapQuantity::kNone)
    return Fail("--density and --map each colour the net; give one");
  options.figure.stress = options.stress;
  options.figure.porePressure = options.porePressure;
  options.figure.defaults = options.defaults;
  std::string error;
  FigureRows rows;
  const bool written = RunFigure(options.figure, rows, error);
  // Rows that are no plane are listed as the import lists them; the figure
  // is written without them, and the status says some were not drawn.
  for (const std::string& message : rows.messages)
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, options.figure.planesFile.c_str(),
                 message.c_str());
  if (!written)
    return Fail(error);
  return rows.skipped > 0 ? 1 : 0;
}

}  // namespace cli
