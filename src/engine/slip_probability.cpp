#include "engine/slip_probability.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "numeric/counter_random.h"

namespace engine {
namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = 3.14159265358979323846;
constexpr double kRadian = kPi / 180.0;

constexpr const char* kNames[kUncertainCount] = {"s1",  "s2", "s3", "azimuth",       "frame", "pp",
                                                 "phi", "mu", "c",  "dip_direction", "dip"};

/// The stream of the realization-wide draws (a plane's own streams are its
/// index in the set).
constexpr std::uint64_t kStateStream = ~std::uint64_t{0};
/// Draw numbers of the frame's random axis in the state stream.
constexpr int kAxisDraw = 2 * kUncertainCount;
/// Draw numbers of a plane's own friction and cohesion drawn again (their
/// streams are the plane's, after its dip direction and dip).
constexpr int kRedrawDraw = 2 * kUncertainCount;

/// Draw `k` of stream `stream` of realization `r` under `seed`: uniform in (0, 1).
double Uniform(std::uint64_t seed, std::uint64_t r, std::uint64_t stream, int k) {
  using numeric::Mix;
  return numeric::OpenUnit(Mix(seed ^ Mix(r ^ Mix(stream * 64 + static_cast<std::uint64_t>(k)))));
}

/// An error drawn from `spread` with the uniforms u1 and u2 (Box-Muller for
/// the normal).
double Sample(const Spread& spread, double u1, double u2) {
  switch (spread.shape) {
    case Spread::Shape::kUniform:
      return (2.0 * u1 - 1.0) * spread.width;
    case Spread::Shape::kNormal:
      return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2) * spread.width;
    case Spread::Shape::kNone:
      break;
  }
  return 0.0;
}

/// How many times a friction or cohesion draw outside its range is drawn
/// again before the realization is left without a value (the acceptance of a
/// sensible law is far above 1/2, so this is never reached in practice).
constexpr int kMostRedraws = 64;

/// The shift of `base` drawn from `spread` with `first` (the first draw,
/// already made), drawn again from stream `stream` of realization `r` while
/// base + shift lies outside the range `inside` accepts; NaN when no draw
/// does. Without a spread the shift stays 0 whatever the base.
template <typename Inside>
double Truncated(const Spread& spread, double base, double first, std::uint64_t seed,
                 std::uint64_t r, std::uint64_t stream, int k, const Inside& inside) {
  if (spread.shape == Spread::Shape::kNone || std::isnan(base) || inside(base + first))
    return first;
  for (int attempt = 1; attempt <= kMostRedraws; ++attempt) {
    // Each attempt a stream of its own, far from the planes' indices.
    const std::uint64_t redraw =
        numeric::Mix(stream ^ numeric::Mix(0x7EDA0000ULL + static_cast<std::uint64_t>(attempt)));
    const double shift =
        Sample(spread, Uniform(seed, r, redraw, k), Uniform(seed, r, redraw, k + 1));
    if (inside(base + shift))
      return shift;
  }
  return kNone;
}

bool FrictionAngleInside(double phi) {
  return phi > 0.0 && phi < 90.0;
}
bool CoefficientInside(double mu) {
  return mu > 0.0;
}
bool CohesionInside(double c) {
  return c >= 0.0;
}

