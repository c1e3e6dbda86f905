#include "stress/principal_values.h"

#include "numeric/floating_point_error.h"
#include "stress/principal_roots.h"

namespace stress {

PrincipalValues ComputePrincipalValues(const StressState& s) {
  const detail::PrincipalRoots r = detail::ComputePrincipalRoots(s);
  return {numeric::Store(r.roots[0].value), numeric::Store(r.roots[1].value),
          numeric::Store(r.roots[2].value)};
}

}  // namespace stress
