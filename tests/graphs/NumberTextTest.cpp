#include <gtest/gtest.h>

#include "graphs/logic/NumberText.h"

namespace solardesk {
namespace {

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"98.76", 98.76}, {"   12.5\t", 12.5}, {"-3", -3},     {"+7", 7},   {"1e3x", 1000},
      {"2E-1", 0.2},    {"1e", 1},           {"1.2.3", 1.2}, {".5", 0.5}, {"5.", 5},
      {"", 0},          {"abc", 0},          {" . ", 0},     {"-", 0},    {"  4 5", 4},
      {"12,5", 12},     {"9999", 9999},      {"1e999", 0},   {"\t7", 0},  {"0010", 10},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
  }
}

TEST(AxisLabelText, UsesAPointAndOneDecimalWhateverTheLocale) {
  const QLocale c = QLocale::c();
  const QLocale german(QLocale::German, QLocale::Germany);
  const QLocale us(QLocale::English, QLocale::UnitedStates);
  const struct {
    double value;
    QLocale locale;
    const char* label;
  } cases[] = {
      {0, c, "0.0"},          {2.5, c, "2.5"},     {10000, us, "10000.0"},
      {0.25, german, "0.25"}, {-100, c, "-100.0"}, {8750, german, "8750.0"},
  };
  for (const auto& t : cases) {
    EXPECT_EQ(AxisLabelText(t.value, t.locale), QString::fromLatin1(t.label))
        << t.value << " " << t.locale.name().toStdString();
  }
}

TEST(NumberText, OneDecimalRoundsHalvesAwayFromZeroPlainIsTheShortestForm) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {123.456, "123.5"}, {123.44, "123.4"}, {300, "300.0"},       {0.25, "0.3"},
      {-0.25, "-0.3"},    {-0.04, "0.0"},    {9999.95, "10000.0"}, {0, "0.0"},
  };
  for (const auto& c : cases) EXPECT_EQ(OneDecimalText(c.value), QString::fromLatin1(c.text));
  EXPECT_EQ(PlainNumberText(1200), QStringLiteral("1200"));
  EXPECT_EQ(PlainNumberText(2.5), QStringLiteral("2.5"));
  EXPECT_EQ(PlainNumberText(10000000), QStringLiteral("10000000"));
  EXPECT_EQ(PlainNumberText(-0.125), QStringLiteral("-0.125"));
}

}  // namespace
}  // namespace solardesk
