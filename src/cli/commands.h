#pragma once
// kelvane-cli's commands, one file each; every one returns the exit status.

namespace cli {

struct Options;

/// tensors: each tensor of a CSV file computed as the window computes it.
int RunTensors(const Options& options);
/// planes: each plane of a CSV file (or of a case) assessed under one state.
int RunPlanes(const Options& options);
/// figure: the net or the Mohr diagram as a PNG or SVG file.
int RunFigureCommand(Options& options);
/// polygon: the stress polygon at one depth (and a state against it).
int RunPolygon(const Options& options);
/// fabric: the orientation statistics of a CSV file's planes or lines, for
/// the whole file and for each set.
int RunFabric(const Options& options);
/// invert: the reduced stress that a file of faults or mechanisms records.
int RunInvert(const Options& options);

}  // namespace cli
