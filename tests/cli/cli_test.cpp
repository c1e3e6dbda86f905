// kelvane-cli run as a user runs it: input files against the exact output,
// standard error and exit status; and a round trip of generated rows against
// the engine, every number bit for bit.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_run.h"
#include "engine/derived.h"
#include "engine/pass.h"
#include "engine/plane_results.h"
#include "tables/csv.h"
#include "tables/plane_csv.h"
#include "test_names.h"

// The bound on a run's address space that shows a refusal comes before the
// memory runs out; the sanitizers reserve far more address space than any such
// bound, so there the run goes unbounded (its timeout still stops it).
#ifdef KELVANE_SANITIZED
constexpr const char* kMemoryBound = "true";
#else
constexpr const char* kMemoryBound = "ulimit -v 2000000";
#endif

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

using cli_run::CliRun;
using cli_run::ReadAll;
using cli_run::RunCli;

// The output header without and with a joint.
const std::string kHeader =
    "id,s1,s2,s3,s1_azimuth,s1_dip,s2_azimuth,s2_dip,s3_azimuth,s3_dip,l1,m1,n1,l2,m2,n2,l3,m3,n3,"
    "mean,max_shear,von_mises,octahedral_shear,stress_ratio,sv,shmax,shmin,shmax_azimuth,regime,"
    "error\n";
const std::string kJointHeader =
    "id,s1,s2,s3,s1_azimuth,s1_dip,s2_azimuth,s2_dip,s3_azimuth,s3_dip,l1,m1,n1,l2,m2,n2,l3,m3,n3,"
    "sigma,tau,tau_lim,mean,max_shear,von_mises,octahedral_shear,stress_ratio,sv,shmax,shmin,"
    "shmax_azimuth,regime,slip_tendency,dilation_tendency,factor_of_safety,sigma_eff,tau_lim_eff,"
    "slip_tendency_max,slip_tendency_normalized,cff,delta_pc,error\n";

const std::string kPlaneHeader =
    "id,dip_direction,dip,phi,c,sigma,tau,sigma_eff,tau_lim,slip_tendency,"
    "slip_tendency_normalized,dilation_tendency,factor_of_safety,cff,delta_pc,rake,slip_trend,"
    "slip_plunge,state,error\n";

const std::string kFabricHeader =
    "set,count,mean_trend,mean_plunge,mean_dip_direction,mean_dip,resultant_length,"
    "mean_resultant_length,kappa,alpha,eigenvalue1,eigenvalue2,eigenvalue3,eigen1_trend,"
    "eigen1_plunge,eigen2_trend,eigen2_plunge,eigen3_trend,eigen3_plunge,woodcock_k,woodcock_c,"
    "girdle_dip_direction,girdle_dip,density_max,density_max_trend,density_max_plunge\n";

struct Case {
  const char* name;
  const char* args;
  std::string input;
  std::string out;
  std::string err;
  int status;
  /// Shell commands run first in the folder (making a FIFO, limiting memory).
  const char* setup = "true";
};

class CliCases : public ::testing::TestWithParam<Case> {};

TEST_P(CliCases, WritesExactly) {
  const Case& c = GetParam();
  const CliRun run = RunCli(c.args, c.input, c.setup);
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(run.err, c.err);
  EXPECT_EQ(run.status, c.status);
}

// sx, sy, sz = 3, 2, 1 without shear: s1 East, s2 North, s3 vertical. The
// values, axes and cosines, then the measures through the regime.
const std::string kDiagonalResults =
    "3,2,1,90,0,180.00000000000003,0,180.00000000000003,90,-1,-0,-0,-0,-1,-0,0,0,1,";
const std::string kDiagonalMeasures = "2,1,1.7320508075688772,0.816496580927726,0.5,1,3,2,90,TF,";
const std::string kDiagonalRow = kDiagonalResults + kDiagonalMeasures + "\n";
const std::string kTensorHeader = "sx,sy,sz,txy,tyz,tzx\n";

/// A case of the state 3, 2, 1 without shear, friction 30 and cohesion 0,
/// and the horizontal plane "h".
const std::string kCaseText = R"({"format": "kelvane-case", "version": 1, "inputs": {
  "joint_dip_direction": {"value": 0, "text": "0"}, "joint_dip": {"value": 0, "text": "0"},
  "sx": {"value": 3, "text": "3"}, "sy": {"value": 2, "text": "2"}, "sz": {"value": 1, "text": "1"},
  "txy": {"value": 0, "text": "0"}, "tyz": {"value": 0, "text": "0"}, "tzx": {"value": 0, "text": "0"},
  "joint_cohesion": {"value": 0, "text": "0"}, "joint_friction": {"value": 30, "text": "30"}},
 "azimuth": "north", "joint_active": false, "direction_cosines_shown": false,
 "pore_pressure": {"value": 0, "text": "0"}, "stress_unit": "",
 "depth_builder": {"typed": false, "units": "MPa/m", "sv_from_density": false,
                   "texts": ["", "", "", "", "", "", ""]},
 "principal_builder": {"typed": false, "texts": ["", "", "", "", "", "", ""]},
 "planes": {"import": null, "rows": [["h", 90, 0, null, null]]},
 "uncertainty": null, "map": "none", "dot_colouring": "none"})";

/// `n` empty fields, each behind its comma.
std::string Empty(int n) {
  return std::string(static_cast<std::size_t>(n), ',');
}

