#include "app/version_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(VersionText, MinorHasTwoDigitsAndRevisionFour) {
  EXPECT_EQ(VersionLine(2, 3, 12), "VersionNo     :2.03.0012");
  EXPECT_EQ(VersionLine(2, 123, 12), "VersionNo     :2.23.0012");
  EXPECT_EQ(VersionLine(10, 0, 123456), "VersionNo     :10.00.3456");
}

TEST(VersionText, BuildVersionIsTheProjectVersion) {
  EXPECT_EQ(ProgramVersionLine(), VersionLine(KORVANE_VERSION_MAJOR, KORVANE_VERSION_MINOR, KORVANE_VERSION_PATCH));
}

}  // namespace
}  // namespace kv
