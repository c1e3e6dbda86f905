#pragma once
// Names for the rows of parameterised tests that read well in ctest's list:
// every character that cannot stand in a test name becomes "_".

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <string_view>

namespace test_names {

/// `text` with every character but an ASCII letter or digit replaced by "_".
inline std::string SanitizedName(std::string_view text) {
  std::string name;
  for (const char c : text)
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

/// Names a row after its `name` member; the last argument of INSTANTIATE_TEST_SUITE_P.
struct RowName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
    return SanitizedName(info.param.name);
  }
};

}  // namespace test_names
