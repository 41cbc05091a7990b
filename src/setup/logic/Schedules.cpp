#include "Schedules.h"

#include <QStringList>
#include <span>

#include "link/Commands.h"

namespace solardesk {
namespace {

template <std::size_t N>
std::array<QString, N> DecodeFields(const Report& inputReport) {
  std::array<QString, N> texts;
  for (std::size_t k = 0; k < N; ++k) texts[k] = FieldText(ReportByte(inputReport, k + 1));
  return texts;
}

template <std::size_t N>
std::optional<Report> EncodeFields(unsigned code, const std::array<QString, N>& fields) {
  Report report{0x00, static_cast<std::uint8_t>(cmd::kAction), static_cast<std::uint8_t>(code)};
  for (const QString& text : fields) {
    const qint64 v = FieldValue(text);
    if (v < 0 || v > 255) return std::nullopt;
    report.push_back(static_cast<std::uint8_t>(v));
  }
  return report;
}

struct FieldRange {
  const char* name;
  int min;
  int max;
};

// One row of each schedule, the start; the stop row repeats it.
constexpr FieldRange kReservationRow[] = {{"year", 0, 99}, {"month", 1, 12},  {"date", 1, 31},
                                          {"hour", 0, 23}, {"minute", 0, 59}, {"second", 0, 59}};
constexpr FieldRange kCyclingRow[] = {{"hour", 0, 23}, {"minute", 0, 59}, {"second", 0, 59}};

std::span<const FieldRange> RowOf(Schedule schedule) {
  if (schedule == Schedule::Reservation) return kReservationRow;
  return kCyclingRow;
}

template <std::size_t N>
std::optional<QString> FirstRefusal(Schedule schedule, const std::array<QString, N>& fields) {
  for (std::size_t k = 0; k < N; ++k) {
    if (!FieldFits(schedule, k, FieldValue(fields[k]))) return FieldRangeMessage(schedule, k);
  }
  return std::nullopt;
}

}  // namespace

std::optional<int> DaysInMonth(const QString& month, const QString& year) {
  static const QStringList kLong = {"01", "03", "05", "07", "08", "10", "12"};
  static const QStringList kShort = {"04", "06", "09", "11"};
  if (month == QLatin1String("02")) {
    const bool leap = year != QLatin1String("00") && FieldValue(year) % 4 == 0;
    return leap ? 29 : 28;
  }
  if (kLong.contains(month)) return 31;
  if (kShort.contains(month)) return 30;
  return std::nullopt;
}

ReservationTexts ReservationDefaults() {
  ReservationTexts texts;
  for (int k = 0; k < kReservationFields; ++k) {
    const int field = k % 6;  // year, month, date, hour, minute, second
    texts[static_cast<std::size_t>(k)] =
        field == 1 || field == 2 ? QStringLiteral("01") : QStringLiteral("00");
  }
  return texts;
}

ReservationTexts DecodeReservation(const Report& inputReport) {
  if (inputReport.empty()) return ReservationDefaults();
  return DecodeFields<kReservationFields>(inputReport);
}

CyclingTexts DecodeCycling(const Report& inputReport) {
  return DecodeFields<kCyclingFields>(inputReport);
}

std::optional<Report> EncodeReservation(const ReservationTexts& fields) {
  return EncodeFields(cmd::kSetReservation, fields);
}

std::optional<Report> EncodeCycling(const CyclingTexts& fields) {
  return EncodeFields(cmd::kSetCycling, fields);
}

bool FieldFits(Schedule schedule, std::size_t index, qint64 value) {
  const std::span<const FieldRange> row = RowOf(schedule);
  if (index >= 2 * row.size()) return false;
  const FieldRange& part = row[index % row.size()];
  return value >= part.min && value <= part.max;
}

QString FieldRangeMessage(Schedule schedule, std::size_t index) {
  const std::span<const FieldRange> row = RowOf(schedule);
  const FieldRange& part = row[index % row.size()];
  return QStringLiteral("The %1 %2 must be a number from %3 to %4.")
      .arg(QLatin1String(index < row.size() ? "start" : "stop"), QLatin1String(part.name))
      .arg(part.min)
      .arg(part.max);
}

std::optional<QString> ReservationRefusal(const ReservationTexts& fields) {
  return FirstRefusal(Schedule::Reservation, fields);
}

std::optional<QString> CyclingRefusal(const CyclingTexts& fields) {
  return FirstRefusal(Schedule::Cycling, fields);
}

}  // namespace solardesk
