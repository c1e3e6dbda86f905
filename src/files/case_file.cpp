#include "files/case_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <cmath>
#include <set>

namespace files {
namespace {

constexpr const char* kInputKeys[engine::kInputCount] = {
    "joint_dip_direction", "joint_dip",     "sx", "sy", "sz", "txy", "tyz", "tzx",
    "joint_cohesion",      "joint_friction"};
constexpr const char* kMaps[] = {"none", "slip", "dilation", "pressure", "safety"};
constexpr const char* kColourings[] = {"ts_normalized", "td", "f", "delta_pc", "p_slip", "none"};
constexpr const char* kUnits[] = {"", "MPa", "kPa", "psi", "bar"};
constexpr const char* kShapes[] = {"none", "uniform", "normal"};
constexpr const char* kColumns[] = {"ignored", "id", "direction", "dip", "phi", "mu", "c"};

QJsonValue NumberOrNull(double value) {
  return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue NumberOrNull(const std::optional<double>& value) {
  return value ? NumberOrNull(*value) : QJsonValue(QJsonValue::Null);
}

QJsonArray Texts(const std::array<std::string, 7>& texts) {
  QJsonArray array;
  for (const std::string& t : texts)
    array.append(QString::fromStdString(t));
  return array;
}

QString DelimiterName(char d) {
  return d == '\t' ? QStringLiteral("\t") : QString(QLatin1Char(d));
}

/// A JSON object of the file at `path`, read key by key: each key asked for
/// is checked, and the keys never asked for are listed as unknown.
class Node {
 public:
  Node(QJsonObject object, QString path, QStringList* unknown)
      : object_(std::move(object)), path_(std::move(path)), unknown_(unknown) {}
  Node(const Node&) = delete;
  ~Node() {
    if (unknown_ == nullptr)
      return;
    for (auto it = object_.begin(); it != object_.end(); ++it)
      if (asked_.count(it.key()) == 0)
        unknown_->append(Path(it.key()));
  }

  bool Has(const char* key) const { return object_.contains(QLatin1String(key)); }

  QJsonValue Value(const char* key, QJsonValue::Type type, const char* what) {
    asked_.insert(QLatin1String(key));
    const QJsonValue value = object_.value(QLatin1String(key));
    if (value.isUndefined())
      throw CaseError(QStringLiteral("In the case, \"%1\" is missing.")
                          .arg(Path(QLatin1String(key)))
                          .toStdString());
    if (value.type() != type)
      throw Wrong(key, what);
    return value;
  }
  double Number(const char* key) { return Value(key, QJsonValue::Double, "a number").toDouble(); }
  std::optional<double> NumberOrNone(const char* key) {
    asked_.insert(QLatin1String(key));
    if (object_.value(QLatin1String(key)).isNull())
      return std::nullopt;
    return Number(key);
  }
  QString Text(const char* key) { return Value(key, QJsonValue::String, "a text").toString(); }
  bool Flag(const char* key) { return Value(key, QJsonValue::Bool, "true or false").toBool(); }
  QJsonArray Array(const char* key) { return Value(key, QJsonValue::Array, "a list").toArray(); }
  Node Child(const char* key) {
    return Node(Value(key, QJsonValue::Object, "an object").toObject(), Path(QLatin1String(key)),
                unknown_);
  }
  /// The index of the text at `key` among `names`.
  template <std::size_t N>
  int Choice(const char* key, const char* const (&names)[N]) {
    const QString text = Text(key);
    for (std::size_t i = 0; i < N; ++i)
      if (text == QLatin1String(names[i]))
        return static_cast<int>(i);
    QString list;
    for (std::size_t i = 0; i < N; ++i)
      list += (i == 0       ? QString()
               : i + 1 == N ? QStringLiteral(" or ")
                            : QStringLiteral(", ")) +
              QLatin1Char('"') + QLatin1String(names[i]) + QLatin1Char('"');
    throw CaseError(QStringLiteral("In the case, \"%1\" is \"%2\"; it should be %3.")
                        .arg(Path(QLatin1String(key)), text, list)
                        .toStdString());
  }

  QString Path(const QString& key) const {
    return path_.isEmpty() ? key : path_ + QLatin1Char('.') + key;
  }
  CaseError Wrong(const char* key, const char* what) const {
    return CaseError(QStringLiteral("In the case, \"%1\" should be %2.")
                         .arg(Path(QLatin1String(key)), QLatin1String(what))
                         .toStdString());
  }

 private:
  QJsonObject object_;
  QString path_;
  QStringList* unknown_;
  std::set<QString> asked_;
};

CaseError OutOfRange(const QString& path, const QString& why) {
  return CaseError(QStringLiteral("In the case, \"%1\": %2.").arg(path, why).toStdString());
}

std::array<std::string, 7> ReadTexts(Node& node, const char* key) {
  const QJsonArray array = node.Array(key);
  if (array.size() != 7)
    throw node.Wrong(key, "a list of 7 texts");
  std::array<std::string, 7> texts;
  for (int i = 0; i < 7; ++i) {
    if (!array[i].isString())
      throw node.Wrong(key, "a list of 7 texts");
    texts[i] = array[i].toString().toStdString();
  }
  return texts;
}

}  // namespace

QByteArray WriteCase(const Case& c) {
  QJsonObject root;
  root[QStringLiteral("format")] = QLatin1String(kCaseFormat);
  root[QStringLiteral("version")] = kCaseVersion;
  QJsonObject inputs;
  for (int i = 0; i < engine::kInputCount; ++i)
    inputs[QLatin1String(kInputKeys[i])] = QJsonObject{
        {QStringLiteral("value"), NumberOrNull(c.values[i])}, {QStringLiteral("text"), QString::fromStdString(c.texts[i])}};
  root[QStringLiteral("inputs")] = inputs;
  root[QStringLiteral("azimuth")] = c.azimuth == stress::Azimuth::kClockwiseFromNorth
                                        ? QStringLiteral("north")
                                        : QStringLiteral("east");
  root[QStringLiteral("joint_active")] = c.jointActive;
  root[QStringLiteral("direction_cosines_shown")] = c.cosinesShown;
  root[QStringLiteral("pore_pressure")] =
      QJsonObject{{QStringLiteral("value"), NumberOrNull(c.porePressure)},
                  {QStringLiteral("text"), QString::fromStdString(c.porePressureText)}};
  root[QStringLiteral("stress_unit")] = QString::fromStdString(c.stressUnit);
  root[QStringLiteral("depth_builder")] = QJsonObject{
      {QStringLiteral("typed"), c.depth.typed},
      {QStringLiteral("units"), c.depthInPsi ? QStringLiteral("psi/ft") : QStringLiteral("MPa/m")},
      {QStringLiteral("sv_from_density"), c.svFromDensity},
      {QStringLiteral("texts"), Texts(c.depth.numbers)}};
  root[QStringLiteral("principal_builder")] =
      QJsonObject{{QStringLiteral("typed"), c.principal.typed},
                  {QStringLiteral("texts"), Texts(c.principal.numbers)}};

  QJsonObject planes;
  if (c.importReading) {
    const tables::PlaneReading& r = *c.importReading;
    QJsonArray columns;
    for (const tables::PlaneColumn column : r.columns)
      columns.append(QLatin1String(kColumns[static_cast<int>(column)]));
    planes[QStringLiteral("import")] =
        QJsonObject{{QStringLiteral("delimiter"), DelimiterName(r.delimiter)},
                    {QStringLiteral("header"), r.header},
                    {QStringLiteral("columns"), columns},
                    {QStringLiteral("notation"), r.notation == tables::Notation::kStrike
                                                     ? QStringLiteral("strike")
                                                     : QStringLiteral("dip_direction")},
                    {QStringLiteral("decimal"), QString(QLatin1Char(r.decimal))}};
  } else {
    planes[QStringLiteral("import")] = QJsonValue(QJsonValue::Null);
  }
  QJsonArray rows;
  for (std::size_t i = 0; i < c.planes.size(); ++i) {
    const engine::Plane& p = c.planes.planes[i];
    const std::string_view id = c.planes.ids[i];
    rows.append(QJsonArray{QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size())),
                           p.dipDirection, p.dip, NumberOrNull(p.phi), NumberOrNull(p.cohesion)});
  }
  planes[QStringLiteral("rows")] = rows;
  root[QStringLiteral("planes")] = planes;

