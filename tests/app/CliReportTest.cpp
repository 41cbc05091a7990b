#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>

#include "CliProcess.h"
#include "analysis/ClearSky.h"
#include "report/PdfTools.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {
namespace {

// A station's day file: a reading every 5 minutes of the date at Golden, Colorado (-06:00),
// at `share` of the clear sky.
QByteArray JuneDay(int day, double share) {
  const Site golden{39.742476, -105.1786, 1830.14};
  QByteArray lines = kWattFileHeader;
  const QDateTime midnight(QDate(2026, 6, day), QTime(0, 0), Qt::UTC);
  for (int i = 0; i < 288; ++i) {
    const QDateTime local = midnight.addSecs(i * 300);
    lines += QStringLiteral("%1\t%2\t %3\t\r\n")
                 .arg(i + 1, 7)
                 .arg(local.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")))
                 .arg(share * ClearSkyGhi(golden, local.toSecsSinceEpoch() + 6 * 3600), 0, 'f', 3)
                 .toLatin1();
  }
  return lines;
}

// A folder of day files is one series; the report names each file with its size and SHA-256,
// has a row per date, and is on Letter paper under a US locale.
TEST(CliReport, FolderOfDayFilesIsOneReport) {
  if (!HasPoppler())
    SKIP_UNLESS_CI("poppler-utils (pdfinfo, pdftotext, pdftoppm, pdfimages) missing");
  ScenarioFile s("{}");
  QDir(s.folder()).mkdir("days");
  const QByteArray days[] = {JuneDay(21, 0.5), JuneDay(22, 0.25)};
  s.write("days/2026-06-21.pvd", days[0]);
  s.write("days/2026-06-22.pvd", days[1]);
  const QString pdf = s.file("report.pdf");
  const CliRun r = RunCli({"report", s.file("days"), "-o", pdf, "--site",
                           "39.742476,-105.1786,1830.14", "--tz", "America/Denver"},
                          {"LC_ALL=en_US.UTF-8", "TZ=Europe/Berlin"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_TRUE(PdfPageSize(pdf).startsWith("612 x 792")) << PdfPageSize(pdf).toStdString();
  EXPECT_GE(PdfPages(pdf), 2);
  const QString text = PdfText(pdf);
  for (const QString& expected :
       {QStringLiteral("Solar site report"),
        QStringLiteral("39.742476, -105.1786, elevation 1830.14 m"),
        QStringLiteral("Time zone: America/Denver"),
        QStringLiteral("Period: 2026-06-21 to 2026-06-22 (2 dates with readings)"),
        QStringLiteral("Clear-sky index"), QStringLiteral("2026-06-21.pvd"),
        QStringLiteral("%1 bytes").arg(days[1].size()),
        QString::fromLatin1(QCryptographicHash::hash(days[0], QCryptographicHash::Sha256).toHex()),
        QStringLiteral("SolarDesk ")})
    EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
  for (const auto& [date, index] : {std::pair{"2026-06-21", "0.500"}, {"2026-06-22", "0.250"}})
    EXPECT_EQ(text.count(QRegularExpression(
                  QStringLiteral("^ *%1 +288 .* %2 +100\\.0 %$").arg(date, index),
                  QRegularExpression::MultilineOption)),
              1)
        << date;

  // The files named one by one, the later date first: still one series in time order, without
  // the step back in time that would be a gap.
  const QString reversed = s.file("reversed.pdf");
  ASSERT_EQ(RunCli({"report", s.file("days/2026-06-22.pvd"), s.file("days/2026-06-21.pvd"), "-o",
                    reversed, "--site", "39.742476,-105.1786,1830.14", "--tz", "America/Denver"})
                .exitCode,
            0);
  const QRegularExpression noGap(QStringLiteral("^ *Gaps +0 \\(0 s\\)$"),
                                 QRegularExpression::MultilineOption);
  EXPECT_TRUE(text.contains(noGap));
  EXPECT_TRUE(PdfText(reversed).contains(noGap)) << PdfText(reversed).toStdString();
}

TEST(CliReport, Refusals) {
  ScenarioFile s("{}");
  const QString watts = s.write("w.pvd", JuneDay(21, 1));
  const QString btu = s.write("b.pvd",
                              "      No.s\t            Date Time\t    Btu/(ft)2.h\t\r\n"
                              "      1\t2026/06/22 10:00:00\t 100\t\r\n");
  QDir(s.folder()).mkdir("empty");
  const QString pdf = s.file("r.pdf");
  ExpectFailures({
      {{"report", watts}, 2, "usage: report FILE.pvd|DIR... -o REPORT.pdf"},
      {{"report", "-o", pdf}, 2, "usage"},
      {{"report", watts, "-o", pdf, "--site", "39.7,-105.2", "--tilt", "91"},
       2,
       "tilt 91 is not within 0 to 90"},
      {{"report", watts, "-o", pdf, "--site", "39.7,-105.2", "--model", "haurwitz", "--linke", "2"},
       2,
       "--linke has no effect on the Haurwitz clear sky: use --model ineichen"},
      {{"report", watts, btu, "-o", pdf}, 1, "one report takes one unit"},
      {{"report", s.file("empty"), "-o", pdf}, 1, "no .pvd file"},
      {{"report", watts, "-o", s.file("no/such/folder/r.pdf")}, 1, "cannot write"},
  });
}

}  // namespace
}  // namespace solardesk::testing
