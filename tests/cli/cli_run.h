#pragma once
// kelvane-cli run as a user runs it, for the command line's tests: its
// standard output, standard error and exit status.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace cli_run {

struct CliRun {
  std::string out;
  std::string err;
  int status = -1;
};

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

/// A fresh folder of the running test's own, for its files.
inline std::filesystem::path TestFolder() {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("kelvane-cli-test-" + std::to_string(::getpid()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  return dir;
}

/// Runs kelvane-cli with `args` (shell words) in `dir`, behind `prefix`
/// (shell words, such as "timeout 30").
inline CliRun RunCliIn(const std::filesystem::path& dir, const std::string& args,
                       const std::string& prefix = "") {
  const std::string command = "cd '" + dir.string() + "' && " + prefix + " '" KELVANE_CLI "' " +
                              args + " >out.txt 2>err.txt";
  const int raw = std::system(command.c_str());
  return {ReadAll(dir / "out.txt"), ReadAll(dir / "err.txt"),
          WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
}

/// Runs kelvane-cli with `args` in a fresh folder holding `input` as in.csv.
inline CliRun RunCli(const std::string& args, const std::string& input) {
  const std::filesystem::path dir = TestFolder();
  std::ofstream(dir / "in.csv", std::ios::binary) << input;
  CliRun run = RunCliIn(dir, args);
  std::filesystem::remove_all(dir);
  return run;
}

}  // namespace cli_run
