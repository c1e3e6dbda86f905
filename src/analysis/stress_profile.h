#pragma once
// Stress profiles down a well: Sv, SHmax, Shmin, Pp and the azimuth of SHmax
// as functions of true vertical depth, from gradients or from a table of
// values (a 1-D mechanical earth model).
// Conventions: see analysis/stress_builders.h (x East, y North, z up;
// compression positive; azimuths in degrees clockwise from North). Depths
// grow downward, in metres or feet as the profile's unit system says, and
// every stress is in that system's unit. Terms are carried in long double
// and rounded once. Nothing here throws.

#include <optional>
#include <string>
#include <vector>

#include "analysis/stress_builders.h"
#include "stress/stress_state.h"

namespace analysis {

/// The stresses at one true vertical depth: a row of a profile table, and
/// what a profile gives at any depth.
struct ProfileRow {
  double depth = 0.0;
  double sv = 0.0;
  double shMax = 0.0;
  double shMin = 0.0;
  double porePressure = 0.0;
  double shMaxAzimuth = 0.0;  ///< degrees clockwise from North
};

/// A profile from gradients: the "depth and gradients" settings for every
/// depth. A stress without a value at the reference depth grows from 0 at
/// the surface, S(z) = G z, exactly as StressesAtDepth gives it at z; one with
/// a value S_ref there is S(z) = S_ref + G (z - z_ref), above the reference
/// depth as below it. The azimuth is the same at every depth.
struct GradientProfile {
  DepthProfile gradients;  ///< units, gradients or density, azimuth; its depth is not used
  double referenceDepth = 0.0;
  std::optional<double> svAtReference;
  std::optional<double> shMaxAtReference;
  std::optional<double> shMinAtReference;
  std::optional<double> porePressureAtReference;
};

/// What a profile gives at a depth: the stresses, or why there are none.
struct ProfileValue {
  std::optional<ProfileRow> row;
  /// "depth 3500 is below the table's last row (3200)"; empty when `row` is set.
  std::string problem;
};

struct BuiltProfile;

/// A profile, from gradients or from a table. The default profile has no
/// depth at all.
class StressProfile {
 public:
  StressProfile() = default;

  /// The gradients' profile: every depth from the surface (0) down.
  static StressProfile FromGradients(const GradientProfile& gradients);

  /// The table's profile, its depths from the first row's to the last's,
  /// values interpolated linearly in depth between rows. Refuses an empty
  /// table, a value that is no finite number ("row 3: shmin is not a
  /// number"), depths that do not strictly increase ("row 4: depth 1200 is not
  /// below the row before (1250)") and SHmax below Shmin ("row 2: shmax 30 is
  /// below shmin 35"). Rows are counted from 1.
  static BuiltProfile FromTable(UnitSystem units, std::vector<ProfileRow> rows);

  UnitSystem Units() const { return units_; }
  /// The gradients, for a profile made from them; else null.
  const GradientProfile* Gradients() const { return gradients_ ? &*gradients_ : nullptr; }
  /// The table's rows, for a profile made from a table; else empty.
  const std::vector<ProfileRow>& Rows() const { return rows_; }

  /// The shallowest and deepest depth the profile gives (0 and +infinity
  /// from gradients); empty for the default profile.
  std::optional<double> Top() const;
  std::optional<double> Bottom() const;

  /// The stresses at `depth`, its own depth in the row. From a table: a row's
  /// own values at its depth, to the bit; between rows, each stress
  /// a + t (b - a) with t = (z - z_a) / (z_b - z_a), and the azimuth along the
  /// shorter turn of the SHmax axis (an axis: 10 and 190 are one direction,
  /// so the turn is at most 90 degrees, clockwise at exactly 90; 350 to 10
  /// passes through 0), given in [0, 360). A depth outside the table is
  /// refused, never extrapolated. From gradients: a depth above the surface
  /// is refused. A depth that is no finite number is refused.
  ProfileValue At(double depth) const;

 private:
  UnitSystem units_ = UnitSystem::kMegapascalMetre;
  std::optional<GradientProfile> gradients_;
  std::vector<ProfileRow> rows_;
};

/// Either a profile, or why there is none.
struct BuiltProfile {
  std::optional<StressProfile> profile;
  std::string problem;  ///< empty when `profile` is set
};

/// Sv, SHmax, Shmin and Pp of a row, with its regime.
DepthStresses StressesOf(const ProfileRow& row);

/// The tensor of a row: HorizontalTensor(Sv, SHmax, Shmin, azimuth), the state
/// the "depth and gradients" builder makes from the same values, to the bit.
stress::StressState TensorOf(const ProfileRow& row);

}  // namespace analysis