  if (c.uncertainty) {
    QJsonObject spreads;
    for (int k = 0; k < engine::kUncertainCount; ++k) {
      const engine::Spread& s = c.uncertainty->spreads[k];
      if (s.shape != engine::Spread::Shape::kNone)
        spreads[QLatin1String(engine::UncertainName(static_cast<engine::Uncertain>(k)))] =
            QJsonObject{
                {QStringLiteral("shape"), QLatin1String(kShapes[static_cast<int>(s.shape)])},
                {QStringLiteral("width"), s.width}};
    }
    root[QStringLiteral("uncertainty")] =
        QJsonObject{{QStringLiteral("realizations"), c.uncertainty->realizations},
                    {QStringLiteral("seed"), QString::number(c.uncertainty->seed)},
                    {QStringLiteral("spreads"), spreads}};
  } else {
    root[QStringLiteral("uncertainty")] = QJsonValue(QJsonValue::Null);
  }
  root[QStringLiteral("map")] = QLatin1String(kMaps[static_cast<int>(c.map)]);
  root[QStringLiteral("dot_colouring")] = QString::fromStdString(c.dotColouring);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Case ReadCase(const QByteArray& bytes, QStringList* unknown) {
  QJsonParseError parse{};
  const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
  if (parse.error != QJsonParseError::NoError)
    throw CaseError(QStringLiteral("The file is not a Kelvane case: %1 at byte %2.")
                        .arg(parse.errorString())
                        .arg(parse.offset)
                        .toStdString());
  if (!document.isObject() ||
      document.object().value(QStringLiteral("format")).toString() != QLatin1String(kCaseFormat))
    throw CaseError("The file is not a Kelvane case: it has no \"format\": \"kelvane-case\".");
  QStringList ignored;
  Case c;
  {
    Node root(document.object(), QString(), &ignored);
    root.Text("format");
    const double version = root.Number("version");
    if (version != std::floor(version) || version < 1)
      throw root.Wrong("version", "a whole number from 1");
    if (version > kCaseVersion)
      throw CaseError(QStringLiteral("The case was written in format version %1, by a newer "
                                     "Kelvane; this one reads version %2.")
                          .arg(version)
                          .arg(kCaseVersion)
                          .toStdString());
    Node inputs = root.Child("inputs");
    for (int i = 0; i < engine::kInputCount; ++i) {
      Node input = inputs.Child(kInputKeys[i]);
      c.texts[i] = input.Text("text").toStdString();
      c.values[i] = input.NumberOrNone("value");
    }
    c.azimuth = root.Choice("azimuth", {"north", "east"}) == 0
                    ? stress::Azimuth::kClockwiseFromNorth
                    : stress::Azimuth::kCounterClockwiseFromEast;
    c.jointActive = root.Flag("joint_active");
    c.cosinesShown = root.Flag("direction_cosines_shown");
    {
      Node pp = root.Child("pore_pressure");
      c.porePressureText = pp.Text("text").toStdString();
      c.porePressure = pp.Number("value");
      if (!std::isfinite(c.porePressure))
        throw pp.Wrong("value", "a finite number");
    }
    c.stressUnit = kUnits[root.Choice("stress_unit", kUnits)];
    {
      Node depth = root.Child("depth_builder");
      c.depth.typed = depth.Flag("typed");
      c.depthInPsi = depth.Choice("units", {"MPa/m", "psi/ft"}) == 1;
      c.svFromDensity = depth.Flag("sv_from_density");
      c.depth.numbers = ReadTexts(depth, "texts");
      Node principal = root.Child("principal_builder");
      c.principal.typed = principal.Flag("typed");
      c.principal.numbers = ReadTexts(principal, "texts");
    }
    {
      Node planes = root.Child("planes");
      if (planes.Has("import") && !document.object()[QStringLiteral("planes")]
                                       .toObject()[QStringLiteral("import")]
                                       .isNull()) {
        Node import = planes.Child("import");
        tables::PlaneReading r;
        const int delimiter = import.Choice("delimiter", {",", ";", "\t", " "});
        r.delimiter = ",;\t "[delimiter];
        r.header = import.Flag("header");
        const QJsonArray columns = import.Array("columns");
        for (const QJsonValue& v : columns) {
          const auto* found =
              std::find_if(std::begin(kColumns), std::end(kColumns),
                           [&v](const char* n) { return v.toString() == QLatin1String(n); });
          if (!v.isString() || found == std::end(kColumns))
            throw import.Wrong("columns",
                               "a list of column names (ignored, id, direction, dip, phi, mu, c)");
          r.columns.push_back(static_cast<tables::PlaneColumn>(found - std::begin(kColumns)));
        }
        r.notation = import.Choice("notation", {"dip_direction", "strike"}) == 1
                         ? tables::Notation::kStrike
                         : tables::Notation::kDipDirection;
        r.decimal = import.Choice("decimal", {".", ","}) == 1 ? ',' : '.';
        c.importReading = r;
      } else {
        planes.NumberOrNone("import");  // null: asked for, nothing to read
      }
      const QJsonArray rows = planes.Array("rows");
      c.planes.planes.reserve(static_cast<std::size_t>(rows.size()));
      for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString path = QStringLiteral("planes.rows[%1]").arg(i);
        const QJsonArray row = rows[i].toArray();
        const auto number = [&](int k) { return row[k].isDouble() ? row[k].toDouble() : NAN; };
        if (!rows[i].isArray() || row.size() != 5 || !row[0].isString() || !row[1].isDouble() ||
            !row[2].isDouble() || !(row[3].isDouble() || row[3].isNull()) ||
            !(row[4].isDouble() || row[4].isNull()))
          throw CaseError(QStringLiteral("In the case, \"%1\" should be [id, dip direction, dip, "
                                         "friction angle or null, cohesion or null].")
                              .arg(path)
                              .toStdString());
        const engine::Plane plane{number(1), number(2), number(3), number(4)};
        if (!(plane.dipDirection >= 0.0 && plane.dipDirection < 360.0))
          throw OutOfRange(
              path, QStringLiteral("dip direction %1 is outside 0 to 360").arg(plane.dipDirection));
        if (!(plane.dip >= 0.0 && plane.dip <= 90.0))
          throw OutOfRange(path, QStringLiteral("dip %1 is outside 0 to 90").arg(plane.dip));
        if (plane.HasOwnPhi() && !(plane.phi >= 0.0 && plane.phi <= 90.0))
          throw OutOfRange(path,
                           QStringLiteral("friction angle %1 is outside 0 to 90").arg(plane.phi));
        c.planes.push_back(plane, row[0].toString().toStdString());
      }
    }
    if (!root.Has("uncertainty") || document.object()[QStringLiteral("uncertainty")].isNull()) {
      root.NumberOrNone("uncertainty");
    } else {
      Node u = root.Child("uncertainty");
      engine::UncertaintySettings settings;
      const double realizations = u.Number("realizations");
      if (!(realizations >= 1 && realizations <= engine::SlipSampler::kMostRealizations) ||
          realizations != std::floor(realizations))
        throw OutOfRange(
            u.Path(QStringLiteral("realizations")),
            QStringLiteral("%1 is not a whole number from 1 to 1000000").arg(realizations));
      settings.realizations = static_cast<int>(realizations);
      bool ok = false;
      settings.seed = u.Text("seed").toULongLong(&ok);
      if (!ok)
        throw u.Wrong("seed", "the digits of a whole number from 0 to 18446744073709551615");
      Node spreads = u.Child("spreads");
      for (int k = 0; k < engine::kUncertainCount; ++k) {
        const char* key = engine::UncertainName(static_cast<engine::Uncertain>(k));
        if (!spreads.Has(key))
          continue;
        Node spread = spreads.Child(key);
        settings.spreads[k].shape =
            static_cast<engine::Spread::Shape>(spread.Choice("shape", kShapes));
        settings.spreads[k].width = spread.Number("width");
        if (!(settings.spreads[k].width >= 0.0))
          throw spread.Wrong("width", "a number of 0 or more");
      }
      if (settings[engine::Uncertain::kPhi].shape != engine::Spread::Shape::kNone &&
          settings[engine::Uncertain::kMu].shape != engine::Spread::Shape::kNone)
        throw OutOfRange(u.Path(QStringLiteral("spreads")),
                         QStringLiteral("phi and mu both have a spread"));
      c.uncertainty = settings;
    }
    c.map = static_cast<engine::MapQuantity>(root.Choice("map", kMaps));
    c.dotColouring = kColourings[root.Choice("dot_colouring", kColourings)];
  }
  if (unknown != nullptr)
    *unknown = ignored;
  return c;
}

}  // namespace files