INSTANTIATE_TEST_SUITE_P(
    Files, CliCases,
    ::testing::Values(
        Case{"header in another order", "tensors in.csv",
             "tzx,sz,id,sy,txy,tyz,sx\n0,1,a,2,0,0,3\n", kHeader + "a," + kDiagonalRow, "", 0},
        Case{"missing column", "tensors in.csv", "sx,sy,txy,tyz,tzx\n1,2,3,4,5\n", "",
             "kelvane-cli: in.csv:1: no column sz in the header\n", 2},
        Case{"bad number in row 3", "tensors in.csv",
             kTensorHeader + "3,2,1,0,0,0\n3,2,1,0,0,0\n5,1x,1,0,0,0\n",
             kHeader + "1," + kDiagonalRow + "2," + kDiagonalRow + "3" + Empty(28) +
                 ",'1x' is not a valid floating point value\n",
             "", 1},
        Case{"overflow read and computed", "tensors - <in.csv",
             kTensorHeader + "1e400,0,0,0,0,0\n1e300,1e300,1e300,1e300,1e300,1e300\n",
             kHeader + "1" + Empty(28) + ",Floating point overflow\n" + "2" + Empty(23) +
                 ",1e+300,2e+300,0,45,,Floating point overflow\n",
             "", 1},
        Case{"CRLF line ends", "tensors in.csv", "sx,sy,sz,txy,tyz,tzx\r\n3,2,1,0,0,0\r\n",
             kHeader + "1," + kDiagonalRow, "", 0},
        Case{"empty file", "tensors in.csv", "", "", "kelvane-cli: in.csv: no header line\n", 2},
        Case{"no header", "tensors in.csv", "3,2,1,0,0,0\n", "",
             "kelvane-cli: in.csv:1: no column sx in the header\n", 2},
        Case{"comments and blank lines", "tensors in.csv",
             "# made by hand\n\n" + kTensorHeader + "# first\n3,2,1,0,0,0\n\n  \n3,2,1,0,0,0",
             kHeader + "1," + kDiagonalRow + "2," + kDiagonalRow, "", 0},
        Case{"joint, then a joint without cohesion", "tensors in.csv",
             "id,sx,sy,sz,txy,tyz,tzx,beta,psi,phi,c\n\"x,1\",3,2,1,0,0,0,90,30,30,0.5\n"
             "x2,3,2,1,0,0,0,90,30,30,\n",
             kJointHeader + "\"x,1\"," + kDiagonalResults +
                 "1.5,0.8660254037844386,1.3660254037844386," + kDiagonalMeasures +
                 "0.5773502691896257,0.75,1.5773502691896257,1.5,1.3660254037844386,"
                 "0.5773502691896257,1,-0.5,0.8660254037844387,\n" +
                 "x2," + kDiagonalResults + ",,," + kDiagonalMeasures +
                 ",,,,,,,,,'' is not a valid floating point value\n",
             "", 1},
        // Pp = 0.5 on the same joint: sigma' 1, tauLim' 0.5 + tan 30, Ts,max
        // 2 / (2 sqrt(2.5 * 0.5)), dPc 1 - (tau - c) / tan 30.
        Case{
            "pore pressure, then one that is no number", "tensors in.csv",
            "sx,sy,sz,txy,tyz,tzx,beta,psi,phi,c,pp\n3,2,1,0,0,0,90,30,30,0.5,0.5\n"
            "3,2,1,0,0,0,90,30,30,0.5,high\n",
            kJointHeader + "1," + kDiagonalResults + "1.5,0.8660254037844386,1.3660254037844386," +
                kDiagonalMeasures +
                "0.8660254037844386,0.75,1.2440169358562925,1,1.0773502691896257,"
                "0.8944271909999159,0.9682458365518541,-0.21132486540518713,0.3660254037844387,\n" +
                "2," + kDiagonalResults + "1.5,0.8660254037844386,1.3660254037844386," +
                kDiagonalMeasures + ",0.75,,,,,,,,'high' is not a valid floating point value\n",
            "", 1},
        Case{"azimuth east", "tensors --azimuth east in.csv", kTensorHeader + "3,2,1,0,0,0\n",
             // SHmax (East) too is measured from East.
             kHeader + "1,3,2,1,0,0,270,0,270,90,-1,-0,-0,-0,-1,-0,0,0,1," +
                 "2,1,1.7320508075688772,0.816496580927726,0.5,1,3,2,0,TF,\n",
             "", 0},
        Case{"row of five fields", "tensors in.csv", kTensorHeader + "3,2,1,0,0\n",
             kHeader + "1" + Empty(28) + ",line 2: 5 fields where the header has 6\n", "", 1},
        Case{"unknown azimuth", "tensors --azimuth west in.csv", kTensorHeader, "",
             "kelvane-cli: --azimuth takes north or east\n", 2},
        Case{"version", "--version", "", "kelvane-cli 1.0\n", "", 0},
        // Planes under sx, sy, sz = 3, 2, 1: a strike column read by the
        // right-hand rule; a horizontal plane normal to s3, without shear (F
        // infinite, no rake); a vertical plane striking N30E with its own mu,
        // right-lateral; a row that is no plane.
        Case{"planes by strike", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "id,strike,dip,mu\nh,0,0,\nv,30,90,1\nbad,10,95,\n",
             kPlaneHeader +
                 "h,90,0,30,0,1,0,1,0.5773502691896257,0,0,1,inf,-0.5773502691896257,1,,,,"
                 "stable,\n"
                 "v,120,90,45,0,2.7499999999999996,0.4330127018922193,2.7499999999999996,"
                 "2.7499999999999996,0.1574591643244434,0.27272727272727276,0.12500000000000022,"
                 "6.350852961085883,-2.3169872981077804,2.3169872981077804,180,210.00000000000003,"
                 "5.8081236515656484e-18,stable,\n" +
                 "bad" + Empty(18) + ",dip 95 is outside 0 to 90\n",
             "", 1},
        // The odds columns; without uncertainty P(slip) is 0 or 1 and every
        // percentile the plane's own dPc.
        Case{"planes with odds and no uncertainty",
             "planes --stress 3,2,1,0,0,0 --phi 30 --realizations 4 in.csv",
             "id,strike,dip\nh,0,0\nbad,10,95\n",
             kPlaneHeader.substr(0, kPlaneHeader.size() - 7) +
                 ",p_slip,delta_pc_p10,delta_pc_p50,delta_pc_p90,p_open,error\n"
                 "h,90,0,30,0,1,0,1,0.5773502691896257,0,0,1,inf,-0.5773502691896257,1,,,,"
                 "stable,0,1,1,1,0,\n" +
                 "bad" + Empty(23) + ",dip 95 is outside 0 to 90\n",
             "", 1},
        // A study saved by the window in place of the options and the file.
        Case{"planes of a case", "planes --case in.csv", kCaseText,
             kPlaneHeader +
                 "h,90,0,30,0,1,0,1,0.5773502691896257,0,0,1,inf,-0.5773502691896257,1,,,,"
                 "stable,\n",
             "", 0},
        Case{"planes of a case and a stress", "planes --case in.csv --stress 1,2,3,0,0,0",
             kCaseText, "",
             "kelvane-cli: --case stands in place of --stress, --pp, --phi, --mu, --cohesion and "
             "FILE\n",
             2},
        Case{"planes with an uncertainty that is no spread",
             "planes --stress 3,2,1,0,0,0 --uncertainty pp=1 in.csv", "", "",
             "kelvane-cli: uncertainty 'pp=1' needs uniform:H or normal:SD with a number of 0 or "
             "more\n",
             2},
        Case{"planes without stress", "planes in.csv", "dd,dip\n", "",
             "kelvane-cli: planes needs --stress SX,SY,SZ,TXY,TYZ,TZX\n", 2},
        Case{"planes header without dip", "planes --stress 3,2,1,0,0,0 in.csv", "dd,phi\n", "",
             "kelvane-cli: in.csv:1: the header needs the columns dip_direction (or strike) and "
             "dip\n",
             2},
        // The stress polygon: Sv 48, Pp 19, mu 0.6 (f = 3.1194, Shmin >= 28.30,
        // SHmax <= 109.46); the values as 60-digit arithmetic of the double
        // nearest 0.6 rounds them.
        Case{"polygon alone", "polygon --sv 48 --pp 19", "",
             "sv,pp,mu,f,shmin_min,shmax_max\n"
             "48,19,0.6,3.119428454762872,28.29657481187671,109.46342518812328\n",
             "", 0},
        Case{"polygon and a strike-slip state beyond its limit",
             "polygon --sv 48 --pp 19 --mu 0.6 --stress 30,60,48,0,0,0", "",
             "sv,pp,mu,f,shmin_min,shmax_max,shmin,shmax,regime,inside,excess\n"
             "48,19,0.6,3.119428454762872,28.29657481187671,109.46342518812328,30,60,SS,no,"
             "6.686286997608408\n",
             "", 0},
        Case{"polygon and a normal-faulting state below its limit",
             "polygon --sv=48 --pp=19 --stress 25,26,48,0,0,0", "",
             "sv,pp,mu,f,shmin_min,shmax_max,shmin,shmax,regime,inside,excess\n"
             "48,19,0.6,3.119428454762872,28.29657481187671,109.46342518812328,25,26,NF,no,"
             "3.296574811876709\n",
             "", 0},
        Case{"polygon and a turned state inside",
             "polygon --sv 48 --pp 19 --mu 1 --stress 45,35,48,5,0,0", "",
             "sv,pp,mu,f,shmin_min,shmax_max,shmin,shmax,regime,inside,excess\n"
             "48,19,1,5.82842712474619,23.975613382360486,188.02438661763952,"
             "32.928932188134524,47.071067811865476,NF,yes,0\n",
             "", 0},
        Case{"polygon without pp", "polygon --sv 48", "", "",
             "kelvane-cli: polygon needs --sv SV and --pp PP\n", 2},
        Case{"polygon with sv below pp", "polygon --sv 10 --pp 19", "",
             "sv,pp,mu,f,shmin_min,shmax_max\n", "kelvane-cli: Sv must exceed Pp\n", 1},
        Case{"polygon with a negative mu", "polygon --sv 48 --pp 19 --mu -0.1", "", "",
             "kelvane-cli: --mu takes a number of 0 or more\n", 2},
        Case{"figure without a file", "figure --stress 3,2,1,0,0,0", "", "",
             "kelvane-cli: figure needs -o FILE.svg or -o FILE.png\n", 2},
        Case{"figure as jpg", "figure --stress 3,2,1,0,0,0 -o out.jpg", "", "",
             "kelvane-cli: A figure is written as .png or .svg; \"out.jpg\" is neither.\n", 2},
        Case{"figure of an unknown map", "figure --stress 3,2,1,0,0,0 --map stress -o a.png", "",
             "", "kelvane-cli: --map takes slip, dilation, pressure, safety or none\n", 2},
        Case{"figure of a state that overflows",
             "figure --stress 1e300,1e300,1e300,1e300,1e300,1e300 -o a.svg", "", "",
             "kelvane-cli: the stress state cannot be computed: Floating point overflow\n", 2},
        Case{"figure written", "figure --stress 3,2,1,0,0,0 --pp 0.5 --map slip -o a.png", "", "",
             "", 0},
        Case{"fabric of one plane", "fabric in.csv", "dip_direction,dip\n10,20\n10,x\n",
             kFabricHeader,
             "kelvane-cli: in.csv:3: dip 'x' is not a number\n"
             "kelvane-cli: 1 usable axis: the statistics need at least 2\n",
             1},
        Case{"fabric with more sets than axes", "fabric --sets 3 in.csv",
             "dip_direction,dip\n10,20\n30,40\n", kFabricHeader,
             "kelvane-cli: --sets 3 needs at least 3 usable axes; there are 2\n", 1},
        Case{"fabric of lines without plunges", "fabric --lines in.csv", "trend,dip\n10,20\n", "",
             "kelvane-cli: in.csv:1: the header needs the columns trend and plunge\n", 2},
        Case{"fabric with a set column named twice", "fabric in.csv", "set,dd,dip,Set\n", "",
             "kelvane-cli: in.csv:1: the column Set is named twice\n", 2},
        Case{"fabric with a confidence as a fraction", "fabric --confidence 0.95 in.csv", "", "",
             "kelvane-cli: --confidence takes a percentage above 1 and below 100, such as 95\n", 2},
        Case{"fabric with an unknown density", "fabric --density gauss in.csv", "", "",
             "kelvane-cli: --density takes exponential-kamb, kamb, schmidt or none\n", 2},
        Case{"fabric with a cap and no scanline", "fabric --cap 5 in.csv", "", "",
             "kelvane-cli: --cap goes with --scanline\n", 2},
        Case{"fabric with a seed and no sets", "fabric --seed 5 in.csv", "", "",
             "kelvane-cli: --seed goes with --sets\n", 2},
        Case{"fabric of lines in strike notation", "fabric --lines --notation strike in.csv", "",
             "", "kelvane-cli: --notation is for planes, not --lines\n", 2},
        Case{"fabric with a stress", "fabric --stress 3,2,1,0,0,0 in.csv", "", "",
             "kelvane-cli: fabric takes no --stress\n", 2},
        Case{"planes with sets", "planes --stress 3,2,1,0,0,0 --sets 2 in.csv", "", "",
             "kelvane-cli: --sets is for fabric\n", 2},
        Case{"planes with a density", "planes --stress 3,2,1,0,0,0 --density kamb in.csv", "", "",
             "kelvane-cli: --density is for fabric and figure\n", 2},
        Case{"figure of a density without planes", "figure --density kamb -o a.png", "", "",
             "kelvane-cli: figure --density needs the planes: --planes FILE\n", 2},
        Case{"figure of a density and a map",
             "figure --stress 3,2,1,0,0,0 --density schmidt --map slip --planes in.csv -o a.png",
             "dd,dip\n10,20\n", "",
             "kelvane-cli: --density and --map each colour the net; give one\n", 2},
        Case{"figure of no density", "figure --density none --planes in.csv -o a.png", "", "",
             "kelvane-cli: figure --density takes exponential-kamb, kamb or schmidt\n", 2},
        Case{"figure with k and no density", "figure --stress 3,2,1,0,0,0 --k 2 -o a.png", "", "",
             "kelvane-cli: --k goes with --density\n", 2},
        Case{"figure of a rose without planes", "figure --what rose -o a.png", "", "",
             "kelvane-cli: figure --what rose needs the planes: --planes FILE\n", 2},
        Case{"figure of a rose of 7-degree bins", "figure --what rose --bin 7 -o a.png", "", "",
             "kelvane-cli: --bin takes degrees that divide 360, from 1 to 360\n", 2},
        Case{"figure of a rose of trends", "figure --what rose --rose trends -o a.png", "", "",
             "kelvane-cli: --rose takes strikes or dip-directions\n", 2},
        Case{"figure of a net with bins", "figure --stress 3,2,1,0,0,0 --bin 10 -o a.png", "", "",
             "kelvane-cli: --rose, --bin and --area-true go with --what rose\n", 2},
        Case{"figure of a rose written",
             "figure --what rose --rose dip-directions --bin 15 --area-true --planes in.csv -o "
             "a.png",
             "dip_direction,dip\n10,20\n15,25\n12,22\n200,80\n", "", "", 0},
        Case{"figure of a net with an interval",
             "figure --stress 3,2,1,0,0,0 --interval 2 -o a.png", "", "",
             "kelvane-cli: --interval goes with --density\n", 2},
        // Four poles within 5 degrees: a peak of 100 % of them in 1 % of the area.
        Case{"figure of a density with a fine interval",
             "figure --density schmidt --interval 0.5 --planes in.csv -o a.svg",
             "dip_direction,dip\n10,20\n15,25\n12,22\n12,23\n", "",
             "kelvane-cli: A contour interval of 0.5 would draw more than 100 levels up to "
             "the peak 100.0.\n",
             2},
        Case{"figure of a density written",
             "figure --density exponential-kamb --k 2 --interval 0.5 --planes in.csv -o a.svg",
             "dip_direction,dip\n10,20\n15,25\n12,22\n200,80\n", "", "", 0}),
    test_names::RowName());

