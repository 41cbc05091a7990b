#include "SecondTicker.h"

namespace solardesk {
namespace {

qint64 SecondOf(const QDateTime& t) {
  const qint64 ms = t.toMSecsSinceEpoch();
  return ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
}

}  // namespace

SecondTicker::SecondTicker(QTimer& timer, const Clock& clock, std::function<void()> onSecond)
    : timer_(timer), clock_(clock), onSecond_(std::move(onSecond)) {
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(MsToNextSecond(clock_.now()));
  connection_ = QObject::connect(&timer_, &QTimer::timeout, [this] { Timeout(); });
}

SecondTicker::~SecondTicker() {
  QObject::disconnect(connection_);
}

int SecondTicker::MsToNextSecond(const QDateTime& now) {
  const qint64 ms = now.toMSecsSinceEpoch();
  const int intoSecond = static_cast<int>(ms - SecondOf(now) * 1000);
  return 1000 - intoSecond + kMarginMs;
}

void SecondTicker::Timeout() {
  const QDateTime now = clock_.now();
  const qint64 second = SecondOf(now);
  // Aim the next timeout afresh from the clock; an active timer restarts with it.
  timer_.setInterval(MsToNextSecond(now));
  if (second == lastSecond_) return;  // early: this second has had its tick
  lastSecond_ = second;
  if (onSecond_) onSecond_();
}

qint64 SecondTicker::SecondsSinceLastTick() const {
  if (lastSecond_ < 0) return 0;
  return SecondOf(clock_.now()) - lastSecond_;
}

}  // namespace solardesk
