// kelvane-cli fabric: the orientation statistics of the planes (as poles) or
// lines of a table, for the whole table and for each of its sets.
// Frame: x East, y North, z up; angles in degrees clockwise from North; every
// axis taken downward (analysis/orientation_statistics.h).

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analysis/orientation_statistics.h"
#include "analysis/pole_density.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/table_pipeline.h"
#include "engine/shares.h"
#include "tables/csv.h"
#include "tables/plane_reader.h"

namespace cli {
namespace {

constexpr const char* kFabricHeader =
    "set,count,mean_trend,mean_plunge,mean_dip_direction,mean_dip,resultant_length,"
    "mean_resultant_length,kappa,alpha,eigenvalue1,eigenvalue2,eigenvalue3,eigen1_trend,"
    "eigen1_plunge,eigen2_trend,eigen2_plunge,eigen3_trend,eigen3_plunge,woodcock_k,woodcock_c,"
    "girdle_dip_direction,girdle_dip,density_max,density_max_trend,density_max_plunge\n";
// The columns after set and count.
constexpr int kStatisticsColumns = 24;

/// Set names looked up by a view of their text.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const {
    return std::hash<std::string_view>{}(name);
  }
};
using NameIndex = std::unordered_map<std::string, int, NameHash, std::equal_to<>>;

/// The rows of one share of a chunk: their axes, each one's set among the
/// share's own names (in order of first appearance; -1: none), and the
/// messages of the rows that are none.
struct ShareRows {
  std::vector<stress::Vector3> axes;
  std::vector<int> labels;
  std::vector<std::string> names;
  NameIndex index;
  std::vector<std::string> problems;

  void Clear() {
    axes.clear();
    labels.clear();
    names.clear();
    index.clear();
    problems.clear();
  }
  /// The share's label of `name` (empty: -1).
  int Label(std::string_view name) {
    if (name.empty())
      return -1;
    if (!labels.empty() && labels.back() >= 0 && names[labels.back()] == name)
      return labels.back();  // most files keep a set's rows together
    const auto found = index.find(name);
    if (found != index.end())
      return found->second;
    names.emplace_back(name);
    index.emplace(names.back(), static_cast<int>(names.size() - 1));
    return static_cast<int>(names.size() - 1);
  }
};

/// Reads the table's axes and sets, on several threads a chunk.
class FabricReader : public TableReader {
 public:
  FabricReader(const Options& options, std::string name)
      : lines_(options.fabric.lines),
        strike_(options.strike),
        threads_(options.threads != 0 ? options.threads : engine::DefaultThreads()),
        name_(std::move(name)),
        shares_(threads_) {}