// The plane "h" under 3, 2, 1 with friction 30: horizontal, so the same for
// any dip direction.
const std::string kFlatPlane =
    ",0,30,0,1,0,1,0.5773502691896257,0,0,1,inf,-0.5773502691896257,1,,,,stable,\n";

// Tables as other tools write them: the header's line chooses the delimiter,
// as the window's import does, and a byte-order mark is no part of a name.
INSTANTIATE_TEST_SUITE_P(
    Layouts, CliCases,
    ::testing::Values(
        Case{"tensors after a byte-order mark", "tensors in.csv",
             "\xEF\xBB\xBF" + kTensorHeader + "3,2,1,0,0,0\n", kHeader + "1," + kDiagonalRow, "",
             0},
        Case{"tensors separated by tabs", "tensors in.csv",
             "id\tsx\tsy\tsz\ttxy\ttyz\ttzx\na\t3\t2\t1\t0\t0\t0\n", kHeader + "a," + kDiagonalRow,
             "", 0},
        Case{"tensors separated by semicolons", "tensors - <in.csv",
             "sx;sy;sz;txy;tyz;tzx\r\n3;2;1;0;0;0\r\n", kHeader + "1," + kDiagonalRow, "", 0},
        Case{"tensors separated by blanks", "tensors in.csv",
             "# sx sy sz\n  sx sy  sz txy tyz tzx\n 3\t2   1 0 0 0 \n",
             kHeader + "1," + kDiagonalRow, "", 0},
        Case{"planes after a byte-order mark", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "\xEF\xBB\xBFid,dip_direction,dip\nh,90,0\n", kPlaneHeader + "h,90" + kFlatPlane, "",
             0},
        Case{"planes separated by tabs", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "id\tdip_direction\tdip\nh\t90\t0\n", kPlaneHeader + "h,90" + kFlatPlane, "", 0},
        Case{"planes separated by semicolons", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "id;dd;dip\nh;90;0\n", kPlaneHeader + "h,90" + kFlatPlane, "", 0},
        Case{"planes separated by blanks", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "id  dd dip\nh 90    0\n", kPlaneHeader + "h,90" + kFlatPlane, "", 0}),
    test_names::RowName());

