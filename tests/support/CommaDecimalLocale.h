#pragma once

#include <gtest/gtest.h>

#include <QLocale>
#include <clocale>
#include <cstdlib>
#include <string>

#include "SkipUnlessCi.h"

namespace solardesk::testing {

// While it lives, the C library and Qt's default locale write numbers with a decimal comma, as
// they do when the program starts on a German desktop (LANG=de_DE.UTF-8).
class CommaDecimalLocale {
 public:
  CommaDecimalLocale() : savedC_(std::setlocale(LC_ALL, nullptr)) {
    active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    if (active_) QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  }
  ~CommaDecimalLocale() {
    std::setlocale(LC_ALL, savedC_.c_str());
    QLocale::setDefault(savedQt_);
  }
  CommaDecimalLocale(const CommaDecimalLocale&) = delete;
  CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

  bool active() const { return active_ && *std::localeconv()->decimal_point == ','; }

 private:
  std::string savedC_;
  QLocale savedQt_;
  bool active_ = false;
};

}  // namespace solardesk::testing

// Ends the test when the locale is missing: a skip on a developer's machine, a failure under CI,
// which installs it (scripts/install-deps.sh).
#define REQUIRE_COMMA_DECIMAL(locale) \
  if (!(locale).active()) SKIP_UNLESS_CI("de_DE.UTF-8 is not installed")
