#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "PdfTools.h"
#include "analysis/ClearSky.h"
#include "analysis/SiteSettings.h"
#include "core/Calendar.h"
#include "recording/ui/StatisticsWindow.h"
#include "report/SiteReport.h"
#include "support/ScriptedDialogs.h"
#include "support/SkipUnlessCi.h"

namespace solardesk::testing {
namespace {

const Site kBerlin{52.52, 13.4, 34};
constexpr int kSummerTime = 2 * 3600;

// Two dates at Berlin in summer time, a reading a minute at half the clear sky.
ReadingSeries HalfClearSky() {
  ReadingSeries series;
  for (const int date : {21, 22}) {
    const qint64 midnight = DaysFromCivil(2026, 6, date) * kSecondsPerDay - kSummerTime;
    for (qint64 t = midnight; t < midnight + kSecondsPerDay; t += 60) {
      series.instants.push_back(t);
      series.offsets.push_back(kSummerTime);
      series.values.push_back(ClearSkyGhi(kBerlin, t) / 2);
      series.entries.push_back(static_cast<int>(series.values.size()) - 1);
    }
  }
  return series;
}

// The report on A4 paper written to `path`, its layout in `layout`.
bool WriteA4Report(const SiteReportInput& input, const QString& path, ReportLayout& layout) {
  const QByteArray pdf = SiteReportPdf(input, QPageSize(QPageSize::A4), &layout);
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size();
}

TEST(SiteReport, PaperFollowsTheDesktopsMeasures) {
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedStates)).id(),
            QPageSize::Letter);
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedKingdom)).id(), QPageSize::A4);
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::German, QLocale::Germany)).id(), QPageSize::A4);
}

// The report's text holds the title, the site, the figures and a row per date; its pages are
// those it laid out; the chart of a date has the clear-sky curve and the readings where they
// belong, and the insolation chart its bars.
TEST(SiteReport, TextPagesAndCurvesOfTwoDates) {
  if (!HasPoppler())
    SKIP_UNLESS_CI("poppler-utils (pdfinfo, pdftotext, pdftoppm, pdfimages) missing");
  const ReadingSeries series = HalfClearSky();
  SeriesStatistics s = ComputeStatistics(series, QStringLiteral("W/(M)2"));
  AddClearSky(s, series, kBerlin);
  SiteAssumptions assumed{kBerlin, {}, QStringLiteral("Europe/Berlin")};
  const SiteReportInput input{
      s, series, assumed, {{QStringLiteral("0621.pvd"), 1234, "ab12"}}, QStringLiteral("9.8.7")};
  ReportLayout layout;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.pdf"));
  ASSERT_TRUE(WriteA4Report(input, path, layout));

  EXPECT_EQ(PdfPages(path), layout.pages);
  EXPECT_GE(layout.pages, 2);
  // The charts are paths that stay sharp when zoomed: no raster image in the file.
  EXPECT_EQ(PdfImageCount(path), 0);
  EXPECT_TRUE(PdfPageSize(path).startsWith("595")) << PdfPageSize(path).toStdString();
  const QString text = PdfText(path);
  for (const char* expected :
       {"Solar site report", "52.52, 13.4, elevation 34 m", "Period: 2026-06-21 to 2026-06-22",
        "Clear-sky index", "Completeness", "Peak sun hours", "Gaps", "Daily table", "Monthly table",
        "0621.pvd", "1234 bytes", "ab12", "SolarDesk 9.8.7"})
    EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected;
  // One row per date in the daily table: date, 1440 readings, ..., the index 0.500, complete.
  for (const DayFigures& d : s.days) {
    const QRegularExpression row(
        QStringLiteral("^ *%1 +1440 .* 0\\.500 +100\\.0 %$").arg(DateText(d.day)),
        QRegularExpression::MultilineOption);
    EXPECT_EQ(text.count(row), 1) << DateText(d.day).toStdString() << "\n" << text.toStdString();
  }
  EXPECT_TRUE(text.contains(
      QRegularExpression(QStringLiteral("^ *2026-06 +2 "), QRegularExpression::MultilineOption)));

  ASSERT_EQ(layout.dayCharts.size(), 2u);
  const DayChartPlace& chart = layout.dayCharts[0];
  constexpr int kDpi = 100;
  const QImage page = PdfPageImage(path, chart.page, kDpi);
  ASSERT_FALSE(page.isNull());
  // Antialiased lines come lighter: a colour is told by which of red and blue leads.
  const auto colourOn = [&](const QImage& image, double xMm, double yMm, QRgb wanted) {
    const int x = qRound(xMm * kDpi / 25.4), y = qRound(yMm * kDpi / 25.4);
    const bool blue = wanted == kReadingsColour;
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QColor c = image.pixelColor(x + dx, y + dy);
        if (blue ? c.blue() - c.red() > 60 : c.red() - c.blue() > 60) return true;
      }
    return false;
  };
  const auto colourNear = [&](double xMm, double yMm, QRgb wanted) {
    return colourOn(page, xMm, yMm, wanted);
  };
  // At 09:00, 13:00 and 17:00 of the first date.
  for (const int hour : {9, 13, 17}) {
    const qint64 utc = DaysFromCivil(2026, 6, 21) * kSecondsPerDay - kSummerTime + hour * 3600;
    const double clear = ClearSkyGhi(kBerlin, utc);
    const double x = chart.plot.left() + chart.plot.width() * hour / 24;
    const auto y = [&](double v) {
      return chart.plot.bottom() - chart.plot.height() * v / chart.top;
    };
    EXPECT_TRUE(colourNear(x, y(clear), kClearSkyColour)) << hour;
    EXPECT_TRUE(colourNear(x, y(clear / 2), kReadingsColour)) << hour;
    EXPECT_FALSE(colourNear(x, y(clear * 0.75), kClearSkyColour)) << hour;
    EXPECT_FALSE(colourNear(x, y(clear * 0.75), kReadingsColour)) << hour;
  }

  // The insolation chart: each date's measured bar stands half as high as its clear-sky bar.
  const InsolationChartPlace& bars = layout.insolation;
  const QImage barPage = PdfPageImage(path, bars.page, kDpi);
  const double slot = bars.plot.width() / static_cast<double>(s.days.size());
  const auto y = [&](double energy) {
    return bars.plot.bottom() - bars.plot.height() * energy / bars.top;
  };
  for (std::size_t d = 0; d < s.days.size(); ++d) {
    const double measuredX =
        bars.plot.left() + slot * (static_cast<double>(d) + 0.12 + bars.barShare / 2);
    const double clearX = measuredX + slot * bars.barShare;
    const double measured = s.days[d].energy, clear = s.days[d].clearSky->energy;
    EXPECT_TRUE(colourOn(barPage, measuredX, y(measured * 0.9), kReadingsColour)) << d;
    EXPECT_FALSE(colourOn(barPage, measuredX, y(measured * 1.1), kReadingsColour)) << d;
    EXPECT_TRUE(colourOn(barPage, clearX, y(clear * 0.9), kClearSkyColour)) << d;
    EXPECT_FALSE(colourOn(barPage, clearX, y(clear * 1.1), kClearSkyColour)) << d;
  }
}

