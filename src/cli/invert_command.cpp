// kelvane-cli invert: the reduced stress that a file of faults or focal
// mechanisms records, with its bootstrap confidence and, given s1 and s3,
// the full tensor; per datum the fit, to a file of its own.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/stress_inversion.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "engine/shares.h"
#include "files/saved_file.h"
#include "tables/csv.h"
#include "tables/fault_slip_reader.h"

namespace cli {
namespace {

/// The bytes of `file` ("-": standard input) into `text`; false with the
/// reason in `error`. Anything but a regular file (a FIFO, a device, a
/// folder) is refused before it is opened, and opened without blocking, so
/// that a FIFO put in its place meanwhile cannot hold the program either.
bool ReadInput(const std::string& file, const std::string& name, std::string& text,
               std::string& error) {
  int fd = STDIN_FILENO;
  if (file != "-") {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0) {
      error = name + ": " + std::strerror(errno);
      return false;
    }
    if (!S_ISREG(info.st_mode)) {
      error = name + ": " + (S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "not a regular file");
      return false;
    }
    fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0 || fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      error = name + ": " + (fd < 0 ? std::strerror(errno) : "not a regular file");
      if (fd >= 0)
        close(fd);
      return false;
    }
  }
  char buffer[1 << 16];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0) {
      if (got < 0)
        error = name + ": " + std::strerror(errno);
      break;
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  if (fd != STDIN_FILENO)
    close(fd);
  return error.empty();
}

/// A message of the reader ("line 7: dip 95 is outside 0 to 90") on
/// standard error as "kelvane-cli: FILE:7: dip 95 is outside 0 to 90".
void SayReaderMessage(const std::string& name, const std::string& message) {
  constexpr std::string_view kLine = "line ";
  const std::string_view text(message);
  const std::size_t colon = text.find(": ");
  if (text.starts_with(kLine) && colon != std::string_view::npos)
    std::fprintf(stderr, "%s: %s:%s: %s\n", kProgram, name.c_str(),
                 message.substr(kLine.size(), colon - kLine.size()).c_str(),
                 message.c_str() + colon + 2);
  else
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, name.c_str(), message.c_str());
}

/// Appends ',' (except before the first field) and `value`, an empty field
/// for NaN (a quantity without a value).
void AppendField(std::string& out, double value) {
  if (!out.empty() && out.back() != '\n')
    out += ',';
  if (!std::isnan(value))
    tables::AppendNumber(out, value);
}

/// The replicates of the bootstrap over `threads` threads (0: one per
/// processor). Each replicate depends on the seed and its number alone, so
/// that any split gives the same replicates.
std::vector<analysis::BootstrapReplicate> Bootstrap(const std::vector<analysis::FaultSlip>& data,
                                                    const Options& options) {
  const auto count = static_cast<std::size_t>(options.bootstrap);
  std::vector<analysis::BootstrapReplicate> replicates(count);
  const unsigned threads = options.threads != 0 ? options.threads : engine::DefaultThreads();
  // Four shares per thread: replicates differ in cost (iterations, frictions).
  const std::size_t share = std::max<std::size_t>(1, (count + 4 * threads - 1) / (4 * threads));
  engine::ForEachShare(count, share, threads, [&](std::size_t first, std::size_t last) {
    analysis::RunBootstrap(data, options.inversion, options.seed.value_or(1), first, last,
                           replicates.data() + first);
  });
  return replicates;
}

/// The per-fault table: one row per datum read, in the file's order.
std::string PerFaultTable(const tables::FaultSlipImport& import,
                          const analysis::StressInversion& result) {
  std::string out = "id,dip_direction,dip,rake,misfit,instability,plane\n";
  for (std::size_t i = 0; i < result.faults.size(); ++i) {
    const analysis::FaultFit& fit = result.faults[i];
    const std::string& id = import.faults[i].id;
    if (id.empty())
      out += std::to_string(import.lines[i]);
    else
      tables::AppendCsvField(out, id);
    for (const double value : {fit.dipDirection, fit.dip, fit.rake, fit.misfit, fit.instability})
      AppendField(out, value);
    out += ',';
    if (fit.plane != 0)
      out += std::to_string(fit.plane);
    out += '\n';
  }
  return out;
}

}  // namespace

