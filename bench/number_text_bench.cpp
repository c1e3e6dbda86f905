// Cost of the number texts of a pass: ReadNumber on what users type and on
// texts that take the exact decision, FormatNumber at the decimals the
// window shows. Each case converts a fixed batch and reports texts per second.

#include <benchmark/benchmark.h>

#include <QString>
#include <QStringList>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "text/number_text.h"

namespace {

using text::FormatNumber;
using text::ReadNumber;
using text::Separators;

const Separators kPointComma;  // "." and ","

void PerText(benchmark::State& state, std::size_t batch) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * batch));
}

void BM_ReadNumber(benchmark::State& state, QStringList texts) {
  for (auto _ : state) {
    for (const QString& text : texts)
      benchmark::DoNotOptimize(ReadNumber(text, kPointComma));
  }
  PerText(state, static_cast<std::size_t>(texts.size()));
}
// The window's default inputs and values of the sizes stresses have.
BENCHMARK_CAPTURE(BM_ReadNumber, typed,
                  QStringList{"3.4", "1", "8", "-1", "2", "16", "33", "14", "210000", "0.0034",
                              "-12.75", "1e5", "2.5E-3", " 42 "});
// Long mantissas and halfway cases that need the exact decision.
BENCHMARK_CAPTURE(BM_ReadNumber, exact,
                  QStringList{"0.1000000000000000055511151231257827021181583404541015625",
                              "9007199254740993", "2.4703282292062327e-324",
                              "1.7976931348623157e308", "123456789012345678901234567890e-20"});

void BM_FormatNumber(benchmark::State& state, int decimals) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-4, 6);
  std::vector<double> values;
  for (int i = 0; i < 256; ++i)
    values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  for (auto _ : state) {
    for (double v : values)
      benchmark::DoNotOptimize(FormatNumber(v, decimals, kPointComma));
  }
  PerText(state, values.size());
}
// Decimals of the value, angle and direction-cosine boxes.
BENCHMARK_CAPTURE(BM_FormatNumber, values, 3);
BENCHMARK_CAPTURE(BM_FormatNumber, angles, 2);
BENCHMARK_CAPTURE(BM_FormatNumber, cosines, 6);

}  // namespace

BENCHMARK_MAIN();
