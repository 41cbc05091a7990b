#include "SamplingChoice.h"

#include <QVBoxLayout>

#include "panel/ui/WindowPlacement.h"

namespace solardesk {

const QString SamplingChoice::kCaption = QStringLiteral("Sampling Rate");

SamplingChoice::SamplingChoice(bool& pcSampling, QWidget& mainWindow)
    : QDialog(&mainWindow), pcSampling_(pcSampling) {
  setObjectName(QStringLiteral("SamplingChoice"));
  setWindowTitle(kCaption);
  setModal(true);
  OptMeter = new QRadioButton(QStringLiteral("Meter Sampling Rate"), this);
  OptMeter->setObjectName(QStringLiteral("OptMeter"));
  OptMeter->setChecked(true);
  OptPC = new QRadioButton(QStringLiteral("PC Sampling Rate"), this);
  OptPC->setObjectName(QStringLiteral("OptPC"));
  CmdOK = new QPushButton(QStringLiteral("OK"), this);
  CmdOK->setObjectName(QStringLiteral("CmdOK"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(OptMeter);
  layout->addWidget(OptPC);
  layout->addWidget(CmdOK);
  connect(CmdOK, &QPushButton::clicked, this, [this] {
    pcSampling_ = OptPC->isChecked();
    accept();
  });
  resize(240, sizeHint().height());
  // Centred over the main window, 1000 twips (1/1440 inch) below its top.
  const int below = (1000 * logicalDpiY() + 720) / 1440;
  PlaceWindow(*this, CentredOver(*this, mainWindow, below), &mainWindow);
}

}  // namespace solardesk
