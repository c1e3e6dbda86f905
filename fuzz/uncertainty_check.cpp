// The uncertainty parser on any text: what kelvane-cli --uncertainty reads.

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "engine/slip_probability.h"
#include "fuzz_checks.h"

namespace fuzz {

std::string CheckUncertainties(std::span<const std::uint8_t> bytes) {
  // A command-line argument ends at its first NUL.
  const auto* text = reinterpret_cast<const char*>(bytes.data());
  const std::string given(text, ::strnlen(text, bytes.size()));
  engine::UncertaintySettings settings;
  std::string error;
  if (!engine::ReadUncertainties(given, settings, error)) {
    if (error.rfind("unknown uncertainty '", 0) == 0 || error.rfind("uncertainty '", 0) == 0 ||
        error == "give an uncertainty of phi or of mu, not both")
      return {};
    return "a refusal that names no item: " + error;
  }
  if (!error.empty())
    return "an error with a text read";
  using Shape = engine::Spread::Shape;
  std::string written;
  for (int k = 0; k < engine::kUncertainCount; ++k) {
    const engine::Spread& spread = settings.spreads[k];
    if (spread.shape == Shape::kNone) {
      if (spread.width != 0.0)
        return "no spread with a width";
      continue;
    }
    if (spread.shape != Shape::kUniform && spread.shape != Shape::kNormal)
      return "a shape of no name";
    if (!(spread.width >= 0.0) || !std::isfinite(spread.width))
      return "a width that is not finite and 0 or more";
    std::array<char, 32> width;
    const auto end = std::to_chars(width.data(), width.data() + width.size(), spread.width).ptr;
    written += std::string(written.empty() ? "" : ",") +
               engine::UncertainName(static_cast<engine::Uncertain>(k)) + "=" +
               (spread.shape == Shape::kUniform ? "uniform:" : "normal:") +
               std::string(width.data(), end);
  }
  if (settings[engine::Uncertain::kPhi].shape != Shape::kNone &&
      settings[engine::Uncertain::kMu].shape != Shape::kNone)
    return "phi and mu both read";
  // What was read, written in the parser's own terms, reads back to itself.
  if (written.empty())
    return {};
  engine::UncertaintySettings again;
  if (!engine::ReadUncertainties(written, again, error))
    return "the settings written back are refused: " + error;
  for (int k = 0; k < engine::kUncertainCount; ++k)
    if (again.spreads[k].shape != settings.spreads[k].shape ||
        std::memcmp(&again.spreads[k].width, &settings.spreads[k].width, sizeof(double)) != 0)
      return "the settings written back read otherwise: " + written;
  return {};
}

}  // namespace fuzz
