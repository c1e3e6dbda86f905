#pragma once
// `kelvane-cli planes`: the header of a plane file, and one output row per
// plane under a fixed stress state.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/tensor_table.h"
#include "engine/plane_results.h"
#include "engine/slip_probability.h"
#include "tables/plane_reader.h"

namespace cli {

/// The reading of a plane file's header (its fields split by the pipeline,
/// names compared as tables::ColumnOfName compares them): a dip_direction or strike column and
/// a dip column are required, id, phi, mu and c are optional, others ignored.
/// `strike` forces the direction column to be read as a strike (else a
/// "strike" header does). On a missing column or a column named twice, the
/// reason is put in `error` and nothing is returned.
std::optional<tables::PlaneReading> ReadPlaneHeader(const std::vector<std::string_view>& fields,
                                                    std::optional<bool> strike, std::string& error);

/// The output header line, with its line feed: the export's columns, with
/// `odds` p_slip, delta_pc_p10, delta_pc_p50, delta_pc_p90 and p_open, and "error".
std::string PlaneOutputHeader(bool odds = false);

/// Appends the output line of the data row `fields` (`split` false when the
/// line could not be split): the plane's columns, or, for a row that is no
/// plane, its id and the reason in the error column. The id is the row number
/// when the file has no id column, and for an id holding a control character
/// (the reason then names the line). With `sampler`, the plane's slip odds
/// follow, its random streams those of data row number place.row - 1.
/// Returns whether the row was a plane.
bool AppendPlaneRow(const tables::PlaneReading& reading, bool split,
                    const std::vector<std::string_view>& fields, RowPlace place,
                    const engine::PlaneAssessor& assess, const engine::PlaneDefaults& defaults,
                    std::string& out, const engine::SlipSampler* sampler = nullptr);

}  // namespace cli
