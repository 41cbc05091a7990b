#include "VirtualMeter.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

#include "LoggerSetLayout.h"
#include "link/Commands.h"

namespace solardesk::sim {
namespace {

constexpr double kBtuPerWatt = 0.3170;  // 1 W/m2 is 0.317 Btu/(ft2.h)

std::uint8_t ByteAt(const std::vector<std::uint8_t>& r, std::size_t i) {
  return i < r.size() ? r[i] : 0;
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<std::uint8_t>(v >> (8 * k)));
}

std::uint8_t PackedDecimal(int v) {
  return static_cast<std::uint8_t>(((v / 10) % 10) * 16 + v % 10);
}

// Four figures with the decimal point where the value needs it, as the meter shows it.
QString FourFigures(double v) {
  v = std::clamp(v, 0.0, 9999.0);
  if (v >= 999.95) return QString::number(std::lround(v));
  if (v >= 99.995) return QString::number(v, 'f', 1);
  if (v >= 9.9995) return QString::number(v, 'f', 2);
  return QString::number(v, 'f', 3);
}

}  // namespace

DisplayFlags DisplayFor(const QString& reading, const QString& unit) {
  DisplayFlags f;
  int digit = 0;
  for (QChar c : reading) {
    if (c == QLatin1Char('.')) {
      if (digit == 1) f.annunciators[static_cast<std::size_t>(Ann::LblP4Dot)] = true;
      if (digit == 2) f.annunciators[static_cast<std::size_t>(Ann::LblP5Dot)] = true;
      if (digit == 3) f.annunciators[static_cast<std::size_t>(Ann::LblP6Dot)] = true;
      continue;
    }
    if (digit >= 4) break;
    f.digits[static_cast<std::size_t>(digit++)] = CharToSegments(c);
  }
  auto on = [&f](Ann a) { f.annunciators[static_cast<std::size_t>(a)] = true; };
  if (unit == kUnitWatts) {
    on(Ann::LblW);
    on(Ann::ImaM1);
  } else if (unit == kUnitBtu) {
    for (Ann a : {Ann::LblBtu, Ann::LblBtuSlash, Ann::LblSquare, Ann::Imaft, Ann::ImaH3}) on(a);
  }
  return f;
}

VirtualMeter::VirtualMeter(const Clock& clock) : clock_(clock) {}

double VirtualMeter::SunlightAt(const QDateTime& t) {
  const double h = t.time().msecsSinceStartOfDay() / 3600000.0;
  const double s = t.toSecsSinceEpoch() % 100000;
  // Passing clouds: slow products of sines, so the value wanders smoothly.
  const double cloud = std::clamp(
      0.8 + 0.25 * std::sin(s / 97.0) * std::sin(s / 41.0) + 0.1 * std::sin(s / 13.0), 0.3, 1.0);
  double sun = 0;
  if (h > 6 && h < 18) sun = 1000.0 * std::pow(std::sin(M_PI * (h - 6) / 12.0), 1.2) * cloud;
  const double lamp = 4.0 + 2.0 * std::sin(s / 7.0);  // a room lamp at night
  return std::max(sun, lamp);
}

double VirtualMeter::LiveValue() const {
  const double watts = SunlightAt(MeterTime());
  return unit == kUnitBtu ? watts * kBtuPerWatt : watts;
}

QString VirtualMeter::CurrentReadingText() const {
  if (hold && heldReading_) return *heldReading_;
  if (fixedReading_) return *fixedReading_;
  return FourFigures(LiveValue());
}

void VirtualMeter::SetFixedReading(const QString& text) {
  fixedReading_ = text;
}

std::array<std::uint8_t, kDisplayImageBytes> VirtualMeter::DisplayImage() const {
  if (image_) return *image_;
  if (!poweredOn) return {};
  DisplayFlags f = DisplayFor(CurrentReadingText(), unit);
  auto set = [&f](Ann a, bool v) { f.annunciators[static_cast<std::size_t>(a)] = v; };
  set(Ann::LblH, hold);
  set(Ann::LblMax, maxMinMode_ == 1);
  set(Ann::LblMin, maxMinMode_ == 2);
  set(Ann::LblREC, loggingOn_);
  set(Ann::LblZero, zeroOn_);
  if (showTime_) {  // the upper row shows the meter clock, hh mm ss in digits 11 to 16
    const QString hms = MeterTime().toString(QStringLiteral("hhmmss"));
    for (int i = 0; i < 6; ++i) f.digits[static_cast<std::size_t>(10 + i)] = CharToSegments(hms[i]);
    set(Ann::LblP2Dot, true);
  }
  return EncodeDisplayImage(f);
}

// The offset is kept to the millisecond: in whole seconds it would drop the PC clock's part
// second, and a clock set to 13:05:09 would answer 13:05:08 at once.
void VirtualMeter::SetClock(const QDateTime& meterTime) {
  clockOffsetMs_ = clock_.now().msecsTo(meterTime);
}

QDateTime VirtualMeter::MeterTime() const {
  return clock_.now().addMSecs(clockOffsetMs_);
}

void VirtualMeter::AddSet(const QString& start, const QString& intervalText,
                          const QString& unitText, const std::vector<QString>& readings) {
  VirtualLoggerSet s;
  s.start = start;
  s.stream = std::make_shared<const std::vector<std::uint8_t>>(
      LayOutLoggerSet(intervalText, unitText, readings));
  s.length = static_cast<std::uint32_t>(s.stream->size());
  const std::uint32_t usedKb = (s.length + 1023) / 1024;
  sets.push_back(std::move(s));
  freeKb = freeKb > usedKb ? freeKb - usedKb : 0;
}