// Fields read as the window reads them, written without a raw control
// character or a negative zero.
INSTANTIATE_TEST_SUITE_P(
    Fields, CliCases,
    ::testing::Values(
        Case{"planes with a doubled sign", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "dd,dip\n+-90,0\n90,+-0\n",
             kPlaneHeader + "1" + Empty(18) + ",dip direction '+-90' is not a number\n" + "2" +
                 Empty(18) + ",dip '+-0' is not a number\n",
             "", 1},
        Case{"planes with whole turns", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "dd,dip\n-720,0\n-0,0\n", kPlaneHeader + "1,0" + kFlatPlane + "2,0" + kFlatPlane, "",
             0},
        Case{"planes with control characters", "planes --stress 3,2,1,0,0,0 --phi 30 in.csv",
             "id,dd,dip\nA\0B,90,0\nC,90,0\x01\n"s,
             kPlaneHeader + "1" + Empty(18) +
                 ",line 2: the id holds the control character U+0000\nC" + Empty(18) +
                 ",dip '0\xEF\xBF\xBD' is not a number\n",
             "", 1},
        Case{"tensors with a control character in the id", "tensors in.csv",
             "id,sx,sy,sz,txy,tyz,tzx\nA\x1F,3,2,1,0,0,0\nb,3,2,1,0,0,0\n",
             kHeader + "1" + Empty(28) + ",line 2: the id holds the control character U+001F\n" +
                 "b," + kDiagonalRow,
             "", 1}),
    test_names::RowName());

// Only regular files are read, and they are looked at before they are
// opened: a FIFO would block for good, /dev/zero would fill the memory.
// Standard input may be anything, but its lines are bounded.
INSTANTIATE_TEST_SUITE_P(
    Sources, CliCases,
    ::testing::Values(Case{"tensors of a device", "tensors /dev/zero", "", "",
                           "kelvane-cli: /dev/zero: it is not a regular file\n", 2},
                      Case{"tensors of a FIFO", "tensors fifo", "", "",
                           "kelvane-cli: fifo: it is not a regular file\n", 2, "mkfifo fifo"},
                      Case{"planes of a FIFO", "planes --stress 3,2,1,0,0,0 --phi 30 fifo", "", "",
                           "kelvane-cli: fifo: it is not a regular file\n", 2, "mkfifo fifo"},
                      Case{"planes of a folder", "planes --stress 3,2,1,0,0,0 --phi 30 .", "", "",
                           "kelvane-cli: .: it is a folder\n", 2},
                      Case{"planes of a case that is a device", "planes --case /dev/zero", "", "",
                           "kelvane-cli: /dev/zero: it is not a regular file\n", 2},
                      Case{"figure of a case that is a FIFO", "figure --case fifo -o a.svg", "", "",
                           "kelvane-cli: fifo: it is not a regular file\n", 2, "mkfifo fifo"},
                      Case{"figure of planes from a device",
                           "figure --stress 3,2,1,0,0,0 --planes /dev/zero -o a.svg", "", "",
                           "kelvane-cli: /dev/zero: it is not a regular file\n", 2},
                      // Within 2 GB of address space: the line is refused long before.
                      Case{"tensors from an endless line on standard input", "tensors - </dev/zero",
                           "", "", "kelvane-cli: <stdin>:1: the line is longer than 1 MiB\n", 2,
                           kMemoryBound}),
    test_names::RowName());

// figure --planes lists the rows that are no plane, and the notes, as the
// import does; the figure is drawn without them and the status says so.
INSTANTIATE_TEST_SUITE_P(
    FigureRows, CliCases,
    ::testing::Values(Case{"figure of planes with bad rows",
                           "figure --stress 3,2,1,0,0,0 --planes in.csv -o a.svg",
                           "dd,dip\n90,0\n10,95\n400,10\n10,\n", "",
                           "kelvane-cli: in.csv: line 3: dip 95 is outside 0 to 90\n"
                           "kelvane-cli: in.csv: line 4: dip direction 400 is taken as 40\n"
                           "kelvane-cli: in.csv: line 5: dip is missing\n",
                           1},
                      Case{"figure of planes with a note",
                           "figure --stress 3,2,1,0,0,0 --planes in.csv -o a.png",
                           "dd,dip\n90,0\n360,10\n", "",
                           "kelvane-cli: in.csv: line 3: dip direction 360 is taken as 0\n", 0}),
    test_names::RowName());

