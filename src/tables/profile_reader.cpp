#include "tables/profile_reader.h"

#include <array>
#include <optional>

#include "tables/csv.h"
#include "tables/plane_reader.h"

namespace tables {
namespace {

constexpr int kColumnCount = 6;

/// The columns in the file format's order (ProfileColumn less one), named as messages name them.
constexpr std::array<const char*, kColumnCount> kNames = {"depth", "sv", "shmax",
                                                          "shmin", "pp", "shmax_azimuth"};

int IndexOf(ProfileColumn column) {
  return static_cast<int>(column) - 1;
}

std::string Line(std::size_t number) {
  return "line " + std::to_string(number) + ": ";
}

char DelimiterOf(std::string_view line) {
  for (const char c : {'\t', ';', ','})
    if (line.find(c) != std::string_view::npos)
      return c;
  return ' ';
}

struct TableLine {
  std::size_t number = 0;
  std::string_view text;
  bool comment = false;
};

/// Where each required column is: its field index, or -1.
using ColumnPlaces = std::array<int, kColumnCount>;

/// The places of the columns `header` names, or why it names no profile
/// (left as it is when the header names none of them).
std::optional<ColumnPlaces> PlacesOf(const std::vector<std::string_view>& header,
                                     std::string* problem) {
  ColumnPlaces places;
  places.fill(-1);
  bool any = false;
  for (std::size_t i = 0; i < header.size(); ++i) {
    const ProfileColumn column = ProfileColumnOfName(header[i]);
    if (column == ProfileColumn::kIgnored)
      continue;
    any = true;
    int& place = places[IndexOf(column)];
    if (place >= 0) {
      *problem = "columns " + std::to_string(place + 1) + " and " + std::to_string(i + 1) +
                 " both name " + kNames[IndexOf(column)];
      return std::nullopt;
    }
    place = static_cast<int>(i);
  }
  if (!any)
    return std::nullopt;
  std::string missing;
  for (int k = 0; k < kColumnCount; ++k)
    if (places[k] < 0)
      missing += (missing.empty() ? "" : ", ") + std::string(kNames[k]);
  if (!missing.empty()) {
    *problem = "the header has no column for " + missing;
    return std::nullopt;
  }
  return places;
}

bool AllNumbers(const std::vector<std::string_view>& fields) {
  for (const std::string_view field : fields)
    if (!ReadPlainNumber(field, '.') && !ReadPlainNumber(field, ','))
      return false;
  return !fields.empty();
}

}  // namespace

ProfileColumn ProfileColumnOfName(std::string_view name) {
  const std::string key = HeaderKey(name);
  if (key == "depth" || key == "tvd" || key == "trueverticaldepth")
    return ProfileColumn::kDepth;
  if (key == "sv" || key == "svertical" || key == "verticalstress" || key == "overburden")
    return ProfileColumn::kSv;
  if (key == "shmax")
    return ProfileColumn::kShMax;
  if (key == "shmin")
    return ProfileColumn::kShMin;
  if (key == "pp" || key == "porepressure")
    return ProfileColumn::kPorePressure;
  if (key == "shmaxazimuth" || key == "shmaxaz" || key == "shmaxdirection" || key == "azimuth")
    return ProfileColumn::kAzimuth;
  return ProfileColumn::kIgnored;
}

ProfileImport ReadProfile(std::string_view text) {
  ProfileImport result;
  std::vector<TableLine> lines;
  ForEachLine(text, [&](std::size_t number, std::string_view line, std::size_t) {
    const std::string_view trimmed = TrimBlanks(line);
    if (!trimmed.empty())
      lines.push_back({number, trimmed, trimmed.front() == '#'});
    return true;
  });

  // The header: the first line that is no comment, or the comment before it.
  std::size_t first = 0;
  while (first < lines.size() && lines[first].comment)
    ++first;
  if (first == lines.size()) {
    result.error = "The file holds no table";
    return result;
  }
  std::string_view header = lines[first].text;
  std::size_t headerNumber = lines[first].number;
  std::size_t dataFrom = first + 1;
  CsvSplitter splitter(DelimiterOf(header));
  if (splitter.Split(header) && AllNumbers(splitter.Fields())) {
    dataFrom = first;
    header = {};
    if (first > 0) {
      std::string_view comment = lines[first - 1].text;
      while (!comment.empty() && comment.front() == '#')
        comment.remove_prefix(1);
      header = TrimBlanks(comment);
      headerNumber = lines[first - 1].number;
    }
  }
  const char delimiter = DelimiterOf(header.empty() ? lines[first].text : header);
  splitter = CsvSplitter(delimiter);
  std::string problem;
  const std::optional<ColumnPlaces> places = header.empty() || !splitter.Split(header)
                                                 ? std::nullopt
                                                 : PlacesOf(splitter.Fields(), &problem);
  if (!places) {
    result.error = problem.empty() ? "No header names the columns depth, sv, shmax, shmin, pp, "
                                     "shmax_azimuth"
                                   : Line(headerNumber) + problem;
    return result;
  }

  // A decimal comma: with another delimiter, a field that reads only with it.
  char decimal = '.';
  for (std::size_t i = dataFrom; i < lines.size() && delimiter != ',' && decimal == '.'; ++i) {
    if (lines[i].comment || !splitter.Split(lines[i].text))
      continue;
    for (const std::string_view field : splitter.Fields())
      if (!ReadPlainNumber(field, '.') && ReadPlainNumber(field, ','))
        decimal = ',';
  }

  std::size_t lastNumber = 0;
  for (std::size_t i = dataFrom; i < lines.size(); ++i) {
    const TableLine& line = lines[i];
    if (line.comment)
      continue;
    const auto skip = [&](const std::string& why) {
      ++result.skipped;
      result.messages.push_back(Line(line.number) + why);
    };
    if (!splitter.Split(line.text)) {
      skip("a quoted field is not closed");
      continue;
    }
    const std::vector<std::string_view>& fields = splitter.Fields();
    std::array<double, kColumnCount> values{};
    std::string why;
    for (int k = 0; k < kColumnCount && why.empty(); ++k) {
      const std::size_t place = static_cast<std::size_t>((*places)[k]);
      const std::string_view field = place < fields.size() ? TrimBlanks(fields[place]) : "";
      const std::optional<double> value = ReadPlainNumber(field, decimal);
      if (field.empty())
        why = std::string(kNames[k]) + " is missing";
      else if (!value)
        why = std::string(kNames[k]) + " '" + std::string(field) + "' is not a number";
      else
        values[k] = *value;
    }
    if (!why.empty()) {
      skip(why);
      continue;
    }
    const analysis::ProfileRow row{values[0], values[1], values[2],
                                   values[3], values[4], values[5]};
    if (row.shMax < row.shMin) {
      skip("shmax " + std::string(TrimBlanks(fields[(*places)[2]])) + " is below shmin " +
           std::string(TrimBlanks(fields[(*places)[3]])));
      continue;
    }
    if (!result.rows.empty() && !(row.depth > result.rows.back().depth)) {
      result.error = Line(line.number) + "depth " + std::string(TrimBlanks(fields[(*places)[0]])) +
                     " is not below the row before (line " + std::to_string(lastNumber) +
                     "); depths must increase";
      result.rows.clear();
      return result;
    }
    result.rows.push_back(row);
    lastNumber = line.number;
  }
  if (result.rows.empty())
    result.error = "The file has no row of the profile";
  return result;
}

}  // namespace tables
