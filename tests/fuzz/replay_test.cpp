// Every input of the fuzzers' seed corpus and every input that once failed a
// fuzzer (fuzz/regressions) replayed through the same checks.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "test_names.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

using Check = std::string (*)(std::span<const std::uint8_t>);

struct Target {
  const char* name;  // the folder under fuzz/corpus and fuzz/regressions
  Check check;
};

constexpr Target kTargets[] = {
    {"read_number", CheckReadNumber}, {"format_number", CheckFormatNumber},
    {"stress", CheckStress},          {"plane_file", CheckPlaneFile},
    {"case_file", CheckCaseFile},     {"cli_tensors", CheckCliTensors},
    {"cli_planes", CheckCliPlanes},   {"uncertainty", CheckUncertainties},
};

struct Input {
  std::string name;
  fs::path path;
  Check check;
};

std::vector<Input> Inputs() {
  std::vector<Input> inputs;
  for (const Target& target : kTargets) {
    for (const char* folder : {"corpus", "regressions"}) {
      const fs::path dir = fs::path(KELVANE_FUZZ_DIR) / folder / target.name;
      if (!fs::is_directory(dir))
        continue;
      std::vector<fs::path> files;
      for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file())
          files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
      for (const fs::path& file : files) {
        inputs.push_back({std::string(target.name) + "_" + folder + "_" + file.filename().string(),
                          file, target.check});
      }
    }
  }
  return inputs;
}

class FuzzReplayTest : public ::testing::TestWithParam<Input> {};

TEST_P(FuzzReplayTest, HoldsEveryProperty) {
  std::ifstream file(GetParam().path, std::ios::binary);
  ASSERT_TRUE(file) << GetParam().path;
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  EXPECT_EQ(GetParam().check(bytes), "") << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Inputs, FuzzReplayTest, ::testing::ValuesIn(Inputs()),
                         test_names::RowName());

// The corpus is part of the repository: an empty list would replay nothing.
TEST(FuzzReplay, EveryTargetHasASeedCorpus) {
  for (const Target& target : kTargets) {
    const std::vector<Input> inputs = Inputs();
    EXPECT_GE(std::count_if(inputs.begin(), inputs.end(),
                            [&](const Input& input) {
                              return input.name.rfind(std::string(target.name) + "_corpus_", 0) ==
                                     0;
                            }),
              5)
        << target.name;
  }
}

/// The input length scripts/fuzz.sh gives `target`, or -1 when it names none.
long MaxLength(const char* target) {
  const std::string command =
      "bash '" KELVANE_FUZZ_DIR "/../scripts/fuzz.sh' --max-len " + std::string(target);
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr)
    return -1;
  long length = -1;
  if (std::fscanf(pipe, "%ld", &length) != 1)
    length = -1;
  return ::pclose(pipe) == 0 ? length : -1;
}

// libFuzzer cuts every input at the target's length: a seed longer than that
// is never read whole, and neither is anything grown from it.
TEST(FuzzReplay, EverySeedFitsItsTargetsInputLength) {
  for (const Target& target : kTargets) {
    const long length = MaxLength(target.name);
    ASSERT_GT(length, 0) << target.name;
    for (const Input& input : Inputs()) {
      if (input.check == target.check) {
        EXPECT_LE(static_cast<long>(fs::file_size(input.path)), length) << input.path;
      }
    }
  }
}

}  // namespace
}  // namespace fuzz