double Dot(const stress::Vector3& a, const stress::Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

/// `v` turned by `angle` (radians) about the unit axis `u` (Rodrigues).
stress::Vector3 Turned(const stress::Vector3& v, const stress::Vector3& u, double angle) {
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  const double d = Dot(u, v) * (1.0 - c);
  return {v.x * c + (u.y * v.z - u.z * v.y) * s + u.x * d,
          v.y * c + (u.z * v.x - u.x * v.z) * s + u.y * d,
          v.z * c + (u.x * v.y - u.y * v.x) * s + u.z * d};
}

/// The values at fractions p of the values [begin, end), each interpolated
/// linearly between order statistics (numpy's default). The order statistics
/// are found through a histogram: one pass counts the values into bins, and
/// only the bins that hold a wanted rank are gathered and sorted, which costs
/// far less than partitioning the whole range three times.
std::array<double, 3> Percentiles(const double* begin, const double* end,
                                  const std::array<double, 3>& p) {
  const std::size_t count = static_cast<std::size_t>(end - begin);
  if (count == 0)
    return {kNone, kNone, kNone};
  const auto [least, most] = std::minmax_element(begin, end);
  const double low = *least;
  const double high = *most;
  if (!(high > low))
    return {low, low, low};
  constexpr std::size_t kBins = 2048;
  const double scale = static_cast<double>(kBins) / (high - low);
  const auto binOf = [&](double v) {
    return std::min(kBins - 1, static_cast<std::size_t>((v - low) * scale));
  };
  std::array<std::uint32_t, kBins + 1> below{};  // below[b]: values in bins before b
  for (const double* v = begin; v != end; ++v)
    ++below[binOf(*v) + 1];
  for (std::size_t b = 1; b <= kBins; ++b)
    below[b] += below[b - 1];
  // The value of rank r (0 the least): its bin's values, sorted.
  std::size_t cachedBin = kBins;
  std::vector<double> bin;
  const auto ranked = [&](std::size_t r) {
    const std::size_t b = static_cast<std::size_t>(
        std::upper_bound(below.begin(), below.end(), static_cast<std::uint32_t>(r)) -
        below.begin() - 1);
    if (b != cachedBin) {
      bin.clear();
      for (const double* v = begin; v != end; ++v)
        if (binOf(*v) == b)
          bin.push_back(*v);
      std::sort(bin.begin(), bin.end());
      cachedBin = b;
    }
    return bin[r - below[b]];
  };
  std::array<double, 3> out{};
  for (int k = 0; k < 3; ++k) {
    const double position = p[k] * static_cast<double>(count - 1);
    const auto r = static_cast<std::size_t>(std::floor(position));
    const double a = ranked(r);
    out[k] = r + 1 < count ? a + (position - static_cast<double>(r)) * (ranked(r + 1) - a) : a;
  }
  return out;
}

}  // namespace

const char* UncertainName(Uncertain input) {
  return kNames[static_cast<int>(input)];
}

bool ReadUncertainties(const std::string& text, UncertaintySettings& settings, std::string& error) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    start = comma + 1;
    const std::size_t equals = item.find('=');
    const std::string key = item.substr(0, equals);
    const auto* name = std::find_if(std::begin(kNames), std::end(kNames),
                                    [&key](const char* n) { return key == n; });
    if (equals == std::string::npos || name == std::end(kNames)) {
      error = "unknown uncertainty '" + item +
              "'; the keys are s1, s2, s3, azimuth, frame, pp, "
              "phi, mu, c, dip_direction and dip";
      return false;
    }
    const std::string given = item.substr(equals + 1);
    const std::size_t colon = given.find(':');
    const std::string shape = given.substr(0, colon);
    Spread spread;
    if (shape == "uniform")
      spread.shape = Spread::Shape::kUniform;
    else if (shape == "normal")
      spread.shape = Spread::Shape::kNormal;
    char* end = nullptr;
    const std::string width = colon == std::string::npos ? "" : given.substr(colon + 1);
    spread.width = std::strtod(width.c_str(), &end);
    if (spread.shape == Spread::Shape::kNone || width.empty() || *end != '\0' ||
        !std::isfinite(spread.width) || spread.width < 0.0) {
      error = "uncertainty '" + item + "' needs uniform:H or normal:SD with a number of 0 or more";
      return false;
    }
    settings.spreads[name - std::begin(kNames)] = spread;
    if (start > text.size())
      break;
  }
  if (settings[Uncertain::kPhi].shape != Spread::Shape::kNone &&
      settings[Uncertain::kMu].shape != Spread::Shape::kNone) {
    error = "give an uncertainty of phi or of mu, not both";
    return false;
  }
  return true;
}

bool SameSettings(const UncertaintySettings& a, const UncertaintySettings& b) {
  if (a.realizations != b.realizations || a.seed != b.seed)
    return false;
  for (int k = 0; k < kUncertainCount; ++k)
    if (a.spreads[k].shape != b.spreads[k].shape ||
        std::memcmp(&a.spreads[k].width, &b.spreads[k].width, sizeof(double)) != 0)
      return false;
  return true;
}

