#include "tables/fault_slip_reader.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "tables/csv.h"
#include "tables/plane_reader.h"
#include "tables/text_lines.h"

namespace tables {
namespace {

using analysis::FaultSlipOutcome;

/// Residual angles of striae below this are rounding of typed angles, not
/// worth a message (they show as 0.0 degrees).
constexpr double kResidualWorthSaying = 0.05;

bool IsKnown(SlipColumn column) {
  return column != SlipColumn::kIgnored;
}

std::string Text(double value, char decimal) {
  std::string text;
  AppendNumber(text, value);
  if (decimal != '.')
    std::replace(text.begin(), text.end(), '.', decimal);
  return text;
}

/// The columns that `names` stand for: an unnamed first column is the id,
/// a column named twice is read once. Sets `known` to the count of named
/// columns.
std::vector<SlipColumn> ColumnsOfNames(const std::vector<std::string_view>& names, int& known) {
  std::vector<SlipColumn> columns;
  known = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    SlipColumn column = SlipColumnOfName(names[i]);
    if (i == 0 && TrimBlanks(names[i]).empty())
      column = SlipColumn::kId;
    if (std::find(columns.begin(), columns.end(), column) != columns.end())
      column = SlipColumn::kIgnored;
    columns.push_back(column);
    known += IsKnown(column) && column != SlipColumn::kId ? 1 : 0;
  }
  return columns;
}

/// The words of a comment line, '#' and the blanks after it dropped.
std::string_view CommentText(std::string_view line) {
  std::string_view text = TrimBlanks(line);
  while (!text.empty() && text.front() == '#')
    text.remove_prefix(1);
  return TrimBlanks(text);
}

}  // namespace

SlipColumn SlipColumnOfName(std::string_view name) {
  const std::string key = HeaderKey(name);
  if (key == "id" || key == "name")
    return SlipColumn::kId;
  if (key == "strike")
    return SlipColumn::kStrike;
  if (key == "dipdirection" || key == "dipdir" || key == "dd" || key == "dipazimuth" ||
      key == "azimuth")
    return SlipColumn::kDipDirection;
  if (key == "dip")
    return SlipColumn::kDip;
  if (key == "rake" || key == "pitch" || key == "slip")
    return SlipColumn::kRake;
  if (key == "trend" || key == "striaetrend" || key == "lineationtrend")
    return SlipColumn::kTrend;
  if (key == "plunge" || key == "striaeplunge" || key == "lineationplunge")
    return SlipColumn::kPlunge;
  if (key == "sense" || key == "senseofslip" || key == "movement")
    return SlipColumn::kSense;
  return SlipColumn::kIgnored;
}

FaultSlipReading DetectFaultSlipReading(std::string_view text) {
  FaultSlipReading reading;
  // The first line that is not blank or a comment, and the last comment
  // line before it.
  std::string_view first;
  std::string_view comment;
  std::size_t commentNumber = 0;
  ForEachLine(text, [&](std::size_t number, std::string_view line, std::size_t) {
    if (TrimBlanks(line).empty())
      return true;
    if (IsSkipped(line)) {
      comment = line;
      commentNumber = number;
      return true;
    }
    first = line;
    return false;
  });
  if (first.find('\t') != std::string_view::npos)
    reading.delimiter = '\t';
  else if (first.find(';') != std::string_view::npos)
    reading.delimiter = ';';
  else if (first.find(',') != std::string_view::npos)
    reading.delimiter = ',';
  else
    reading.delimiter = ' ';

  CsvSplitter splitter(reading.delimiter);
  const std::vector<TextLine> lines = FirstLines(text, 20);
  if (reading.delimiter != ',') {
    for (std::size_t i = 0; i < lines.size() && reading.decimal == '.'; ++i) {
      if (!splitter.Split(lines[i].text))
        continue;
      for (const std::string_view field : splitter.Fields())
        if (!ReadPlainNumber(field, '.') && ReadPlainNumber(field, ','))
          reading.decimal = ',';
    }
  }

  splitter.Split(first);
  const std::vector<std::string_view> fields = splitter.Fields();
  int known = 0;
  reading.columns = ColumnsOfNames(fields, known);
  if (known >= 2)
    return reading;

  reading.header = false;
  const bool firstIsId = !fields.empty() && !ReadPlainNumber(fields.front(), reading.decimal) &&
                         !analysis::ReadSlipSense(fields.front()) &&
                         SlipColumnOfName(fields.front()) == SlipColumn::kIgnored &&
                         fields.size() >= 4;
  const std::string_view words = CommentText(comment);
  CsvSplitter commentSplitter(
      words.find(reading.delimiter) != std::string_view::npos ? reading.delimiter : ' ');
  if (!words.empty() && commentSplitter.Split(words)) {
    std::vector<SlipColumn> named = ColumnsOfNames(commentSplitter.Fields(), known);
    if (known >= 2) {
      // Rows with one field more than the names, the first no number: an id.
      if (firstIsId && fields.size() == named.size() + 1 &&
          std::find(named.begin(), named.end(), SlipColumn::kId) == named.end())
        named.insert(named.begin(), SlipColumn::kId);
      reading.columns = std::move(named);
      reading.note = "columns named by the comment on line " + std::to_string(commentNumber);
      return reading;
    }
  }
  reading.columns.clear();
  if (firstIsId)
    reading.columns.push_back(SlipColumn::kId);
  reading.columns.insert(reading.columns.end(),
                         {SlipColumn::kStrike, SlipColumn::kDip, SlipColumn::kRake});
  reading.note = "no header: the columns are read as " + std::string(firstIsId ? "id, " : "") +
                 "strike, dip, rake";
  return reading;
}