// The PNG's width and height as its header records them.
TEST(CliFigure, WritesThePngOfTheAskedSizeAndResolution) {
  const fs::path png =
      fs::temp_directory_path() / ("kelvane-figure-" + std::to_string(::getpid()) + ".png");
  const CliRun run = RunCli(
      "figure --stress 30,20,40,2,-3,5 --what mohr --width 50.8 --height 25.4 "
      "--dpi 100 -o '" +
          png.string() + "'",
      "");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string bytes = ReadAll(png);
  fs::remove(png);
  ASSERT_GE(bytes.size(), 24u);
  const auto word = [&bytes](std::size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) |
           (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) |
           static_cast<unsigned char>(bytes[at + 3]);
  };
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  EXPECT_EQ(word(16), 200u);  // 2 inches at 100 dpi
  EXPECT_EQ(word(20), 100u);
}

/// The number a field holds, or empty for an empty field.
std::optional<double> FieldNumber(std::string_view field) {
  if (field.empty())
    return std::nullopt;
  double value = 0.0;
  const auto read = std::from_chars(field.data(), field.data() + field.size(), value);
  EXPECT_TRUE(read.ec == std::errc() && read.ptr == field.data() + field.size()) << field;
  return value;
}

/// Bits, so that -0 and 0 differ and every last bit counts.
std::optional<std::uint64_t> Bits(const std::optional<double>& value) {
  if (!value.has_value())
    return std::nullopt;
  return std::bit_cast<std::uint64_t>(*value);
}

std::string RegimeCode(const std::optional<analysis::FaultingRegime>& regime) {
  if (!regime.has_value())
    return "";
  constexpr std::array<const char*, 6> kCodes = {"NF", "NS", "SS", "TS", "TF", "U"};
  return kCodes[static_cast<std::size_t>(*regime)];
}

/// What the engine gives for `inputs`, in the output's columns after the id
/// (the regime and the error aside).
std::vector<std::optional<double>> EngineNumbers(const engine::PassInputs& inputs,
                                                 const engine::PassResults& r,
                                                 const engine::DerivedResults& d) {
  std::vector<std::optional<double>> n;
  const auto add = [&n](bool has, double value) {
    n.push_back(has ? std::optional(value) : std::nullopt);
  };
  for (int i = 0; i < 3; ++i)
    add(r.values.has_value(), r.values ? (*r.values)[i] : 0.0);
  for (int i = 0; i < 3; ++i) {
    add(r.directions[i].has_value(), r.directions[i] ? r.directions[i]->azimuth : 0.0);
    add(r.directions[i].has_value(), r.directions[i] ? r.directions[i]->dip : 0.0);
  }
  for (int i = 0; i < 3; ++i) {
    const stress::Vector3 c = r.cosines ? (*r.cosines)[i] : stress::Vector3{};
    for (const double component : {c.x, c.y, c.z})
      add(r.cosines.has_value(), component);
  }
  if (inputs.jointActive) {
    const stress::JointStresses j = r.jointStresses.value_or(stress::JointStresses{});
    for (const double value : {j.sigma, j.tau, j.tauLim})
      add(r.jointStresses.has_value(), value);
  }
  for (const auto& value : {d.mean, d.maxShear, d.vonMises, d.octahedralShear, d.stressRatio, d.sv,
                            d.shMax, d.shMin, d.shMaxAzimuth})
    n.push_back(value);
  n.push_back(std::nullopt);  // the regime's place
  if (inputs.jointActive) {
    for (const auto& value :
         {d.slipTendency, d.dilationTendency, d.factorOfSafety, d.sigmaEffective, d.tauLimEffective,
          d.slipTendencyMax, d.normalizedSlipTendency, d.coulombFailure, d.porePressureToSlip})
      n.push_back(value);
  }
  return n;
}

std::string RowId(int i) {
  std::string id = "r";
  id += std::to_string(i);
  return id;
}

/// A shortest text for most values, a fixed-point one for some.
std::string InputText(double value, std::mt19937_64& random) {
  std::array<char, 64> buffer;
  const auto written = std::uniform_int_distribution<int>(0, 3)(random) == 0
                           ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                           std::chars_format::fixed, 3)
                           : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return std::string(buffer.data(), written.ptr);
}

// Generated rows with a joint, some with repeated values (so that empty
// quantities and an infinite factor of safety occur), through the program
// and back: every field as the engine computed it for the same doubles.
TEST(CliRoundTrip, EveryFieldAsTheEngine) {
  std::mt19937_64 random(71207);
  std::uniform_real_distribution<double> stress(-50.0, 100.0);
  std::uniform_real_distribution<double> angle(0.0, 360.0);
  std::string input = "id,sx,sy,sz,txy,tyz,tzx,beta,psi,phi,c,pp\n";
  std::vector<engine::PassInputs> rows;
  constexpr int kRows = 400;
  for (int i = 0; i < kRows; ++i) {
    std::array<double, 10> v{};
    for (double& x : v)
      x = stress(random);
    const int kind = i % 8;
    if (kind == 1)
      v[3] = v[4] = v[5] = 0.0;  // principal axes on the coordinate axes
    if (kind == 2)
      v[1] = v[2] = v[0], v[3] = v[4] = v[5] = 0.0;  // isotropic
    if (kind == 3)
      v[1] = v[0], v[3] = v[4] = 0.0;  // a repeated value
    v[6] = angle(random);
    v[7] = angle(random) / 4.0;
    v[8] = std::abs(v[8]) / 4.0;
    input += RowId(i);
    std::array<double, 10> read{};
    for (int k = 0; k < 10; ++k) {
      const std::string text = InputText(v[k], random);
      input += ',';
      input += text;
      std::from_chars(text.data(), text.data() + text.size(), read[k]);
    }
    // A pore pressure on every other row, up to the mean stress.
    const double pp = i % 2 == 0 ? 0.0 : (read[0] + read[1] + read[2]) / 3.0 * (i % 5) / 4.0;
    const std::string ppText = InputText(pp, random);
    input += "," + ppText + "\n";
    rows.push_back(engine::PassInputs::Of({read[0], read[1], read[2], read[3], read[4], read[5]},
                                          stress::Azimuth::kClockwiseFromNorth,
                                          stress::JointPlane{read[6], read[7], read[8], read[9]}));
    std::from_chars(ppText.data(), ppText.data() + ppText.size(), rows.back().porePressure);
  }
  const CliRun run = RunCli("tensors in.csv", input);
  ASSERT_EQ(run.err, "");

  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line + "\n", kJointHeader);
  tables::CsvSplitter splitter;
  int computed = 0;
  for (int i = 0; i < kRows; ++i) {
    ASSERT_TRUE(std::getline(lines, line)) << "row " << i;
    ASSERT_TRUE(splitter.Split(line));
    const std::vector<std::string_view>& f = splitter.Fields();
    const engine::PassResults r = engine::RunPass(rows[i]);
    const engine::DerivedResults d = engine::ComputeDerived(r);
    const std::vector<std::optional<double>> expected = EngineNumbers(rows[i], r, d);
    ASSERT_EQ(f.size(), expected.size() + 2) << line;
    EXPECT_EQ(f[0], RowId(i));
    for (std::size_t k = 0; k < expected.size(); ++k) {
      if (k == expected.size() - 10)  // the regime, before the joint's nine
        EXPECT_EQ(f[k + 1], RegimeCode(d.regime)) << "row " << i;
      else
        EXPECT_EQ(Bits(FieldNumber(f[k + 1])), Bits(expected[k])) << "row " << i << " field " << k;
    }
    EXPECT_EQ(f.back(), r.stop ? r.stop->message : "") << "row " << i;
    computed += r.stop ? 0 : 1;
  }
  EXPECT_FALSE(std::getline(lines, line));
  EXPECT_EQ(run.status, computed == kRows ? 0 : 1);
  EXPECT_GT(computed, kRows / 2);
}

}  // namespace