// More dates than charts: a reading an hour from 1 June to 3 July, no site. Every date has its
// row in the daily table, both months theirs in the monthly one, and the first 31 dates a chart.
TEST(SiteReport, AtMost31DayChartsAndARowForEveryDate) {
  if (!HasPoppler())
    SKIP_UNLESS_CI("poppler-utils (pdfinfo, pdftotext, pdftoppm, pdfimages) missing");
  ReadingSeries series;
  const qint64 first = DaysFromCivil(2026, 6, 1) * kSecondsPerDay;
  for (qint64 t = first; t < first + 33 * kSecondsPerDay; t += 3600) {
    series.instants.push_back(t);
    series.offsets.push_back(0);
    series.values.push_back(100);
    series.entries.push_back(static_cast<int>(series.values.size()) - 1);
  }
  const SeriesStatistics s = ComputeStatistics(series, QStringLiteral("W/(M)2"));
  const SiteReportInput input{s, series, {}, {}, QStringLiteral("1")};
  ReportLayout layout;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.pdf"));
  ASSERT_TRUE(WriteA4Report(input, path, layout));

  ASSERT_EQ(layout.dayCharts.size(), 31u);
  EXPECT_EQ(layout.dayCharts.back().day, DaysFromCivil(2026, 7, 1));
  EXPECT_EQ(PdfPages(path), layout.pages);
  const QString text = PdfText(path);
  EXPECT_TRUE(text.contains("Readings by date (the first 31 of 33 dates)")) << text.toStdString();
  // 24 readings of 100 W/m2 an hour apart: 2400 Wh/m2 a date (the last one 2300). A row that
  // opens a page comes after the form feed pdftotext puts between pages.
  EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("^\\f? *2026-0[67]-\\d\\d +24 +100 +100 "),
                                          QRegularExpression::MultilineOption)),
            33);
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^ *2026-06 +30 +72000\\.00 "),
                                               QRegularExpression::MultilineOption)));
  EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^ *2026-07 +3 +7100\\.00 "),
                                               QRegularExpression::MultilineOption)));
}

// "Report..." of the statistics window asks for a PDF name over the window and writes the
// report of its list there, naming the list's files.
TEST(SiteReport, StatisticsWindowSavesTheReport) {
  if (!HasPoppler())
    SKIP_UNLESS_CI("poppler-utils (pdfinfo, pdftotext, pdftoppm, pdfimages) missing");
  SaveSite(kBerlin);
  const ReadingSeries series = HalfClearSky();
  QTemporaryDir dir;
  const QString source = dir.filePath(QStringLiteral("0621.pvd"));
  QFile file(source);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("abc") == 3);
  file.close();
  ScriptedDialogs dialogs;
  StatisticsWindow w(ComputeStatistics(series, QStringLiteral("W/(M)2")), series,
                     QStringLiteral("0621.pvd"), dialogs, dir.path(), nullptr);
  w.SetSourceFiles({source});
  const QString pdf = dir.filePath(QStringLiteral("site.pdf"));
  dialogs.saveAnswers = {pdf};
  w.CmdReport->click();
  ASSERT_EQ(dialogs.of("save").size(), 1u);
  EXPECT_EQ(dialogs.of("save")[0].filter, kPdfFilter);
  EXPECT_EQ(dialogs.of("save")[0].owner, &w);
  const QString text = PdfText(pdf);
  EXPECT_TRUE(text.contains("Solar site report")) << text.toStdString();
  EXPECT_TRUE(text.contains("52.52, 13.4, elevation 34 m"));
  // The SHA-256 of "abc".
  EXPECT_TRUE(text.contains("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
  EXPECT_TRUE(dialogs.of("message").empty());
  SaveSite(std::nullopt);
}

}  // namespace
}  // namespace solardesk::testing