  bool Header(const std::vector<std::string_view>& fields, std::string& error) override {
    std::vector<std::string_view> keys(fields.size());
    bool strikeNamed = false;
    reading_.columns.assign(fields.size(), tables::PlaneColumn::kIgnored);
    const auto take = [&](std::optional<std::size_t>& column, std::size_t i) {
      if (column.has_value()) {
        error = "the column " + std::string(fields[i]) + " is named twice";
        return false;
      }
      column = i;
      return true;
    };
    std::optional<std::size_t> direction, dip;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const std::string key = tables::HeaderKey(fields[i]);
      bool ok = true;
      if (key == "set")
        ok = take(set_, i);
      else if (lines_ && (key == "trend" || key == "azimuth" || key == "declination"))
        ok = take(direction, i);
      else if (lines_ && (key == "plunge" || key == "inclination"))
        ok = take(dip, i);
      else if (!lines_) {
        bool isStrike = false;
        const tables::PlaneColumn column = tables::ColumnOfName(fields[i], &isStrike);
        if (column == tables::PlaneColumn::kDirection)
          ok = take(direction, i);
        else if (column == tables::PlaneColumn::kDip)
          ok = take(dip, i);
        else
          continue;
        strikeNamed |= isStrike;
        reading_.columns[i] = column;
      }
      if (!ok)
        return false;
    }
    if (!direction || !dip) {
      error = lines_ ? "the header needs the columns trend and plunge"
                     : "the header needs the columns dip_direction (or strike) and dip";
      return false;
    }
    trend_ = *direction;
    plunge_ = *dip;
    reading_.notation =
        strike_.value_or(strikeNamed) ? tables::Notation::kStrike : tables::Notation::kDipDirection;
    return true;
  }

  void Lines(std::span<const TableLine> lines) override {
    const std::size_t share = (lines.size() + threads_ - 1) / threads_;
    engine::ForEachShare(lines.size(), share, threads_, [&](std::size_t from, std::size_t to) {
      ShareRows& rows = shares_[from / share];
      rows.Clear();
      tables::CsvSplitter splitter(Delimiter());
      for (std::size_t i = from; i < to; ++i)
        ReadRow(lines[i], splitter, rows);
    });
    // In file order: the shares are contiguous and each keeps its rows' order.
    for (std::size_t t = 0; t * share < lines.size(); ++t) {
      const ShareRows& rows = shares_[t];
      for (const std::string& problem : rows.problems)
        std::fprintf(stderr, "%s: %s:%s\n", kProgram, name_.c_str(), problem.c_str());
      badRows_ += rows.problems.size();
      std::vector<int> global(rows.names.size());
      for (std::size_t k = 0; k < rows.names.size(); ++k) {
        const auto [found, added] =
            names_.try_emplace(rows.names[k], static_cast<int>(setNames_.size()));
        if (added)
          setNames_.push_back(rows.names[k]);
        global[k] = found->second;
      }
      axes_.insert(axes_.end(), rows.axes.begin(), rows.axes.end());
      for (const int label : rows.labels)
        labels_.push_back(label < 0 ? -1 : global[label]);
    }
  }

  /// The axes read, in file order, handed over.
  std::vector<stress::Vector3> TakeAxes() { return std::move(axes_); }
  /// Each axis's set, an index into SetNames(); -1 for none; handed over.
  std::vector<int> TakeLabels() { return std::move(labels_); }
  const std::vector<std::string>& SetNames() const { return setNames_; }
  unsigned long long BadRows() const { return badRows_; }

 private:
  /// One data line into `rows`: its axis and set, or its message.
  void ReadRow(const TableLine& line, tables::CsvSplitter& splitter, ShareRows& rows) const {
    std::string problem;
    std::optional<stress::Vector3> axis;
    if (!splitter.Split(line.text))
      problem = "a quoted field is not closed";
    else if (lines_)
      axis = LineAxis(splitter.Fields(), problem);
    else {
      const tables::PlaneRow row = tables::ReadPlaneRow(splitter.Fields(), reading_);
      if (row.plane)
        axis = analysis::PoleOfPlane(row.plane->dipDirection, row.plane->dip);
      else
        problem = row.problem;
    }
    if (!axis) {
      rows.problems.push_back(std::to_string(line.place.line) + ": " + problem);
      return;
    }
    const std::vector<std::string_view>& fields = splitter.Fields();
    const std::string_view set =
        set_ && *set_ < fields.size() ? tables::TrimBlanks(fields[*set_]) : std::string_view();
    rows.labels.push_back(rows.Label(set));
    rows.axes.push_back(*axis);
  }

  /// The axis of a line's trend and plunge fields, or why there is none.
  std::optional<stress::Vector3> LineAxis(const std::vector<std::string_view>& fields,
                                          std::string& problem) const {
    const auto number = [&](std::size_t column, const char* name) -> std::optional<double> {
      const std::string_view field =
          column < fields.size() ? tables::TrimBlanks(fields[column]) : std::string_view();
      if (field.empty()) {
        problem = std::string(name) + " is missing";
        return std::nullopt;
      }
      const std::optional<double> value = tables::ReadPlainNumber(field, '.');
      if (!value)
        problem = std::string(name) + " '" + std::string(field) + "' is not a number";
      return value;
    };
    const std::optional<double> trend = number(trend_, "trend");
    if (!trend)
      return std::nullopt;
    const std::optional<double> plunge = number(plunge_, "plunge");
    if (!plunge)
      return std::nullopt;
    if (!(*plunge >= -90.0 && *plunge <= 90.0)) {
      problem =
          "plunge " + std::string(tables::TrimBlanks(fields[plunge_])) + " is outside -90 to 90";
      return std::nullopt;
    }
    return analysis::AxisOfLine(*trend, *plunge);
  }

  bool lines_;
  std::optional<bool> strike_;
  unsigned threads_;
  std::string name_;
  tables::PlaneReading reading_;
  std::size_t trend_ = 0;
  std::size_t plunge_ = 0;
  std::optional<std::size_t> set_;
  std::vector<ShareRows> shares_;
  std::vector<stress::Vector3> axes_;
  std::vector<int> labels_;
  std::vector<std::string> setNames_;
  NameIndex names_;
  unsigned long long badRows_ = 0;
};

/// Appends ",value", or "," for none; NaN is none.
void AppendField(std::string& out, std::optional<double> value) {
  out += ',';
  if (value.has_value() && *value == *value)
    tables::AppendNumber(out, *value);
}

