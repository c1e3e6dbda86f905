#include "cli/plane_rows.h"

#include <algorithm>

#include "tables/csv.h"
#include "tables/plane_csv.h"

namespace cli {

std::optional<tables::PlaneReading> ReadPlaneHeader(const std::vector<std::string_view>& fields,
                                                    std::optional<bool> strike,
                                                    std::string& error) {
  tables::PlaneReading reading;
  reading.delimiter = ',';
  reading.header = true;
  bool strikeNamed = false;
  for (const std::string_view field : fields) {
    bool isStrike = false;
    const tables::PlaneColumn column = tables::ColumnOfName(field, &isStrike);
    if (column != tables::PlaneColumn::kIgnored &&
        std::find(reading.columns.begin(), reading.columns.end(), column) !=
            reading.columns.end()) {
      error = "the column " + std::string(field) + " is named twice";
      return std::nullopt;
    }
    strikeNamed |= isStrike;
    reading.columns.push_back(column);
  }
  const auto has = [&](tables::PlaneColumn column) {
    return std::find(reading.columns.begin(), reading.columns.end(), column) !=
           reading.columns.end();
  };
  if (!has(tables::PlaneColumn::kDirection) || !has(tables::PlaneColumn::kDip)) {
    error = "the header needs the columns dip_direction (or strike) and dip";
    return std::nullopt;
  }
  if (has(tables::PlaneColumn::kPhi) && has(tables::PlaneColumn::kMu)) {
    error = "the header names both phi and mu";
    return std::nullopt;
  }
  reading.notation =
      strike.value_or(strikeNamed) ? tables::Notation::kStrike : tables::Notation::kDipDirection;
  return reading;
}

std::string PlaneOutputHeader(bool odds) {
  std::string header(tables::PlaneCsvHeader());
  if (odds)
    (header += ',') += tables::OddsCsvHeader();
  return header + ",error\n";
}

bool AppendPlaneRow(const tables::PlaneReading& reading, bool split,
                    const std::vector<std::string_view>& fields, RowPlace place,
                    const engine::PlaneAssessor& assess, const engine::PlaneDefaults& defaults,
                    std::string& out, const engine::SlipSampler* sampler) {
  tables::PlaneRow row;
  if (split)
    row = tables::ReadPlaneRow(fields, reading);
  else
    row.problem = "a quoted field is not closed";
  const bool hasId = std::find(reading.columns.begin(), reading.columns.end(),
                               tables::PlaneColumn::kId) != reading.columns.end();
  // An id with a control character is not written: the row is numbered and
  // named by its line.
  const bool idRefused = split && !tables::IdProblem(row.id).empty();
  const std::string id = hasId && split && !idRefused ? row.id : std::to_string(place.row);
  if (!row.plane) {
    tables::AppendCsvField(out, id);
    out.append(sampler != nullptr ? 23 : 18, ',');
    out += ',';
    tables::AppendCsvField(
        out, idRefused ? "line " + std::to_string(place.line) + ": " + row.problem : row.problem);
    out += '\n';
    return false;
  }
  tables::AppendPlaneCsvRow(out, id, *row.plane, defaults, assess(*row.plane));
  if (sampler != nullptr) {
    thread_local std::vector<double> scratch;
    tables::AppendOddsCsvFields(out, sampler->Odds(*row.plane, place.row - 1, scratch));
  }
  out += ",\n";
  return true;
}

}  // namespace cli
