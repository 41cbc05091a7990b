#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace solardesk {

// The fifteen output byte slots (the main window's CboByte(0) to CboByte(14)): hexadecimal texts
// that become bytes 0 to 14 of every output report. A command sets only the slots it needs;
// the others keep what the last command or the user left there.
class OutputSlots {
 public:
  static constexpr int kCount = 15;

  OutputSlots();

  const QString& text(int slot) const;
  // Sets one slot; out-of-range slots are ignored.
  void set(int slot, const QString& text);
  // Sets slots 0, 1, 2 to "0", the class text and the code text, as every command does.
  void setCommand(unsigned commandClass, unsigned code);
  // Sets slots from `first` onward to the hexadecimal texts of `values`.
  void setParameters(int first, const std::vector<unsigned>& values);

  // The output report for a device whose reports are `length` bytes long: at most bytes 0 to 14
  // come from the slots, the rest are 0.
  std::vector<std::uint8_t> BuildReport(int length) const;

  // Called with the slot index after every change, so that a window can show the new text.
  std::function<void(int)> onChanged;

 private:
  std::array<QString, kCount> texts_;
};

}  // namespace solardesk
