// A sweep's channel list: names with blanks or # in double quotes, comments
// after them, and a line that does not read says why.
#include "tools/commands/SweepChannels.h"

#include "tests/TestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ChannelList, QuotedNamesKeepBlanksAndHashes) {
  TestFolder folder;
  const std::string list = folder.Write("lanes.txt",
                                        "\"lane #1.s4p\" --ports 1,3,2,4  # the first\n"
                                        "  \"far lane.s4p\"\n"
                                        "plain.s4p # no quotes\n"
                                        "\"say \\\"hi\\\".s4p\"\n"
                                        "# only a comment\n\n");
  std::vector<SweepChannel> channels;
  std::string error;
  ASSERT_TRUE(SweepChannels::ReadList(list, "1,2,3,4", channels, error)) << error;
  ASSERT_EQ(channels.size(), 4u);
  EXPECT_EQ(channels[0].label, "lane #1.s4p");
  EXPECT_EQ(channels[0].path, folder.path.string() + "/lane #1.s4p");
  EXPECT_EQ(channels[0].ports, "1,3,2,4");
  EXPECT_EQ(channels[1].label, "far lane.s4p");
  EXPECT_EQ(channels[1].ports, "1,2,3,4");
  EXPECT_EQ(channels[2].label, "plain.s4p");
  EXPECT_EQ(channels[3].label, "say \"hi\".s4p");
}

TEST(ChannelList, ALineThatDoesNotReadSaysWhy) {
  TestFolder folder;
  const std::pair<const char*, const char*> cases[] = {
      {"far lane.s4p\n",
       "line 1: not a Touchstone path with an optional --ports ORDER: 'lane.s4p' after the path: "
       "only --ports ORDER may follow it (quote a name with blanks or #)"},
      {"ok.s4p\n\"open.s4p\n", "line 2: not a Touchstone path with an optional --ports ORDER: a quote is not closed"},
      {"a.s4p --ports\n", "--ports needs its ORDER"},
      {"a.s4p --ports 1,2,3,4 more\n", "'more' after --ports 1,2,3,4: nothing may follow"},
      {"\"\" --ports 1,2,3,4\n", "an empty quoted name"}};
  for (const auto& c : cases) {
    const std::string list = folder.Write("bad.txt", c.first);
    std::vector<SweepChannel> channels;
    std::string error;
    EXPECT_FALSE(SweepChannels::ReadList(list, "1,2,3,4", channels, error)) << c.first;
    EXPECT_NE(error.find(c.second), std::string::npos) << error;
  }
}
