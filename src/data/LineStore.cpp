#include "LineStore.h"

namespace solardesk {

QByteArrayView LineStore::bytes(int i) const {
  if (i < 0 || i >= count()) return {};
  const qsizetype start = starts_[static_cast<size_t>(i)];
  const qsizetype end = i + 1 < count() ? starts_[static_cast<size_t>(i) + 1] : data_.size();
  return QByteArrayView(data_.constData() + start, end - start);
}

void LineStore::append(QByteArrayView line) {
  starts_.push_back(data_.size());
  data_.append(line);
}

void LineStore::truncate(int n) {
  if (n < 0) n = 0;
  if (n >= count()) return;
  data_.truncate(starts_[static_cast<size_t>(n)]);
  starts_.resize(static_cast<size_t>(n));
}

void LineStore::clear() {
  data_.clear();
  starts_.clear();
}

void LineStore::reserve(qsizetype bytes, int lines) {
  data_.reserve(bytes);
  starts_.reserve(static_cast<size_t>(lines));
}

}  // namespace solardesk
