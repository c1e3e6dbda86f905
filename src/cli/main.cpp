// kelvane-cli: the stress calculation of Kelvane on a CSV of tensors.
// Reads and writes in bounded chunks, the rows of a chunk computed on several
// threads and written in input order; see Usage() for what it accepts.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/figure_command.h"
#include "cli/number_field.h"
#include "cli/plane_rows.h"
#include "cli/tensor_table.h"
#include "engine/pass.h"
#include "engine/slip_probability.h"
#include "files/case_file.h"
#include "tables/csv.h"
#include "tables/plane_csv.h"

namespace {

constexpr const char* kProgram = "kelvane-cli";
// Bytes read at a time; a chunk's lines are computed together.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

const char* Usage() {
  return R"(Usage: kelvane-cli tensors [--azimuth north|east] [--threads N] [FILE|-]
       kelvane-cli planes --stress SX,SY,SZ,TXY,TYZ,TZX [--pp PP]
                          [--phi DEG | --mu M] [--cohesion C]
                          [--notation dipdir|strike] [--threads N]
                          [--realizations N] [--seed S]
                          [--uncertainty KEY=SPREAD,...] [FILE|-]
       kelvane-cli figure --stress SX,SY,SZ,TXY,TYZ,TZX [--pp PP]
                          [--phi DEG | --mu M] [--cohesion C] [--planes FILE]
                          [--map slip|dilation|pressure|safety|none]
                          [--what net|mohr] [--width MM] [--height MM]
                          [--dpi N] -o FILE.svg|FILE.png
       kelvane-cli planes|figure --case FILE.kelvane [options]
       kelvane-cli --help | --version

Computes, for each stress tensor of a CSV file (standard input when FILE is
missing or "-"), what Kelvane's window and its Mohr diagram show, and writes
one CSV row per tensor to standard output.

Input: comma-separated, the first line that is not a comment the header.
  sx,sy,sz,txy,tyz,tzx  the tensor (x East, y North, z up), in any order
  id                    optional; without it a row's id is its data row number
  beta,psi,phi,c        optional, all four: a joint's dip direction, dip and
                        friction angle (degrees) and cohesion
  pp                    optional: the pore pressure (0 without it); effective
                        stresses are total less pp
Other columns are ignored. Lines starting with "#" and blank lines are
skipped; CRLF line ends are accepted; fields may be quoted as in RFC 4180.
Numbers as the window reads them with "." as the decimal separator.

Output columns: id, s1, s2, s3, s1_azimuth, s1_dip, s2_azimuth, s2_dip,
s3_azimuth, s3_dip, l1, m1, n1, l2, m2, n2, l3, m3, n3, [sigma, tau, tau_lim,]
mean, max_shear, von_mises, octahedral_shear, stress_ratio, sv, shmax, shmin,
shmax_azimuth, regime (NF, NS, SS, TS, TF or U), [slip_tendency,
dilation_tendency, factor_of_safety, sigma_eff, tau_lim_eff, slip_tendency_max,
slip_tendency_normalized, cff, delta_pc,] error; the bracketed ones with a
joint, the slip tendency, the factor of safety and the last six on effective
stress.
Numbers are the shortest text that reads back to the computed double; a
quantity without a value is an empty field, infinity is "inf". A row that
cannot be computed keeps what was computed before the fault and names the
fault in its error column.

kelvane-cli planes assesses each plane of a CSV file under one stress state,
as the window's Planes table does, and writes one CSV row per plane.

Input: comma-separated, the first line that is not a comment the header.
  dip_direction,dip     the plane (degrees, clockwise from North); or
  strike,dip            strike by the right-hand rule (dip direction =
                        strike + 90); names as dipdir, dd, azimuth also work
  id                    optional; without it a row's id is its data row number
  phi or mu, c          optional: the plane's own friction angle (degrees) or
                        coefficient, and cohesion; planes without them take
                        --phi/--mu and --cohesion
Directions are taken modulo 360; a dip outside 0 to 90, a friction angle
outside 0 to 90, a negative mu or a field that is no number makes an error row.

Output columns: id, dip_direction, dip, phi, c (those used), sigma, tau,
sigma_eff, tau_lim, slip_tendency, slip_tendency_normalized,
dilation_tendency, factor_of_safety, cff, delta_pc, rake, slip_trend,
slip_plunge, state (slips, stable or opens), error. sigma and tau are total
stresses; the others from sigma_eff on are on effective stress (less pp).
rake is Aki-Richards (0 left-lateral, 90 reverse, -90 normal, 180
right-lateral), empty where tau is 0; slip_trend and slip_plunge give the
hanging wall's motion, plunge negative upward. Without a friction angle
tau_lim, factor_of_safety, cff, delta_pc and state are empty.

With --realizations, --seed or --uncertainty, each plane is also assessed in
N realizations (default 10000) of uncertain inputs, and the columns p_slip
(the share of realizations with cff >= 0), delta_pc_p10, delta_pc_p50 and
delta_pc_p90 (percentiles of the pore-pressure increase to slip) come before
error. --uncertainty takes KEY=SPREAD items separated by commas: KEY one of s1,
s2, s3 (the principal stresses), azimuth (the state turned about the
vertical, degrees), frame (the principal frame turned about a random axis,
degrees), pp, phi (degrees) or mu (not both), c, dip_direction and dip (each
plane's own, degrees); SPREAD uniform:H (within +-H) or normal:SD. For example
  --uncertainty pp=uniform:500,mu=normal:0.05,azimuth=uniform:10
A run is the same, bit for bit, for a given --seed (default 1) whatever the
number of threads; realizations whose principal stresses come out of order
are kept (each magnitude stays on its axis).

kelvane-cli figure writes the window's equal-area net (--what net, the
default) or its Mohr diagram (--what mohr) as a figure for a paper: PNG at
--dpi (default 300) or SVG, by the suffix of -o, --width x --height
millimetres (default 120 x 130 for the net, 160 x 110 for the diagram), on a
white ground, with the legend. No display is needed. --map colours the net
over every plane orientation: slip (Ts/Ts,max), dilation (Td), pressure (the
pore-pressure increase to slip) or safety (the factor of safety), none by
default; friction and cohesion from --phi/--mu and --cohesion. --planes adds
the planes of a file (as planes reads them) as dots coloured by Ts/Ts,max.

Options:
  --stress SX,SY,SZ,TXY,TYZ,TZX
                    the stress tensor (x East, y North, z up), for planes
  --pp PP           the pore pressure (default 0)
  --phi DEG         the friction angle of planes without their own
  --mu M            the same as a coefficient, phi = atan(M)
  --cohesion C      the cohesion of planes without their own (default 0)
  --notation dipdir|strike
                    read the direction column as a dip direction or a strike
                    (default: as its name says)
  --realizations N  planes: Monte Carlo realizations (1 to 1000000)
  --seed S          planes: the seed of the realizations (default 1)
  --uncertainty KEY=SPREAD,...
                    planes: the inputs' uncertainties (see above)
  --case FILE.kelvane
                    planes, figure: a study saved by the window, in place of
                    --stress, --pp, --phi/--mu, --cohesion and the planes
                    (and the uncertainty, unless given)
  --planes FILE     figure: the planes drawn as dots
  --map QUANTITY    figure: the tendency map (slip, dilation, pressure,
                    safety or none)
  --what net|mohr   figure: which figure
  --width MM, --height MM, --dpi N
                    figure: its size (1 to 2000 mm) and PNG resolution
                    (30 to 2400)
  -o FILE, --output FILE
                    figure: the file to write (.svg or .png), replaced
                    atomically
  --azimuth north   azimuths clockwise from North (the default)
  --azimuth east    azimuths counter-clockwise from East
  --threads N       compute on N threads (default: one per processor)
  --help            show this help and exit
  --version         show the version and exit

Exit status: 0 every row computed (figure: written), 1 some row not
computed, 2 a usage or file error (unknown option, unreadable file, no
header or a header without one of the required columns, a column named
twice, a stress that is no number; figure: a stress state without principal
axes, a figure that could not be written).
)";
}

