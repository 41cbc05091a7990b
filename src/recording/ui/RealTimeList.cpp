#include "RealTimeList.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QVBoxLayout>

#include "recording/logic/DataFileFormat.h"

namespace solardesk {

const QString RealTimeList::kCaption = QStringLiteral("Real Time List");

RealTimeList::RealTimeList(const QString& listUnit, QWidget* parent)
    : ListWindow(QStringLiteral("RealTimeList"), kCaption, parent) {
  rows_.append(HeaderText(listUnit));
  model_ = new LiveRowsModel(rows_, this);
  GridN = new QTableView(this);
  GridN->setObjectName(QStringLiteral("GridN"));
  GridN->setModel(model_);
  GridN->setFont(ListFont());
  GridN->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  GridN->setSelectionMode(QAbstractItemView::NoSelection);
  GridN->setEditTriggers(QAbstractItemView::NoEditTriggers);
  GridN->verticalHeader()->hide();
  GridN->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  GridN->verticalHeader()->setDefaultSectionSize(GridN->fontMetrics().height() + 4);
  GridN->horizontalHeader()->setFont(ListFont());
  GridN->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // Each column as wide as its sizing text, and wider where its header or its widest row
  // needs more: the date-time header is longer than a date, and a number column of "      "
  // and a seven-figure count longer than ten characters. Nothing is cut off.
  const QFontMetrics metrics(ListFont());
  const QString widestRow[] = {ListNumberCell(9999999.0f), QString(), QString()};
  const char* sizing[] = {"AAAAAAAAAA", "AAAA/AA/AA AA:AA:AA", "AAAAAAAAAAAAAAAA"};
  QHeaderView* header = GridN->horizontalHeader();
  int width = 0;
  for (int c = 0; c < 3; ++c) {
    const int text = std::max(metrics.horizontalAdvance(QString::fromLatin1(sizing[c])),
                              metrics.horizontalAdvance(widestRow[c]));
    const int w = std::max(text + 12, header->sectionSizeHint(c));
    GridN->setColumnWidth(c, w);
    width += w;
  }
  addToolbarButton(QStringLiteral("Save"), QStringLiteral("Save As"));
  addToolbarButton(QStringLiteral("Print"), QStringLiteral("Print"));
  addToolbarButton(QStringLiteral("Print Preview"), QStringLiteral("Print Preview"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Toolbar1);
  layout->addWidget(GridN);
  resize(width + GridN->verticalScrollBar()->sizeHint().width() + 4, 420);
}

void RealTimeList::FollowNewest() {
  GridN->doItemsLayout();
  QScrollBar* bar = GridN->verticalScrollBar();
  bar->setValue(bar->value() + 1);
}

}  // namespace solardesk
