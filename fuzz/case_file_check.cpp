// The case reader on any bytes: what File > Open, a double click and
// kelvane-cli --case read.

#include <QByteArray>
#include <cmath>
#include <string>

#include "files/case_file.h"
#include "fuzz_checks.h"

namespace fuzz {

std::string CheckCaseFile(std::span<const std::uint8_t> bytes) {
  const QByteArray text(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<qsizetype>(bytes.size()));
  files::Case c;
  try {
    c = files::ReadCase(text);
  } catch (const files::CaseError& e) {
    const std::string message = e.what();
    for (const char* start : {"The file is not a Kelvane case", "In the case, \"",
                              "The case was written in format version"})
      if (message.rfind(start, 0) == 0)
        return {};
    return "a refusal that says neither what nor where: " + message;
  }
  for (std::size_t i = 0; i < c.planes.size(); ++i) {
    const engine::Plane& p = c.planes.planes[i];
    if (!(p.dipDirection >= 0.0 && p.dipDirection < 360.0) || !(p.dip >= 0.0 && p.dip <= 90.0) ||
        (p.HasOwnPhi() && !(p.phi >= 0.0 && p.phi <= 90.0)))
      return "a plane out of range read: plane " + std::to_string(i);
  }
  if (c.planes.ids.size() != c.planes.size())
    return "ids and planes differ in number";
  // What is read writes a file that reads back to itself.
  const QByteArray written = files::WriteCase(c);
  try {
    if (files::WriteCase(files::ReadCase(written)) != written)
      return "a case that does not read back to itself";
  } catch (const files::CaseError& e) {
    return std::string("a written case refused: ") + e.what();
  }
  return {};
}

}  // namespace fuzz
