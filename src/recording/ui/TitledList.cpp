#include "TitledList.h"

#include <QVBoxLayout>

#include "recording/logic/DataFileFormat.h"

namespace solardesk {

TitledList::TitledList(const QString& objectName, const QString& caption, QWidget* parent)
    : ListWindow(objectName, caption, parent) {
  LblTitle = new QLabel(this);
  LblTitle->setObjectName(QStringLiteral("LblTitle"));
  LblTitle->setFont(ListFont());
  LblTitle->setTextFormat(Qt::PlainText);
  model_ = new LineListModel(records_.entries(), this);
  ListData = new QListView(this);
  ListData->setObjectName(QStringLiteral("ListData"));
  ListData->setFont(ListFont());
  ListData->setUniformItemSizes(true);
  ListData->setLayoutMode(QListView::Batched);
  ListData->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListData->setModel(model_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(Toolbar1);
  layout->addWidget(LblTitle);
  layout->addWidget(ListData);
  const int width = QFontMetrics(ListFont()).horizontalAdvance(QString(64, QLatin1Char('A')));
  resize(width, 480);
}

void TitledList::SetTitleText(const QString& title) {
  title_ = title;
  LblTitle->setText(AlignedLine(title));
}

QString TitledList::UnitText() const {
  return QString::fromLatin1(TabField(title_.toLatin1(), 2)).trimmed();
}

void TitledList::AddAnalysisButtons() {
  addToolbarButton(QStringLiteral("Statistics"), QStringLiteral("Statistics"));
  addToolbarButton(QStringLiteral("Export CSV"), QStringLiteral("Export as CSV"));
}

}  // namespace solardesk
