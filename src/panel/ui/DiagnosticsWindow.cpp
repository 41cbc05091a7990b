#include "DiagnosticsWindow.h"

#include <QLabel>

#include "panel/logic/ChangingReports.h"

namespace solardesk {
namespace {

constexpr int kMargin = 8;

}  // namespace

const QString DiagnosticsWindow::kCaption = QStringLiteral("Diagnostics");

DiagnosticsWindow::DiagnosticsWindow(Instrument& instrument, QWidget& mainWindow)
    : QWidget(&mainWindow, Qt::Window), instrument_(instrument) {
  setObjectName(QStringLiteral("Diagnostics"));
  setWindowTitle(kCaption);
  BuildByteSlots();
  BuildButtons();
  BuildIdBoxes();
  lstResults = new QListWidget(this);
  lstResults->setObjectName(QStringLiteral("lstResults"));
  lstResults->setGeometry(kMargin, 214, 316, 200);
  setFixedSize(316 + 2 * kMargin, 214 + 200 + kMargin);
}

DiagnosticsWindow::~DiagnosticsWindow() {
  instrument_.byteSlots.onChanged = nullptr;
}

void DiagnosticsWindow::BuildByteSlots() {
  auto& byteSlots = instrument_.byteSlots;
  for (int i = 0; i < OutputSlots::kCount; ++i) {
    auto* c = new QComboBox(this);
    c->setObjectName(QStringLiteral("CboByte(%1)").arg(i));
    c->setEditable(true);
    c->setGeometry(kMargin + (i % 5) * 64, kMargin + (i / 5) * 30, 60, 26);
    c->setEditText(byteSlots.text(i));
    connect(c, &QComboBox::editTextChanged, this, [&byteSlots, i](const QString& t) {
      if (byteSlots.text(i) != t) byteSlots.set(i, t);
    });
    CboByte[static_cast<std::size_t>(i)] = c;
  }
  byteSlots.onChanged = [this](int i) {
    QComboBox* box = CboByte[static_cast<std::size_t>(i)];
    if (box->currentText() != instrument_.byteSlots.text(i))
      box->setEditText(instrument_.byteSlots.text(i));
  };
}

void DiagnosticsWindow::FillByteCombos() {
  QStringList items;
  for (int b = 0; b < 256; ++b)
    items << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
  for (std::size_t i = 0; i <= 7; ++i) {
    const QString keep = CboByte[i]->currentText();
    CboByte[i]->addItems(items);
    CboByte[i]->setEditText(keep);
  }
}

void DiagnosticsWindow::BuildButtons() {
  const auto button = [this](const char* name, const char* caption, int x, int y) {
    auto* b = new QPushButton(QString::fromLatin1(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(kMargin + x, y, 76, 28);
    return b;
  };
  CmdWrite = button("CmdWrite", "Write", 0, 108);
  CmdWnR = button("CmdWnR", "W then R", 80, 108);
  Read = button("Read", "Read", 160, 108);
  CmdClr = button("CmdClr", "Clear", 240, 108);
  cmdOnce = button("cmdOnce", "Once", 0, 142);
  cmdContinuous = button("cmdContinuous", "Continuous", 80, 142);
  auto& link = instrument_.link;
  connect(CmdWrite, &QPushButton::clicked, this, [this, &link] {
    if (MaySend()) link.SendOutputReport();
  });
  connect(CmdWnR, &QPushButton::clicked, this, [this, &link] {
    if (MaySend()) link.TransactReport();
  });
  connect(Read, &QPushButton::clicked, this, [&link] { link.ReceiveInputReport(); });
  connect(CmdClr, &QPushButton::clicked, this, [this] { lstResults->clear(); });
}

void DiagnosticsWindow::BuildIdBoxes() {
  auto& link = instrument_.link;
  const auto idBox = [this](const char* caption, const char* name, int x, const QString& text) {
    auto* label = new QLabel(QString::fromLatin1(caption), this);
    label->setGeometry(kMargin + x, 180, 30, 24);
    auto* box = new QLineEdit(text, this);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(kMargin + x + 32, 180, 60, 24);
    return box;
  };
  TxtVid = idBox("VID", "TxtVid", 0, link.vendorIdText);
  TxtPid = idBox("PID", "TxtPid", 100, link.productIdText);
  connect(TxtVid, &QLineEdit::textChanged, this,
          [&link](const QString& t) { link.vendorIdText = t; });
  connect(TxtPid, &QLineEdit::textChanged, this,
          [&link](const QString& t) { link.productIdText = t; });
}

bool DiagnosticsWindow::MaySend() {
  const std::optional<QString> change = MeterChangeOf(instrument_.byteSlots.BuildReport(3));
  if (!change) return true;
  const DialogOwner owner(instrument_.dialogs, this);
  return instrument_.dialogs.message(MeterChangeQuestion(*change), kCaption, MessageIcon::Question,
                                     MessageButtons::OkCancel) == DialogAnswer::Ok;
}

}  // namespace solardesk
