#include "tables/plane_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "tables/csv.h"
#include "tables/text_lines.h"

namespace tables {
namespace {

std::string Shortest(double value, char decimal) {
  std::array<char, 32> buffer;
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  std::string text(buffer.data(), written.ptr);
  if (decimal != '.')
    std::replace(text.begin(), text.end(), '.', decimal);
  return text;
}

/// `value` taken into [0, 360).
double Modulo360(double value) {
  double reduced = std::fmod(value, 360.0);
  if (reduced < 0.0)
    reduced += 360.0;
  return reduced >= 360.0 ? 0.0 : reduced;
}

}  // namespace

std::optional<double> ReadPlainNumber(std::string_view field, char decimal) {
  std::string_view text = TrimBlanks(field);
  if (!text.empty() && text.front() == '+')
    text.remove_prefix(1);
  if (text.empty() || text.front() == '+' || text.front() == ' ')
    return std::nullopt;
  std::array<char, 64> copy;
  if (decimal != '.') {
    if (text.size() > copy.size() || text.find('.') != std::string_view::npos)
      return std::nullopt;
    std::copy(text.begin(), text.end(), copy.begin());
    std::replace(copy.begin(), copy.begin() + text.size(), decimal, '.');
    text = std::string_view(copy.data(), text.size());
  }
  double value = 0.0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

PlaneColumn ColumnOfName(std::string_view name, bool* strike) {
  const std::string key = HeaderKey(name);
  if (strike != nullptr)
    *strike = key == "strike";
  if (key == "id" || key == "name")
    return PlaneColumn::kId;
  if (key == "dipdirection" || key == "dipdir" || key == "dd" || key == "azimuth" ||
      key == "dipazimuth" || key == "strike")
    return PlaneColumn::kDirection;
  if (key == "dip")
    return PlaneColumn::kDip;
  if (key == "phi" || key == "frictionangle")
    return PlaneColumn::kPhi;
  if (key == "mu" || key == "frictioncoefficient" || key == "friction")
    return PlaneColumn::kMu;
  if (key == "c" || key == "cohesion")
    return PlaneColumn::kCohesion;
  return PlaneColumn::kIgnored;
}

std::vector<TextLine> FirstLines(std::string_view text, std::size_t count) {
  std::vector<TextLine> lines;
  if (count == 0)
    return lines;
  ForEachLine(text, [&](std::size_t number, std::string_view line, std::size_t) {
    if (!IsSkipped(line))
      lines.push_back({number, line});
    return lines.size() < count;
  });
  return lines;
}

PlaneReading DetectReading(std::string_view text) {
  const std::vector<TextLine> lines = FirstLines(text, 20);
  PlaneReading reading;
  // The first line decides: a row with a missing field must not change it.
  const auto inFirstLine = [&](char c) {
    return !lines.empty() && lines.front().text.find(c) != std::string_view::npos;
  };
  if (inFirstLine('\t'))
    reading.delimiter = '\t';
  else if (inFirstLine(';'))
    reading.delimiter = ';';
  else if (inFirstLine(','))
    reading.delimiter = ',';
  else
    reading.delimiter = ' ';
  if (lines.empty())
    return reading;

  CsvSplitter splitter(reading.delimiter);
  // The decimal comma: a data field that reads with ',' but not with '.'.
  if (reading.delimiter != ',') {
    for (std::size_t i = 1; i < lines.size() && reading.decimal == '.'; ++i) {
      if (!splitter.Split(lines[i].text))
        continue;
      for (const std::string_view field : splitter.Fields())
        if (!ReadPlainNumber(field, '.') && ReadPlainNumber(field, ','))
          reading.decimal = ',';
    }
  }

  splitter.Split(lines.front().text);
  const std::vector<std::string_view> first = splitter.Fields();
  reading.header = std::any_of(first.begin(), first.end(), [&](std::string_view field) {
    return !ReadPlainNumber(field, reading.decimal);
  });
  if (reading.header) {
    bool anyKnown = false;
    for (const std::string_view field : first) {
      bool strike = false;
      const PlaneColumn column = ColumnOfName(field, &strike);
      // A column named twice is read once: the first.
      const bool taken = column != PlaneColumn::kIgnored &&
                         std::find(reading.columns.begin(), reading.columns.end(), column) !=
                             reading.columns.end();
      reading.columns.push_back(taken ? PlaneColumn::kIgnored : column);
      if (strike && !taken)
        reading.notation = Notation::kStrike;
      anyKnown |= column != PlaneColumn::kIgnored;
    }
    // A first line of data that merely has an id: no header after all.
    if (!anyKnown && first.size() >= 3 && ReadPlainNumber(first[1], reading.decimal) &&
        ReadPlainNumber(first[2], reading.decimal))
      reading.header = false;
    else
      return reading;
  }
  // Without a header: as many columns as the widest of the first lines (the
  // first line's fields are read before the splitter is used again).
  const bool firstIsId = !first.empty() && !ReadPlainNumber(first[0], reading.decimal);
  std::size_t width = first.size();
  for (const TextLine& line : lines)
    if (splitter.Split(line.text))
      width = std::max(width, splitter.Fields().size());
  reading.columns.clear();
  if (firstIsId)
    reading.columns.push_back(PlaneColumn::kId);
  for (const PlaneColumn column :
       {PlaneColumn::kDirection, PlaneColumn::kDip, PlaneColumn::kPhi, PlaneColumn::kCohesion})
    if (reading.columns.size() < width)
      reading.columns.push_back(column);
  return reading;
}

PlaneRow ReadPlaneRow(const std::vector<std::string_view>& fields, const PlaneReading& reading) {
  PlaneRow row;
  std::optional<std::string_view> direction, dip, phi, mu, cohesion;
  const std::size_t count = std::min(fields.size(), reading.columns.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view field = TrimBlanks(fields[i]);
    switch (reading.columns[i]) {
      case PlaneColumn::kId:
        row.id = std::string(field);
        break;
      case PlaneColumn::kDirection:
        direction = field;
        break;
      case PlaneColumn::kDip:
        dip = field;
        break;
      case PlaneColumn::kPhi:
        phi = field;
        break;
      case PlaneColumn::kMu:
        mu = field;
        break;
      case PlaneColumn::kCohesion:
        cohesion = field;
        break;
      case PlaneColumn::kIgnored:
        break;
    }
  }
  const bool strike = reading.notation == Notation::kStrike;
  const char* const directionName = strike ? "strike" : "dip direction";

  // A required field's value, or the reason it has none.
  const auto number = [&](const std::optional<std::string_view>& field,
                          const char* name) -> std::optional<double> {
    if (!field || field->empty()) {
      row.problem = std::string(name) + " is missing";
      return std::nullopt;
    }
    const std::optional<double> value = ReadPlainNumber(*field, reading.decimal);
    if (!value)
      row.problem = std::string(name) + " '" + std::string(*field) + "' is not a number";
    return value;
  };
  const auto outside = [&](std::string_view field, const char* name, const char* range) {
    row.problem = std::string(name) + " " + std::string(field) + " is outside " + range;
  };

  const std::optional<double> typedDirection = number(direction, directionName);
  if (!typedDirection)
    return row;
  const std::optional<double> typedDip = number(dip, "dip");
  if (!typedDip)
    return row;
  if (!(*typedDip >= 0.0 && *typedDip <= 90.0)) {
    outside(*dip, "dip", "0 to 90");
    return row;
  }
  engine::Plane plane;
  plane.dip = *typedDip;
  const double reduced = Modulo360(*typedDirection);
  if (reduced != *typedDirection)
    row.note = std::string(directionName) + " " + std::string(*direction) + " is taken as " +
               Shortest(reduced, reading.decimal);
  plane.dipDirection = strike ? Modulo360(reduced + 90.0) : reduced;

  if (phi && !phi->empty()) {
    const std::optional<double> value = number(phi, "phi");
    if (!value)
      return row;
    if (!(*value >= 0.0 && *value <= 90.0)) {
      outside(*phi, "phi", "0 to 90");
      return row;
    }
    plane.phi = *value;
  } else if (mu && !mu->empty()) {
    const std::optional<double> value = number(mu, "mu");
    if (!value)
      return row;
    if (*value < 0.0) {
      row.problem = "mu " + std::string(*mu) + " is negative";
      return row;
    }
    plane.phi = std::atan(*value) * 180.0 / M_PI;
  }
  if (cohesion && !cohesion->empty()) {
    const std::optional<double> value = number(cohesion, "cohesion");
    if (!value)
      return row;
    plane.cohesion = *value;
  }
  row.plane = plane;
  return row;
}

PlaneImport ReadPlanes(std::string_view text, const PlaneReading& reading,
                       const std::function<bool(std::size_t)>& keepGoing) {
  PlaneImport result;
  const auto message = [&](std::size_t line, const std::string& text) {
    result.messages.push_back("line " + std::to_string(line) + ": " + text);
  };
  const auto read = [&](std::size_t number, const std::vector<std::string_view>& fields) {
    PlaneRow row = ReadPlaneRow(fields, reading);
    if (!row.plane) {
      ++result.skipped;
      message(number, row.problem);
      return;
    }
    if (!row.note.empty())
      message(number, row.note);
    result.set.push_back(*row.plane, std::move(row.id));
  };
  const auto unreadable = [&](std::size_t number) {
    ++result.skipped;
    message(number, "a quoted field is not closed");
  };
  result.cancelled =
      !ForEachDataRow(text, reading.delimiter, reading.header, keepGoing, read, unreadable);
  return result;
}

}  // namespace tables