namespace {

/// The notation that a file's columns give.
enum class SlipNotation { kNone, kRake, kStriae };

SlipNotation NotationOf(const std::vector<SlipColumn>& columns) {
  const auto has = [&](SlipColumn c) {
    return std::find(columns.begin(), columns.end(), c) != columns.end();
  };
  const bool plane =
      (has(SlipColumn::kStrike) || has(SlipColumn::kDipDirection)) && has(SlipColumn::kDip);
  if (plane && has(SlipColumn::kRake))
    return SlipNotation::kRake;
  if (plane && has(SlipColumn::kTrend) && has(SlipColumn::kPlunge))
    return SlipNotation::kStriae;
  return SlipNotation::kNone;
}

/// One data row: its datum, or why it is none, and what was changed.
struct SlipRow {
  FaultSlipOutcome outcome;
  std::string note;
};

SlipRow ReadSlipRow(const std::vector<std::string_view>& fields, const FaultSlipReading& reading,
                    SlipNotation notation) {
  SlipRow row;
  std::string id;
  std::optional<std::string_view> strike, dipDirection, dip, rake, trend, plunge, sense;
  const std::size_t count = std::min(fields.size(), reading.columns.size());
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view field = TrimBlanks(fields[i]);
    switch (reading.columns[i]) {
      case SlipColumn::kId:
        id = std::string(field);
        break;
      case SlipColumn::kStrike:
        strike = field;
        break;
      case SlipColumn::kDipDirection:
        dipDirection = field;
        break;
      case SlipColumn::kDip:
        dip = field;
        break;
      case SlipColumn::kRake:
        rake = field;
        break;
      case SlipColumn::kTrend:
        trend = field;
        break;
      case SlipColumn::kPlunge:
        plunge = field;
        break;
      case SlipColumn::kSense:
        sense = field;
        break;
      case SlipColumn::kIgnored:
        break;
    }
  }
  const auto refuse = [&](std::string problem) {
    row.outcome = {std::nullopt, std::move(problem)};
    return row;
  };
  const auto missing = [](const std::optional<std::string_view>& field) {
    return !field || field->empty();
  };
  // A strike is used where both are given.
  const bool byStrike = !missing(strike) || missing(dipDirection);
  const std::optional<std::string_view>& direction = byStrike ? strike : dipDirection;
  const char* directionName = byStrike ? "strike" : "dip direction";
  if (missing(direction))
    return refuse(std::string(directionName) + " is missing");
  if (missing(dip))
    return refuse("dip is missing");

  std::optional<analysis::SlipSense> slipSense = reading.sense;
  if (!missing(sense)) {
    slipSense = analysis::ReadSlipSense(*sense);
    if (!slipSense)
      return refuse("sense '" + std::string(*sense) + "' is not N, R, I, D or S");
  }

