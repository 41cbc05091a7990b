#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Commands.h"
#include "HidDevice.h"
#include "OutputSlots.h"

namespace solardesk {

// The whole connection to the meter (the USB module): finds it by vendor and product ID, opens
// it, learns its report lengths, writes output reports built from the byte slots and reads input
// reports with a bounded wait. Nothing here reports an error to its caller: the outcome shows as
// MeterConnected() and the content of InputReport(), which keeps the last good answer after a
// failed read.
class MeterLink {
 public:
  MeterLink(HidBackend& backend, OutputSlots& byteSlots);
  ~MeterLink();
  MeterLink(const MeterLink&) = delete;
  MeterLink& operator=(const MeterLink&) = delete;

  // The ID texts (TxtVid, TxtPid), parsed as hexadecimal at every connection attempt.
  QString vendorIdText = QString::fromLatin1(cmd::kDefaultVendorText);
  QString productIdText = QString::fromLatin1(cmd::kDefaultProductText);

  // Enumerate, match, open, read report lengths. Closes a device still open first, so that
  // repeated attempts never leak handles.
  bool LocateMeter();
  void QueryReportSizes();
  void WriteOutputReport();
  void ReadInputReport();

  // The three exchange procedures used by everything above the link. Each first connects when
  // not connected; only TransactReport goes on to exchange in the same call.
  void TransactReport();
  void SendOutputReport();
  void ReceiveInputReport();

  // Closes the device (both handles of the meter), connected or not.
  void CloseHandles();
  // Closes the device and refuses every later attempt to find it: the program is ending, and
  // a handler still on its way out must not open the meter again.
  void CloseForGood();
  bool ClosedForGood() const { return closedForGood_; }

  bool MeterConnected() const { return connected_; }
  const std::vector<std::uint8_t>& InputReport() const { return inputReport_; }
  // Byte `index` of the last input report, or 0 when the report does not reach that far.
  std::uint8_t InputByte(int index) const;
  int InputReportLength() const { return inputLength_; }
  int OutputReportLength() const { return outputLength_; }
  const std::string& DevicePath() const { return devicePath_; }
  // The serial number the meter found last reported; empty when it reports none.
  const std::string& SerialNumber() const { return serialNumber_; }
  OutputSlots& Slots() { return byteSlots_; }

  // True when the last search found a device with the configured IDs that could not be opened
  // because access was denied (a missing udev rule on Linux).
  bool AccessDenied() const { return accessDenied_; }
  // Where the meter stands after the last search or read: open and answering, absent, present
  // but refused (AccessDenied), or present but silent (the last read timed out; it is found and
  // opened again at the next attempt, and stays "not answering" until a read brings an answer).
  enum class Presence { Connected, NotFound, NotPermitted, NotAnswering };
  Presence MeterPresence() const;

  // True once any read has brought an answer since start-up: before that, InputReport() holds
  // nothing a command could take for the meter's.
  bool EverAnswered() const { return everAnswered_; }

  void setReadTimeoutMs(int ms) { readTimeoutMs_ = ms; }

  // The link state as the main window's name label shows it.
  static const QString kConnectedCaption;     // "SOLAR POWER METER"
  static const QString kNotConnectedCaption;  // " No Connection"
  std::function<void(const QString&)> onStatusText;

  // Every report written ('>') and read ('<'), for tracing.
  std::function<void(char direction, const std::vector<std::uint8_t>&)> onTraffic;

 private:
  HidBackend& backend_;
  OutputSlots& byteSlots_;
  std::unique_ptr<HidDevice> device_;
  std::string devicePath_;
  std::string serialNumber_;
  bool connected_ = false;
  bool accessDenied_ = false;
  bool closedForGood_ = false;
  bool everAnswered_ = false;
  bool silent_ = false;  // the last read timed out
  int inputLength_ = 0;
  int outputLength_ = 0;
  int readTimeoutMs_ = cmd::kReadTimeoutMs;
  std::vector<std::uint8_t> inputReport_;
};

}  // namespace solardesk