SlipSampler::SlipSampler(const PassResults& results, const PlaneDefaults& defaults,
                         const UncertaintySettings& settings,
                         const std::function<bool()>& keepGoing)
    : defaults_(defaults), settings_(settings) {
  if (settings.realizations < 1 || settings.realizations > kMostRealizations)
    throw std::invalid_argument("The number of realizations must be from 1 to 1,000,000.");
  const auto& s = settings.spreads;
  const std::uint64_t seed = settings.seed;
  const auto count = static_cast<std::size_t>(settings.realizations);
  draws_.reserve(count);
  for (std::size_t r = 0; r < count; ++r) {
    if (r % 4096 == 0 && keepGoing && !keepGoing())
      break;
    const auto error = [&](Uncertain input) {
      const int k = 2 * static_cast<int>(input);
      return Sample(s[static_cast<int>(input)], Uniform(seed, r, kStateStream, k),
                    Uniform(seed, r, kStateStream, k + 1));
    };
    Draw& d = draws_.emplace_back();
    for (int k = 0; k < 3; ++k) {
      d.axes[k] = results.directions[k]->axis;
      d.values[k] = (*results.values)[k] + error(static_cast<Uncertain>(k));
    }
    if (!(d.values[0] >= d.values[1] && d.values[1] >= d.values[2]))
      ++resorted_;
    if (s[static_cast<int>(Uncertain::kAzimuth)].shape != Spread::Shape::kNone) {
      // Clockwise seen from above: a turn about +z by minus the angle.
      const double angle = -error(Uncertain::kAzimuth) * kRadian;
      for (stress::Vector3& axis : d.axes)
        axis = Turned(axis, {0.0, 0.0, 1.0}, angle);
    }
    if (s[static_cast<int>(Uncertain::kFrame)].shape != Spread::Shape::kNone) {
      // An axis uniform on the sphere.
      const double z = 2.0 * Uniform(seed, r, kStateStream, kAxisDraw) - 1.0;
      const double longitude = 2.0 * kPi * Uniform(seed, r, kStateStream, kAxisDraw + 1);
      const double across = std::sqrt(std::max(0.0, 1.0 - z * z));
      const stress::Vector3 u{across * std::cos(longitude), across * std::sin(longitude), z};
      const double angle = error(Uncertain::kFrame) * kRadian;
      for (stress::Vector3& axis : d.axes)
        axis = Turned(axis, u, angle);
    }
    d.porePressure = results.porePressure + error(Uncertain::kPorePressure);
    d.phiShift = error(Uncertain::kPhi);
    d.muShift = error(Uncertain::kMu);
    d.cohesionShift = error(Uncertain::kCohesion);
    // The defaults' values follow truncated laws, drawn again in this stream.
    const auto redrawn = [&](Uncertain input, double base, double first, const auto& inside) {
      return Truncated(s[static_cast<int>(input)], base, first, seed, r, kStateStream,
                       2 * static_cast<int>(input), inside);
    };
    const double phiShift =
        redrawn(Uncertain::kPhi, defaults.phi.value_or(kNone), d.phiShift, FrictionAngleInside);
    const double phi = defaults.phi.value_or(kNone) + phiShift;
    const double tanBase = std::fabs(phi) < 90.0 ? std::tan(phi * kRadian) : kNone;
    d.tanPhi = tanBase + redrawn(Uncertain::kMu, tanBase, d.muShift, CoefficientInside);
    d.cohesion = defaults.cohesion.value_or(kNone) + redrawn(Uncertain::kCohesion,
                                                             defaults.cohesion.value_or(kNone),
                                                             d.cohesionShift, CohesionInside);
  }
}

