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
#include "tables/csv.h"
#include "tables/plane_csv.h"

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
