#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "VirtualHidBackend.h"

namespace solardesk::sim {

// A virtual meter described in a JSON file, for demos, training and tests. Every key is
// optional; unknown keys and values of the wrong type are errors that name the key.
//
//   "reading"      text: figures 1 to 4 with at most one "."; any other character leaves its
//                  digit blank
//   "unit"         "W/(M)2", "Btu/(ft)2.h" or "" (no unit shown)
//   "display_hex"  the 30 bytes of the display answer as hexadecimal digits (spaces allowed);
//                  they then stand as they are
//   "clock"        "yy/mm/dd hh:mm:ss": the meter clock at start, running on from there
//   "interval"     logging interval in seconds (0..255)
//   "calibration"  0..65535
//   "reservation"  twelve numbers 0..255; "cycling": six numbers 0..255
//   "logger"       {"status": 0..255, "capacity_kb": A, "free_kb": B, "sets": [set, ...]}
//                  a set is {"start": "yy/mm/dd hh:mm:ss", "interval": nine characters,
//                  "unit": nine characters, "readings": [five-character texts]} or
//                  {"start": ..., "length": the length reported, "stream_hex": the stream from
//                  position 1, zero beyond}
//   "input_report_length", "output_report_length"  (default 65)
//   "absent"       true: the meter is not on the bus; "silent": true: it never answers
//   "timeline"     [{"after": seconds, and any of "absent", "silent", "unit", "reading"}, ...]:
//                  changes that come that long after the start (unplug, re-plug, unit change)
struct ScenarioResult {
  std::unique_ptr<VirtualHidBackend> bus;  // one port holding the meter
  std::shared_ptr<VirtualMeter> meter;
  QString error;  // empty on success, else names the key ("unit: must be ...")
};

ScenarioResult LoadScenario(const QByteArray& json, const Clock& clock);
ScenarioResult LoadScenarioFile(const QString& path, const Clock& clock);

}  // namespace solardesk::sim