/// The output row of the set `name` of `axes`: its count, then its
/// statistics, or empty fields for fewer than 2 axes.
std::string StatisticsRow(std::string_view name, std::span<const analysis::WeightedAxis> axes,
                          const FabricOptions& fabric, double confidence) {
  std::string out;
  tables::AppendCsvField(out, name);
  (out += ',') += std::to_string(axes.size());
  if (axes.size() < 2) {
    out.append(kStatisticsColumns, ',');
    out += '\n';
    return out;
  }
  const analysis::EigenAnalysis eigen = analysis::ComputeEigenAnalysis(axes);
  const analysis::FisherStatistics fisher =
      analysis::ComputeFisherStatistics(axes, eigen.axes[0], confidence);
  const bool planes = !fabric.lines;
  const auto plane = [&](double value) { return planes ? std::optional(value) : std::nullopt; };
  AppendField(out, fisher.meanLine.trend);
  AppendField(out, fisher.meanLine.plunge);
  AppendField(out, plane(fisher.meanPlane.dipDirection));
  AppendField(out, plane(fisher.meanPlane.dip));
  AppendField(out, fisher.resultantLength);
  AppendField(out, fisher.meanResultantLength);
  AppendField(out, fisher.kappa);
  AppendField(out, fisher.alpha);
  for (const double value : eigen.values)
    AppendField(out, value);
  for (const analysis::LineAngles& line : eigen.lines) {
    AppendField(out, line.trend);
    AppendField(out, line.plunge);
  }
  AppendField(out, eigen.woodcockK);
  AppendField(out, eigen.woodcockC);
  AppendField(out, plane(eigen.girdle.dipDirection));
  AppendField(out, plane(eigen.girdle.dip));
  if (fabric.density) {
    const analysis::PoleDensity density(axes, *fabric.density, fabric.k);
    const analysis::DensityPeak peak = analysis::FindDensityMaximum(density);
    AppendField(out, peak.value);
    AppendField(out, peak.line.trend);
    AppendField(out, peak.line.plunge);
  } else {
    out += ",,,";
  }
  out += '\n';
  return out;
}

}  // namespace

int RunFabric(const Options& options) {
  const FabricOptions& fabric = options.fabric;
  FabricReader reader(options, options.file == "-" ? "<stdin>" : options.file);
  if (const int status = ReadTable(options.file, reader); status != 0)
    return status;

  // The axes with their weights: 1, or Terzaghi's along the scanline.
  std::vector<stress::Vector3> read = reader.TakeAxes();
  std::optional<stress::Vector3> along;
  if (fabric.scanline)
    along = analysis::AxisOfLine(fabric.scanline->trend, fabric.scanline->plunge);
  const auto weighted = [&](const stress::Vector3& axis) -> analysis::WeightedAxis {
    return {axis, along ? analysis::TerzaghiWeight(axis, *along, fabric.scanline->cap) : 1.0};
  };

  std::fwrite(kFabricHeader, 1, std::strlen(kFabricHeader), stdout);
  if (read.size() < 2) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %zu usable %s: the statistics need at least 2\n", kProgram,
                 read.size(), read.size() == 1 ? "axis" : "axes");
    return 1;
  }

  // The sets: k-means labels 1 to K, or the set column's names.
  std::vector<int> labels = reader.TakeLabels();
  std::vector<std::string> names = reader.SetNames();
  if (fabric.sets) {
    if (static_cast<std::size_t>(*fabric.sets) > read.size()) {
      std::fflush(stdout);
      std::fprintf(stderr, "%s: --sets %d needs at least %d usable axes; there are %zu\n", kProgram,
                   *fabric.sets, *fabric.sets, read.size());
      return 1;
    }
    std::vector<analysis::WeightedAxis> axes(read.size());
    std::transform(read.begin(), read.end(), axes.begin(), weighted);
    labels = analysis::ClusterAxes(axes, *fabric.sets, options.seed.value_or(1)).labels;
    names.clear();
    for (int k = 1; k <= *fabric.sets; ++k)
      names.push_back(std::to_string(k));
  }
  // The axes set by set, each in file order, those in no set last: the
  // whole is all of them, and each set a part, without copies.
  std::vector<std::size_t> starts(names.size() + 2, 0);
  for (const int label : labels)
    ++starts[(label < 0 ? names.size() : static_cast<std::size_t>(label)) + 1];
  for (std::size_t k = 1; k < starts.size(); ++k)
    starts[k] += starts[k - 1];
  std::vector<analysis::WeightedAxis> grouped(read.size());
  {
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (std::size_t i = 0; i < read.size(); ++i)
      grouped[next[labels[i] < 0 ? names.size() : static_cast<std::size_t>(labels[i])]++] =
          weighted(read[i]);
  }
  read = {};
  labels = {};
  const std::span<const analysis::WeightedAxis> all(grouped);

  // One row a task, the whole (the longest) first.
  std::vector<std::string> rows(names.size() + 1);
  const unsigned threads = options.threads != 0 ? options.threads : engine::DefaultThreads();
  engine::ForEachShare(rows.size(), 1, threads, [&](std::size_t from, std::size_t) {
    rows[from] = from == 0
                     ? StatisticsRow("all", all, fabric, options.confidence)
                     : StatisticsRow(names[from - 1],
                                     all.subspan(starts[from - 1], starts[from] - starts[from - 1]),
                                     fabric, options.confidence);
  });
  for (const std::string& row : rows)
    std::fwrite(row.data(), 1, row.size(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail(std::string("standard output: ") + std::strerror(errno));
  return reader.BadRows() == 0 ? 0 : 1;
}

}  // namespace cli
