#include "WatchCommand.h"

#include <QThread>

#include "DisplayCommands.h"
#include "IntervalOption.h"
#include "analysis/RecordsCsv.h"
#include "station/EventLog.h"
#include "station/SampleFormats.h"
#include "station/SampleScheduler.h"
#include "station/StationTopics.h"

namespace solardesk::cli {

using namespace station;

namespace {

enum class Format { Text, Csv, Json, Influx };

std::optional<Format> FormatNamed(const QString& name) {
  if (name.isEmpty() || name == QLatin1String("text")) return Format::Text;
  if (name == QLatin1String("csv")) return Format::Csv;
  if (name == QLatin1String("json")) return Format::Json;
  if (name == QLatin1String("influx")) return Format::Influx;
  return std::nullopt;
}

// The line of sample `s`, number `n` of the stream, with its line end; empty when the format
// has no line for it (line protocol needs a number).
QByteArray Line(Format format, const Sample& s, long long n, const QString& meter) {
  switch (format) {
    case Format::Text:
      return (s.time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) + QLatin1Char('\t') + s.value +
              QLatin1Char('\t') + s.unit + QLatin1Char('\n'))
          .toUtf8();
    case Format::Csv: {
      QByteArray line;
      AppendCsvRecord(line, {QString::number(n), IsoTimeText(s.time), s.value.trimmed(), s.unit});
      return line;
    }
    case Format::Json:
      return SampleJson({s.time, s.value, s.unit, n}) + '\n';
    case Format::Influx: {
      const auto line = InfluxLine(s, meter);
      return line ? *line + '\n' : QByteArray();
    }
  }
  return {};
}

}  // namespace

int RunWatch(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const auto count = a.Count(QStringLiteral("--count"));
  const auto formatName = a.Value(QStringLiteral("--format"));
  const auto intervalText = a.Value(QStringLiteral("--interval"));
  if (!a.Done() || !count || !formatName || !intervalText) return cli.UsageError(a);
  const std::optional<Format> format = FormatNamed(*formatName);
  if (!format) {
    return cli.Fail(
        QStringLiteral("unknown format \"%1\"; usage: %2").arg(*formatName, cli.Usage()), kUsage);
  }
  const std::optional<int> interval = IntervalOption(cli, *intervalText, 0);
  if (!interval) return kUsage;
  if (!ReadDisplay(cli)) return kNoData;

  const QString meter = MeterTopicName(cli.link().SerialNumber(), cli.link().DevicePath());
  if (*format == Format::Csv) cli.WriteRaw(QByteArray(kCsvHeading) + "\r\n");
  const SampleScheduler scheduler(std::max(*interval, 1));
  QDateTime due = scheduler.NextAtOrAfter(cli.clock().now());
  QString lastText, lastUnit;
  long long printed = 0;
  bool first = true;
  while (!CliContext::stopRequested) {
    const PubMeter& m = cli.instrument().meter;
    const QDateTime now = cli.clock().now();
    std::optional<QDateTime> at;
    if (*interval == 0 && (first || m.ReadingText != lastText || m.ReadingUnit != lastUnit)) {
      at = now;
    } else if (*interval > 0 && now >= due) {
      // A lost meter freezes the reading: no line for it until it answers again.
      if (cli.link().MeterConnected()) at = due;
      due = scheduler.After(due);
      if (due <= now) due = scheduler.NextAtOrAfter(now);
    }
    if (at) {
      first = false;
      lastText = m.ReadingText;
      lastUnit = m.ReadingUnit;
      const QByteArray line =
          Line(*format, {*at, m.ReadingText, m.ReadingUnit, {}}, printed + 1, meter);
      if (!line.isEmpty()) {
        cli.WriteRaw(line);
        if (*count > 0 && ++printed >= *count) break;
      }
    }
    QThread::msleep(100);
    cli.instrument().PollTick();
  }
  return kOk;
}

}  // namespace solardesk::cli