/// A usage or file error: its one-line message on standard error, status 2.
int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return 2;
}

struct Options {
  std::string command;
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  unsigned threads = 0;
  std::string file = "-";
  // planes
  std::optional<stress::StressState> stress;
  double porePressure = 0.0;
  engine::PlaneDefaults defaults{std::nullopt, 0.0};
  std::optional<bool> strike;
  /// --case: a saved study in place of the stress, Pp and plane options.
  std::string casePath;
  std::optional<engine::PlaneSet> casePlanes;  ///< the case's, for planes
  /// With --realizations, --seed or --uncertainty: the slip odds' settings.
  std::optional<engine::UncertaintySettings> uncertainty;
  // figure
  cli::FigureJob figure;
};

/// One line of a chunk, with its place in the file.
struct Line {
  std::string_view text;  ///< without its line end
  cli::RowPlace place;
};

/// What a command does with its table: read the header, then each row.
class TableJob {
 public:
  virtual ~TableJob() = default;
  /// Reads the header's fields and sets the output header; false, with the
  /// reason in `error`, for a header the command cannot use.
  virtual bool Header(const std::vector<std::string_view>& fields, std::string& error,
                      std::string& out) = 0;
  /// Appends the output line of one data row; false when it was not computed.
  /// Called on several threads at once.
  virtual bool Row(bool split, const std::vector<std::string_view>& fields, cli::RowPlace place,
                   std::string& out) const = 0;
};

