#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "PendingAnswers.h"
#include "core/Clock.h"
#include "panel/logic/DisplayDecode.h"

namespace solardesk::sim {

// One record set in the virtual meter's logger.
struct VirtualLoggerSet {
  QString start;  // "yy/mm/dd hh:mm:ss"
  // From position 1; zero beyond its end. Shared with the downloads under way.
  std::shared_ptr<const std::vector<std::uint8_t>> stream =
      std::make_shared<const std::vector<std::uint8_t>>();
  std::uint32_t length = 0;  // the length the meter reports
  // How many 64-byte blocks the meter really sends for the set; when empty, as many as the
  // length asks for. Fewer model a meter that stops answering in the middle of a set.
  std::optional<std::size_t> blocksSent;
};

// A solar power meter in software. It answers every query of the command table at the byte
// positions the program reads, takes every action and setting command, and changes its state
// as a meter would: UNIT switches the unit, HOLD freezes the reading, settings are reported
// back, erase empties the logger. Its reading follows the sun over the day, with clouds,
// unless a fixed reading or a whole display image is set.
class VirtualMeter {
 public:
  explicit VirtualMeter(const Clock& clock);

  // The answers to one output report (index 0 the report ID), each as the data bytes that
  // follow the report ID. Action commands have none.
  PendingAnswers Handle(const std::vector<std::uint8_t>& report);

  // The latest output reports received, in order: at most kReceivedKept, so that a station run
  // on the virtual meter for days keeps a steady memory. receivedTotal counts them all.
  static constexpr std::size_t kReceivedKept = 4096;
  std::deque<std::vector<std::uint8_t>> received;
  std::uint64_t receivedTotal = 0;

  // Display.
  void SetFixedReading(const QString& text);  // figures with at most one "."; stops the sun
  void FollowSunlight() { fixedReading_.reset(); }
  void SetDisplayImage(const std::array<std::uint8_t, kDisplayImageBytes>& image) {
    image_ = image;
  }
  QString unit = kUnitWatts;  // kUnitWatts, kUnitBtu or "" (no unit shown)
  bool hold = false;
  bool poweredOn = true;
  std::array<std::uint8_t, kDisplayImageBytes> DisplayImage() const;
  QString CurrentReadingText() const;

  // Settings the meter reports and takes.
  std::uint8_t interval = 60;
  std::uint16_t calibration = 1000;
  std::array<std::uint8_t, 12> reservation{26, 12, 5, 8, 0, 0, 26, 12, 5, 17, 0, 0};
  std::array<std::uint8_t, 6> cycling{6, 0, 0, 18, 0, 0};
  void SetClock(const QDateTime& meterTime);
  QDateTime MeterTime() const;

  // Logger.
  std::uint8_t loggerStatus = 1;
  std::uint32_t capacityKb = 2 * 1024 * 1024;
  std::uint32_t freeKb = 2 * 1024 * 1024 - 1024;
  std::vector<VirtualLoggerSet> sets;
  void AddSet(const QString& start, const QString& intervalText, const QString& unitText,
              const std::vector<QString>& readings);
  void EraseLogger();

  // Irradiance in W/m2 at a time of day: a clear-sky arc from 6:00 to 18:00 with passing clouds.
  static double SunlightAt(const QDateTime& t);

 private:
  PendingAnswers Query(unsigned code, std::uint8_t parameter) const;
  void Act(unsigned code, const std::vector<std::uint8_t>& report);
  double LiveValue() const;

  const Clock& clock_;
  std::optional<QString> fixedReading_;
  std::optional<std::array<std::uint8_t, kDisplayImageBytes>> image_;
  std::optional<QString> heldReading_;
  qint64 clockOffsetMs_ = 0;
  int maxMinMode_ = 0;  // 0 live, 1 showing MAX, 2 showing MIN
  bool zeroOn_ = false;
  bool loggingOn_ = false;
  bool showTime_ = false;
};

// The flags of a display showing `reading` (figures with at most one ".") in `unit`, with the
// hold and record annunciators as given.
DisplayFlags DisplayFor(const QString& reading, const QString& unit);

}  // namespace solardesk::sim
