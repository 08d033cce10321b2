#include "plugin/HostKind.h"

#include <gtest/gtest.h>

#include <string>

TEST(HostKind, MatchesProductNamesWhateverTheirCase) {
  EXPECT_EQ(LookupHostKind("REAPER"), HostReaper);
  EXPECT_EQ(LookupHostKind("Steinberg Nuendo 12"), HostNuendo);
  EXPECT_EQ(LookupHostKind("Adobe Audition CC"), HostAudition);
  EXPECT_EQ(LookupHostKind("Ardour"), HostArdour);
  EXPECT_EQ(LookupHostKind("Pro Tools"), HostUnknown); // the table wants "protools"
  EXPECT_EQ(LookupHostKind("ProTools"), HostProTools);
}

TEST(HostKind, EarlierEntriesWin) {
  EXPECT_EQ(LookupHostKind("Cubase with Nuendo inside"), HostCubase);
  EXPECT_EQ(LookupHostKind("Logic Live"), HostAbletonLive);
  EXPECT_EQ(LookupHostKind("Digital Standalone"), HostDigitalPerformer);
}

TEST(HostKind, EmptyUnknownAndOverlongNames) {
  EXPECT_EQ(LookupHostKind(""), HostUnknown);
  EXPECT_EQ(LookupHostKind(nullptr), HostUnknown);
  EXPECT_EQ(LookupHostKind("Some Other DAW"), HostUnknown);
  // Only the first 255 characters are looked at.
  EXPECT_EQ(LookupHostKind((std::string(250, '-') + "reaper").c_str()), HostUnknown);
  EXPECT_EQ(LookupHostKind((std::string(249, '-') + "reaper").c_str()), HostReaper);
  // Bytes above 127 are not letters to fold.
  EXPECT_EQ(LookupHostKind("\xC4rdour"), HostUnknown);
}
