// kelvane-cli's row paths on any bytes: the table as the pipeline meets it
// (a byte-order mark and CR dropped, blank and '#' lines skipped, the
// header's line choosing the delimiter), the header read by the command and
// every data row written as the command writes it.

#include <charconv>
#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/plane_rows.h"
#include "cli/tensor_table.h"
#include "engine/pass.h"
#include "fuzz_checks.h"
#include "tables/csv.h"
#include "tables/plane_reader.h"

namespace fuzz {
namespace {

/// The header's fields, and for each data row: whether it was computed and
/// the line written for it. Returns the first failed property, or empty.
using HeaderRead = std::function<bool(const std::vector<std::string_view>&, std::string& out)>;
using RowWrite = std::function<bool(bool split, const std::vector<std::string_view>&, cli::RowPlace,
                                    std::string& out)>;

/// A field that is a number as the CLI writes one (shortest text, "inf",
/// "-inf"), or empty.
bool IsNumberOrEmpty(std::string_view field) {
  if (field.empty() || field == "inf" || field == "-inf")
    return true;
  double value = 0.0;
  const auto read = std::from_chars(field.data(), field.data() + field.size(), value);
  return read.ec == std::errc() && read.ptr == field.data() + field.size() && std::isfinite(value);
}

std::string CheckTable(std::string_view text, const HeaderRead& header, const RowWrite& row,
                       const std::function<std::string(const std::vector<std::string_view>&,
                                                       cli::RowPlace, bool computed)>& fields) {
  std::string failure;
  bool headerSeen = false;
  char delimiter = ',';
  std::size_t columns = 0;
  unsigned long long rows = 0;
  tables::CsvSplitter written;
  tables::ForEachLine(text, [&](std::size_t number, std::string_view line, std::size_t) {
    const std::string_view trimmed = tables::TrimBlanks(line);
    if (trimmed.empty() || trimmed.front() == '#')
      return true;
    if (!headerSeen) {
      headerSeen = true;
      delimiter = tables::DetectDelimiter(line);
      tables::CsvSplitter splitter(delimiter);
      std::string out;
      if (!splitter.Split(line) || !header(splitter.Fields(), out))
        return false;  // refused: nothing more to check
      if (out.empty() || out.back() != '\n' || !written.Split({out.data(), out.size() - 1})) {
        failure = "an output header that is no CSV line";
        return false;
      }
      columns = written.Fields().size();
      return true;
    }
    tables::CsvSplitter splitter(delimiter);
    const bool split = splitter.Split(line);
    const cli::RowPlace place{number, ++rows};
    std::string out;
    const bool computed = row(split, splitter.Fields(), place, out);
    if (out.empty() || out.back() != '\n' || out.find('\n') != out.size() - 1) {
      failure = "row " + std::to_string(rows) + ": not one line";
      return false;
    }
    if (!written.Split({out.data(), out.size() - 1}) || written.Fields().size() != columns) {
      failure = "row " + std::to_string(rows) + ": not a row of the output header";
      return false;
    }
    const std::vector<std::string_view>& f = written.Fields();
    if (computed != f.back().empty()) {
      failure = "row " + std::to_string(rows) + ": computed and error column disagree";
      return false;
    }
    if (tables::FirstControlCharacter(f.front()) >= 0) {
      failure = "row " + std::to_string(rows) + ": a control character in the id";
      return false;
    }
    for (const std::string_view field : f)
      for (const char c : field)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') || c == '\x7F') {
          failure = "row " + std::to_string(rows) + ": a raw control character";
          return false;
        }
    failure = fields(f, place, computed);
    return failure.empty();
  });
  return failure;
}

std::string_view Text(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

std::string CheckCliTensors(std::span<const std::uint8_t> bytes) {
  std::optional<cli::TensorColumns> columns;
  return CheckTable(
      Text(bytes),
      [&](const std::vector<std::string_view>& fields, std::string& out) {
        std::string error;
        columns = cli::ReadHeader(fields, error);
        if (columns)
          out = cli::OutputHeader(*columns);
        return columns.has_value();
      },
      [&](bool split, const std::vector<std::string_view>& fields, cli::RowPlace place,
          std::string& out) {
        return cli::AppendResultRow(*columns, split, fields, place,
                                    stress::Azimuth::kClockwiseFromNorth, out);
      },
      [&](const std::vector<std::string_view>& f, cli::RowPlace place, bool) -> std::string {
        // The id, then numbers, the regime, the joint's numbers, the error.
        if (!columns->id && f.front() != std::to_string(place.row))
          return "an id that is not the row number";
        const std::size_t regime = f.size() - (columns->HasJoint() ? 11 : 2);
        for (std::size_t k = 1; k + 1 < f.size(); ++k) {
          if (k == regime) {
            if (!f[k].empty() && f[k] != "NF" && f[k] != "NS" && f[k] != "SS" && f[k] != "TS" &&
                f[k] != "TF" && f[k] != "U")
              return "an unknown regime";
          } else if (!IsNumberOrEmpty(f[k])) {
            return "a field that is no number: column " + std::to_string(k);
          }
        }
        return {};
      });
}

std::string CheckCliPlanes(std::span<const std::uint8_t> bytes) {
  engine::PassInputs inputs = engine::PassInputs::Of({30.0, 20.0, 45.0, 4.0, -3.0, 6.0},
                                                     stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = 12.0;
  const engine::PassResults pass = engine::RunPass(inputs);
  const engine::PlaneDefaults defaults{31.0, 0.5};
  const engine::PlaneAssessor assess(pass, defaults);
  std::optional<tables::PlaneReading> reading;
  return CheckTable(
      Text(bytes),
      [&](const std::vector<std::string_view>& fields, std::string& out) {
        std::string error;
        reading = cli::ReadPlaneHeader(fields, std::nullopt, error);
        if (reading)
          out = cli::PlaneOutputHeader();
        return reading.has_value();
      },
      [&](bool split, const std::vector<std::string_view>& fields, cli::RowPlace place,
          std::string& out) {
        return cli::AppendPlaneRow(*reading, split, fields, place, assess, defaults, out);
      },
      [&](const std::vector<std::string_view>& f, cli::RowPlace, bool computed) -> std::string {
        if (!computed)
          return {};
        // A direction in [0, 360) and a dip in [0, 90], neither -0.
        double direction = -1.0, dip = -1.0;
        std::from_chars(f[1].data(), f[1].data() + f[1].size(), direction);
        std::from_chars(f[2].data(), f[2].data() + f[2].size(), dip);
        if (!(direction >= 0.0 && direction < 360.0) || std::signbit(direction))
          return "a dip direction outside [0, 360): " + std::string(f[1]);
        if (!(dip >= 0.0 && dip <= 90.0) || std::signbit(dip))
          return "a dip outside [0, 90]: " + std::string(f[2]);
        for (std::size_t k = 3; k < 18; ++k)
          if (!IsNumberOrEmpty(f[k]))
            return "a field that is no number: column " + std::to_string(k);
        if (f[18] != "slips" && f[18] != "stable" && f[18] != "opens" && !f[18].empty())
          return "an unknown state";
        return {};
      });
}

}  // namespace fuzz
