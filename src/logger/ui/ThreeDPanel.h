#pragma once

#include <QColor>
#include <QFrame>
#include <QString>

namespace solardesk {

// A raised 3-D panel that can show a caption and fill itself from the left up to a percentage
// (the flood fill), and reports clicks. The Memory window uses it for its gauge and for the
// colour swatches of the gauge's legend.
class ThreeDPanel : public QFrame {
  Q_OBJECT
 public:
  explicit ThreeDPanel(const QString& caption = QString(), QWidget* parent = nullptr);

  QString caption() const { return caption_; }
  // -1 shows no flood: the panel is all `background`. 0..100 fills that share with `flood`.
  void setFloodPercent(int percent);
  int floodPercent() const { return floodPercent_; }
  void setColors(const QColor& flood, const QColor& background);

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  QString caption_;
  int floodPercent_ = -1;
  QColor flood_;
  QColor background_;
};

}  // namespace solardesk
