#include "text/shown_fields.h"

namespace text {

std::optional<double> ShownValue(const engine::PassResults& results, Field field) {
  const int index = static_cast<int>(field);
  if (index < 3)
    return results.values ? std::optional((*results.values)[index]) : std::nullopt;
  if (index < static_cast<int>(Field::kL1)) {
    const auto& direction = results.directions[(index - 3) / 2];
    if (!direction)
      return std::nullopt;
    return (index - 3) % 2 == 0 ? direction->azimuth : direction->dip;
  }
  if (index < static_cast<int>(Field::kSigma)) {
    if (!results.cosines)
      return std::nullopt;
    const stress::Vector3& column = (*results.cosines)[(index - 9) / 3];
    const double components[] = {column.x, column.y, column.z};
    return components[(index - 9) % 3];
  }
  if (index < kResultCount) {
    if (!results.jointStresses)
      return std::nullopt;
    const stress::JointStresses& j = *results.jointStresses;
    const double values[] = {j.sigma, j.tau, j.tauLim};
    return values[index - static_cast<int>(Field::kSigma)];
  }
  switch (field) {
    case Field::kSx:
      return results.state ? std::optional(results.state->sx) : std::nullopt;
    case Field::kSy:
      return results.state ? std::optional(results.state->sy) : std::nullopt;
    case Field::kSz:
      return results.state ? std::optional(results.state->sz) : std::nullopt;
    case Field::kTxy:
      return results.state ? std::optional(results.state->txy) : std::nullopt;
    case Field::kTyz:
      return results.state ? std::optional(results.state->tyz) : std::nullopt;
    case Field::kTzx:
      return results.state ? std::optional(results.state->tzx) : std::nullopt;
    case Field::kJointDipDirection:
      return results.joint ? std::optional(results.joint->beta) : std::nullopt;
    case Field::kJointDip:
      return results.joint ? std::optional(results.joint->psi) : std::nullopt;
    case Field::kJointCohesion:
      return results.joint ? std::optional(results.joint->c) : std::nullopt;
    case Field::kJointFriction:
      return results.joint ? std::optional(results.joint->phi) : std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace text
