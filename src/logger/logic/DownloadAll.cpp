#include "DownloadAll.h"

#include <QDir>
#include <QFileInfo>

#include "CompareSets.h"
#include "SetFiles.h"
#include "core/WriteGate.h"

namespace solardesk {

QString ReplaceQuestion(int count) {
  if (count == 1) {
    return QStringLiteral(
        "1 file in this folder has the same name as a record set. Replace it?\n"
        "Cancel keeps it and downloads only the other sets.");
  }
  return QStringLiteral(
             "%1 files in this folder have the same names as record sets. Replace them?\n"
             "Cancel keeps them and downloads only the other sets.")
      .arg(count);
}

DownloadAllPlan PlanDownloadAll(Dialogs& dialogs, const QString& folder,
                                const std::vector<int>& sets, const LoggerState& state) {
  DownloadAllPlan plan{folder, sets, {}, std::vector<bool>(sets.size(), false)};
  QStringList starts;
  for (const int set : sets) starts.push_back(state.SetStartText(set));
  plan.names = SetFileNames(starts);

  std::vector<std::size_t> existing;
  for (std::size_t i = 0; i < sets.size(); ++i) {
    const QString path = QDir(folder).filePath(plan.names[static_cast<qsizetype>(i)]);
    if (QFileInfo::exists(path) && WriteGate::Shared().InUse(path).isEmpty()) existing.push_back(i);
  }
  if (existing.empty()) return plan;
  // One question for the whole run, not one per file. Cancel keeps the files and still fetches
  // the other sets rather than ending the run: the names are the sets' start times, so a file of
  // the same name is almost always the same set saved by an earlier run, and what the user came
  // for is the sets saved since. No answer ever loses a file or the new sets.
  const DialogAnswer answer =
      dialogs.message(ReplaceQuestion(static_cast<int>(existing.size())), kProgramTitle,
                      MessageIcon::Question, MessageButtons::OkCancel);
  if (answer != DialogAnswer::Ok) {
    for (const std::size_t i : existing) plan.keep[i] = true;
  }
  return plan;
}

DownloadAllResult DownloadAllSets(Instrument& instrument, LoggerState& state,
                                  const DownloadAllPlan& plan, DataListSink& files,
                                  const DownloadHooks& hooks) {
  DownloadAllResult result;
  result.sets = static_cast<int>(plan.sets.size());
  for (std::size_t i = 0; i < plan.sets.size(); ++i) {
    if (plan.keep[i]) {
      ++result.kept;
      continue;
    }
    const auto set = DownloadSetsToCompare(instrument, state, {plan.sets[i]}, hooks);
    // The download said why it failed; the sets after it are not tried.
    if (!set || instrument.Ending()) {
      result.stopped = true;
      return result;
    }
    const QString& name = plan.names[static_cast<qsizetype>(i)];
    const QString why =
        files.WriteSetFile(QDir(plan.folder).filePath(name), set->front().unit, set->front().lines);
    if (why.isEmpty()) {
      ++result.written;
    } else {
      result.refused.push_back(QStringLiteral("%1: %2").arg(name, why));
    }
  }
  return result;
}

QString DownloadAllSummary(const DownloadAllResult& result, const QString& folder) {
  QString text = QStringLiteral("%1 of %2 record sets written to %3.")
                     .arg(result.written)
                     .arg(result.sets)
                     .arg(QDir::toNativeSeparators(folder));
  if (result.kept == 1) text += QStringLiteral("\n1 file of the same name kept as it was.");
  if (result.kept > 1)
    text += QStringLiteral("\n%1 files of the same names kept as they were.").arg(result.kept);
  if (!result.refused.isEmpty())
    text += QStringLiteral("\nNot written:\n") + result.refused.join(QLatin1Char('\n'));
  return text;
}

bool DownloadAllComplete(const DownloadAllResult& result) {
  return !result.stopped && result.refused.isEmpty();
}

}  // namespace solardesk