class TensorJob : public TableJob {
 public:
  explicit TensorJob(stress::Azimuth azimuth) : azimuth_(azimuth) {}
  bool Header(const std::vector<std::string_view>& fields, std::string& error,
              std::string& out) override {
    columns_ = cli::ReadHeader(fields, error);
    if (!columns_.has_value())
      return false;
    out = cli::OutputHeader(*columns_);
    return true;
  }
  bool Row(bool split, const std::vector<std::string_view>& fields, cli::RowPlace place,
           std::string& out) const override {
    return cli::AppendResultRow(*columns_, split, fields, place, azimuth_, out);
  }

 private:
  stress::Azimuth azimuth_;
  std::optional<cli::TensorColumns> columns_;
};

class PlaneJob : public TableJob {
 public:
  /// `pass` must satisfy engine::CanAssessPlanes.
  PlaneJob(engine::PassResults pass, const Options& options)
      : pass_(std::move(pass)),
        defaults_(options.defaults),
        strike_(options.strike),
        assess_(pass_, defaults_) {
    if (options.uncertainty.has_value())
      sampler_.emplace(pass_, defaults_, *options.uncertainty);
  }
  bool Header(const std::vector<std::string_view>& fields, std::string& error,
              std::string& out) override {
    reading_ = cli::ReadPlaneHeader(fields, strike_, error);
    if (!reading_.has_value())
      return false;
    out = cli::PlaneOutputHeader(sampler_.has_value());
    return true;
  }
  bool Row(bool split, const std::vector<std::string_view>& fields, cli::RowPlace place,
           std::string& out) const override {
    return cli::AppendPlaneRow(*reading_, split, fields, place, assess_, defaults_, out,
                               sampler_ ? &*sampler_ : nullptr);
  }

 private:
  engine::PassResults pass_;
  engine::PlaneDefaults defaults_;
  std::optional<bool> strike_;
  engine::PlaneAssessor assess_;
  std::optional<engine::SlipSampler> sampler_;
  std::optional<tables::PlaneReading> reading_;
};

/// The rows of `lines` computed into `out`; false when some row failed.
bool ComputeRows(const TableJob& job, const Line* begin, const Line* end, std::string& out) {
  tables::CsvSplitter splitter;
  bool allComputed = true;
  for (const Line* line = begin; line != end; ++line) {
    const bool split = splitter.Split(line->text);
    allComputed &= job.Row(split, splitter.Fields(), line->place, out);
  }
  return allComputed;
}

/// The progress line on a terminal, for a regular file read for over a second.
class Progress {
 public:
  Progress(bool shown, std::string name, long long size)
      : shown_(shown), name_(std::move(name)), size_(size), start_(Clock::now()) {}
  void Update(long long bytes, unsigned long long rows) {
    if (!shown_)
      return;
    const auto now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(200))
      return;
    last_ = now;
    const int percent = size_ > 0 ? static_cast<int>(100.0 * bytes / size_) : 100;
    std::fprintf(stderr, "\r%s: %s: %d%% (%llu rows)", kProgram, name_.c_str(),
                 std::min(percent, 100), rows);
    std::fflush(stderr);
    written_ = true;
  }
  void Clear() {
    if (written_)
      std::fprintf(stderr, "\r\033[K");
    written_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool shown_;
  std::string name_;
  long long size_;
  Clock::time_point start_;
  Clock::time_point last_{};
  bool written_ = false;
};

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