namespace {

// 20,000 planes through the program and back: every number as the engine
// assessed the same plane, bit for bit (the export writes the same rows).
TEST(CliRoundTrip, EveryPlaneAsTheEngine) {
  std::mt19937_64 random(71208);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const stress::StressState state{30.0, 20.0, 45.0, 4.0, -3.0, 6.0};
  const engine::PlaneDefaults defaults{31.0, 0.5};
  std::string input = "dip_direction,dip,phi,c\n";
  engine::PlaneSet set;
  for (int i = 0; i < 20000; ++i) {
    engine::Plane plane{360.0 * unit(random), 90.0 * unit(random)};
    if (i % 3 == 0)
      plane.phi = 40.0 * unit(random);
    if (i % 4 == 0)
      plane.cohesion = 2.0 * unit(random);
    std::string row;
    tables::AppendNumber(row, plane.dipDirection);
    row += ',';
    tables::AppendNumber(row, plane.dip);
    row += ',';
    if (plane.HasOwnPhi())
      tables::AppendNumber(row, plane.phi);
    row += ',';
    if (plane.HasOwnCohesion())
      tables::AppendNumber(row, plane.cohesion);
    input += row + "\n";
    set.push_back(plane, "");
  }
  engine::PassInputs inputs = engine::PassInputs::Of(state, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = 12.0;
  const engine::PassResults pass = engine::RunPass(inputs);
  std::vector<engine::PlaneResult> results(set.size());
  engine::AssessPlanes(pass, set, defaults, 0, set.size(), results.data());

  const CliRun run =
      RunCli("planes --stress 30,20,45,4,-3,6 --pp 12 --phi 31 --cohesion 0.5 in.csv", input);
  ASSERT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);
  tables::CsvSplitter splitter;
  for (std::size_t i = 0; i < set.size(); ++i) {
    ASSERT_TRUE(std::getline(lines, line));
    ASSERT_TRUE(splitter.Split(line));
    const std::vector<std::string_view>& f = splitter.Fields();
    ASSERT_EQ(f.size(), 20u);
    const engine::Plane& p = set.planes[i];
    const engine::PlaneResult& r = results[i];
    const double expected[] = {p.dipDirection,
                               p.dip,
                               engine::FrictionOf(p, defaults),
                               engine::CohesionOf(p, defaults),
                               r.sigma,
                               r.tau,
                               r.sigmaEff,
                               r.tauLimEff,
                               r.ts,
                               r.tsNormalized,
                               r.td,
                               r.factorOfSafety,
                               r.cff,
                               r.deltaPc,
                               r.rake,
                               r.slipTrend,
                               r.slipPlunge};
    for (std::size_t k = 0; k < std::size(expected); ++k) {
      const std::optional<double> want =
          std::isnan(expected[k]) ? std::nullopt : std::optional(expected[k]);
      EXPECT_EQ(Bits(FieldNumber(f[k + 1])), Bits(want)) << "plane " << i << " field " << k;
    }
    EXPECT_EQ(f[18], tables::StateName(r.state));
  }
}

}  // namespace

