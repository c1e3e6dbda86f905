// A libFuzzer target: one check of fuzz_checks.h, chosen at build time by
// KELVANE_FUZZ_CHECK. A failed property aborts with its description, which
// makes libFuzzer keep the input.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string failure = KELVANE_FUZZ_CHECK({data, size});
  if (!failure.empty()) {
    std::fprintf(stderr, "property failed: %s\n", failure.c_str());
    std::abort();
  }
  return 0;
}