int RunTable(const Options& options, TableJob& job) {
  const bool fromStdin = options.file == "-";
  const std::string name = fromStdin ? "<stdin>" : options.file;
  const int fd = fromStdin ? STDIN_FILENO : open(options.file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return Fail(name + ": " + std::strerror(errno));
  struct stat info {};
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!regular && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
    return Fail(name + ": " + std::strerror(EISDIR));
  Progress progress(regular && isatty(STDERR_FILENO), name, regular ? info.st_size : 0);

  const unsigned threads =
      std::max(1u, options.threads != 0 ? options.threads : std::thread::hardware_concurrency());
  std::vector<std::string> outputs(threads);
  std::vector<char> buffer(kChunkBytes);
  std::size_t filled = 0;  // bytes in buffer, a partial line first
  long long bytesRead = 0;
  unsigned long long lineNumber = 0;
  unsigned long long rowNumber = 0;
  bool headerRead = false;
  bool allComputed = true;
  bool atEnd = false;
  std::vector<Line> lines;
  std::string error;

  while (!atEnd) {
    if (filled == buffer.size())
      buffer.resize(buffer.size() * 2);  // one line longer than the buffer
    const ssize_t got = read(fd, buffer.data() + filled, buffer.size() - filled);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return Fail(name + ": " + std::strerror(errno));
    }
    atEnd = got == 0;
    filled += static_cast<std::size_t>(got);
    bytesRead += got;

    // The complete lines of the buffer; at the end, the last one too.
    lines.clear();
    std::size_t start = 0;
    while (start < filled) {
      const char* const newline =
          static_cast<const char*>(std::memchr(buffer.data() + start, '\n', filled - start));
      if (newline == nullptr && !atEnd)
        break;
      const std::size_t stop = newline != nullptr ? newline - buffer.data() : filled;
      std::string_view text(buffer.data() + start, stop - start);
      start = stop + 1;
      ++lineNumber;
      if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
      if (IsBlank(text) || text.front() == '#')
        continue;
      if (!headerRead) {
        tables::CsvSplitter splitter;
        if (!splitter.Split(text))
          return Fail(name + ":" + std::to_string(lineNumber) +
                      ": the header has a quoted field that is not closed");
        std::string header;
        if (!job.Header(splitter.Fields(), error, header))
          return Fail(name + ":" + std::to_string(lineNumber) + ": " + error);
        std::fwrite(header.data(), 1, header.size(), stdout);
        headerRead = true;
        continue;
      }
      lines.push_back({text, {lineNumber, ++rowNumber}});
    }

    if (!lines.empty()) {
      // Contiguous shares, one per thread, written back in order.
      const std::size_t share = (lines.size() + threads - 1) / threads;
      std::vector<std::thread> workers;
      std::vector<char> computed(threads, 1);
      for (unsigned t = 0; t < threads; ++t) {
        outputs[t].clear();
        const std::size_t from = std::min(lines.size(), t * share);
        const std::size_t to = std::min(lines.size(), from + share);
        const auto work = [&, t, from, to] {
          computed[t] = ComputeRows(job, lines.data() + from, lines.data() + to, outputs[t]);
        };
        if (t + 1 < threads && to > from)
          workers.emplace_back(work);
        else if (to > from)
          work();
      }
      for (std::thread& worker : workers)
        worker.join();
      for (unsigned t = 0; t < threads; ++t) {
        allComputed &= computed[t] != 0;
        std::fwrite(outputs[t].data(), 1, outputs[t].size(), stdout);
      }
    }
    progress.Update(bytesRead, rowNumber);

    // The partial line moves to the front.
    const std::size_t rest = start < filled ? filled - start : 0;
    std::memmove(buffer.data(), buffer.data() + (filled - rest), rest);
    filled = rest;
  }
  progress.Clear();
  if (!fromStdin)
    close(fd);
  if (!headerRead)
    return Fail(name + ": no header line");
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail(std::string("standard output: ") + std::strerror(errno));
  return allComputed ? 0 : 1;
}

/// `text` as a number, as the window reads one; empty for anything else.
std::optional<double> NumberOption(std::string_view text) {
  return cli::ReadNumberField(text).value;
}

