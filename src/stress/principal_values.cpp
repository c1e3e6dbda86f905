#include "stress/principal_values.h"

namespace stress {

PrincipalValues ComputePrincipalValues(const StressState&) { return {}; }

}  // namespace stress
