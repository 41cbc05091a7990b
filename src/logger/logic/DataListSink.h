#pragma once

#include <QString>

namespace solardesk {

// Where a downloaded record set goes: the DataList window, seen from the logger. The window
// itself belongs to the list windows; the program connects the two.
class DataListSink {
 public:
  virtual ~DataListSink() = default;
  // DataListOpen: a DataList window is open.
  virtual bool IsOpen() const = 0;
  // Closes the open DataList window (its unload clears DataListOpen).
  virtual void Close() = 0;
  // Shows a fresh, empty DataList window whose title is built from the logger unit
  // ("W/(M)2" or "Btu/(ft)2.h"); DataListOpen becomes true.
  virtual void Show(const QString& loggerUnit) = 0;
  // Adds one entry (a record line in logger form) to the open DataList window.
  virtual void AddEntry(const QString& line) = 0;
};

}  // namespace solardesk