/// Takes the stress, Pp, friction, cohesion, planes and uncertainty of the
/// case at options.casePath; false with `error` when it cannot be read or
/// holds no complete stress.
bool TakeCase(Options& options, std::optional<engine::PlaneSet>& planes, std::string& error) {
  QFile file(QString::fromStdString(options.casePath));
  if (!file.open(QIODevice::ReadOnly)) {
    error = options.casePath + ": " + file.errorString().toStdString();
    return false;
  }
  files::Case c;
  try {
    c = files::ReadCase(file.readAll());
  } catch (const files::CaseError& e) {
    error = options.casePath + ": " + e.what();
    return false;
  }
  std::array<double, 6> s{};
  for (int k = 0; k < 6; ++k) {
    const auto& value = c.values[static_cast<int>(engine::Input::kSx) + k];
    if (!value) {
      error = options.casePath + ": the case's stress component " + std::to_string(k + 1) +
              " is no number";
      return false;
    }
    s[k] = *value;
  }
  options.stress = stress::StressState{s[0], s[1], s[2], s[3], s[4], s[5]};
  options.porePressure = c.porePressure;
  options.defaults = {c.values[static_cast<int>(engine::Input::kJointFriction)],
                      c.values[static_cast<int>(engine::Input::kJointCohesion)]};
  if (c.uncertainty && !options.uncertainty)
    options.uncertainty = c.uncertainty;
  planes = std::move(c.planes);
  return true;
}

