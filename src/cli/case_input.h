#pragma once
// kelvane-cli --case: a study saved by the window in place of the stress,
// pore pressure, friction, cohesion, planes and uncertainty options.

#include <optional>
#include <string>

#include "engine/plane_set.h"

namespace cli {

struct Options;

/// Takes the stress, Pp, friction, cohesion, planes and uncertainty of the
/// case at options.casePath; false with `error` when it cannot be read or
/// holds no complete stress.
bool TakeCase(Options& options, std::optional<engine::PlaneSet>& planes, std::string& error);

}  // namespace cli
