#include "cli/csv.h"

#include <array>
#include <charconv>

namespace cli {

bool CsvSplitter::Split(std::string_view line) {
  fields_.clear();
  unescaped_.clear();
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
      if (i < n && line[i] != ',')
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
      const std::size_t comma = line.find(',', i);
      const std::size_t stop = comma == std::string_view::npos ? n : comma;
      fields_.push_back(line.substr(i, stop - i));
      i = stop;
    }
    if (i >= n)
      return true;
    ++i;  // the comma
  }
}

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"')
      out += '"';
    out += c;
  }
  out += '"';
}

void AppendNumber(std::string& out, double value) {
  std::array<char, 32> buffer;
  const std::to_chars_result written =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  out.append(buffer.data(), written.ptr);
}

}  // namespace cli
