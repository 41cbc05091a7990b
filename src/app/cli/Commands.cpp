#include "Commands.h"

#include "DisplayCommands.h"
#include "ExportCommand.h"
#include "KeyCommand.h"
#include "LoggerCliCommands.h"
#include "MonitorCommand.h"
#include "RecordCommand.h"
#include "ReportCommand.h"
#include "SettingsCommands.h"
#include "StatsCommand.h"
#include "WatchCommand.h"

namespace solardesk::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"read", "read", RunRead},
      {"watch", "watch [--format text|csv|json|influx] [--interval S] [--count N]", RunWatch},
      {"record", "record FILE [--interval S] [--count N]", RunRecord},
      {"monitor",
       "monitor DIR [--interval S] [--mqtt URL] [--mqtt-cafile FILE] [--name NAME] "
       "[site options] [--http [ADDR:]PORT [--http-user NAME] [--http-open]]",
       RunMonitor},
      {"logger list", "logger list", RunLoggerList},
      {"logger download", "logger download K [-o FILE]", RunLoggerDownload},
      {"logger erase", "logger erase --yes", RunLoggerErase},
      {"clock show", "clock show", RunClockShow},
      {"clock set", "clock set", RunClockSet},
      {"interval show", "interval show", RunIntervalShow},
      {"interval set", "interval set S", RunIntervalSet},
      {"calibration show", "calibration show", RunCalibrationShow},
      {"calibration set", "calibration set V", RunCalibrationSet},
      {"reservation show", "reservation show", RunReservationShow},
      {"reservation set", "reservation set F0 ... F11", RunReservationSet},
      {"cycling show", "cycling show", RunCyclingShow},
      {"cycling set", "cycling set F0 ... F5", RunCyclingSet},
      {"key", "key NAME [--long]", RunKey},
      {"export", "export FILE.pvd [-o OUT.csv]", RunExport},
      {"stats", "stats FILE.pvd [--json] [site options]", RunStats},
      {"report", "report FILE.pvd|DIR... -o REPORT.pdf [site options]", RunReport, true},
  };
  return commands;
}

}  // namespace solardesk::cli