template <typename Each>
void SlipSampler::EachRealization(const Plane& plane, std::size_t index, const Each& each) const {
  const bool ownPhi = plane.HasOwnPhi();
  const bool ownCohesion = plane.HasOwnCohesion();
  const bool phiVaries = settings_[Uncertain::kPhi].shape != Spread::Shape::kNone;
  const bool turns = settings_[Uncertain::kDipDirection].shape != Spread::Shape::kNone ||
                     settings_[Uncertain::kDip].shape != Spread::Shape::kNone;
  const double ownTan =
      ownPhi && std::fabs(plane.phi) < 90.0 ? std::tan(plane.phi * kRadian) : kNone;
  const auto normalOf = [](double dipDirection, double dip) {
    const double sd = std::sin(dip * kRadian);
    return stress::Vector3{sd * std::sin(dipDirection * kRadian),
                           sd * std::cos(dipDirection * kRadian), std::cos(dip * kRadian)};
  };
  const stress::Vector3 fixed = normalOf(plane.dipDirection, plane.dip);
  const std::uint64_t seed = settings_.seed;
  for (std::size_t r = 0; r < draws_.size(); ++r) {
    const Draw& d = draws_[r];
    stress::Vector3 n = fixed;
    if (turns) {
      const auto own = [&](Uncertain input, int k) {
        return Sample(settings_[input], Uniform(seed, r, index, k), Uniform(seed, r, index, k + 1));
      };
      n = normalOf(plane.dipDirection + own(Uncertain::kDipDirection, 0),
                   plane.dip + own(Uncertain::kDip, 2));
    }
    const double l1 = Dot(n, d.axes[0]);
    const double l2 = Dot(n, d.axes[1]);
    const double l3 = Dot(n, d.axes[2]);
    const double w1 = l1 * l1;
    const double w2 = l2 * l2;
    const double w3 = l3 * l3;
    const double s1 = d.values[0];
    const double s2 = d.values[1];
    const double s3 = d.values[2];
    const double sigma = s1 * w1 + s2 * w2 + s3 * w3;
    // Every term positive: no cancellation near the principal planes.
    const double tau = std::sqrt(w1 * w2 * (s1 - s2) * (s1 - s2) + w2 * w3 * (s2 - s3) * (s2 - s3) +
                                 w1 * w3 * (s1 - s3) * (s1 - s3));
    // A plane's own friction and cohesion follow the truncated laws in the
    // plane's stream.
    const auto redrawn = [&](Uncertain input, double base, double first, const auto& inside) {
      return Truncated(settings_[input], base, first, seed, r, index,
                       kRedrawDraw + 2 * static_cast<int>(input), inside);
    };
    double tanPhi = d.tanPhi;
    if (ownPhi) {
      double base = ownTan;
      if (phiVaries) {
        const double phi =
            plane.phi + redrawn(Uncertain::kPhi, plane.phi, d.phiShift, FrictionAngleInside);
        base = std::fabs(phi) < 90.0 ? std::tan(phi * kRadian) : kNone;
      }
      tanPhi = base + redrawn(Uncertain::kMu, base, d.muShift, CoefficientInside);
    }
    const double cohesion = ownCohesion
                                ? plane.cohesion + redrawn(Uncertain::kCohesion, plane.cohesion,
                                                           d.cohesionShift, CohesionInside)
                                : d.cohesion;
    const double sigmaEff = sigma - d.porePressure;
    const double deltaPc = tanPhi != 0.0 ? sigmaEff - (tau - cohesion) / tanPhi : kNone;
    // At or past the Coulomb line (with mu 0 the line is tau = c); no value
    // without a friction or a cohesion.
    const int slips = std::isnan(tanPhi) || std::isnan(cohesion)
                          ? -1
                          : ((tanPhi != 0.0 ? deltaPc <= 0.0 : tau - cohesion >= 0.0) ? 1 : 0);
    each(slips, deltaPc, sigmaEff);
  }
}

void SlipSampler::PressuresToSlip(const Plane& plane, std::size_t index,
                                  std::vector<double>& out) const {
  out.clear();
  out.reserve(draws_.size());
  EachRealization(plane, index, [&out](int, double deltaPc, double) { out.push_back(deltaPc); });
}

SlipOdds SlipSampler::Odds(const Plane& plane, std::size_t index,
                           std::vector<double>& scratch) const {
  scratch.resize(draws_.size());
  std::size_t slips = 0;
  std::size_t assessed = 0;  // realizations with a friction
  std::size_t opens = 0;
  std::size_t valued = 0;  // with a dPc, gathered at the front of scratch
  EachRealization(plane, index, [&](int slip, double deltaPc, double sigmaEff) {
    opens += sigmaEff < 0.0 ? 1 : 0;
    if (slip >= 0) {
      ++assessed;
      slips += static_cast<std::size_t>(slip);
    }
    if (!std::isnan(deltaPc))
      scratch[valued++] = deltaPc;
  });
  const std::array<double, 3> q =
      Percentiles(scratch.data(), scratch.data() + valued, {0.1, 0.5, 0.9});
  const double realizations = static_cast<double>(draws_.size());
  return {assessed > 0 ? static_cast<double>(slips) / static_cast<double>(assessed) : kNone, q[0],
          q[1], q[2], draws_.empty() ? kNone : static_cast<double>(opens) / realizations};
}

void AssessSlipOdds(const SlipSampler& sampler, const PlaneSet& planes, std::size_t first,
                    std::size_t last, SlipOdds* out, const std::function<bool()>& keepGoing) {
  std::vector<double> scratch;
  for (std::size_t i = first; i < last; ++i) {
    if (keepGoing && !keepGoing())
      return;
    out[i] = sampler.Odds(planes.planes[i], i, scratch);
  }
}

}  // namespace engine
