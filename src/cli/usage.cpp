#include "cli/usage.h"

namespace cli {

const char* Usage() {
  return R"(Usage: kelvane-cli tensors [--azimuth north|east] [--threads N] [FILE|-]
       kelvane-cli planes --stress SX,SY,SZ,TXY,TYZ,TZX [--pp PP]
                          [--phi DEG | --mu M] [--cohesion C]
                          [--notation dipdir|strike] [--threads N]
                          [--realizations N] [--seed S]
                          [--uncertainty KEY=SPREAD,...] [FILE|-]
       kelvane-cli figure --stress SX,SY,SZ,TXY,TYZ,TZX [--pp PP]
                          [--phi DEG | --mu M] [--cohesion C] [--planes FILE]
                          [--map slip|dilation|pressure|safety|none]
                          [--what net|mohr] [--width MM] [--height MM]
                          [--dpi N] -o FILE.svg|FILE.png
       kelvane-cli figure --density exponential-kamb|kamb|schmidt [--k K]
                          [--interval I] --planes FILE [--stress ...]
                          [options] -o FILE
       kelvane-cli figure --what rose --planes FILE
                          [--rose strikes|dip-directions] [--bin DEG]
                          [--area-true] [options] -o FILE
       kelvane-cli polygon --sv SV --pp PP [--mu MU]
                           [--stress SX,SY,SZ,TXY,TYZ,TZX]
       kelvane-cli fabric [--notation dipdir|strike] [--lines]
                          [--density exponential-kamb|kamb|schmidt|none]
                          [--k K] [--confidence P] [--sets K [--seed S]]
                          [--scanline TREND,PLUNGE [--cap W]] [--threads N]
                          [FILE|-]
       kelvane-cli invert [--data faults|mechanisms] [--method linear|iterative]
                          [--friction MU|auto] [--bootstrap N]
                          [--confidence P] [--seed S] [--magnitudes S1,S3]
                          [--sense normal|reverse|dextral|sinistral]
                          [--threads N] [--per-fault FILE] [FILE|-]
       kelvane-cli planes --profile FILE | --gradients sv=G,shmax=G,shmin=G,pp=G,
                          azimuth=DEG [--stress ... --pp PP] [options] [FILE|-]
       kelvane-cli planes|figure --case FILE.kelvane [options]
       kelvane-cli --help | --version

Computes, for each stress tensor of a table (standard input when FILE is
missing or "-"), what Kelvane's window and its Mohr diagram show, and writes
one CSV row per tensor to standard output.

Input: the first line that is not a comment is the header, and it chooses the
delimiter as the window's import does: a tab if it holds one, else ";", else
",", else runs of blanks (spaces and tabs); commas by default.
  sx,sy,sz,txy,tyz,tzx  the tensor (x East, y North, z up), in any order
  id                    optional; without it a row's id is its data row number
  beta,psi,phi,c        optional, all four: a joint's dip direction, dip and
                        friction angle (degrees) and cohesion
  pp                    optional: the pore pressure (0 without it); effective
                        stresses are total less pp
Other columns are ignored. Lines starting with "#" and blank lines are
skipped; CRLF line ends and a leading byte-order mark are accepted; fields may
be quoted as in RFC 4180. Numbers as the window reads them with "." as the
decimal separator, whatever the delimiter. FILE must be a regular file (a
FIFO or a device is refused; standard input may be anything), and a line at
most 1 MiB long. An id holding a control character makes an error row.

Output columns: id, s1, s2, s3, s1_azimuth, s1_dip, s2_azimuth, s2_dip,
s3_azimuth, s3_dip, l1, m1, n1, l2, m2, n2, l3, m3, n3, [sigma, tau, tau_lim,]
mean, max_shear, von_mises, octahedral_shear, stress_ratio, sv, shmax, shmin,
shmax_azimuth, regime (NF, NS, SS, TS, TF or U), [slip_tendency,
dilation_tendency, factor_of_safety, sigma_eff, tau_lim_eff, slip_tendency_max,
slip_tendency_normalized, cff, delta_pc,] error; the bracketed ones with a
joint, the slip tendency, the factor of safety and the last six on effective
stress.
Numbers are the shortest text that reads back to the computed double; a
quantity without a value is an empty field, infinity is "inf". A row that
cannot be computed keeps what was computed before the fault and names the
fault in its error column.

kelvane-cli planes assesses each plane of a table under one stress state,
as the window's Planes table does, and writes one CSV row per plane.

Input: read as for tensors (the header's line chooses the delimiter).
  dip_direction,dip     the plane (degrees, clockwise from North); or
  strike,dip            strike by the right-hand rule (dip direction =
                        strike + 90); names as dipdir, dd, azimuth also work
  id                    optional; without it a row's id is its data row number
  phi or mu, c          optional: the plane's own friction angle (degrees) or
                        coefficient, and cohesion; planes without them take
                        --phi/--mu and --cohesion
Directions are taken modulo 360 into [0, 360) (-720 is 0); a dip outside 0
to 90, a friction angle outside 0 to 90, a negative mu, a field that is no
number (one sign at most: "+-5" is none) or an id holding a control character
makes an error row.

Output columns: id, dip_direction, dip, phi, c (those used), sigma, tau,
sigma_eff, tau_lim, slip_tendency, slip_tendency_normalized,
dilation_tendency, factor_of_safety, cff, delta_pc, rake, slip_trend,
slip_plunge, state (slips, stable or opens), error. sigma and tau are total
stresses; the others from sigma_eff on are on effective stress (less pp).
rake is Aki-Richards (0 left-lateral, 90 reverse, -90 normal, 180
right-lateral), empty where tau is 0; slip_trend and slip_plunge give the
hanging wall's motion, plunge negative upward. Without a friction angle
tau_lim, factor_of_safety, cff, delta_pc and state are empty.

With --profile FILE or --gradients, a file whose planes have a depth column
(true vertical depth; also named tvd) has each plane assessed under the
stresses and Pp of its own depth: Sv, SHmax, Shmin and Pp (vertical and
horizontal principal stresses, SHmax at its azimuth clockwise from North), as
the "depth and gradients" builder makes the state, with the same functions as
under one state. --profile reads a table of depth,sv,shmax,shmin,pp,
shmax_azimuth (MPa and metres, depths increasing; interpolated linearly, the
azimuth along the shorter turn of the axis; never extrapolated); --gradients
gives them as MPa/km from the surface (azimuth in degrees, 0 when left out).
The columns depth, sv, shmax, shmin and pp, the local values, come before
error; a plane outside the profile is an error row; a plane without a depth
is assessed under --stress and --pp when given, else an error row.

With --realizations, --seed or --uncertainty, each plane is also assessed in
N realizations (default 10000) of uncertain inputs, and the columns p_slip
(the share of realizations at or past the Coulomb line, delta_pc <= 0),
delta_pc_p10, delta_pc_p50 and delta_pc_p90 (percentiles of the pore-pressure
increase to slip) and p_open (the share in which sigma_eff < 0) come before
error. The friction and cohesion follow truncated laws: a draw that gives mu
<= 0, phi outside 0 to 90 or c < 0 is drawn again. --uncertainty takes KEY=SPREAD items separated by commas: KEY one of s1,
s2, s3 (the principal stresses), azimuth (the state turned about the
vertical, degrees), frame (the principal frame turned about a random axis,
degrees), pp, phi (degrees) or mu (not both), c, dip_direction and dip (each
plane's own, degrees); SPREAD uniform:H (within +-H) or normal:SD. For example
  --uncertainty pp=uniform:500,mu=normal:0.05,azimuth=uniform:10
A run is the same, bit for bit, for a given --seed (default 1) whatever the
number of threads; realizations whose principal stresses come out of order
are kept (each magnitude stays on its axis).

kelvane-cli figure writes the window's equal-area net (--what net, the
default) or its Mohr diagram (--what mohr) as a figure for a paper: PNG at
--dpi (default 300) or SVG, by the suffix of -o, --width x --height
millimetres (default 120 x 130 for the net, 160 x 110 for the diagram), on a
white ground, with the legend. No display is needed. --map colours the net
over every plane orientation: slip (Ts/Ts,max), dilation (Td), pressure (the
pore-pressure increase to slip) or safety (the factor of safety), none by
default; friction and cohesion from --phi/--mu and --cohesion. --planes adds
the planes of a file (as the window's import reads them) as dots coloured by
Ts/Ts,max; each row that is no plane, and each value taken otherwise than
written, is listed on standard error with its line ("FILE: line 3: dip 95 is
outside 0 to 90"), and the figure is drawn without the rows skipped.
--density contours the density of those planes' poles on the net instead
(filled bands at multiples of --interval, by default a round one near an
eighth of the peak, light to dark, with a legend naming the method, its
units and the peak; the dots left out), by fabric's methods;
--stress is then optional (without it the net has no principal planes).
--what rose draws the rose diagram of the planes of --planes: their strikes
counted both ways (--rose strikes, the default) or their dip directions
(--rose dip-directions), in bins of --bin degrees (10 by default; a divisor
of 360), each petal as long as its count, or with --area-true its area in
proportion to it (its length the root), rings at round counts; no stress.

kelvane-cli polygon writes the stress polygon at one depth: the horizontal
stresses that faults of the best orientation and friction coefficient MU
(default 0.6) allow under frictional equilibrium, with f = (sqrt(MU^2 + 1) +
MU)^2. One CSV row: sv, pp, mu, f, shmin_min (the normal-faulting limit Pp +
(Sv - Pp)/f) and shmax_max (the reverse-faulting limit Pp + f (Sv - Pp)); with
--stress also the state's horizontal principal stresses shmin and shmax, its
field (NF, SS or RF, divided at Shmin = Sv and SHmax = Sv), inside (yes or no)
and excess: how far it lies beyond its field's limit, in the stress unit (0
inside). Sv not above Pp has no polygon (status 1).

kelvane-cli fabric writes the orientation statistics of the planes (taken as
their poles) or, with --lines, the lines of a CSV file, every one an axis (a
direction and its opposite are the same): one row for the whole file (set
"all"), then one per set.

Input: comma-separated, the first line that is not a comment the header.
  dip_direction,dip     planes, read as planes reads them (or strike,dip;
                        --notation as for planes); other columns ignored
  trend,plunge          with --lines: lines (degrees; trend also azimuth or
                        declination, plunge also inclination), the plunge
                        from -90 to 90 (a negative one points up: the same
                        axis as its opposite)
  set                   optional: each row's set, named by any text; the
                        sets in order of first appearance; a row with an
                        empty set field counts in "all" only
A row that is no plane or line is left out and listed on standard error as
"kelvane-cli: FILE:LINE: reason"; the others are still used (status 1).

Output columns: set, count (the rows), then
  mean_trend, mean_plunge     the Fisher mean of the axes, each first taken
                              into the hemisphere of the largest eigenvector
  mean_dip_direction, mean_dip
                              the plane whose pole is the mean (planes only)
  resultant_length, mean_resultant_length
                              R and R/N (N the count, or the sum of weights)
  kappa                       (N - 1)/(N - R), "inf" where R = N
  alpha                       the cone of confidence at --confidence about
                              the mean (degrees), empty where it would cover
                              the sphere
  eigenvalue1..3              of T = (1/N) sum x x^T, largest first, sum 1
  eigen1_trend .. eigen3_plunge
                              their axes
  woodcock_k, woodcock_c      ln(S1/S2)/ln(S2/S3) (above 1 a cluster, below
                              1 a girdle) and ln(S1/S3); empty where an
                              eigenvalue is 0 (below 1e-12), K also where
                              S2 = S3
  girdle_dip_direction, girdle_dip
                              the best-fit great circle, normal to the third
                              eigenvector (its pole, the pi-axis) (planes only)
  density_max, density_max_trend, density_max_plunge
                              the largest density on the lower hemisphere
                              and where it is: exponential-kamb and kamb in
                              standard deviations above a uniform sample's
                              expectation, schmidt in % of the axes per 1 %
                              of the hemisphere's area
A set of fewer than 2 axes gets its count and empty statistics. With
--scanline every axis is weighted by Terzaghi's 1/|cos a| (a between it and
the line, at most --cap), and every statistic is formed with the weights.
kelvane-cli invert finds the reduced stress tensor (the principal axes and the
stress ratio) that best explains the slips of a file of faults or focal
mechanisms (standard input when FILE is missing or "-"). The forward model is
the window's: a plane of upward normal n slips along -(S n - (n.S.n) n). The
linear method (Michael's) finds the deviatoric S whose shear traction on every
plane is minus its unit slip, by least squares; the iterative one, for
mechanisms, keeps the nodal plane of larger instability
I = (tau - mu (sigma - 1)) / (mu + sqrt(1 + mu^2)) (s1 = 1, s3 = -1) and
inverts again until no choice changes; --friction auto tries mu = 0.20 to 1.00
by 0.05 and keeps the one of largest mean instability.

Input: columns recognized by their header names, in the first line or in a
comment line ("# strike dip rake"); comma, semicolon, tab or blank separated;
a first column without a name is the id. One of:
  strike,dip,rake        strike by the right-hand rule; Aki-Richards rake of
                         the hanging wall's slip, -180 to 180 or 0 to 360
  dip_direction,dip,rake
  dip_direction (or strike),dip,trend,plunge,sense
                         the striae, projected onto the plane (at most 10
                         degrees off it); sense N, R (or I), D or S
  strike,dip,rake as quadrant texts: 045, 61S, 80E (a pitch from the end of
                         the strike line) with a sense column or --sense
Without a header the columns are strike, dip, rake. A row that is no datum is
named on standard error ("kelvane-cli: FILE:LINE: reason") and left out.

Output: a header and one CSV row: method, friction (the mu used), faults (the
data used), stress_ratio (Phi = (s2 - s3)/(s1 - s3); the shape ratio R is
1 - Phi), s1_azimuth, s1_dip, s2_azimuth, s2_dip, s3_azimuth, s3_dip (each
axis pointing downward, azimuth clockwise from North in [0, 360)),
misfit_mean, misfit_median (degrees between observed and predicted slips),
instability_mean; with --bootstrap N the percentile interval of Phi,
stress_ratio_low and stress_ratio_high, and per axis the cone holding the
confidence share of the replicates' axes, s1_cone, s2_cone, s3_cone
(degrees); with --magnitudes the full tensor sx, sy, sz, txy, tyz, tzx
(s2 = s3 + Phi (s1 - s3)), as --stress takes it. --per-fault FILE writes,
atomically, one row per datum read: id (the line without an id column),
dip_direction, dip, rake (of the plane taken as the fault), misfit,
instability, plane (1, or 2 for the auxiliary plane of a mechanism).
The bootstrap is the same, bit for bit, for a given --seed whatever the
number of threads.

Options:
  --stress SX,SY,SZ,TXY,TYZ,TZX
                    the stress tensor (x East, y North, z up), for planes
  --pp PP           the pore pressure (default 0)
  --phi DEG         the friction angle of planes without their own
  --mu M            the same as a coefficient, phi = atan(M); polygon: the
                    friction coefficient (default 0.6)
  --sv SV           polygon: the vertical stress at the depth
  --cohesion C      the cohesion of planes without their own (default 0)
  --notation dipdir|strike
                    read the direction column as a dip direction or a strike
                    (default: as its name says)
  --realizations N  planes: Monte Carlo realizations (1 to 1000000)
  --seed S          planes: the seed of the realizations; invert: of the
                    bootstrap; fabric: of the k-means sets' first centres
                    (default 1)
  --uncertainty KEY=SPREAD,...
                    planes: the inputs' uncertainties (see above)
  --profile FILE    planes: the stress profile that planes with a depth take
  --gradients sv=G,shmax=G,shmin=G,pp=G,azimuth=DEG
                    planes: the same from gradients (MPa/km, metres)
  --case FILE.kelvane
                    planes, figure: a study saved by the window, in place of
                    --stress, --pp, --phi/--mu, --cohesion and the planes
                    (and the uncertainty, unless given); a regular file of at
                    most 2 GiB
  --data faults|mechanisms
                    invert: each plane is the fault (default), or either
                    nodal plane of a focal mechanism may be
  --method linear|iterative
                    invert: one least-squares step, or the nodal planes
                    chosen by instability (default iterative)
  --friction MU|auto
                    invert: the friction of the instability (default auto)
  --bootstrap N     invert: replicates resampling the data (0 to 1000000;
                    default 0, none)
  --confidence P    invert: the bootstrap's confidence; fabric: alpha's;
                    in percent (default 95), above 1 and below 100 (a
                    fraction such as 0.95 is refused rather than guessed)
  --magnitudes S1,S3
                    invert: s1 and s3 of the full tensor written (S1 >= S3)
  --sense normal|reverse|dextral|sinistral
                    invert: the sense of rows that need one and have none
  --per-fault FILE  invert: the fit of each datum, written atomically
  --lines           fabric: the file holds lines (trend, plunge)
  --density METHOD  fabric, figure: exponential-kamb (fabric's default; kernel
                    exp(f (|cos| - 1)), f = 2 (1 + N/K^2)), kamb (counts in
                    the cap whose uniform expectation is K sigma) or schmidt
                    (counts in the 1 % cap |cos| >= 0.99), or none (the
                    density columns empty)
  --k K             fabric, figure: the Kamb methods' K (default 3; not used by
                    schmidt), above 0, at most 100
  --sets K          fabric: K sets (1 to 100) by k-means on the sphere with
                    the axial distance, numbered 1 to K by decreasing size,
                    in place of a set column
  --scanline TREND,PLUNGE
                    fabric: weight every axis for a sampling line's bias
  --cap W           fabric: the largest such weight (1 or more, default 10)
  --planes FILE     figure: the planes drawn as dots (a regular file of at
                    most 2 GiB)
  --map QUANTITY    figure: the tendency map (slip, dilation, pressure,
                    safety or none)
  --what net|mohr|rose
                    figure: which figure
  --width MM, --height MM, --dpi N
                    figure: its size (1 to 2000 mm) and PNG resolution
                    (30 to 2400)
  -o FILE, --output FILE
                    figure: the file to write (.svg or .png), replaced
                    atomically
  --azimuth north   azimuths clockwise from North (the default)
  --azimuth east    azimuths counter-clockwise from East
  --threads N       compute on N threads (default: one per processor); the
                    numbers are the same on any number
  --help            show this help and exit
  --version         show the version and exit

Exit status: 0 every row computed (figure: written, every row of --planes
a plane; invert: the inversion made, rows left out or not), 1 some row not
computed (figure: written without the rows of --planes that are no plane;
invert: fewer than 4 usable faults, or data that determine no stress, as
when all planes are parallel; fabric: some row left out, or fewer than 2
usable axes, or fewer than K for --sets K: then only the header is
written), 2 a usage or file error (unknown option, unreadable file, a FIFO,
a device or a folder, a case or plane file over 2 GiB, a line over 1 MiB,
no header or a header without one of the required columns, a column named
twice, a stress that is no number; figure: a stress state without principal
axes, a figure that could not be written; invert: columns of no notation, a
per-fault file that could not be written).
)";
}

}  // namespace cli
