#include "cli/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <utility>

#include "cli/case_input.h"
#include "cli/number_field.h"
#include "cli/usage.h"
#include "tables/csv.h"

namespace cli {
namespace {

/// `text` as a number, as the window reads one; empty for anything else.
std::optional<double> NumberOption(std::string_view text) {
  return ReadNumberField(text).value;
}

bool Named(const std::vector<std::string_view>& given, std::string_view option) {
  return std::find(given.begin(), given.end(), option) != given.end();
}

/// fabric's options on fabric only, and fabric with no other command's; the
/// cap into the scanline, the seed out of the slip odds' settings.
std::optional<int> CheckFabricOptions(const std::vector<std::string_view>& given,
                                      const std::optional<double>& cap, Options& options) {
  constexpr std::string_view kFabricOnly[] = {"--lines", "--density",  "--k",  "--confidence",
                                              "--sets",  "--scanline", "--cap"};
  constexpr std::string_view kFabricToo[] = {"--notation", "--threads", "--seed", "--help",
                                             "--version"};
  if (options.command != "fabric") {
    // figure contours the density of its planes by the same method.
    const bool figure = options.command == "figure";
    const bool invert = options.command == "invert";
    for (const std::string_view option : kFabricOnly) {
      const bool contours = option == "--density" || option == "--k";
      const bool cone = option == "--confidence";
      if (Named(given, option) && !(figure && contours) && !(invert && cone))
        return Fail(std::string(option) + (contours ? " is for fabric and figure"
                                           : cone   ? " is for fabric and invert"
                                                    : " is for fabric"));
    }
    if (figure && Named(given, "--density")) {
      if (!options.fabric.density)
        return Fail("figure --density takes exponential-kamb, kamb or schmidt");
      options.figure.density = options.fabric.density;
      options.figure.k = options.fabric.k;
    } else if (figure && Named(given, "--k")) {
      return Fail("--k goes with --density");
    }
    return std::nullopt;
  }
  for (const std::string_view option : given)
    if (std::find(std::begin(kFabricOnly), std::end(kFabricOnly), option) ==
            std::end(kFabricOnly) &&
        std::find(std::begin(kFabricToo), std::end(kFabricToo), option) == std::end(kFabricToo))
      return Fail("fabric takes no " + std::string(option));
  FabricOptions& fabric = options.fabric;
  if (fabric.lines && options.strike.has_value())
    return Fail("--notation is for planes, not --lines");
  if (Named(given, "--seed") && !fabric.sets)
    return Fail("--seed goes with --sets");
  if (cap.has_value() && !fabric.scanline)
    return Fail("--cap goes with --scanline");
  if (cap.has_value())
    fabric.scanline->cap = *cap;
  options.uncertainty.reset();  // --seed's slip odds: none here
  return std::nullopt;
}

/// Reads "sv=G,shmax=G,shmin=G,pp=G,azimuth=DEG" (gradients in MPa/km with
/// depths in metres; the azimuth 0 when left out) into a gradient profile.
std::optional<analysis::GradientProfile> ReadGradients(std::string_view text, std::string& error) {
  constexpr const char* kKeys[] = {"sv", "shmax", "shmin", "pp", "azimuth"};
  std::optional<double> values[5];
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view item = text.substr(start, comma - start);
    start = comma + 1;
    const std::size_t equals = item.find('=');
    const std::string_view key = item.substr(0, std::min(equals, item.size()));
    const auto* found = std::find(std::begin(kKeys), std::end(kKeys), key);
    const std::optional<double> number =
        equals == std::string_view::npos ? std::nullopt : NumberOption(item.substr(equals + 1));
    if (found == std::end(kKeys) || !number) {
      error = "--gradients item '" + std::string(item) +
              "' is not KEY=NUMBER with KEY sv, shmax, shmin, pp or azimuth";
      return std::nullopt;
    }
    values[found - std::begin(kKeys)] = number;
    if (comma == text.size())
      break;
  }
  for (int k = 0; k < 4; ++k)
    if (!values[k]) {
      error = std::string("--gradients needs ") + kKeys[k] + "=G (MPa/km)";
      return std::nullopt;
    }
  analysis::GradientProfile profile;
  profile.gradients.units = analysis::UnitSystem::kMegapascalMetre;
  profile.gradients.verticalGradient = *values[0];
  profile.gradients.shMaxGradient = *values[1];
  profile.gradients.shMinGradient = *values[2];
  profile.gradients.porePressureGradient = *values[3];
  profile.gradients.shMaxAzimuth = values[4].value_or(0.0);
  return profile;
}

}  // namespace

