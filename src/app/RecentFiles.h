#pragma once

#include <QStringList>

namespace solardesk {

// The data files opened or recorded last, kept across runs in the user's settings: most recent
// first, each once, at most kMost.
class RecentFiles {
 public:
  static constexpr int kMost = 8;

  QStringList Paths() const;
  // Puts `path` (made absolute) in front, taking it out of where it was before.
  void Add(const QString& path);
  void Remove(const QString& path);

 private:
  void Store(const QStringList& paths);
};

}  // namespace solardesk