/// The planes of a case, as `planes` writes a file's: in set order, the odds
/// too with settings, on every thread.
int WriteCasePlanes(const Options& options, const engine::PassResults& pass,
                    const engine::PlaneSet& planes) {
  std::optional<engine::SlipSampler> sampler;
  if (options.uncertainty)
    sampler.emplace(pass, options.defaults, *options.uncertainty);
  const engine::PlaneAssessor assess(pass, options.defaults);
  std::string header = cli::PlaneOutputHeader(sampler.has_value());
  std::fwrite(header.data(), 1, header.size(), stdout);
  const unsigned threads =
      std::max(1u, options.threads != 0 ? options.threads : std::thread::hardware_concurrency());
  constexpr std::size_t kChunk = 4096;
  for (std::size_t start = 0; start < planes.size(); start += kChunk) {
    const std::size_t end = std::min(planes.size(), start + kChunk);
    const std::size_t share = (end - start + threads - 1) / threads;
    std::vector<std::string> out(threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t) {
      const std::size_t from = std::min(end, start + t * share);
      const std::size_t to = std::min(end, from + share);
      workers.emplace_back([&, t, from, to] {
        std::vector<double> scratch;
        for (std::size_t i = from; i < to; ++i) {
          tables::AppendPlaneCsvRow(out[t], planes.ids[i], planes.planes[i], options.defaults,
                                    assess(planes.planes[i]));
          if (sampler) {
            const engine::SlipOdds odds = sampler->Odds(planes.planes[i], i, scratch);
            for (const double v : {odds.pSlip, odds.deltaPcP10, odds.deltaPcP50, odds.deltaPcP90}) {
              out[t] += ',';
              tables::AppendNumber(out[t], v);
            }
          }
          out[t] += ",\n";
        }
      });
    }
    for (std::thread& worker : workers)
      worker.join();
    for (const std::string& text : out)
      std::fwrite(text.data(), 1, text.size(), stdout);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail(std::string("standard output: ") + std::strerror(errno));
  return 0;
}

int RunPlanes(const Options& options) {
  if (!options.stress.has_value())
    return Fail("planes needs --stress SX,SY,SZ,TXY,TYZ,TZX");
  engine::PassInputs inputs =
      engine::PassInputs::Of(*options.stress, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = options.porePressure;
  engine::PassResults pass = engine::RunPass(inputs);
  if (!engine::CanAssessPlanes(pass))
    return Fail("the stress state cannot be computed: " +
                (pass.stop ? pass.stop->message : std::string("no principal axes")));
  if (options.casePlanes)
    return WriteCasePlanes(options, pass, *options.casePlanes);
  PlaneJob job(std::move(pass), options);
  return RunTable(options, job);
}

int RunFigure(Options& options, bool fileGiven) {
  if (fileGiven)
    return Fail("figure reads no table; give planes with --planes FILE");
  if (!options.stress.has_value())
    return Fail("figure needs --stress SX,SY,SZ,TXY,TYZ,TZX");
  if (options.figure.output.empty())
    return Fail("figure needs -o FILE.svg or -o FILE.png");
  options.figure.stress = *options.stress;
  options.figure.porePressure = options.porePressure;
  options.figure.defaults = options.defaults;
  std::string error;
  return cli::RunFigure(options.figure, error) ? 0 : Fail(error);
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty())
    return Fail("no command given; try 'kelvane-cli --help'");
  Options options;
  bool fileGiven = false;
  bool frictionGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&](std::string_view option) -> std::optional<std::string_view> {
      if (arg.size() > option.size() && arg.substr(0, option.size()) == option &&
          arg[option.size()] == '=')
        return arg.substr(option.size() + 1);
      if (arg == option && i + 1 < args.size())
        return args[++i];
      return std::nullopt;
    };
    // `--name VALUE` or `--name=VALUE` as a number.
    const auto number = [&](std::string_view option) -> std::optional<double> {
      const auto text = value(option);
      return text.has_value() ? NumberOption(*text) : std::nullopt;
    };
    const auto named = [&](std::string_view option) {
      return arg == option ||
             (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=');
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(Usage(), stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", kProgram, KELVANE_VERSION);
      return 0;
    }
    if (named("--azimuth")) {
      const auto azimuth = value("--azimuth");
      if (azimuth == "north")
        options.azimuth = stress::Azimuth::kClockwiseFromNorth;
      else if (azimuth == "east")
        options.azimuth = stress::Azimuth::kCounterClockwiseFromEast;
      else
        return Fail("--azimuth takes north or east");
    } else if (named("--threads")) {
      const auto count = value("--threads");
      unsigned n = 0;
      if (!count.has_value() ||
          std::from_chars(count->data(), count->data() + count->size(), n).ptr !=
              count->data() + count->size() ||
          n == 0 || n > 256)
        return Fail("--threads takes a number from 1 to 256");
      options.threads = n;
    } else if (named("--stress")) {
      const auto text = value("--stress");
      tables::CsvSplitter splitter;
      std::array<double, 6> components{};
      bool read = text.has_value() && splitter.Split(*text) && splitter.Fields().size() == 6;
      for (std::size_t k = 0; read && k < 6; ++k) {
        const auto component = NumberOption(splitter.Fields()[k]);
        read = component.has_value();
        components[k] = component.value_or(0.0);
      }
      if (!read)
        return Fail("--stress takes six numbers SX,SY,SZ,TXY,TYZ,TZX");
      options.stress = stress::StressState{components[0], components[1], components[2],
                                           components[3], components[4], components[5]};
    } else if (named("--pp")) {
      const auto pp = number("--pp");
      if (!pp.has_value())
        return Fail("--pp takes a number");
      options.porePressure = *pp;
    } else if (named("--phi") || named("--mu")) {
      const bool mu = named("--mu");
      const auto friction = number(mu ? "--mu" : "--phi");
      if (frictionGiven)
        return Fail("give --phi or --mu, once");
      if (mu && !(friction.has_value() && *friction >= 0.0))
        return Fail("--mu takes a number of 0 or more");
      if (!mu && !(friction.has_value() && *friction >= 0.0 && *friction <= 90.0))
        return Fail("--phi takes a number from 0 to 90");
      options.defaults.phi = mu ? std::atan(*friction) * 180.0 / M_PI : *friction;
      frictionGiven = true;
    } else if (named("--cohesion")) {
      const auto c = number("--cohesion");
      if (!c.has_value())
        return Fail("--cohesion takes a number");
      options.defaults.cohesion = *c;
    } else if (named("--notation")) {
      const auto notation = value("--notation");
      if (notation == "dipdir")
        options.strike = false;
      else if (notation == "strike")
        options.strike = true;
      else
        return Fail("--notation takes dipdir or strike");
    } else if (named("--realizations") || named("--seed")) {
      const bool seed = named("--seed");
      const auto text = value(seed ? "--seed" : "--realizations");
      unsigned long long n = 0;
      if (!text.has_value() ||
          std::from_chars(text->data(), text->data() + text->size(), n).ptr !=
              text->data() + text->size() ||
          (!seed && (n < 1 || n > 1000000)))
        return Fail(seed ? "--seed takes a whole number from 0 to 18446744073709551615"
                         : "--realizations takes a whole number from 1 to 1000000");
      auto& settings =
          options.uncertainty.emplace(options.uncertainty.value_or(engine::UncertaintySettings{}));
      if (seed)
        settings.seed = n;
      else
        settings.realizations = static_cast<int>(n);
    } else if (named("--uncertainty")) {
      const auto text = value("--uncertainty");
      auto& settings =
          options.uncertainty.emplace(options.uncertainty.value_or(engine::UncertaintySettings{}));
      std::string error;
      if (!text.has_value() || !engine::ReadUncertainties(std::string(*text), settings, error))
        return Fail(text.has_value() ? error : "--uncertainty takes KEY=SPREAD,...");
    } else if (named("--case")) {
      const auto file = value("--case");
      if (!file.has_value() || file->empty())
        return Fail("--case takes a .kelvane file");
      options.casePath = std::string(*file);
    } else if (named("--map")) {
      const auto map = value("--map");
      using engine::MapQuantity;
      const std::pair<std::string_view, MapQuantity> maps[] = {
          {"slip", MapQuantity::kSlipTendency},
          {"dilation", MapQuantity::kDilationTendency},
          {"pressure", MapQuantity::kPorePressureToSlip},
          {"safety", MapQuantity::kFactorOfSafety},
          {"none", MapQuantity::kNone}};
      const auto* found = std::find_if(std::begin(maps), std::end(maps),
                                       [&](const auto& m) { return map == m.first; });
      if (found == std::end(maps))
        return Fail("--map takes slip, dilation, pressure, safety or none");
      options.figure.map = found->second;
    } else if (named("--what")) {
      const auto what = value("--what");
      if (what == "net")
        options.figure.kind = figures::FigureKind::kNet;
      else if (what == "mohr")
        options.figure.kind = figures::FigureKind::kMohr;
      else
        return Fail("--what takes net or mohr");
    } else if (named("--width") || named("--height")) {
      const bool width = named("--width");
      const auto mm = number(width ? "--width" : "--height");
      if (!mm.has_value() || !(*mm >= 1.0 && *mm <= 2000.0))
        return Fail(std::string(width ? "--width" : "--height") +
                    " takes millimetres from 1 to 2000");
      (width ? options.figure.widthMm : options.figure.heightMm) = *mm;
    } else if (named("--dpi")) {
      const auto dpi = value("--dpi");
      int n = 0;
      if (!dpi.has_value() ||
          std::from_chars(dpi->data(), dpi->data() + dpi->size(), n).ptr !=
              dpi->data() + dpi->size() ||
          n < 30 || n > 2400)
        return Fail("--dpi takes a whole number from 30 to 2400");
      options.figure.dpi = n;
    } else if (named("--planes")) {
      const auto file = value("--planes");
      if (!file.has_value() || file->empty())
        return Fail("--planes takes a file");
      options.figure.planesFile = std::string(*file);
    } else if (arg == "-o" || named("--output")) {
      const auto file = value(arg == "-o" ? "-o" : "--output");
      if (!file.has_value() || file->empty())
        return Fail("-o takes the figure's file");
      options.figure.output = std::string(*file);
    } else if (arg.size() > 1 && arg.front() == '-') {
      return Fail("unknown option " + std::string(arg) + "; try 'kelvane-cli --help'");
    } else if (options.command.empty()) {
      if (arg != "tensors" && arg != "planes" && arg != "figure")
        return Fail("unknown command " + std::string(arg) + "; try 'kelvane-cli --help'");
      options.command = std::string(arg);
    } else if (!fileGiven) {
      options.file = std::string(arg);
      fileGiven = true;
    } else {
      return Fail("more than one file given; try 'kelvane-cli --help'");
    }
  }
  if (options.command.empty())
    return Fail("no command given; try 'kelvane-cli --help'");
  if (!options.casePath.empty()) {
    if (options.command == "tensors")
      return Fail("--case is for planes and figure");
    if (options.stress.has_value() || fileGiven || frictionGiven)
      return Fail("--case stands in place of --stress, --pp, --phi, --mu, --cohesion and FILE");
    std::string error;
    if (!TakeCase(options, options.casePlanes, error))
      return Fail(error);
    options.figure.planesFromCase = options.casePlanes;
  }
  if (options.command == "planes")
    return RunPlanes(options);
  if (options.command == "figure")
    return RunFigure(options, fileGiven);
  TensorJob job(options.azimuth);
  return RunTable(options, job);
}
