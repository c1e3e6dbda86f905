// The plane file reader on any bytes: what the import and kelvane-cli read.

#include <cmath>
#include <string>
#include <string_view>

#include "fuzz_checks.h"
#include "tables/plane_reader.h"

namespace fuzz {

std::string CheckPlaneFile(std::span<const std::uint8_t> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const tables::PlaneReading reading = tables::DetectReading(text);
  if (reading.decimal != '.' && reading.decimal != ',')
    return "a decimal separator other than '.' and ','";
  const tables::PlaneImport read = tables::ReadPlanes(text, reading);
  if (read.cancelled)
    return "cancelled without being asked";
  if (read.set.ids.size() != read.set.size())
    return "ids and planes differ in number";
  for (std::size_t i = 0; i < read.set.size(); ++i) {
    const engine::Plane& p = read.set.planes[i];
    if (!(p.dipDirection >= 0.0 && p.dipDirection < 360.0))
      return "dip direction outside [0, 360): " + std::to_string(p.dipDirection);
    if (!(p.dip >= 0.0 && p.dip <= 90.0))
      return "dip outside [0, 90]: " + std::to_string(p.dip);
    if (p.HasOwnPhi() && !(p.phi >= 0.0 && p.phi <= 90.0))
      return "friction angle outside [0, 90]: " + std::to_string(p.phi);
    if (p.HasOwnCohesion() && !std::isfinite(p.cohesion))
      return "cohesion not finite";
  }
  if (read.messages.size() < read.skipped)
    return "a skipped row without its message";
  for (const std::string& message : read.messages) {
    if (message.rfind("line ", 0) != 0 || message.find(": ") == std::string::npos)
      return "a message that names no line: " + message;
  }
  return {};
}

}  // namespace fuzz
