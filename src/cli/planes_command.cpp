#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/plane_rows.h"
#include "cli/table_pipeline.h"
#include "engine/pass.h"
#include "engine/shares.h"
#include "files/source_file.h"
#include "tables/csv.h"
#include "tables/plane_csv.h"
#include "tables/profile_reader.h"

namespace cli {
namespace {

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
    reading_ = ReadPlaneHeader(fields, strike_, error);
    if (!reading_.has_value())
      return false;
    out = PlaneOutputHeader(sampler_.has_value());
    return true;
  }
  bool Row(bool split, const std::vector<std::string_view>& fields, RowPlace place,
           std::string& out) const override {
    return AppendPlaneRow(*reading_, split, fields, place, assess_, defaults_, out,
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

/// Planes each at its own depth (a `depth` column): assessed under the
/// profile's stresses and Pp there, the same functions as under one state;
/// a plane without a depth under --stress when given. The local depth, Sv,
/// SHmax, Shmin and Pp follow the plane's columns.
class DepthPlaneJob : public TableJob {
 public:
  /// `pass` is the --stress state's, when given (it must then satisfy
  /// engine::CanAssessPlanes).
  DepthPlaneJob(std::optional<engine::PassResults> pass, analysis::StressProfile profile,
                const Options& options)
      : pass_(std::move(pass)),
        profile_(std::move(profile)),
        defaults_(options.defaults),
        strike_(options.strike) {
    if (pass_)
      assess_.emplace(*pass_, defaults_);
  }
  bool Header(const std::vector<std::string_view>& fields, std::string& error,
              std::string& out) override {
    reading_ = ReadPlaneHeader(fields, strike_, error);
    if (!reading_.has_value())
      return false;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string key = tables::HeaderKey(tables::TrimBlanks(fields[i]));
      if (key == "depth" || key == "tvd" || key == "trueverticaldepth") {
        if (depthColumn_) {
          error = "the column depth is named twice";
          return false;
        }
        depthColumn_ = i;
      }
    }
    if (!depthColumn_) {
      error = "the planes need a depth column to be assessed at their depth";
      return false;
    }
    out = PlaneOutputHeader(false);
    out.insert(out.size() - std::string_view(",error\n").size(), ",depth,sv,shmax,shmin,pp");
    return true;
  }
  bool Row(bool split, const std::vector<std::string_view>& fields, RowPlace place,
           std::string& out) const override {
    tables::PlaneRow row;
    if (split)
      row = tables::ReadPlaneRow(fields, *reading_);
    else
      row.problem = "a quoted field is not closed";
    const bool hasId = std::find(reading_->columns.begin(), reading_->columns.end(),
                                 tables::PlaneColumn::kId) != reading_->columns.end();
    const std::string id = hasId && split ? row.id : std::to_string(place.row);
    const auto refuse = [&](const std::string& why) {
      tables::AppendCsvField(out, id);
      out.append(18 + 5, ',');
      out += ',';
      tables::AppendCsvField(out, why);
      out += '\n';
      return false;
    };
    if (!row.plane)
      return refuse(row.problem);
    const std::string_view field = *depthColumn_ < fields.size()
                                       ? tables::TrimBlanks(fields[*depthColumn_])
                                       : std::string_view();
    if (field.empty()) {
      if (!assess_)
        return refuse("depth is missing (and no --stress for planes without one)");
      tables::AppendPlaneCsvRow(out, id, *row.plane, defaults_, (*assess_)(*row.plane));
      out += ",,,,,,\n";
      return true;
    }
    const std::optional<double> depth = tables::ReadPlainNumber(field, '.');
    if (!depth)
      return refuse("depth '" + std::string(field) + "' is not a number");
    const analysis::ProfileValue value = profile_.At(*depth);
    if (!value.row)
      return refuse(value.problem);
    const analysis::ProfileRow& local = *value.row;
    engine::PassInputs inputs =
        engine::PassInputs::Of(analysis::TensorOf(local), stress::Azimuth::kClockwiseFromNorth);
    inputs.porePressure = local.porePressure;
    const engine::PassResults pass = engine::RunPass(inputs);
    if (!engine::CanAssessPlanes(pass))
      return refuse("the stress state at depth " + std::string(field) + " cannot be computed");
    tables::AppendPlaneCsvRow(out, id, *row.plane, defaults_,
                              engine::PlaneAssessor(pass, defaults_)(*row.plane));
    for (const double v : {local.depth, local.sv, local.shMax, local.shMin, local.porePressure}) {
      out += ',';
      tables::AppendNumber(out, v);
    }
    out += ",\n";
    return true;
  }

 private:
  std::optional<engine::PassResults> pass_;
  analysis::StressProfile profile_;
  engine::PlaneDefaults defaults_;
  std::optional<bool> strike_;
  std::optional<engine::PlaneAssessor> assess_;
  std::optional<tables::PlaneReading> reading_;
  std::optional<std::size_t> depthColumn_;
};

/// The profile of --profile FILE or --gradients; empty (the reason in
/// `error`) when the file cannot be read or holds no profile.
std::optional<analysis::StressProfile> ProfileOf(const Options& options, std::string& error) {
  if (options.gradients)
    return analysis::StressProfile::FromGradients(*options.gradients);
  QByteArray bytes;
  const QString problem =
      files::ReadSource(QString::fromStdString(options.profilePath), files::kPlaneFileLimit, bytes);
  if (!problem.isEmpty()) {
    error = options.profilePath + ": " + problem.toStdString();
    return std::nullopt;
  }
  const tables::ProfileImport read = tables::ReadProfile(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  for (const std::string& message : read.messages)
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, options.profilePath.c_str(), message.c_str());
  if (!read.error.empty()) {
    error = options.profilePath + ": " + read.error;
    return std::nullopt;
  }
  analysis::BuiltProfile built =
      analysis::StressProfile::FromTable(analysis::UnitSystem::kMegapascalMetre, read.rows);
  if (!built.profile) {
    error = options.profilePath + ": " + built.problem;
    return std::nullopt;
  }
  return std::move(built.profile);
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
  const unsigned threads = options.threads != 0 ? options.threads : engine::DefaultThreads();
  constexpr std::size_t kChunk = 4096;
  std::vector<std::string> out(threads);
  for (std::size_t start = 0; start < planes.size(); start += kChunk) {
    const std::size_t end = std::min(planes.size(), start + kChunk);
    const std::size_t share = (end - start + threads - 1) / threads;
    engine::ForEachShare(end - start, share, threads, [&](std::size_t from, std::size_t to) {
      std::string& text = out[from / share];
      text.clear();
      std::vector<double> scratch;
      for (std::size_t i = start + from; i < start + to; ++i) {
        tables::AppendPlaneCsvRow(text, planes.ids[i], planes.planes[i], options.defaults,
                                  assess(planes.planes[i]));
        if (sampler)
          tables::AppendOddsCsvFields(text, sampler->Odds(planes.planes[i], i, scratch));
        text += ",\n";
      }
    });
    for (std::size_t t = 0; t * share < end - start; ++t)
      std::fwrite(out[t].data(), 1, out[t].size(), stdout);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail(std::string("standard output: ") + std::strerror(errno));
  return 0;
}

}  // namespace

int RunPlanes(const Options& options) {
  if (!options.profilePath.empty() || options.gradients) {
    std::string error;
    std::optional<analysis::StressProfile> profile = ProfileOf(options, error);
    if (!profile)
      return Fail(error);
    std::optional<engine::PassResults> pass;
    if (options.stress) {
      engine::PassInputs inputs =
          engine::PassInputs::Of(*options.stress, stress::Azimuth::kClockwiseFromNorth);
      inputs.porePressure = options.porePressure;
      pass = engine::RunPass(inputs);
      if (!engine::CanAssessPlanes(*pass))
        return Fail("the stress state cannot be computed: " +
                    (pass->stop ? pass->stop->message : std::string("no principal axes")));
    }
    DepthPlaneJob job(std::move(pass), std::move(*profile), options);
    return RunTable(options.file, options.threads, job);
  }
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
  return RunTable(options.file, options.threads, job);
}

}  // namespace cli
