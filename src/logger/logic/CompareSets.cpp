#include "CompareSets.h"

#include "DataListSink.h"

namespace solardesk {
namespace {

// Takes a set's lines as a DataList window would, without a window.
class CollectedLines final : public DataListSink {
 public:
  bool IsOpen() const override { return open_; }
  void Close() override { open_ = false; }
  void Show(const QString&) override {
    open_ = true;
    lines.clear();
  }
  void AddEntry(const QString& line) override { lines.push_back(line); }

  QStringList lines;

 private:
  bool open_ = false;
};

}  // namespace

std::optional<QString> CompareRefusal(int markedSets) {
  if (markedSets >= kFewestCompared && markedSets <= kMostCompared) return std::nullopt;
  return QStringLiteral("Mark from %1 to %2 record sets to compare (%3 marked).")
      .arg(kFewestCompared)
      .arg(kMostCompared)
      .arg(markedSets);
}

std::optional<std::vector<ComparedSet>> DownloadSetsToCompare(Instrument& instrument,
                                                              LoggerState& state,
                                                              const std::vector<int>& sets,
                                                              const DownloadHooks& hooks) {
  std::vector<ComparedSet> out;
  for (const int set : sets) {
    CollectedLines collected;
    if (DownloadLoggerSet(instrument, state, set, collected, hooks) != DownloadOutcome::Listed)
      return std::nullopt;
    QString start = state.SetStartText(set);
    while (!start.isEmpty() && (start.back().isNull() || start.back().isSpace())) start.chop(1);
    out.push_back(
        {set, QStringLiteral("20") + start, state.LoggerUnit, std::move(collected.lines)});
  }
  return out;
}

}  // namespace solardesk
