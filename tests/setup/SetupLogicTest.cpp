#include <gtest/gtest.h>

#include "Calibration.h"
#include "MeterClock.h"
#include "Schedules.h"

namespace solardesk {
namespace {

using Kind = CalibrationEntry::Kind;

// Too short an answer reads as zeros, never beyond its end.
TEST(Calibration, LowByteFirstBothWays) {
  EXPECT_EQ(DecodeCalibration({0x00, 0x3C, 0xD2, 0x04}), 1234);
  EXPECT_EQ(DecodeCalibration({0x00, 0x3C, 0xFF, 0xFF}), 65535);
  EXPECT_EQ(DecodeCalibration({0x00, 0x3C, 0xD2}), 0xD2);
  EXPECT_EQ(DecodeCalibration({}), 0);
  using B = std::array<std::uint8_t, 2>;
  const std::pair<int, B> cases[] = {
      {255, {0xFF, 0x00}}, {256, {0x00, 0x01}}, {12345, {0x0F, 0x27}}, {-1, {0x00, 0x00}}};
  for (const auto& [value, bytes] : cases) EXPECT_EQ(EncodeCalibration(value), bytes) << value;
}

TEST(ParseCalibrationEntry, RoundsHalvesToEvenAndLimits) {
  const struct {
    const char* text;
    Kind kind;
    int value;
  } cases[] = {
      {"", Kind::Cancel, 0},        {"1234", Kind::Value, 1234},   {"12345", Kind::Value, 9999},
      {"9999", Kind::Value, 9999},  {"-7", Kind::Value, 0},        {"2.5", Kind::Value, 2},
      {"3.5", Kind::Value, 4},      {"0.5", Kind::Value, 0},       {"9999.5", Kind::Value, 9999},
      {" 42 ", Kind::Value, 42},    {"1e3", Kind::Value, 1000},    {"1e300", Kind::Value, 9999},
      {"abc", Kind::NotANumber, 0}, {"12ab", Kind::NotANumber, 0}, {" ", Kind::NotANumber, 0},
      {"nan", Kind::NotANumber, 0}, {"1,5", Kind::NotANumber, 0},
  };
  for (const auto& c : cases) {
    const CalibrationEntry e = ParseCalibrationEntry(QString::fromLatin1(c.text));
    EXPECT_EQ(e.kind, c.kind) << '"' << c.text << '"';
    if (c.kind == Kind::Value) {
      EXPECT_EQ(e.value, c.value) << '"' << c.text << '"';
    }
  }
}

TEST(DaysInMonth, ByExactMonthText) {
  const struct {
    const char* month;
    const char* year;
    std::optional<int> days;
  } cases[] = {
      {"02", "00", 28}, {"02", "04", 29},          {"02", "01", 28},           {"02", "96", 29},
      {"04", "11", 30}, {"12", "11", 31},          {"01", "26", 31},           {"09", "26", 30},
      {"13", "11", {}}, {"2", "11", std::nullopt}, {"00", "11", std::nullopt}, {"", "", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DaysInMonth(QString::fromLatin1(c.month), QString::fromLatin1(c.year)), c.days)
        << c.month << " " << c.year;
  }
}

// Two-digit texts of bytes 1 on; a short answer reads zeros past its end, none at all the
// start texts.
TEST(Schedules, TwoDigitTextsOfTheAnswerBytesAndTypedCyclingTextsWithTheirLimits) {
  EXPECT_EQ(
      DecodeReservation({0x00, 12, 3, 4, 5, 6, 7, 12, 3, 5, 0, 112, 255, 99}),
      (ReservationTexts{"12", "03", "04", "05", "06", "07", "12", "03", "05", "00", "12", "55"}));
  EXPECT_EQ(DecodeReservation({}), (ReservationTexts{"00", "01", "01", "00", "00", "00", "00", "01",
                                                     "01", "00", "00", "00"}));
  EXPECT_EQ(
      DecodeReservation({0x00, 26, 12}),
      (ReservationTexts{"26", "12", "00", "00", "00", "00", "00", "00", "00", "00", "00", "00"}));
  EXPECT_EQ(DecodeCycling({0x00, 8, 30, 0, 17, 45, 0}),
            (CyclingTexts{"08", "30", "00", "17", "45", "00"}));
  EXPECT_EQ(DecodeCycling({0x00, 7, 130}), (CyclingTexts{"07", "30", "00", "00", "00", "00"}));
  const struct {
    CyclingTexts fields;
    std::optional<Report> report;
  } cases[] = {
      {{"08", "30", "00", "17", "45", "00"},
       Report{0x00, 0x01, 0x14, 0x08, 0x1E, 0x00, 0x11, 0x2D, 0x00}},
      {{"7", "", "abc", "12ab", "75", "255"},
       Report{0x00, 0x01, 0x14, 0x07, 0x00, 0x00, 0x0C, 0x4B, 0xFF}},
      {{" 9", "+5", "00", "00", "00", "00"}, Report{0x00, 0x01, 0x14, 9, 5, 0, 0, 0, 0}},
      {{"256", "00", "00", "00", "00", "00"}, std::nullopt},
      {{"00", "00", "00", "00", "00", "-1"}, std::nullopt},
      {{"00", "99999999999999999999", "00", "00", "00", "00"}, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EncodeCycling(c.fields), c.report) << c.fields[0].toStdString();
  }
}

// The first field outside its range is named, with the range; both ends of every range pass.
// Whether a date exists in its month is not asked (31 February passes).
TEST(Schedules, RefusalNamesTheFirstFieldOutsideItsRange) {
  const ReservationTexts lowest = {"00", "01", "01", "00", "00", "00",
                                   "00", "01", "01", "00", "00", "00"};
  const ReservationTexts highest = {"99", "12", "31", "23", "59", "59",
                                    "99", "12", "31", "23", "59", "59"};
  EXPECT_EQ(ReservationRefusal(lowest), std::nullopt);
  EXPECT_EQ(ReservationRefusal(highest), std::nullopt);
  EXPECT_EQ(ReservationRefusal({"26", "02", "31", "", "", "", "26", "02", "30", "", "", ""}),
            std::nullopt);
  // One field just outside its range, the others at their lowest; an empty text reads 0.
  const std::tuple<std::size_t, QString, const char*> reservation[] = {
      {0, "100", "The start year must be a number from 0 to 99."},
      {1, "00", "The start month must be a number from 1 to 12."},
      {1, "13", "The start month must be a number from 1 to 12."},
      {2, "", "The start date must be a number from 1 to 31."},
      {2, "32", "The start date must be a number from 1 to 31."},
      {3, "24", "The start hour must be a number from 0 to 23."},
      {4, "60", "The start minute must be a number from 0 to 59."},
      {5, "-1", "The start second must be a number from 0 to 59."},
      {6, "255", "The stop year must be a number from 0 to 99."},
      {7, "13", "The stop month must be a number from 1 to 12."},
      {8, "0", "The stop date must be a number from 1 to 31."},
      {9, "24", "The stop hour must be a number from 0 to 23."},
      {10, "60", "The stop minute must be a number from 0 to 59."},
      {11, "60", "The stop second must be a number from 0 to 59."},
  };
  for (const auto& [index, text, message] : reservation) {
    ReservationTexts fields = lowest;
    fields[index] = text;
    EXPECT_EQ(ReservationRefusal(fields), QString::fromLatin1(message)) << index;
  }
  // The first of two is named.
  ReservationTexts two = highest;
  two[4] = "75";
  two[7] = "13";
  EXPECT_EQ(ReservationRefusal(two), "The start minute must be a number from 0 to 59.");

  const std::pair<CyclingTexts, std::optional<QString>> cycling[] = {
      {{"24", "60", "", "", "", ""}, "The start hour must be a number from 0 to 23."},
      {{"0", "60", "", "", "", ""}, "The start minute must be a number from 0 to 59."},
      {{"0", "0", "-1", "", "", ""}, "The start second must be a number from 0 to 59."},
      {{"0", "0", "0", "99", "", ""}, "The stop hour must be a number from 0 to 23."},
      {{"0", "0", "0", "0", "300", ""}, "The stop minute must be a number from 0 to 59."},
      {{"0", "0", "0", "0", "0", "75"}, "The stop second must be a number from 0 to 59."},
      {{"23", "59", "59", "23", "59", "59"}, std::nullopt},
  };
  for (const auto& [fields, refusal] : cycling)
    EXPECT_EQ(CyclingRefusal(fields), refusal)
        << fields[0].toStdString() << " " << fields[5].toStdString();
  // Past the last field nothing fits.
  EXPECT_FALSE(FieldFits(Schedule::Cycling, 6, 0));
  EXPECT_FALSE(FieldFits(Schedule::Reservation, 12, 1));
}

TEST(MeterClock, ShownAsPackedDecimalDigitsAndSetInPlainNumbers) {
  EXPECT_EQ(FormatMeterClock({0x00, 0x26, 0x12, 0x04, 0x23, 0x59, 0x58}), "26/12/04 23:59:58");
  EXPECT_EQ(FormatMeterClock({0x00, 0x1A, 0x0C, 0x04, 0x17, 0x3B, 0xFF}), "1A/0C/04 17:3B:FF");
  EXPECT_EQ(FormatMeterClock({0x00, 0x26}), "26/00/00 00:00:00");
  // The clock window's test sets and shows a time with two-digit fields; here, one-digit ones.
  const QDateTime early(QDate(2001, 1, 2), QTime(3, 4, 5));
  EXPECT_EQ(ClockSettingValues(early), (std::array<unsigned, 6>{1, 1, 2, 3, 4, 5}));
}

}  // namespace
}  // namespace solardesk
