// Cost of the principal values and axes against Eigen's 3x3 symmetric
// eigensolvers, measured in the same run. After the usual table the run
// prints each case's time per tensor as a ratio to Eigen's iterative solver.

#include <benchmark/benchmark.h>

#include <Eigen/Dense>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "stress/principal_axes.h"
#include "stress/principal_values.h"

namespace {

using stress::PrincipalValues;
using stress::StressState;

constexpr std::size_t kBatch = 1024;

/// A fixed batch of tensors: three in four with random components, one in
/// four with a nearly repeated pair, so that both paths of the solver run.
const std::vector<StressState>& Tensors() {
  static const std::vector<StressState> tensors = [] {
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> component(-100.0, 100.0);
    std::vector<StressState> out;
    for (std::size_t n = 0; n < kBatch; ++n) {
      if (n % 4 == 3) {
        const double a = component(random);
        const double t = component(random);
        out.push_back({a + t, a + t * (1.0 + 1e-7), a, t, component(random) * 1e-9, 0.0});
      } else {
        out.push_back({component(random), component(random), component(random), component(random),
                       component(random), component(random)});
      }
    }
    return out;
  }();
  return tensors;
}

const std::vector<PrincipalValues>& Values() {
  static const std::vector<PrincipalValues> values = [] {
    std::vector<PrincipalValues> out;
    for (const StressState& s : Tensors())
      out.push_back(stress::ComputePrincipalValues(s));
    return out;
  }();
  return values;
}

Eigen::Matrix3d ToMatrix(const StressState& s) {
  Eigen::Matrix3d m;
  m << s.sx, s.txy, s.tzx, s.txy, s.sy, s.tyz, s.tzx, s.tyz, s.sz;
  return m;
}

void PerTensor(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kBatch));
}

void BM_PrincipalValues(benchmark::State& state) {
  const auto& tensors = Tensors();
  for (auto _ : state) {
    for (const StressState& s : tensors)
      benchmark::DoNotOptimize(stress::ComputePrincipalValues(s));
  }
  PerTensor(state);
}
BENCHMARK(BM_PrincipalValues);

/// The three per-index calls the window makes, values already known.
void BM_ThreePrincipalAxisCalls(benchmark::State& state) {
  const auto& tensors = Tensors();
  const auto& values = Values();
  for (auto _ : state) {
    for (std::size_t n = 0; n < kBatch; ++n) {
      for (int i = 0; i < 3; ++i) {
        benchmark::DoNotOptimize(stress::PrincipalAxis(tensors[n], values[n], i));
      }
    }
  }
  PerTensor(state);
}
BENCHMARK(BM_ThreePrincipalAxisCalls);

/// Values and one call for the whole set of axes.
void BM_ValuesAndAxes(benchmark::State& state) {
  const auto& tensors = Tensors();
  for (auto _ : state) {
    for (const StressState& s : tensors) {
      const PrincipalValues v = stress::ComputePrincipalValues(s);
      benchmark::DoNotOptimize(stress::ComputePrincipalAxes(s, v));
    }
  }
  PerTensor(state);
}
BENCHMARK(BM_ValuesAndAxes);

/// Reference: Eigen's solver for 3x3 symmetric matrices in double, values and
/// vectors; iterative (QR) or its closed form for 3x3 (`direct`).
template <bool direct>
void BM_EigenSolver(benchmark::State& state) {
  std::vector<Eigen::Matrix3d> matrices;
  for (const StressState& s : Tensors())
    matrices.push_back(ToMatrix(s));
  Eigen::SelfAdjointEigenSolver<Eigen::Matrix3d> solver(3);
  for (auto _ : state) {
    for (const Eigen::Matrix3d& m : matrices) {
      if constexpr (direct) {
        solver.computeDirect(m);
      } else {
        solver.compute(m);
      }
      benchmark::DoNotOptimize(solver.eigenvectors().data());
    }
  }
  PerTensor(state);
}
BENCHMARK(BM_EigenSolver<false>)->Name("BM_EigenIterative");
BENCHMARK(BM_EigenSolver<true>)->Name("BM_EigenDirect");

/// Console output plus a record of each case's CPU time per iteration.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
        cpuTimes_[run.benchmark_name()] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios(const std::string& reference) const {
    const auto ref = cpuTimes_.find(reference);
    if (ref == cpuTimes_.end() || ref->second <= 0.0)
      return;
    std::printf("\nCPU time relative to %s (same run):\n", reference.c_str());
    for (const auto& [name, time] : cpuTimes_) {
      std::printf("  %-32s %6.2f\n", name.c_str(), time / ref->second);
    }
  }

 private:
  std::map<std::string, double> cpuTimes_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios("BM_EigenIterative");
  benchmark::Shutdown();
  return 0;
}
