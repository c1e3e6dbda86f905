#pragma once
// Properties that must hold for any input, one check per fuzz target.
// Each check takes the fuzzer's bytes and returns a description of the first
// property that fails, or an empty string when all hold. Inputs are decoded
// so that every byte string is a valid input (short inputs are padded with
// zero bytes).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace fuzz {

/// ReadNumber against strtod under the C locale. Byte 0 chooses the
/// separators (bits 0-1: "." and ",", "," and ".", "," and U+202F, or none)
/// and the text's encoding (bit 2: UTF-8, else raw UTF-16LE units, so that
/// unpaired surrogates and U+0000 occur); the other bytes are the text.
/// A text that follows the syntax must read as strtod's double to the last
/// bit (negative zero included), or raise "Floating point overflow" where
/// strtod overflows, or the conversion error where strtold does (both are
/// accepted within 2^-58 of the long double limit); any other text must raise
/// the conversion error with its exact message.
std::string CheckReadNumber(std::span<const std::uint8_t> bytes);

/// FormatNumber on any double. Bytes 0-7: the double's bits; byte 8: the
/// decimals (signed); byte 9: the separators as for CheckReadNumber. The text
/// must have the shape of the format (fixed: exactly the clamped decimals, a
/// sign only on a value that does not round to zero, at most 15 significant
/// digits) and read back within half a unit of its last digit, or be exactly
/// "1.79769313486232E308" (signed) and read as an overflow for the four
/// largest magnitudes.
std::string CheckFormatNumber(std::span<const std::uint8_t> bytes);

/// The whole pass (engine/pass.h) on any finite doubles. Bytes 0-47: the six
/// components; 48-79: the joint's dip direction, dip, friction angle and
/// cohesion; byte 80: the azimuth convention (even: from East). Inputs with a NaN or an infinity,
/// which no text reads as, are skipped. Only the three floating-point errors may be thrown;
/// otherwise: no NaN; values sorted and within 1e-12 max|S| of a long double reference solver
/// (three zeros for an all-but-zero tensor); axes orthonormal to 1e-9; residual |S u - s u| <= 1e-9
/// max|S|; angles in their documented ranges; joint stresses consistent with n.S.n and |S n - sigma
/// n|.
std::string CheckStress(std::span<const std::uint8_t> bytes);

/// The plane file reader (tables/plane_reader.h) on the bytes as a file, with
/// the reading it detects. Every plane read has its dip direction in
/// [0, 360), its dip and own friction angle in [0, 90], an own cohesion that
/// is finite; every skipped row has a message, and every message names its
/// line ("line N: ...").
std::string CheckPlaneFile(std::span<const std::uint8_t> bytes);

/// The case reader (files/case_file.h) on the bytes as a file. It reads a
/// case or refuses with a message that says what and where ("The file is not
/// a Kelvane case...", "In the case, \"KEY\"...", "The case was written in
/// format version..."); a case read has every plane in range, and writes a
/// file that reads back to the same file.
std::string CheckCaseFile(std::span<const std::uint8_t> bytes);

/// kelvane-cli tensors' row path on the bytes as a table: the lines as the
/// pipeline meets them (byte-order mark and CR dropped, blank and '#' lines
/// skipped, the header's line choosing the delimiter), the header read by
/// cli::ReadHeader and each data row written by cli::AppendResultRow. Every
/// row is one CSV line with the output header's columns, its error column
/// empty exactly when it was computed, its id free of control characters
/// (the row number without an id column), no raw control character but tab
/// and a quoted CR, numbers that read back (or "inf"), a known regime.
std::string CheckCliTensors(std::span<const std::uint8_t> bytes);

/// kelvane-cli planes' row path on the bytes as a table, as for
/// CheckCliTensors, under one fixed stress state: rows by cli::AppendPlaneRow
/// with the same line properties, and every plane written with its dip
/// direction in [0, 360) and its dip in [0, 90] (neither -0), numbers that
/// read back and a known state.
std::string CheckCliPlanes(std::span<const std::uint8_t> bytes);

/// engine::ReadUncertainties on the bytes as a command-line argument (up to
/// the first NUL). A refusal names its item (or says phi and mu exclude each
/// other); what is read has known shapes with finite widths of 0 or more,
/// not phi and mu both, and, written back as "KEY=SHAPE:WIDTH,...", reads
/// back to the same settings bit for bit.
std::string CheckUncertainties(std::span<const std::uint8_t> bytes);

}  // namespace fuzz
