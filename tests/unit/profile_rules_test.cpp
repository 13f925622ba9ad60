// The profile store's name list text and its limits: portable, both trees.
#include "vantra/profile_rules.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

TEST(ProfileList, QuotedNamesSeparatedByCommas)
{
    EXPECT_EQ(JoinProfileList({"Default"}), "\"Default\"");
    EXPECT_EQ(JoinProfileList({"Default", "my net", "a,b"}), "\"Default\",\"my net\",\"a,b\"");
    EXPECT_EQ(JoinProfileList({}), "");
    EXPECT_EQ(JoinProfileList({"", "x"}), "\"\",\"x\"");

    EXPECT_EQ(SplitProfileList("\"Default\",\"my net\",\"a,b\""), (Names{"Default", "my net", "a,b"}));
    EXPECT_EQ(SplitProfileList("\"Home\",\"Office\" "), (Names{"Home", "Office"})); // the trailing blank
    EXPECT_EQ(SplitProfileList(" "), Names{});
    EXPECT_EQ(SplitProfileList(""), Names{});
    EXPECT_EQ(SplitProfileList("Home,Office"), (Names{"Home", "Office"})); // unquoted, as comma text reads it
    EXPECT_EQ(SplitProfileList("\"unterminated"), Names{"unterminated"});
}

TEST(ProfileList, RefusesWhatTheStoreCannotHold)
{
    EXPECT_EQ(ProfileStoreRefusal("Home", 32, "\"Home\" "), "");
    EXPECT_EQ(ProfileStoreRefusal(std::string(259, 'n'), 0, ""), "");
    EXPECT_EQ(ProfileStoreRefusal(std::string(260, 'n'), 0, ""),
              "The profile name is too long. Please enter a name of at most 259 characters.");
    EXPECT_EQ(ProfileStoreRefusal("my \"net\"", 0, ""),
              "A profile name cannot contain a double quote (\"). Please enter another name.");
    EXPECT_EQ(ProfileStoreRefusal("Home", 33, ""),
              "The network name (SSID) of the profile is longer than 32 characters. The profile was not stored.");
    EXPECT_EQ(ProfileStoreRefusal("Home", 0, std::string(1023, 'x')), "");
    EXPECT_EQ(ProfileStoreRefusal("Home", 0, std::string(1024, 'x')),
              "There is no room for another profile name in the profile list. Please delete a profile first.");
}

} // namespace
