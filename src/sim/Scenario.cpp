#include "Scenario.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <set>

#include "DemoMeter.h"

namespace solardesk::sim {
namespace {

// Thrown inside the loader only; LoadScenario turns it into the error text.
struct ScenarioError {
  QString text;
};

[[noreturn]] void Fail(const QString& key, const QString& what) {
  throw ScenarioError{key + ": " + what};
}

void CheckKeys(const QJsonObject& o, const std::set<QString>& allowed, const QString& where) {
  for (auto it = o.begin(); it != o.end(); ++it) {
    if (!allowed.count(it.key())) Fail(where + it.key(), QStringLiteral("unknown key"));
  }
}

QString Text(const QJsonValue& v, const QString& key) {
  if (!v.isString()) Fail(key, QStringLiteral("must be a text"));
  return v.toString();
}

long long Whole(const QJsonValue& v, const QString& key, long long lo, long long hi) {
  if (!v.isDouble()) Fail(key, QStringLiteral("must be a number"));
  const double d = v.toDouble();
  // The range first: a number beyond it may not even fit a long long.
  if (d < lo || d > hi || d != static_cast<double>(static_cast<long long>(d)))
    Fail(key, QStringLiteral("must be a whole number from %1 to %2").arg(lo).arg(hi));
  return static_cast<long long>(d);
}

bool Flag(const QJsonValue& v, const QString& key) {
  if (!v.isBool()) Fail(key, QStringLiteral("must be true or false"));
  return v.toBool();
}

template <std::size_t N>
std::array<std::uint8_t, N> Bytes(const QJsonValue& v, const QString& key) {
  if (!v.isArray() || v.toArray().size() != static_cast<qsizetype>(N))
    Fail(key, QStringLiteral("must be a list of %1 numbers").arg(N));
  std::array<std::uint8_t, N> out{};
  const QJsonArray a = v.toArray();
  for (std::size_t i = 0; i < N; ++i)
    out[i] = static_cast<std::uint8_t>(Whole(a[static_cast<qsizetype>(i)], key, 0, 255));
  return out;
}

QByteArray HexBytes(const QString& text, const QString& key) {
  QString digits = text;
  digits.remove(QLatin1Char(' '));
  const QByteArray raw = digits.toLatin1();
  if (raw.size() % 2 != 0 || QByteArray::fromHex(raw).toHex() != raw.toLower())
    Fail(key, QStringLiteral("must be pairs of hexadecimal digits"));
  return QByteArray::fromHex(raw);
}

QDateTime ClockText(const QString& text, const QString& key) {
  const QDateTime t =
      QDateTime::fromString(QStringLiteral("20") + text, QStringLiteral("yyyy/MM/dd hh:mm:ss"));
  if (text.size() != 17 || !t.isValid()) Fail(key, QStringLiteral("must be yy/mm/dd hh:mm:ss"));
  return t;
}

void LoadSet(VirtualMeter& meter, const QJsonValue& v, const QString& key) {
  if (!v.isObject()) Fail(key, QStringLiteral("must be an object"));
  const QJsonObject o = v.toObject();
  CheckKeys(o, {"start", "interval", "unit", "readings", "length", "stream_hex"}, key + ".");
  const QString start = Text(o.value("start"), key + ".start");
  ClockText(start, key + ".start");
  if (o.contains("stream_hex")) {
    VirtualLoggerSet s;
    s.start = start;
    const QByteArray stream =
        HexBytes(Text(o.value("stream_hex"), key + ".stream_hex"), key + ".stream_hex");
    s.stream = std::make_shared<const std::vector<std::uint8_t>>(stream.begin(), stream.end());
    s.length =
        o.contains("length")
            ? static_cast<std::uint32_t>(Whole(o.value("length"), key + ".length", 0, 0xFFFFFFFFLL))
            : static_cast<std::uint32_t>(s.stream->size());
    meter.sets.push_back(std::move(s));
    return;
  }
  std::vector<QString> readings;
  const QJsonValue r = o.value("readings");
  if (!r.isUndefined()) {
    if (!r.isArray()) Fail(key + ".readings", QStringLiteral("must be a list of texts"));
    for (const QJsonValue& item : r.toArray()) readings.push_back(Text(item, key + ".readings"));
  }
  const QString interval =
      o.contains("interval") ? Text(o.value("interval"), key + ".interval") : "000000001";
  const QString unit = o.contains("unit") ? Text(o.value("unit"), key + ".unit") : "W/m2";
  meter.AddSet(start, interval, unit, readings);
}

void LoadLogger(VirtualMeter& meter, const QJsonValue& v) {
  if (!v.isObject()) Fail("logger", QStringLiteral("must be an object"));
  const QJsonObject o = v.toObject();
  CheckKeys(o, {"status", "capacity_kb", "free_kb", "sets"}, "logger.");
  meter.sets.clear();
  if (o.contains("status"))
    meter.loggerStatus =
        static_cast<std::uint8_t>(Whole(o.value("status"), "logger.status", 0, 255));
  if (o.contains("capacity_kb"))
    meter.capacityKb = static_cast<std::uint32_t>(
        Whole(o.value("capacity_kb"), "logger.capacity_kb", 0, 0xFFFFFFFFLL));
  if (o.contains("sets")) {
    if (!o.value("sets").isArray()) Fail("logger.sets", QStringLiteral("must be a list"));
    const QJsonArray sets = o.value("sets").toArray();
    for (qsizetype i = 0; i < sets.size(); ++i)
      LoadSet(meter, sets[i], QStringLiteral("logger.sets[%1]").arg(i));
  }
  // The free space is what the file says, whatever the sets took.
  meter.freeKb =
      o.contains("free_kb")
          ? static_cast<std::uint32_t>(Whole(o.value("free_kb"), "logger.free_kb", 0, 0xFFFFFFFFLL))
          : meter.capacityKb;
}

void Apply(const QJsonObject& o, VirtualMeter& meter, VirtualPort& port) {
  if (o.contains("unit")) {
    const QString unit = Text(o.value("unit"), "unit");
    if (unit != kUnitWatts && unit != kUnitBtu && !unit.isEmpty())
      Fail("unit", QStringLiteral("must be \"W/(M)2\", \"Btu/(ft)2.h\" or \"\""));
    meter.unit = unit;
  }
  if (o.contains("reading")) {
    const QString reading = Text(o.value("reading"), "reading");
    const qsizetype points = reading.count(QLatin1Char('.'));
    const qsizetype digits = reading.size() - points;
    if (points > 1 || digits < 1 || digits > 4)
      Fail("reading", QStringLiteral("must hold 1 to 4 digits with at most one point"));
    meter.SetFixedReading(reading);
  }
  if (o.contains("display_hex")) {
    const QByteArray image = HexBytes(Text(o.value("display_hex"), "display_hex"), "display_hex");
    if (image.size() != kDisplayImageBytes)
      Fail("display_hex", QStringLiteral("must hold 30 bytes"));
    std::array<std::uint8_t, kDisplayImageBytes> bytes{};
    std::copy(image.begin(), image.end(), bytes.begin());
    meter.SetDisplayImage(bytes);
  }
  if (o.contains("clock")) meter.SetClock(ClockText(Text(o.value("clock"), "clock"), "clock"));
  if (o.contains("interval"))
    meter.interval = static_cast<std::uint8_t>(Whole(o.value("interval"), "interval", 0, 255));
  if (o.contains("calibration"))
    meter.calibration =
        static_cast<std::uint16_t>(Whole(o.value("calibration"), "calibration", 0, 65535));
  if (o.contains("reservation"))
    meter.reservation = Bytes<12>(o.value("reservation"), "reservation");
  if (o.contains("cycling")) meter.cycling = Bytes<6>(o.value("cycling"), "cycling");
  if (o.contains("logger")) LoadLogger(meter, o.value("logger"));
  if (o.contains("input_report_length"))
    port.inputReportLength =
        static_cast<int>(Whole(o.value("input_report_length"), "input_report_length", 1, 4096));
  if (o.contains("output_report_length"))
    port.outputReportLength =
        static_cast<int>(Whole(o.value("output_report_length"), "output_report_length", 1, 4096));
  if (o.contains("absent")) port.present = !Flag(o.value("absent"), "absent");
  if (o.contains("silent")) port.silent = Flag(o.value("silent"), "silent");
}

// Changes that come `afterMs` after the scenario was loaded.
struct TimelineStep {
  qint64 afterMs = 0;
  QJsonObject changes;
};

// The timeline, checked by trying every step on a scratch meter, in time order.
std::vector<TimelineStep> LoadTimeline(const QJsonValue& v, const Clock& clock) {
  if (!v.isArray()) Fail("timeline", QStringLiteral("must be a list of steps"));
  std::vector<TimelineStep> steps;
  VirtualMeter scratch(clock);
  VirtualPort scratchPort;
  const QJsonArray list = v.toArray();
  for (qsizetype i = 0; i < list.size(); ++i) {
    const QString key = QStringLiteral("timeline[%1]").arg(i);
    if (!list[i].isObject()) Fail(key, QStringLiteral("must be an object"));
    QJsonObject step = list[i].toObject();
    CheckKeys(step, {"after", "absent", "silent", "unit", "reading"}, key + ".");
    const QJsonValue after = step.take("after");
    if (!after.isDouble() || after.toDouble() < 0)
      Fail(key + ".after", QStringLiteral("must be a number of seconds from 0 on"));
    try {
      Apply(step, scratch, scratchPort);
    } catch (const ScenarioError& e) {
      Fail(key + "." + e.text.section(':', 0, 0), e.text.section(": ", 1));
    }
    // A step further off than any run lasts (some 30,000 years) never comes; the cap keeps its
    // time within the milliseconds a qint64 counts.
    constexpr double kLatestStepSeconds = 1e12;
    steps.push_back(
        {static_cast<qint64>(std::min(after.toDouble(), kLatestStepSeconds) * 1000), step});
  }
  std::stable_sort(steps.begin(), steps.end(), [](const TimelineStep& a, const TimelineStep& b) {
    return a.afterMs < b.afterMs;
  });
  return steps;
}

// Plays the timeline as time goes by: before each operation on the bus, the steps whose time
// has come change the meter and its port.
void PlayTimeline(VirtualHidBackend& bus, VirtualMeter& meter, VirtualPort& port,
                  std::vector<TimelineStep> steps, const Clock& clock) {
  bus.beforeEachOperation = [&meter, &port, &clock, start = clock.now(), steps = std::move(steps),
                             next = std::size_t{0}]() mutable {
    const qint64 elapsed = start.msecsTo(clock.now());
    while (next < steps.size() && steps[next].afterMs <= elapsed)
      Apply(steps[next++].changes, meter, port);
  };
}

}  // namespace

ScenarioResult LoadScenario(const QByteArray& json, const Clock& clock) {
  ScenarioResult result;
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
  if (parseError.error != QJsonParseError::NoError) {
    result.error = QStringLiteral("not JSON: %1 at offset %2")
                       .arg(parseError.errorString())
                       .arg(parseError.offset);
    return result;
  }
  if (!doc.isObject()) {
    result.error = QStringLiteral("the scenario must be a JSON object");
    return result;
  }
  result.meter = MakeDemoMeter(clock);
  result.bus = std::make_unique<VirtualHidBackend>();
  VirtualPort& port = result.bus->AddPort(result.meter, "virtual:meter");
  try {
    const QJsonObject o = doc.object();
    CheckKeys(o,
              {"reading", "unit", "display_hex", "clock", "interval", "calibration", "reservation",
               "cycling", "logger", "input_report_length", "output_report_length", "absent",
               "silent", "timeline"},
              QString());
    Apply(o, *result.meter, port);
    if (o.contains("timeline"))
      PlayTimeline(*result.bus, *result.meter, port, LoadTimeline(o.value("timeline"), clock),
                   clock);
  } catch (const ScenarioError& e) {
    result.error = e.text;
    result.bus.reset();
    result.meter.reset();
  }
  return result;
}

ScenarioResult LoadScenarioFile(const QString& path, const Clock& clock) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ScenarioResult r;
    r.error = QStringLiteral("%1: cannot be read").arg(path);
    return r;
  }
  return LoadScenario(file.readAll(), clock);
}

}  // namespace solardesk::sim
