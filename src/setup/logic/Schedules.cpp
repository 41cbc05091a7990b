#include "Schedules.h"

#include <QStringList>

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

std::optional<QString> CyclingRefusal(const CyclingTexts& fields) {
  static const char* const kEnds[] = {"start", "stop"};
  static const struct {
    const char* name;
    int max;
  } kParts[] = {{"hour", 23}, {"minute", 59}, {"second", 59}};
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const auto& part = kParts[k % 3];
    const qint64 v = FieldValue(fields[k]);
    if (v < 0 || v > part.max) {
      return QStringLiteral("The %1 %2 must be a number from 0 to %3.")
          .arg(QLatin1String(kEnds[k / 3]), QLatin1String(part.name))
          .arg(part.max);
    }
  }
  return std::nullopt;
}

}  // namespace solardesk
