#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

// Ends a test that this machine cannot run (a tool or device missing): a skip on a developer's
// machine, a failure under CI, which installs everything (scripts/install-deps.sh), so that CI
// never passes without the test.
#define SKIP_UNLESS_CI(why)                          \
  do {                                               \
    if (std::getenv("CI") != nullptr) FAIL() << why; \
    GTEST_SKIP() << why;                             \
  } while (false)
