#pragma once

#include <QLabel>
#include <QListView>

#include "ListModels.h"
#include "ListWindow.h"
#include "data/RecordSeries.h"

namespace solardesk {

// A list window with a title label above a list box, both in the list font: the layout that
// FileList and DataList share.
class TitledList : public ListWindow {
  Q_OBJECT
 public:
  TitledList(const QString& objectName, const QString& caption, QWidget* parent);

  QLabel* LblTitle = nullptr;
  QListView* ListData = nullptr;

  // The records the list shows, one entry each.
  RecordSeries& Records() { return records_; }
  const RecordSeries& Records() const { return records_; }
  const LineStore& Entries() const { return records_.entries(); }
  // Records were appended; the list box catches up.
  void SyncEntries() { model_->Sync(); }
  // The title label's text with its tabs as they are stored (the label shows it in columns).
  QString TitleText() const { return title_; }
  void SetTitleText(const QString& title);
  // The unit field of the title (the third field), without blanks around it.
  QString UnitText() const;

 protected:
  // "Statistics" and "Export CSV", which every list in the data-file layout offers.
  void AddAnalysisButtons();

 private:
  RecordSeries records_;
  LineListModel* model_ = nullptr;
  QString title_;
};

}  // namespace solardesk
