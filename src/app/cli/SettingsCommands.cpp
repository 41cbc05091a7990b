#include "SettingsCommands.h"

#include "recording/logic/IntervalEntry.h"
#include "recording/logic/MeterInterval.h"
#include "setup/logic/MeterClock.h"
#include "setup/logic/SetupExchanges.h"

namespace solardesk::cli {
namespace {

// A command with no arguments of its own; false (with the usage error written) otherwise.
bool NoArguments(CliContext& cli, const QStringList& args) {
  if (args.isEmpty()) return true;
  cli.UsageError(Arguments(args));
  return false;
}

// The single argument of a "set" command; nothing (with the usage error written) otherwise.
std::optional<QString> OneArgument(CliContext& cli, const QStringList& args) {
  Arguments a(args);
  const std::optional<QString> value = a.Next();
  if (!value || !a.Done()) {
    cli.UsageError(a);
    return std::nullopt;
  }
  return value;
}

// Prints one result line, or fails when the exchange found no meter or no answer.
int ShowResult(CliContext& cli, const std::function<QString()>& read) {
  QString text;
  if (!cli.Exchange([&] { text = read(); })) return kNoData;
  cli.out() << text << '\n';
  return kOk;
}

// "show" of a schedule: its fields as the lists show them, separated by single spaces.
template <std::size_t N>
int ShowSchedule(CliContext& cli, const QStringList& args,
                 std::array<QString, N> (*read)(Instrument&)) {
  if (!NoArguments(cli, args)) return kUsage;
  return ShowResult(cli, [&] {
    const auto fields = read(cli.instrument());
    return QStringList(fields.begin(), fields.end()).join(' ');
  });
}

// "set" of a schedule: exactly N whole numbers, each inside its field's range as the set-up
// panel checks it (a month 1..12, a minute 0..59) and sent as the number itself. The first one
// that is not is refused with the panel's message, before anything is written.
template <std::size_t N>
int SetSchedule(CliContext& cli, const QStringList& args, Schedule schedule,
                std::optional<Report> (*encode)(const std::array<QString, N>&)) {
  if (args.size() != static_cast<qsizetype>(N)) {
    return cli.Fail(QStringLiteral("%1 fields needed, %2 given; usage: %3")
                        .arg(N)
                        .arg(args.size())
                        .arg(cli.Usage()),
                    kUsage);
  }
  std::array<QString, N> fields;
  for (std::size_t k = 0; k < N; ++k) {
    fields[k] = args[static_cast<qsizetype>(k)];
    bool ok = false;
    const int value = fields[k].toInt(&ok);
    if (!ok || !FieldFits(schedule, k, value))
      return cli.Fail(FieldRangeMessage(schedule, k), kUsage);
  }
  const std::optional<Report> report = encode(fields);
  if (!report) return cli.Fail(QStringLiteral("a field does not fit in one byte"), kUsage);
  return cli.Exchange([&] { SendReport(cli.instrument(), *report); }, false) ? kOk : kNoData;
}

}  // namespace

int RunClockShow(CliContext& cli, const QStringList& args) {
  if (!NoArguments(cli, args)) return kUsage;
  return ShowResult(cli, [&] { return ReadMeterClock(cli.instrument()); });
}

int RunClockSet(CliContext& cli, const QStringList& args) {
  if (!NoArguments(cli, args)) return kUsage;
  const QDateTime now = cli.clock().now();
  if (!cli.Exchange([&] { SetMeterClock(cli.instrument(), now); }, false)) return kNoData;
  cli.out() << FormatPcClock(now) << '\n';
  return kOk;
}

int RunIntervalShow(CliContext& cli, const QStringList& args) {
  if (!NoArguments(cli, args)) return kUsage;
  return ShowResult(cli, [&] { return QString::number(ReadMeterInterval(cli.instrument())); });
}

int RunIntervalSet(CliContext& cli, const QStringList& args) {
  const std::optional<QString> entry = OneArgument(cli, args);
  if (!entry) return kUsage;
  const std::optional<int> seconds = IntervalFromEntry(*entry, kMaxMeterInterval);
  if (!seconds)
    return cli.Fail(QStringLiteral("\"%1\" is not a number of seconds").arg(*entry), kUsage);
  if (!cli.Exchange([&] { WriteMeterInterval(cli.instrument(), *seconds); }, false)) return kNoData;
  cli.out() << *seconds << '\n';
  return kOk;
}

int RunCalibrationShow(CliContext& cli, const QStringList& args) {
  if (!NoArguments(cli, args)) return kUsage;
  return ShowResult(cli, [&] { return QString::number(ReadCalibration(cli.instrument())); });
}

int RunCalibrationSet(CliContext& cli, const QStringList& args) {
  const std::optional<QString> entry = OneArgument(cli, args);
  if (!entry) return kUsage;
  const CalibrationEntry parsed = ParseCalibrationEntry(*entry);
  if (parsed.kind != CalibrationEntry::Kind::Value)
    return cli.Fail(QStringLiteral("\"%1\" is not a number").arg(*entry), kUsage);
  if (!cli.Exchange([&] { WriteCalibration(cli.instrument(), parsed.value); }, false))
    return kNoData;
  cli.out() << parsed.value << '\n';
  return kOk;
}

int RunReservationShow(CliContext& cli, const QStringList& args) {
  return ShowSchedule(cli, args, ReadReservation);
}

int RunReservationSet(CliContext& cli, const QStringList& args) {
  return SetSchedule(cli, args, Schedule::Reservation, EncodeReservation);
}

int RunCyclingShow(CliContext& cli, const QStringList& args) {
  return ShowSchedule(cli, args, ReadCycling);
}

int RunCyclingSet(CliContext& cli, const QStringList& args) {
  return SetSchedule(cli, args, Schedule::Cycling, EncodeCycling);
}

}  // namespace solardesk::cli
