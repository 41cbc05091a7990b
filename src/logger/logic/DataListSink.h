#pragma once

#include <QString>
#include <QStringList>

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

  // Writes a downloaded set to `path` in the layout a DataList "Save" writes (its title line,
  // then the lines), through the write gate. Empty when written; otherwise why not. Without
  // list windows nothing is written.
  virtual QString WriteSetFile(const QString& /*path*/, const QString& /*loggerUnit*/,
                               const QStringList& /*lines*/) {
    return QStringLiteral("There is no place to write it.");
  }
  // "Export CSV" of a downloaded set: asks for the file and writes the set there as a DataList's
  // "Export CSV" does.
  virtual void ExportSetCsv(const QString& /*loggerUnit*/, const QStringList& /*lines*/) {}
};

}  // namespace solardesk
