#include "tables/csv.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace tables {

bool CsvSplitter::SplitAtBlanks(std::string_view line) {
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (true) {
    while (i < n && (line[i] == ' ' || line[i] == '\t'))
      ++i;
    if (i >= n)
      return true;
    std::size_t stop = i;
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos)
        return false;
      fields_.push_back(line.substr(i + 1, close - i - 1));
      stop = close + 1;
      if (stop < n && line[stop] != ' ' && line[stop] != '\t')
        return false;
    } else {
      while (stop < n && line[stop] != ' ' && line[stop] != '\t')
        ++stop;
      fields_.push_back(line.substr(i, stop - i));
    }
    i = stop;
  }
}

bool CsvSplitter::Split(std::string_view line) {
  fields_.clear();
  unescaped_.clear();
  if (delimiter_ == ' ')
    return SplitAtBlanks(line);
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (true) {
    if (i < n && line[i] == '"') {
      const std::size_t start = ++i;
      bool doubled = false;
      while (true) {
        if (i >= n)
          return false;  // the quote is never closed
        if (line[i] == '"') {
          if (i + 1 < n && line[i + 1] == '"') {
            doubled = true;
            i += 2;
            continue;
          }
          break;
        }
        ++i;
      }
      const std::string_view quoted = line.substr(start, i - start);
      ++i;  // the closing quote
      if (i < n && line[i] != delimiter_)
        return false;
      if (doubled) {
        std::string& text = unescaped_.emplace_back();
        for (std::size_t k = 0; k < quoted.size(); ++k) {
          text += quoted[k];
          if (quoted[k] == '"')
            ++k;  // the second of a doubled quote
        }
        fields_.push_back(text);
      } else {
        fields_.push_back(quoted);
      }
    } else {
      const std::size_t comma = line.find(delimiter_, i);
      const std::size_t stop = comma == std::string_view::npos ? n : comma;
      fields_.push_back(line.substr(i, stop - i));
      i = stop;
    }
    if (i >= n)
      return true;
    ++i;  // the delimiter
  }
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  return text;
}

std::string HeaderKey(std::string_view name) {
  std::string key;
  for (const char c : name) {
    if (c == '(' || c == '[')
      break;  // a unit: "dip (deg)"
    if (c == ' ' || c == '_' || c == '-' || c == '\t' || c == '"')
      continue;
    key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return key;
}

namespace {

/// A control character that a field never carries raw: line breaks are
/// quoted instead, a tab is an ordinary character inside a field.
bool IsReplaced(char c) {
  return (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') ||
         c == '\x7F';
}

}  // namespace

void AppendCsvField(std::string& out, std::string_view field) {
  const bool quoted = field.find_first_of(",\"\r\n") != std::string_view::npos;
  if (quoted)
    out += '"';
  for (const char c : field) {
    if (c == '"')
      out += '"';
    if (IsReplaced(c))
      out += "\xEF\xBF\xBD";  // U+FFFD in UTF-8
    else
      out += c;
  }
  if (quoted)
    out += '"';
}

int FirstControlCharacter(std::string_view text) {
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 0x20 || code == 0x7F)
      return code;
  }
  return -1;
}

std::string IdProblem(std::string_view id) {
  const int code = FirstControlCharacter(id);
  if (code < 0)
    return {};
  std::array<char, 8> hex{};
  std::snprintf(hex.data(), hex.size(), "%04X", static_cast<unsigned>(code));
  return std::string("the id holds the control character U+") + hex.data();
}

void AppendNumber(std::string& out, double value) {
  std::array<char, 32> buffer;
  const std::to_chars_result written =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), written.ptr);
}

}  // namespace tables
