#pragma once

#include "TitledList.h"
#include "recording/logic/DataFileReader.h"

namespace solardesk {

// The contents of an opened data file: the header in the title label, one entry per record.
// Toolbar: "Plot", "Print", "Print Preview", "Statistics" and "Export CSV".
class FileList final : public TitledList, public LoadTarget {
  Q_OBJECT
 public:
  explicit FileList(QWidget* parent);

  static const QString kCaption;  // "File List"

  // The file shown, so that a report can name the data it was made from.
  void SetSourcePath(const QString& path) { sourcePath_ = path; }
  const QString& SourcePath() const { return sourcePath_; }

  void SetTitle(const QString& title) override { SetTitleText(title); }
  RecordSeries& Records() override { return TitledList::Records(); }
  void EntriesAdded() override { SyncEntries(); }

  QString Caption() const override { return ListWindow::Caption(); }
  void SetCaption(const QString& text) override { ListWindow::SetCaption(text); }
  void SetBusy(bool busy) override { ListWindow::SetBusy(busy); }
  void LetEventsRun() override { ListWindow::LetEventsRun(); }

 private:
  QString sourcePath_;
};

// A downloaded logger record set: the title built from the logger unit, one entry per record.
// Toolbar: "Save", "Statistics" and "Export CSV".
class DataList final : public TitledList {
  Q_OBJECT
 public:
  DataList(const QString& loggerUnit, QWidget* parent);

  static const QString kCaption;  // "DataList"
};

}  // namespace solardesk