  const std::optional<double> directionValue = ReadPlainNumber(*direction, reading.decimal);
  const std::optional<double> dipValue = ReadPlainNumber(*dip, reading.decimal);
  if (notation == SlipNotation::kRake) {
    if (missing(rake))
      return refuse("rake is missing");
    const std::optional<double> rakeValue = ReadPlainNumber(*rake, reading.decimal);
    if (!directionValue || !dipValue || !rakeValue) {
      // Quadrant notation: texts with letters, each with its number.
      const std::pair<const char*, std::string_view> texts[3] = {
          {directionName, *direction}, {"dip", *dip}, {"rake", *rake}};
      for (const auto& [name, field] : texts)
        if (std::none_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
          return refuse(std::string(name) + " '" + std::string(field) + "' is not a number");
      if (!byStrike)
        return refuse("dip direction '" + std::string(*direction) + "' is not a number");
      if (!slipSense)
        return refuse("quadrant notation needs a sense (a sense column or the file's)");
      std::string quadrant[3] = {std::string(*direction), std::string(*dip), std::string(*rake)};
      if (reading.decimal != '.')
        for (std::string& text : quadrant)
          std::replace(text.begin(), text.end(), reading.decimal, '.');
      row.outcome = analysis::FaultFromQuadrant(quadrant[0], quadrant[1], quadrant[2], *slipSense);
    } else if (byStrike) {
      row.outcome = analysis::FaultFromStrikeDipRake(*directionValue, *dipValue, *rakeValue);
    } else {
      row.outcome = analysis::FaultFromDipDirectionDipRake(*directionValue, *dipValue, *rakeValue);
    }
  } else {
    if (!directionValue)
      return refuse(std::string(directionName) + " '" + std::string(*direction) +
                    "' is not a number");
    if (!dipValue)
      return refuse("dip '" + std::string(*dip) + "' is not a number");
    if (missing(trend) || missing(plunge))
      return refuse(missing(trend) ? "trend is missing" : "plunge is missing");
    const std::optional<double> trendValue = ReadPlainNumber(*trend, reading.decimal);
    const std::optional<double> plungeValue = ReadPlainNumber(*plunge, reading.decimal);
    if (!trendValue)
      return refuse("trend '" + std::string(*trend) + "' is not a number");
    if (!plungeValue)
      return refuse("plunge '" + std::string(*plunge) + "' is not a number");
    if (!slipSense)
      return refuse("sense is missing");
    const double dipDirectionValue = byStrike ? *directionValue + 90.0 : *directionValue;
    row.outcome = analysis::FaultFromStriae(dipDirectionValue, *dipValue, *trendValue, *plungeValue,
                                            *slipSense);
    if (row.outcome.fault && *row.outcome.fault->striaeResidual >= kResidualWorthSaying) {
      char text[96];
      std::snprintf(text, sizeof text,
                    "the striae lie %.1f\u00b0 off the plane and are taken projected onto it",
                    *row.outcome.fault->striaeResidual);
      row.note = text;
    }
  }
  if (row.outcome.fault) {
    row.outcome.fault->id = std::move(id);
    if (directionValue && analysis::Azimuth360(*directionValue) != *directionValue) {
      const std::string reduced = Text(analysis::Azimuth360(*directionValue), reading.decimal);
      row.note = std::string(directionName) + " " + std::string(*direction) + " is taken as " +
                 reduced + (row.note.empty() ? "" : "; " + row.note);
    }
  }
  return row;
}

}  // namespace

FaultSlipImport ReadFaultSlips(std::string_view text, const FaultSlipReading& reading,
                               const std::function<bool(std::size_t)>& keepGoing) {
  FaultSlipImport result;
  const SlipNotation notation = NotationOf(reading.columns);
  if (notation == SlipNotation::kNone) {
    result.error =
        "no fault-slip columns: a file needs strike (or dip direction), dip and rake, or dip "
        "direction (or strike), dip, trend, plunge and sense";
    return result;
  }
  const auto message = [&](std::size_t line, const std::string& text) {
    result.messages.push_back("line " + std::to_string(line) + ": " + text);
  };
  const auto read = [&](std::size_t number, const std::vector<std::string_view>& fields) {
    SlipRow row = ReadSlipRow(fields, reading, notation);
    if (!row.outcome.fault) {
      ++result.skipped;
      message(number, row.outcome.problem);
      return;
    }
    if (!row.note.empty())
      message(number, row.note);
    result.faults.push_back(std::move(*row.outcome.fault));
    result.lines.push_back(number);
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
