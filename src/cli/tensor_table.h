#pragma once
// One row of stress tensors in, one row of results out: the columns of
// `kelvane-cli tensors`, and the pass run on each row.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/pass_results.h"
#include "stress/stress_state.h"

namespace cli {

/// Where the header put each input (a field index), and the id.
struct TensorColumns {
  std::optional<std::size_t> id;
  /// Indexed by engine::Input; the four joint columns are all set or all empty.
  std::array<std::optional<std::size_t>, engine::kInputCount> inputs;
  /// The pore pressure (0 without the column).
  std::optional<std::size_t> porePressure;
  std::size_t count = 0;  ///< fields in the header
  bool HasJoint() const { return inputs[0].has_value(); }
};

/// The columns named by the header's fields (names compared exactly, after
/// dropping surrounding spaces): sx, sy, sz, txy, tyz, tzx, optionally id,
/// and optionally the joint's beta (dip direction), psi (dip), phi (friction
/// angle) and c (cohesion), all four or none, and pp, the pore pressure.
/// Other names are ignored.
/// On a missing stress column, a partial joint or a name given twice,
/// the one-line reason is put in `error` and nothing is returned.
std::optional<TensorColumns> ReadHeader(const std::vector<std::string_view>& fields,
                                        std::string& error);

/// The output header line for `columns`, with its line feed.
std::string OutputHeader(const TensorColumns& columns);

/// Where a data row stands: its line in the file and its number among the
/// data rows, both counted from 1.
struct RowPlace {
  unsigned long long line = 0;
  unsigned long long row = 0;
};

/// Appends the output line (with its line feed) of the data row `fields`
/// (`split` false when the line could not be split): its id (the row number
/// when there is no id column), each result and derived quantity the pass
/// filled, empty fields for the others, and the message of the input or step
/// that stopped the pass, or of a line that is no row of the header's
/// fields or whose id holds a control character (numbered, its line named),
/// or of a pore pressure that is no number (read after the ten
/// inputs; the effective quantities are then empty). Returns whether the row
/// was computed to its end.
bool AppendResultRow(const TensorColumns& columns, bool split,
                     const std::vector<std::string_view>& fields, RowPlace place,
                     stress::Azimuth azimuth, std::string& out);

}  // namespace cli