int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return 2;
}

std::optional<int> ParseOptions(const std::vector<std::string_view>& args, Options& options) {
  if (args.empty())
    return Fail("no command given; try 'kelvane-cli --help'");
  bool& fileGiven = options.fileGiven;
  bool frictionGiven = false;
  std::vector<std::string_view> given;  // the options named, without values
  std::optional<double> capGiven;
  std::string invertOnly;  // the last option that only invert takes
  bool oddsGiven = false;  // --realizations or --uncertainty
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&](std::string_view option) -> std::optional<std::string_view> {
      if (arg.size() > option.size() && arg.substr(0, option.size()) == option &&
          arg[option.size()] == '=')
        return arg.substr(option.size() + 1);
      if (arg == option && i + 1 < args.size())
        return args[++i];
      return std::nullopt;
    };
    // `--name VALUE` or `--name=VALUE` as a number.
    const auto number = [&](std::string_view option) -> std::optional<double> {
      const auto text = value(option);
      return text.has_value() ? NumberOption(*text) : std::nullopt;
    };
    // `--name VALUE` or `--name=VALUE` as a whole number from `low` to `high`.
    const auto whole = [&](std::string_view option, long long low,
                           long long high) -> std::optional<long long> {
      const auto text = value(option);
      long long n = 0;
      if (!text.has_value() ||
          std::from_chars(text->data(), text->data() + text->size(), n).ptr !=
              text->data() + text->size() ||
          n < low || n > high)
        return std::nullopt;
      return n;
    };
    const auto named = [&](std::string_view option) {
      return arg == option ||
             (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=');
    };
    if (arg.starts_with("--") || arg == "-o")
      given.push_back(arg.substr(0, arg.find('=')));
    if (arg == "--help" || arg == "-h") {
      std::fputs(Usage(), stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", kProgram, KELVANE_VERSION);
      return 0;
    }
    if (named("--azimuth")) {
      const auto azimuth = value("--azimuth");
      if (azimuth == "north")
        options.azimuth = stress::Azimuth::kClockwiseFromNorth;
      else if (azimuth == "east")
        options.azimuth = stress::Azimuth::kCounterClockwiseFromEast;
      else
        return Fail("--azimuth takes north or east");
    } else if (named("--threads")) {
      const auto n = whole("--threads", 1, 256);
      if (!n.has_value())
        return Fail("--threads takes a number from 1 to 256");
      options.threads = static_cast<unsigned>(*n);
    } else if (named("--stress")) {
      const auto text = value("--stress");
      tables::CsvSplitter splitter;
      std::array<double, 6> components{};
      bool read = text.has_value() && splitter.Split(*text) && splitter.Fields().size() == 6;
      for (std::size_t k = 0; read && k < 6; ++k) {
        const auto component = NumberOption(splitter.Fields()[k]);
        read = component.has_value();
        components[k] = component.value_or(0.0);
      }
      if (!read)
        return Fail("--stress takes six numbers SX,SY,SZ,TXY,TYZ,TZX");
      options.stress = stress::StressState{components[0], components[1], components[2],
                                           components[3], components[4], components[5]};
    } else if (named("--pp")) {
      const auto pp = number("--pp");
      if (!pp.has_value())
        return Fail("--pp takes a number");
      options.porePressure = *pp;
      options.porePressureGiven = true;
    } else if (named("--sv")) {
      const auto sv = number("--sv");
      if (!sv.has_value())
        return Fail("--sv takes a number");
      options.sv = *sv;
    } else if (named("--phi") || named("--mu")) {
      const bool mu = named("--mu");
      const auto friction = number(mu ? "--mu" : "--phi");
      if (frictionGiven)
        return Fail("give --phi or --mu, once");
      if (mu && !(friction.has_value() && *friction >= 0.0))
        return Fail("--mu takes a number of 0 or more");
      if (!mu && !(friction.has_value() && *friction >= 0.0 && *friction <= 90.0))
        return Fail("--phi takes a number from 0 to 90");
      options.defaults.phi = mu ? std::atan(*friction) * 180.0 / M_PI : *friction;
      if (mu)
        options.mu = *friction;
      frictionGiven = true;
    } else if (named("--cohesion")) {
      const auto c = number("--cohesion");
      if (!c.has_value())
        return Fail("--cohesion takes a number");
      options.defaults.cohesion = *c;
    } else if (named("--notation")) {
      const auto notation = value("--notation");
      if (notation == "dipdir")
        options.strike = false;
      else if (notation == "strike")
        options.strike = true;
      else
        return Fail("--notation takes dipdir or strike");
    } else if (named("--realizations") || named("--seed")) {
      const bool seed = named("--seed");
      oddsGiven |= !seed;
      const auto text = value(seed ? "--seed" : "--realizations");
      unsigned long long n = 0;
      if (!text.has_value() ||
          std::from_chars(text->data(), text->data() + text->size(), n).ptr !=
              text->data() + text->size() ||
          (!seed && (n < 1 || n > 1000000)))
        return Fail(seed ? "--seed takes a whole number from 0 to 18446744073709551615"
                         : "--realizations takes a whole number from 1 to 1000000");
      auto& settings =
          options.uncertainty.emplace(options.uncertainty.value_or(engine::UncertaintySettings{}));
      if (seed) {
        settings.seed = n;
        options.seed = n;
      } else {
        settings.realizations = static_cast<int>(n);
      }
    } else if (named("--data") || named("--method")) {
      const bool data = named("--data");
      const auto text = value(data ? "--data" : "--method");
      invertOnly = data ? "--data" : "--method";
      if (data && (text == "faults" || text == "mechanisms"))
        options.inversion.data =
            text == "faults" ? analysis::FaultData::kFaults : analysis::FaultData::kMechanisms;
      else if (!data && (text == "linear" || text == "iterative"))
        options.inversion.method = text == "linear" ? analysis::InversionMethod::kLinear
                                                    : analysis::InversionMethod::kIterative;
      else
        return Fail(data ? "--data takes faults or mechanisms"
                         : "--method takes linear or iterative");
    } else if (named("--friction")) {
      const auto text = value("--friction");
      invertOnly = "--friction";
      const std::optional<double> mu =
          text.has_value() && *text != "auto" ? NumberOption(*text) : std::nullopt;
      if (!(text == "auto" || (mu.has_value() && *mu > 0.0 && std::isfinite(*mu))))
        return Fail("--friction takes a number above 0 or auto");
      options.inversion.friction = mu;
    } else if (named("--bootstrap")) {
      const auto n = whole("--bootstrap", 0, 1000000);
      invertOnly = "--bootstrap";
      if (!n.has_value())
        return Fail("--bootstrap takes a whole number from 0 to 1000000");
      options.bootstrap = static_cast<int>(*n);
    } else if (named("--confidence")) {
      // In percent, for invert and fabric; a value of 1 or less would be
      // read as a fraction by some and as a percentage by others, so it is
      // refused rather than guessed.
      const auto percent = number("--confidence");
      if (!(percent.has_value() && *percent > 1.0 && *percent < 100.0))
        return Fail("--confidence takes a percentage above 1 and below 100, such as 95");
      options.confidence = *percent / 100.0;
    } else if (named("--magnitudes")) {
      const auto text = value("--magnitudes");
      invertOnly = "--magnitudes";
      tables::CsvSplitter splitter;
      std::optional<double> s1, s3;
      if (text.has_value() && splitter.Split(*text) && splitter.Fields().size() == 2) {
        s1 = NumberOption(splitter.Fields()[0]);
        s3 = NumberOption(splitter.Fields()[1]);
      }
      if (!(s1.has_value() && s3.has_value() && *s1 >= *s3))
        return Fail("--magnitudes takes two numbers S1,S3 with S1 >= S3");
      options.magnitudes.emplace(*s1, *s3);
    } else if (named("--sense")) {
      const auto text = value("--sense");
      invertOnly = "--sense";
      options.sense = text.has_value() ? analysis::ReadSlipSense(*text) : std::nullopt;
      if (!options.sense.has_value())
        return Fail("--sense takes normal, reverse, dextral or sinistral");
    } else if (named("--per-fault")) {
      const auto file = value("--per-fault");
      invertOnly = "--per-fault";
      if (!file.has_value() || file->empty())
        return Fail("--per-fault takes a file");
      options.perFaultFile = std::string(*file);
    } else if (named("--uncertainty")) {
      const auto text = value("--uncertainty");
      oddsGiven = true;
      auto& settings =
          options.uncertainty.emplace(options.uncertainty.value_or(engine::UncertaintySettings{}));
      std::string error;
      if (!text.has_value() || !engine::ReadUncertainties(std::string(*text), settings, error))
        return Fail(text.has_value() ? error : "--uncertainty takes KEY=SPREAD,...");
    } else if (named("--profile")) {
      const auto file = value("--profile");
      if (!file.has_value() || file->empty())
        return Fail("--profile takes a profile file (depth,sv,shmax,shmin,pp,shmax_azimuth)");
      options.profilePath = std::string(*file);
    } else if (named("--gradients")) {
      const auto text = value("--gradients");
      std::string error;
      std::optional<analysis::GradientProfile> gradients =
          text.has_value() ? ReadGradients(*text, error) : std::nullopt;
      if (!gradients)
        return Fail(text.has_value() ? error
                                     : "--gradients takes sv=G,shmax=G,shmin=G,pp=G,azimuth=DEG");
      options.gradients = std::move(gradients);
    } else if (named("--case")) {
      const auto file = value("--case");
      if (!file.has_value() || file->empty())
        return Fail("--case takes a .kelvane file");
      options.casePath = std::string(*file);
    } else if (named("--map")) {
      const auto map = value("--map");
      using engine::MapQuantity;
      const std::pair<std::string_view, MapQuantity> maps[] = {
          {"slip", MapQuantity::kSlipTendency},
          {"dilation", MapQuantity::kDilationTendency},
          {"pressure", MapQuantity::kPorePressureToSlip},
          {"safety", MapQuantity::kFactorOfSafety},
          {"none", MapQuantity::kNone}};
      const auto* found = std::find_if(std::begin(maps), std::end(maps),
                                       [&](const auto& m) { return map == m.first; });
      if (found == std::end(maps))
        return Fail("--map takes slip, dilation, pressure, safety or none");
      options.figure.map = found->second;
    } else if (named("--what")) {
      const auto what = value("--what");
      if (what == "net")
        options.figure.kind = figures::FigureKind::kNet;
      else if (what == "mohr")
        options.figure.kind = figures::FigureKind::kMohr;
      else if (what == "rose")
        options.figure.kind = figures::FigureKind::kRose;
      else
        return Fail("--what takes net, mohr or rose");
    } else if (named("--rose")) {
      const auto of = value("--rose");
      if (of == "strikes")
        options.figure.roseOfStrikes = true;
      else if (of == "dip-directions")
        options.figure.roseOfStrikes = false;
      else
        return Fail("--rose takes strikes or dip-directions");
    } else if (named("--bin")) {
      const auto width = number("--bin");
      const double bins = width.has_value() && *width > 0.0 ? 360.0 / *width : 0.0;
      if (!(bins >= 1.0 && bins <= 360.0) || std::fabs(bins - std::round(bins)) > 1e-9)
        return Fail("--bin takes degrees that divide 360, from 1 to 360");
      options.figure.binWidth = *width;
    } else if (named("--interval")) {
      const auto interval = number("--interval");
      if (!interval.has_value() || !(*interval > 0.0 && *interval <= 1e6))
        return Fail("--interval takes a number above 0");
      options.figure.interval = *interval;
    } else if (arg == "--area-true") {
      options.figure.areaTrue = true;
    } else if (named("--width") || named("--height")) {
      const bool width = named("--width");
      const auto mm = number(width ? "--width" : "--height");
      if (!mm.has_value() || !(*mm >= 1.0 && *mm <= 2000.0))
        return Fail(std::string(width ? "--width" : "--height") +
                    " takes millimetres from 1 to 2000");
      (width ? options.figure.widthMm : options.figure.heightMm) = *mm;
    } else if (named("--dpi")) {
      const auto n = whole("--dpi", 30, 2400);
      if (!n.has_value())
        return Fail("--dpi takes a whole number from 30 to 2400");
      options.figure.dpi = static_cast<int>(*n);
    } else if (named("--planes")) {
      const auto file = value("--planes");
      if (!file.has_value() || file->empty())
        return Fail("--planes takes a file");
      options.figure.planesFile = std::string(*file);
    } else if (arg == "--lines") {
      options.fabric.lines = true;
    } else if (named("--density")) {
      const auto method = value("--density");
      if (method == "exponential-kamb")
        options.fabric.density = analysis::DensityMethod::kExponentialKamb;
      else if (method == "kamb")
        options.fabric.density = analysis::DensityMethod::kKamb;
      else if (method == "schmidt")
        options.fabric.density = analysis::DensityMethod::kSchmidt;
      else if (method == "none")
        options.fabric.density.reset();
      else
        return Fail("--density takes exponential-kamb, kamb, schmidt or none");
    } else if (named("--k")) {
      const auto k = number("--k");
      if (!k.has_value() || !(*k > 0.0 && *k <= 100.0))
        return Fail("--k takes a number above 0, at most 100");
      options.fabric.k = *k;
    } else if (named("--sets")) {
      const auto n = whole("--sets", 1, 100);
      if (!n.has_value())
        return Fail("--sets takes a whole number from 1 to 100");
      options.fabric.sets = static_cast<int>(*n);
    } else if (named("--scanline")) {
      const auto text = value("--scanline");
      tables::CsvSplitter splitter;
      bool read = text.has_value() && splitter.Split(*text) && splitter.Fields().size() == 2;
      const auto trend = read ? NumberOption(splitter.Fields()[0]) : std::nullopt;
      const auto plunge = read ? NumberOption(splitter.Fields()[1]) : std::nullopt;
      if (!trend.has_value() || !plunge.has_value() || !(*plunge >= -90.0 && *plunge <= 90.0))
        return Fail("--scanline takes TREND,PLUNGE in degrees, the plunge from -90 to 90");
      options.fabric.scanline = analysis::SamplingLine{*trend, *plunge, 10.0};
    } else if (named("--cap")) {
      const auto cap = number("--cap");
      if (!cap.has_value() || !(*cap >= 1.0 && *cap <= 1e6))
        return Fail("--cap takes a number from 1 to 1000000");
      capGiven = *cap;
    } else if (arg == "-o" || named("--output")) {
      const auto file = value(arg == "-o" ? "-o" : "--output");
      if (!file.has_value() || file->empty())
        return Fail("-o takes the figure's file");
      options.figure.output = std::string(*file);
    } else if (arg.size() > 1 && arg.front() == '-') {
      return Fail("unknown option " + std::string(arg) + "; try 'kelvane-cli --help'");
    } else if (options.command.empty()) {
      if (arg != "tensors" && arg != "planes" && arg != "figure" && arg != "polygon" &&
          arg != "invert" && arg != "fabric")
        return Fail("unknown command " + std::string(arg) + "; try 'kelvane-cli --help'");
      options.command = std::string(arg);
    } else if (!fileGiven) {
      options.file = std::string(arg);
      fileGiven = true;
    } else {
      return Fail("more than one file given; try 'kelvane-cli --help'");
    }
  }
  if (options.command.empty())
    return Fail("no command given; try 'kelvane-cli --help'");
  if (!invertOnly.empty() && options.command != "invert")
    return Fail(invertOnly + " is for invert");
  if (options.command == "invert" && (options.stress.has_value() || oddsGiven))
    return Fail("invert takes no --stress, --realizations or --uncertainty");
  if (options.command == "invert" && frictionGiven)
    return Fail("invert takes its friction as --friction MU|auto");
  if (const std::optional<int> status = CheckFabricOptions(given, capGiven, options))
    return status;
  if (!options.profilePath.empty() || options.gradients) {
    if (options.command != "planes")
      return Fail("--profile and --gradients are for planes");
    if (!options.profilePath.empty() && options.gradients)
      return Fail("give --profile or --gradients, not both");
    if (oddsGiven || !options.casePath.empty())
      return Fail("planes at their depth take no --case, --realizations or --uncertainty");
  }
  if (!options.casePath.empty()) {
    if (options.command == "tensors" || options.command == "invert")
      return Fail("--case is for planes and figure");
    if (options.stress.has_value() || fileGiven || frictionGiven)
      return Fail("--case stands in place of --stress, --pp, --phi, --mu, --cohesion and FILE");
    std::string error;
    if (!TakeCase(options, options.casePlanes, error))
      return Fail(error);
    options.figure.planesFromCase = options.casePlanes;
  }
  return std::nullopt;
}

}  // namespace cli
