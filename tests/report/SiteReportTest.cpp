#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "PdfTools.h"
#include "analysis/ClearSky.h"
#include "core/Calendar.h"
#include "report/SiteReport.h"
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

TEST(SiteReport, PaperFollowsTheDesktopsMeasures) {
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedStates)).id(),
            QPageSize::Letter);
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedKingdom)).id(), QPageSize::A4);
  EXPECT_EQ(ReportPageSize(QLocale(QLocale::German, QLocale::Germany)).id(), QPageSize::A4);
}

// The report's text holds the title, the site, the figures and a row per date; its pages are
// those it laid out; and the chart of a date has the clear-sky curve and the readings where they
// belong.
TEST(SiteReport, TextPagesAndCurvesOfTwoDates) {
  if (!HasPoppler()) SKIP_UNLESS_CI("poppler-utils (pdfinfo, pdftotext, pdftoppm) missing");
  const ReadingSeries series = HalfClearSky();
  SeriesStatistics s = ComputeStatistics(series, QStringLiteral("W/(M)2"));
  AddClearSky(s, series, kBerlin);
  SiteAssumptions assumed{kBerlin, {}, QStringLiteral("Europe/Berlin")};
  const SiteReportInput input{
      s, series, assumed, {{QStringLiteral("0621.pvd"), 1234, "ab12"}}, QStringLiteral("9.8.7")};
  ReportLayout layout;
  const QByteArray pdf = SiteReportPdf(input, QPageSize(QPageSize::A4), &layout);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("report.pdf"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(pdf) == pdf.size());
  file.close();

  EXPECT_EQ(PdfPages(path), layout.pages);
  EXPECT_GE(layout.pages, 2);
  EXPECT_TRUE(PdfPageSize(path).startsWith("595.")) << PdfPageSize(path).toStdString();
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
  const auto colourNear = [&](double xMm, double yMm, QRgb wanted) {
    const int x = qRound(xMm * kDpi / 25.4), y = qRound(yMm * kDpi / 25.4);
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const QColor c = page.pixelColor(x + dx, y + dy);
        const QColor w(wanted);
        if (std::abs(c.red() - w.red()) + std::abs(c.green() - w.green()) +
                std::abs(c.blue() - w.blue()) <
            90)
          return true;
      }
    return false;
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
}

}  // namespace
}  // namespace solardesk::testing
