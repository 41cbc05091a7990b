#include <gtest/gtest.h>

#include "graphs/logic/LiveGraphState.h"

namespace solardesk {
namespace {

TEST(LiveGraphState, OpensOnceWithTheUnitOfTheMoment) {
  LiveGraphState s;
  EXPECT_TRUE(s.Open(QStringLiteral("W/(M)2")));
  EXPECT_TRUE(s.GraphOpen);
  EXPECT_EQ(s.GraphUnit, QStringLiteral("W/(M)2"));
  // An open graph is left alone, unit included.
  EXPECT_FALSE(s.Open(QStringLiteral("Btu/(ft)2.h")));
  EXPECT_EQ(s.GraphUnit, QStringLiteral("W/(M)2"));
}

TEST(LiveGraphState, OpensWithoutAUnit) {
  LiveGraphState s;
  s.GraphUnit = QStringLiteral("W/(M)2");
  EXPECT_TRUE(s.Open(QString()));
  EXPECT_TRUE(s.GraphUnit.isEmpty());
}

}  // namespace
}  // namespace solardesk
