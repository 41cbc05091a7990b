#include "OutputSlots.h"

#include "HexText.h"

namespace solardesk {

OutputSlots::OutputSlots() {
  texts_.fill(QStringLiteral("00"));
}

const QString& OutputSlots::text(int slot) const {
  static const QString empty;
  return (slot >= 0 && slot < kCount) ? texts_[static_cast<std::size_t>(slot)] : empty;
}

void OutputSlots::set(int slot, const QString& text) {
  if (slot < 0 || slot >= kCount) return;
  texts_[static_cast<std::size_t>(slot)] = text;
  if (onChanged) onChanged(slot);
}

void OutputSlots::setCommand(unsigned commandClass, unsigned code) {
  set(0, QStringLiteral("0"));
  set(1, ToHexText(commandClass));
  set(2, ToHexText(code));
}

void OutputSlots::setParameters(int first, const std::vector<unsigned>& values) {
  int slot = first;
  for (unsigned v : values) set(slot++, ToHexText(v));
}

std::vector<std::uint8_t> OutputSlots::BuildReport(int length) const {
  if (length <= 0) return {};
  std::vector<std::uint8_t> report(static_cast<std::size_t>(length), 0);
  const int last = std::min(length - 1, kCount - 1);
  for (int i = 0; i <= last; ++i) report[static_cast<std::size_t>(i)] = HexTextToByte(text(i));
  return report;
}

}  // namespace solardesk