void VirtualMeter::EraseLogger() {
  sets.clear();
  freeKb = capacityKb;
}

PendingAnswers VirtualMeter::Handle(const std::vector<std::uint8_t>& report) {
  received.push_back(report);
  ++receivedTotal;
  if (received.size() > kReceivedKept) received.pop_front();
  if (report.size() < 3) return {};
  if (report[1] == cmd::kQuery) return Query(report[2], ByteAt(report, 3));
  if (report[1] == cmd::kAction) Act(report[2], report);
  return {};
}

PendingAnswers VirtualMeter::Query(unsigned code, std::uint8_t parameter) const {
  std::vector<std::uint8_t> a;
  const auto setAt = [this](std::uint8_t k) -> const VirtualLoggerSet* {
    return (k >= 1 && k <= sets.size()) ? &sets[k - 1u] : nullptr;
  };
  switch (code) {
    case cmd::kQueryDisplay: {
      const auto image = DisplayImage();
      a.assign(image.begin(), image.end());
      break;
    }
    case cmd::kQuerySettings:
      a = {interval, static_cast<std::uint8_t>(calibration & 0xFF),
           static_cast<std::uint8_t>(calibration >> 8)};
      break;
    case cmd::kQueryClock: {
      const QDateTime t = MeterTime();
      a = {PackedDecimal(t.date().year() % 100), PackedDecimal(t.date().month()),
           PackedDecimal(t.date().day()),        PackedDecimal(t.time().hour()),
           PackedDecimal(t.time().minute()),     PackedDecimal(t.time().second())};
      break;
    }
    case cmd::kQueryLoggerStatus:
      a.push_back(loggerStatus);
      PutLe32(a, capacityKb);
      PutLe32(a, freeKb);
      break;
    case cmd::kQuerySetCount:
      a.push_back(static_cast<std::uint8_t>(std::min<std::size_t>(sets.size(), 255)));
      break;
    case cmd::kQuerySetEntry: {
      const VirtualLoggerSet* s = setAt(parameter);
      PutLe32(a, s ? s->length : 0);
      // No such set: an answer of zeros.
      const QByteArray start =
          s ? s->start.toLatin1().leftJustified(17, ' ', true) : QByteArray(17, 0);
      for (char c : start) a.push_back(static_cast<std::uint8_t>(c));
      break;
    }
    case cmd::kQuerySetData: {
      const VirtualLoggerSet* s = setAt(parameter);
      if (!s) return {};
      PendingAnswers blocks;
      blocks.PushBlocks(s->stream, s->blocksSent.value_or((std::size_t{s->length} + 63) / 64));
      return blocks;
    }
    case cmd::kQueryCycling:
      a.assign(cycling.begin(), cycling.end());
      break;
    case cmd::kQueryReservation:
      a.assign(reservation.begin(), reservation.end());
      break;
    default:
      return {};  // unknown queries go unanswered
  }
  PendingAnswers answers;
  answers.push_back(std::move(a));
  return answers;
}

void VirtualMeter::Act(unsigned code, const std::vector<std::uint8_t>& r) {
  switch (code) {
    case cmd::kKeyTime:
      showTime_ = !showTime_;
      break;
    case cmd::kKeyHold:
      hold = !hold;
      heldReading_ =
          hold ? std::optional<QString>(fixedReading_ ? *fixedReading_ : FourFigures(LiveValue()))
               : std::nullopt;
      break;
    case cmd::kKeyMaxMin:
      maxMinMode_ = (maxMinMode_ + 1) % 3;
      break;
    case cmd::kKeyMaxMinLong:
      maxMinMode_ = 0;
      break;
    case cmd::kKeyUnit:
      if (unit == kUnitWatts || unit == kUnitBtu) {
        const bool toBtu = unit == kUnitWatts;
        unit = toBtu ? kUnitBtu : kUnitWatts;
        if (fixedReading_) {  // a fixed reading is converted like a live one
          const double v = fixedReading_->trimmed().toDouble();
          fixedReading_ = FourFigures(toBtu ? v * kBtuPerWatt : v / kBtuPerWatt);
        }
      }
      heldReading_.reset();
      hold = false;
      break;
    case cmd::kKeyZero:
      zeroOn_ = !zeroOn_;
      break;
    case cmd::kKeyMemLong:
      loggingOn_ = !loggingOn_;
      break;
    case cmd::kKeyOnOff:
      poweredOn = !poweredOn;
      break;
    case cmd::kSetInterval:
      interval = ByteAt(r, 3);
      break;
    case cmd::kEraseLogger:
    case cmd::kEraseLoggerAlt:
      EraseLogger();
      break;
    case cmd::kSetClock: {
      const QDate d(2000 + ByteAt(r, 3), ByteAt(r, 4), ByteAt(r, 5));
      const QTime t(ByteAt(r, 6), ByteAt(r, 7), ByteAt(r, 8));
      if (d.isValid() && t.isValid()) SetClock(QDateTime(d, t));
      break;
    }
    case cmd::kSetCalibration:
      calibration = static_cast<std::uint16_t>(ByteAt(r, 3) | (ByteAt(r, 4) << 8));
      break;
    case cmd::kSetCycling:
      for (std::size_t k = 0; k < cycling.size(); ++k) cycling[k] = ByteAt(r, 3 + k);
      break;
    case cmd::kSetReservation:
      for (std::size_t k = 0; k < reservation.size(); ++k) reservation[k] = ByteAt(r, 3 + k);
      break;
    default:
      break;  // SET, POWER, ENTER, MEM, UP, DOWN, READ change nothing the PC reads
  }
}

}  // namespace solardesk::sim
