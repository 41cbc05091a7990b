#include "FileList.h"

#include "recording/logic/DataFileFormat.h"

namespace solardesk {

const QString FileList::kCaption = QStringLiteral("File List");
const QString DataList::kCaption = QStringLiteral("DataList");

FileList::FileList(QWidget* parent) : TitledList(QStringLiteral("FileList"), kCaption, parent) {
  addToolbarButton(QStringLiteral("Plot"), QStringLiteral("Graphic Plot"));
  addToolbarButton(QStringLiteral("Print"), QStringLiteral("Print"));
  addToolbarButton(QStringLiteral("Print Preview"), QStringLiteral("Print Preview"));
  AddAnalysisButtons();
}

DataList::DataList(const QString& loggerUnit, QWidget* parent)
    : TitledList(QStringLiteral("DataList"), kCaption, parent) {
  addToolbarButton(QStringLiteral("Save"), QStringLiteral("Save As"));
  AddAnalysisButtons();
  SetTitleText(HeaderText(loggerUnit));
}

}  // namespace solardesk
