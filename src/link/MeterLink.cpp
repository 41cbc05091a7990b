#include "MeterLink.h"

#include "HexText.h"

namespace solardesk {

const QString MeterLink::kConnectedCaption = QStringLiteral("SOLAR POWER METER");
const QString MeterLink::kNotConnectedCaption = QStringLiteral(" No Connection");

MeterLink::MeterLink(HidBackend& backend, OutputSlots& byteSlots)
    : backend_(backend), byteSlots_(byteSlots) {}

MeterLink::~MeterLink() {
  CloseHandles();
}

bool MeterLink::LocateMeter() {
  const auto vendor = HexTextToId(vendorIdText);
  const auto product = HexTextToId(productIdText);
  CloseHandles();
  accessDenied_ = false;
  if (closedForGood_) return false;

  // The first candidate in enumeration order that matches and opens wins; a candidate that
  // cannot be opened is never taken for the meter.
  if (vendor && product) {
    for (const HidDeviceInfo& info : backend_.enumerate()) {
      devicePath_ = info.path;
      if (info.vendorId != *vendor || info.productId != *product) continue;
      OpenError error = OpenError::None;
      auto device = backend_.open(info.path, &error);
      if (!device) {
        if (error == OpenError::PermissionDenied) accessDenied_ = true;
        continue;
      }
      device_ = std::move(device);
      serialNumber_ = info.serialNumber;
      connected_ = true;
      break;
    }
  }
  if (!connected_) {
    silent_ = false;  // nothing there to be silent
    if (onStatusText) onStatusText(kNotConnectedCaption);
    return false;
  }
  if (onStatusText) onStatusText(kConnectedCaption);
  QueryReportSizes();
  return true;
}

void MeterLink::QueryReportSizes() {
  if (!device_) return;
  inputLength_ = device_->inputReportLength();
  outputLength_ = device_->outputReportLength();
}

void MeterLink::WriteOutputReport() {
  if (!device_) return;
  const auto report = byteSlots_.BuildReport(outputLength_);
  if (onTraffic) onTraffic('>', report);
  device_->write(report);  // a failed write never drops the connection; reads notice a loss
}

void MeterLink::ReadInputReport() {
  if (!device_) return;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::max(inputLength_, 0)), 0);
  const ReadOutcome outcome = device_->read(buffer, readTimeoutMs_);
  if (outcome == ReadOutcome::Completed) {
    buffer.resize(static_cast<std::size_t>(std::max(inputLength_, 0)), 0);
    inputReport_ = std::move(buffer);
    everAnswered_ = true;
    silent_ = false;
    if (onTraffic) onTraffic('<', inputReport_);
    return;
  }
  // Time-out or failure: the meter is gone. InputReport keeps the previous answer.
  silent_ = outcome == ReadOutcome::TimedOut;
  CloseHandles();
}

void MeterLink::TransactReport() {
  if (!connected_) LocateMeter();
  if (!connected_) return;
  WriteOutputReport();
  ReadInputReport();
}

void MeterLink::SendOutputReport() {
  if (connected_) {
    WriteOutputReport();
  } else {
    LocateMeter();
  }
}

void MeterLink::ReceiveInputReport() {
  if (connected_) {
    ReadInputReport();
  } else {
    LocateMeter();
  }
}

void MeterLink::CloseHandles() {
  device_.reset();
  connected_ = false;
}

void MeterLink::CloseForGood() {
  closedForGood_ = true;
  CloseHandles();
}

MeterLink::Presence MeterLink::MeterPresence() const {
  if (silent_) return Presence::NotAnswering;
  if (connected_) return Presence::Connected;
  return accessDenied_ ? Presence::NotPermitted : Presence::NotFound;
}

std::uint8_t MeterLink::InputByte(int index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= inputReport_.size()) return 0;
  return inputReport_[static_cast<std::size_t>(index)];
}

}  // namespace solardesk
