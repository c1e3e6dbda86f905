#pragma once
// A study saved as a file (.kelvane): the window's inputs as typed and as
// numbers, its settings, the plane set and the uncertainty, in a versioned
// JSON text (UTF-8) that docs/case-format.md describes. Reading checks every
// key and value and names what is wrong and where; it never half-reads.
// Stresses in the user's unit, angles in degrees, as the window shows them.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

#include "study/study.h"

namespace files {

/// The format's name and the newest version this program reads and writes.
inline constexpr char kCaseFormat[] = "kelvane-case";
inline constexpr int kCaseVersion = 1;

/// A case is a whole study (study/study.h): the file holds every field.
using Case = study::Study;
using BuilderTexts = study::BuilderTexts;

/// Why a file cannot be read as a case; what() names what and where.
class CaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The case as its file's text: UTF-8 JSON, numbers as the shortest text that
/// reads back to the same double.
QByteArray WriteCase(const Case& c);

/// Reads a case. Throws CaseError for text that is no JSON (with the byte
/// offset), no case, a newer version (naming both), a value of the wrong type
/// or out of range (with its key path). Keys this version does not know are
/// ignored and their paths put in `unknown`.
Case ReadCase(const QByteArray& bytes, QStringList* unknown = nullptr);

}  // namespace files