int RunInvert(const Options& options) {
  const std::string name = options.file == "-" ? "<stdin>" : options.file;
  // Before the work: a destination that cannot be replaced fails at once.
  if (!options.perFaultFile.empty()) {
    const QString problem = files::DestinationProblem(QString::fromStdString(options.perFaultFile));
    if (!problem.isEmpty())
      return Fail(options.perFaultFile + ": " + problem.toStdString());
  }
  std::string text;
  std::string error;
  if (!ReadInput(options.file, name, text, error))
    return Fail(error);

  tables::FaultSlipReading reading = tables::DetectFaultSlipReading(text);
  if (options.sense)
    reading.sense = options.sense;
  if (!reading.note.empty())
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, name.c_str(), reading.note.c_str());
  const tables::FaultSlipImport import = tables::ReadFaultSlips(text, reading);
  if (!import.error.empty())
    return Fail(name + ": " + import.error);
  for (const std::string& message : import.messages)
    SayReaderMessage(name, message);

  const analysis::InversionOutcome outcome =
      analysis::InvertStress(import.faults, options.inversion);
  if (!outcome.result) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, name.c_str(), outcome.problem.c_str());
    return 1;
  }
  const analysis::StressInversion& result = *outcome.result;
  if (!result.converged)
    std::fprintf(stderr,
                 "%s: %s: the choice of nodal planes did not settle (a few mechanisms near a tie "
                 "turn each other over); the step of largest mean instability is written\n",
                 kProgram, name.c_str());

  const bool iterative = options.inversion.method == analysis::InversionMethod::kIterative;
  std::string header =
      "method,friction,faults,stress_ratio,s1_azimuth,s1_dip,s2_azimuth,s2_dip,s3_azimuth,s3_dip,"
      "misfit_mean,misfit_median,instability_mean";
  std::string row = iterative ? "iterative" : "linear";
  AppendField(row, result.friction);
  row += ',' + std::to_string(result.used);
  AppendField(row, result.stressRatio);
  for (const analysis::AxisDirection& axis : result.axes) {
    AppendField(row, axis.azimuth);
    AppendField(row, axis.dip);
  }
  for (const double value : {result.misfitMean, result.misfitMedian, result.instabilityMean})
    AppendField(row, value);

  if (options.bootstrap > 0) {
    const std::vector<analysis::BootstrapReplicate> replicates = Bootstrap(import.faults, options);
    const analysis::BootstrapSummary summary =
        analysis::SummarizeBootstrap(result, replicates, options.confidence);
    if (summary.unsolved > 0)
      std::fprintf(stderr,
                   "%s: %s: %zu of %zu bootstrap replicates determine no stress and are "
                   "left out\n",
                   kProgram, name.c_str(), summary.unsolved, replicates.size());
    header += ",stress_ratio_low,stress_ratio_high,s1_cone,s2_cone,s3_cone";
    for (const double value : {summary.stressRatioLow, summary.stressRatioHigh, summary.cones[0],
                               summary.cones[1], summary.cones[2]})
      AppendField(row, value);
  }

  if (options.magnitudes) {
    const analysis::BuiltState built = analysis::StressStateOfInversion(
        result, options.magnitudes->first, options.magnitudes->second);
    if (!built.state) {
      std::fprintf(stderr, "%s: %s: %s\n", kProgram, name.c_str(), built.problem.c_str());
      return 1;
    }
    const stress::StressState& s = *built.state;
    header += ",sx,sy,sz,txy,tyz,tzx";
    for (const double value : {s.sx, s.sy, s.sz, s.txy, s.tyz, s.tzx})
      AppendField(row, value);
  }

  if (!options.perFaultFile.empty()) {
    const std::string table = PerFaultTable(import, result);
    files::SaveBytes(QString::fromStdString(options.perFaultFile),
                     QByteArray(table.data(), static_cast<qsizetype>(table.size())),
                     QStringLiteral("per-fault table"));
  }
  const std::string out = header + '\n' + row + '\n';
  std::fwrite(out.data(), 1, out.size(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail(std::string("standard output: ") + std::strerror(errno));
  return 0;
}

}  // namespace cli