namespace {

// kelvane-cli fabric. The expected statistics come from
// tests/cli/fabric_expected.py, which computes them apart from the program
// in 40-digit arithmetic (the eigenvectors by Jacobi rotations, the density
// maximum by a compass search); kNone marks an empty field.
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

struct FabricRow {
  const char* set;
  int count;
  std::array<double, 24> numbers;  // the columns after set and count
};

// Three planes of set a, two of b, and one in no set.
const std::string kDipDirections =
    "id,dip_direction,dip,set\n1,120,50,a\n2,135,60,a\n3,110,65,a\n4,300,40,b\n5,315,35,b\n"
    "6,20,80,\n";
// The same planes by strike (dip direction - 90), the set column first.
const std::string kStrikes =
    "set,strike,dip\na,30,50\na,45,60\na,20,65\nb,210,40\nb,225,35\n,290,80\n";
const std::vector<FabricRow> kPlaneRows = {
    {"all", 6, {137.05489058741275970,  2.7408599687755646412,  317.05489058741275970,
                87.259140031224435359,  4.0452466866860145814,  0.67420778111433576357,
                2.5578675150181811702,  52.880090723317410848,  0.49512215086283852732,
                0.35181160809158700334, 0.15306624104557446933, 306.26629755710118517,
                18.622508443750204815,  165.63286310899019035,  66.448944548089649636,
                41.048622780652445776,  13.896420834155129608,  0.41059647573519259006,
                1.1739337258382222242,  221.04862278065244578,  76.103579165844870392,
                1.9726975951672315757,  302.89916267558997437,  29.577507726688023683}},
    {"a", 3, {301.53278444443581479,   32.094605540281451231,    121.53278444443581479,
              57.905394459718548769,   2.9462646782648358468,    0.98208822608827861560,
              37.219466366220879680,   20.499769588180157827,    0.96453198124830865690,
              0.025885642143034266808, 0.0095823766086570762904, 301.53758959377575177,
              32.130523204902145707,   40.220745632736521252,    13.516457431746990079,
              149.90255538935291457,   54.483307619309965016,    3.6406620109593237939,
              4.6117173487149583404,   329.90255538935291457,    35.516692380690034984,
              4.1122878941559617304,   301.54638149613958700,    32.190943176444457696}},
    {"b",
     2,
     {127.07080342370781216,
      52.736712490803861063,
      307.07080342370781216,
      37.263287509196138937,
      1.9917991691165363362,
      0.99589958455826816812,
      121.93886378225675298,
      22.813571403492170324,
      0.99181598252333112909,
      0.0081840174766688709114,
      8.7258388573649012183e-42,
      127.07080342370781216,
      52.736712490803861063,
      240.87394172511485017,
      17.069042866673315579,
      341.92544912871984611,
      31.976639421093635890,
      kNone,
      kNone,
      161.92544912871984611,
      58.023360578906364110,
      3.4613117767671003481,
      127.07080342370772455,
      52.736712490803858512}},
};
// Along a scanline of trend 90 and plunge 10, weights at most 3.
const std::vector<FabricRow> kWeightedRows = {
    {"all", 6, {147.05750464394680369,  3.4362629571706403868,  327.05750464394680369,
                86.563737042829359613,  7.5146497426761461455,  0.65896172838839905990,
                2.6750948426959827462,  34.177176363594913174,  0.45108133086809256532,
                0.35228341974392395579, 0.19663524938798347889, 317.46365007511650070,
                13.602698859887257032,  204.95914337226214415,  57.699255629377749910,
                55.068155793680211745,  28.673890919543703479,  0.42397147876042357424,
                0.83029717116763120113, 235.06815579368021174,  61.326109080456296521,
                1.9216293875451671977,  304.15089356147868305,  32.102380926714346544}},
    {"a", 3, {303.11417465369040154,   32.762807314552370220,    123.11417465369040154,
              57.237192685447629780,   5.0027781747521168301,    0.98292526819483091888,
              47.059252490646708186,   11.117496275827396220,    0.96620388562576858424,
              0.023871331512307211635, 0.0099247828619242041286, 303.15253099353304096,
              32.807565163524602702,   37.571040089812553231,    6.8150815780865782982,
              137.89901892238164485,   56.312589732142274475,    4.2166296607411643657,
              4.5783399252243622277,   317.89901892238164485,    33.687410267857725525,
              4.2735266871718150386,   303.23608902392277485,    32.903521477210488988}},
    {"b",
     2,
     {127.93453035384977996,
      53.021551276302473801,
      307.93453035384977996,
      36.978448723697526199,
      3.3006777443222495185,
      0.99595310661374892059,
      172.54173326096247925,
      8.4147840788382710146,
      0.99192346582927874731,
      0.0080765341707212526904,
      1.6873633907162671365e-41,
      127.94166803484468843,
      53.023863609990754585,
      241.22007486654682550,
      16.570166896650758442,
      341.92544912871984611,
      31.976639421093635890,
      kNone,
      kNone,
      161.92544912871984611,
      58.023360578906364110,
      3.5628464693393948587,
      127.95425855232223342,
      53.027940807036842575}},
};
const std::string kLines = "trend,plunge\n200,30\n215,20\n190,10\n230,35\n";
const std::vector<FabricRow> kLineRows = {
    {"all",
     4,
     {207.94296890459649912,
      24.505454816680202646,
      kNone,
      kNone,
      3.8315377867855403521,
      0.95788444669638508801,
      17.808147849635994522,
      22.388611864033530866,
      0.91852293146127163344,
      0.071780124743739373618,
      0.0096969437949889929384,
      207.96821305113020282,
      24.540971147018255620,
      312.93723211375151643,
      29.497190515253104460,
      85.137568618831869767,
      49.896849661857709973,
      1.2734355305481716803,
      4.5509561073687201375,
      kNone,
      kNone,
      4.3871435272683969234,
      208.02136281737634474,
      24.607300728647451714}},
};
const std::vector<FabricRow> kLineRows99 = {
    {"all",
     4,
     {207.94296890459649912,
      24.505454816680202646,
      kNone,
      kNone,
      3.8315377867855403521,
      0.95788444669638508801,
      17.808147849635994522,
      32.871565903683849006,
      0.91852293146127163344,
      0.071780124743739373618,
      0.0096969437949889929384,
      207.96821305113020282,
      24.540971147018255620,
      312.93723211375151643,
      29.497190515253104460,
      85.137568618831869767,
      49.896849661857709973,
      1.2734355305481716803,
      4.5509561073687201375,
      kNone,
      kNone,
      4.3871435272683969234,
      208.02136281737634474,
      24.607300728647451714}},
};

/// A density maximum's place that is not checked: the counting methods'
/// flat tops have no one place.
constexpr double kAnyPlace = std::numeric_limits<double>::infinity();

/// `rows` with the density columns `value`, `trend` and `plunge`.
std::vector<FabricRow> WithDensity(std::vector<FabricRow> rows, double value, double trend,
                                   double plunge) {
  for (FabricRow& row : rows) {
    row.numbers[21] = value;
    row.numbers[22] = trend;
    row.numbers[23] = plunge;
  }
  return rows;
}

/// `rows` with one more row: a set of one axis, whose statistics are empty.
std::vector<FabricRow> WithSetOfOne(std::vector<FabricRow> rows) {
  FabricRow one{"c", 1, {}};
  one.numbers.fill(kNone);
  rows.push_back(one);
  return rows;
}

struct FabricCase {
  const char* name;
  const char* args;
  std::string input;
  std::vector<FabricRow> rows;
  std::string err;
  int status;
};

class FabricCases : public ::testing::TestWithParam<FabricCase> {};

// Tolerances: the program sums in long double and forms each statistic from
// the sums in a few double operations, so values are good to a few units of
// 2^-52 of their size, and enlarged by the conditioning of a difference:
// kappa by N / (N - R) and Woodcock's K and C by 1 / S3, at most about 100
// here, so 1e-12 relative. Eigenvalues (in [0, 1]) to 1e-14 absolute: the
// smallest of two axes is 0 and comes out as rounding. An angle of an axis
// moves by its error in radians over the gap between eigenvalues (at least
// 0.007 here) or over R: 1e-9 degrees is ample. The density maximum's climb
// stops within 1e-8 radians (6e-7 degrees) of the peak, whose value is
// second order in that: 1e-5 degrees and 1e-9 relative.
TEST_P(FabricCases, WritesTheStatistics) {
  const FabricCase& c = GetParam();
  const CliRun run = RunCli(c.args, c.input);
  EXPECT_EQ(run.err, c.err);
  EXPECT_EQ(run.status, c.status);
  std::istringstream lines(run.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line + "\n", kFabricHeader);
  tables::CsvSplitter splitter;
  constexpr std::array<int, 7> kAzimuths = {0, 2, 11, 13, 15, 19, 22};
  for (const FabricRow& row : c.rows) {
    ASSERT_TRUE(std::getline(lines, line)) << "no row " << row.set;
    ASSERT_TRUE(splitter.Split(line));
    const std::vector<std::string_view>& f = splitter.Fields();
    ASSERT_EQ(f.size(), 26u) << line;
    EXPECT_EQ(f[0], row.set);
    EXPECT_EQ(f[1], std::to_string(row.count));
    for (int k = 0; k < 24; ++k) {
      const double want = row.numbers[k];
      const std::optional<double> got = FieldNumber(f[k + 2]);
      if (std::isnan(want)) {
        EXPECT_FALSE(got.has_value()) << row.set << " column " << k << ": " << f[k + 2];
        continue;
      }
      ASSERT_TRUE(got.has_value()) << row.set << " column " << k;
      if (std::isinf(want))
        continue;
      const bool density = k >= 21;
      const bool azimuth = std::find(kAzimuths.begin(), kAzimuths.end(), k) != kAzimuths.end();
      double error = std::fabs(*got - want);
      double tolerance = 1e-12 * std::fabs(want);
      if (k >= 8 && k <= 10)
        tolerance = 1e-14;
      else if (azimuth || k == 1 || k == 3 || (k >= 12 && k <= 16 && k % 2 == 0) || k == 20 ||
               k == 23)
        tolerance = density ? 1e-5 : 1e-9;
      else if (density)
        tolerance = 1e-9 * std::fabs(want);
      if (azimuth)
        error = std::min(error, 360.0 - error);
      EXPECT_LE(error, tolerance) << row.set << " column " << k << ": " << f[k + 2] << " for "
                                  << want;
    }
  }
  EXPECT_FALSE(std::getline(lines, line)) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Files, FabricCases,
    ::testing::Values(
        FabricCase{"planes by dip direction", "fabric in.csv", kDipDirections, kPlaneRows, "", 0},
        FabricCase{"planes by strike", "fabric - <in.csv", kStrikes, kPlaneRows, "", 0},
        FabricCase{"a strike column read as dip directions", "fabric --notation dipdir in.csv",
                   "strike,dip,set\n120,50,a\n135,60,a\n110,65,a\n300,40,b\n315,35,b\n20,80,\n",
                   kPlaneRows, "", 0},
        FabricCase{"a set of one and a row that is no plane", "fabric in.csv",
                   kDipDirections.substr(0, kDipDirections.size() - 1) + "c\n7,10,95,a\n",
                   WithSetOfOne(kPlaneRows), "kelvane-cli: in.csv:8: dip 95 is outside 0 to 90\n",
                   1},
        FabricCase{"Terzaghi weights", "fabric --scanline 90,10 --cap=3 in.csv", kDipDirections,
                   kWeightedRows, "", 0},
        FabricCase{"lines", "fabric --lines in.csv", kLines, kLineRows, "", 0},
        FabricCase{"lines at 99 %", "fabric --lines --confidence 99 in.csv", kLines, kLineRows99,
                   "", 0},
        FabricCase{"lines without the density", "fabric --lines --density none in.csv", kLines,
                   WithDensity(kLineRows, kNone, kNone, kNone), "", 0},
        // No two of the four lines lie within 16.2 degrees, twice the
        // Schmidt cap's radius: one line of four in the densest cap, 25 %.
        FabricCase{"lines by Schmidt's cap", "fabric --lines --density schmidt in.csv", kLines,
                   WithDensity(kLineRows, 25.0, kAnyPlace, kAnyPlace), "", 0},
        // Kamb's cap for N = 4, k = 3 is 9/13 of the sphere (72 degrees),
        // which holds all four: (4 - 4 (9/13)) / sqrt(4 (9/13) (4/13)) = 4/3.
        FabricCase{"lines by Kamb's cap", "fabric --lines --density=kamb in.csv", kLines,
                   WithDensity(kLineRows, 4.0 / 3.0, kAnyPlace, kAnyPlace), "", 0},
        FabricCase{"lines with a plunge out of range", "fabric --lines in.csv",
                   kLines + "10,-95\n\"open,3\n", kLineRows,
                   "kelvane-cli: in.csv:6: plunge -95 is outside -90 to 90\n"
                   "kelvane-cli: in.csv:7: a quoted field is not closed\n",
                   1}),
    test_names::RowName());

/// The output of `args` on `input`, which must succeed.
std::string FabricOutput(const std::string& args, const std::string& input) {
  const CliRun run = RunCli(args, input);
  EXPECT_EQ(run.err, "") << args;
  EXPECT_EQ(run.status, 0) << args;
  return run.out;
}

// Either notation, and any number of threads, give the same bytes.
TEST(CliFabric, NotationsAndThreadsGiveTheSameRows) {
  const std::string rows = FabricOutput("fabric --threads 1 in.csv", kDipDirections);
  EXPECT_EQ(FabricOutput("fabric --threads 2 in.csv", kStrikes), rows);
  EXPECT_EQ(FabricOutput("fabric --threads 3 --notation strike in.csv",
                         "set,dd,dip\na,30,50\na,45,60\na,20,65\nb,210,40\nb,225,35\n,290,80\n"),
            rows);
}

// 60,000 rows (about 1.4 MB, more than one chunk of the reader) in four
// sets met in random order, a few in none and a few that are no planes: the
// sets in order of first appearance with their counts, the same bytes on
// one thread and on three, and each bad row named once.
TEST(CliFabric, ChunksAndSharesKeepTheSetsInOrder) {
  std::mt19937_64 random(60034);
  const char* const names[] = {"joints \"A\"", "B", "bedding", "C,D"};
  std::string input = "dip_direction,dip,set\n";
  std::vector<int> order;  // the sets by first appearance
  std::vector<int> counts(4, 0);
  int all = 0;
  std::string err;
  for (int row = 0; row < 60000; ++row) {
    const int set = std::uniform_int_distribution<int>(0, 99)(random);
    const std::string dd = std::to_string(std::uniform_int_distribution<int>(0, 359)(random));
    if (set == 99) {  // no plane
      input += dd + ",91,B\n";
      err += "kelvane-cli: in.csv:" + std::to_string(row + 2) + ": dip 91 is outside 0 to 90\n";
      continue;
    }
    ++all;
    if (set == 98) {  // in no set
      input += dd + ",45,\n";
      continue;
    }
    const int k = set % 4;
    input += dd + ",45,";
    tables::AppendCsvField(input, names[k]);
    input += "\n";
    if (counts[k]++ == 0)
      order.push_back(k);
  }
  const CliRun one = RunCli("fabric --density none --threads 1 in.csv", input);
  const CliRun three = RunCli("fabric --density none --threads 3 in.csv", input);
  EXPECT_EQ(one.err, err);
  EXPECT_EQ(one.status, 1);
  EXPECT_EQ(three.out, one.out);
  EXPECT_EQ(three.err, one.err);
  std::istringstream lines(one.out);
  std::string line;
  std::getline(lines, line);
  std::getline(lines, line);
  EXPECT_EQ(line.substr(0, line.find(',', 4)), std::string("all,").append(std::to_string(all)));
  for (const int k : order) {
    ASSERT_TRUE(std::getline(lines, line));
    std::string start;
    tables::AppendCsvField(start, names[k]);
    (start += ',') += std::to_string(counts[k]);
    start += ',';
    EXPECT_EQ(line.substr(0, start.size()), start);
  }
  EXPECT_FALSE(std::getline(lines, line));
}

// k-means finds the two sets of the planes without their set column: the
// same rows as the column's (sets numbered by size: a is 1, b is 2), for
// any seed, and the same bytes for the same seed.
TEST(CliFabric, KMeansSetsAreTheClustersAndReproducible) {
  std::string numbered = FabricOutput(
      "fabric in.csv", "set,dip_direction,dip\na,120,50\na,135,60\na,110,65\nb,300,40\nb,315,35\n");
  numbered[numbered.find("\na,") + 1] = '1';
  numbered[numbered.find("\nb,") + 1] = '2';
  const std::string planes = "dip_direction,dip\n120,50\n135,60\n110,65\n300,40\n315,35\n";
  for (const char* seed : {"1", "5", "123456789"}) {
    const std::string args = std::string("fabric --sets 2 --seed ") + seed + " in.csv";
    const std::string out = FabricOutput(args, planes);
    EXPECT_EQ(out, numbered) << args;
    EXPECT_EQ(FabricOutput(args, planes), out) << args;
  }
}

}  // namespace
