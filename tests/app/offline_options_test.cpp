// tests/app/offline_options_test.cpp - the command line of the offline tools: time lists,
// and which options belong together.
#include "platform/options.h"
#include <gtest/gtest.h>
#include <cmath>
#include <vector>

static bool parse_args(std::vector<const char *> args, Options &opts, std::string &error) {
    args.insert(args.begin(), "orbplume");
    return parse_options(int(args.size()), const_cast<char **>(args.data()), opts, error);
}

TEST(TimeListTest, CommaListsAndRanges) {
    std::vector<float> t;
    std::string e;
    ASSERT_TRUE(parse_time_list("0,1,79.5", t, e)) << e;
    EXPECT_EQ(t, (std::vector<float>{ 0.0f, 1.0f, 79.5f }));
    ASSERT_TRUE(parse_time_list("2:3:0.25", t, e)) << e;
    EXPECT_EQ(t, (std::vector<float>{ 2.0f, 2.25f, 2.5f, 2.75f, 3.0f }));   // the end is included
    ASSERT_TRUE(parse_time_list("0:1:0.1", t, e)) << e;
    EXPECT_EQ(t.size(), 11u);   // steps that do not add up exactly still reach the end
    ASSERT_TRUE(parse_time_list("5:5:1", t, e)) << e;
    EXPECT_EQ(t, std::vector<float>{ 5.0f });
}

TEST(TimeListTest, MalformedListsAreRefusedWithAReason) {
    for (const char *bad : { "", "1,,2", "1,x", "x", "1:2", "1:2:3:4", "2:1:0.5", "0:1:0", "0:1:-1",
                             "-1", "1,-0.5", "nan", "inf", "0:1e9:0.001", "1.5e" }) {
        std::vector<float> t;
        std::string e;
        EXPECT_FALSE(parse_time_list(bad, t, e)) << bad;
        EXPECT_FALSE(e.empty()) << bad;
    }
}

TEST(OfflineOptionsTest, FlashCheckTakesAStretchARateAndGentle) {
    Options o;
    std::string e;
    ASSERT_TRUE(parse_args({ "--flash-check", "--from", "21", "--to", "23", "--fps", "30", "--gentle" }, o, e)) << e;
    EXPECT_EQ(o.tool, TOOL_FLASH_CHECK);
    EXPECT_EQ(o.from, 21.0f);
    EXPECT_EQ(o.to, 23.0f);
    EXPECT_EQ(o.fps, 30);
    EXPECT_TRUE(o.gentle);
    Options plain;
    ASSERT_TRUE(parse_args({ "--flash-check" }, plain, e)) << e;
    EXPECT_FALSE(plain.gentle);
    EXPECT_FALSE(plain.size_given);   // the tool picks its own small size
    Options show;
    ASSERT_TRUE(parse_args({ "--gentle" }, show, e)) << e;
    EXPECT_EQ(show.tool, TOOL_SHOW);
    EXPECT_TRUE(show.dialog);          // the dialog still opens, its choice ticked
    for (const std::vector<const char *> &bad : std::vector<std::vector<const char *>>{
             { "--flash-check", "--from", "5", "--to", "4" }, { "--flash-check", "--size", "383x288" },
             { "--flash-check", "--fps", "0" }, { "--gentle", "--from", "3" } }) {
        Options r;
        EXPECT_FALSE(parse_args(bad, r, e)) << bad[1];
    }
}

TEST(OfflineOptionsTest, ToolsAndTheirArguments) {
    Options o;
    std::string e;
    ASSERT_TRUE(parse_args({ "--render", "1,2", "--out", "pics", "--size", "800x600" }, o, e)) << e;
    EXPECT_EQ(o.tool, TOOL_RENDER);
    EXPECT_EQ(o.out_dir, "pics");
    EXPECT_EQ(o.width, 800);
    EXPECT_EQ(o.render_times.size(), 2u);

    Options d;
    ASSERT_TRUE(parse_args({ "--describe", "12.5" }, d, e)) << e;
    EXPECT_EQ(d.tool, TOOL_DESCRIBE);
    EXPECT_EQ(d.describe_time, 12.5f);

    Options b;
    ASSERT_TRUE(parse_args({ "--benchmark" }, b, e)) << e;
    EXPECT_EQ(b.tool, TOOL_BENCHMARK);

    const std::vector<std::vector<const char *>> refused = {
        { "--render", "1,2" },                  // no folder
        { "--out", "pics" },                    // a folder without --render
        { "--render", "1;2", "--out", "pics" },
        { "--describe" }, { "--describe", "soon" }, { "--render" }, { "--out" },
    };
    for (const auto &args : refused) {
        Options r;
        EXPECT_FALSE(parse_args(args, r, e)) << args[0];
    }
}

TEST(OfflineOptionsTest, ExportTakesRateStretchAndAnyEvenSize) {
    Options d;
    std::string e;
    ASSERT_TRUE(parse_args({ "--export", "show.mp4" }, d, e)) << e;
    EXPECT_EQ(d.tool, TOOL_EXPORT);
    EXPECT_EQ(d.export_file, "show.mp4");
    EXPECT_EQ(d.fps, 60);
    EXPECT_EQ(d.from, 0.0f);
    EXPECT_LT(d.to, 0.0f);   // to the end of the music
    EXPECT_EQ(d.width, 640);
    EXPECT_EQ(d.height, 480);

    Options o;
    ASSERT_TRUE(parse_args({ "--fps", "30", "--export", "a.webm", "--from", "2", "--to", "10.5", "--size", "1280x720" }, o, e)) << e;
    EXPECT_EQ(o.fps, 30);
    EXPECT_EQ(o.from, 2.0f);
    EXPECT_EQ(o.to, 10.5f);
    EXPECT_EQ(o.width, 1280);
    EXPECT_EQ(o.height, 720);
    Options r;   // the other offline tools take the same sizes
    ASSERT_TRUE(parse_args({ "--render", "1", "--out", "p", "--size", "384x288" }, r, e)) << e;

    const std::vector<std::vector<const char *>> refused = {
        { "--export" }, { "--export", "" },
        { "--export", "a.mp4", "--fps", "0" }, { "--export", "a.mp4", "--fps", "241" },
        { "--export", "a.mp4", "--fps", "29.97" }, { "--export", "a.mp4", "--fps", "x" }, { "--export", "a.mp4", "--fps" },
        { "--export", "a.mp4", "--from", "-1" }, { "--export", "a.mp4", "--to", "soon" },
        { "--export", "a.mp4", "--from", "3", "--to", "2" }, { "--export", "a.mp4", "--from", "3", "--to", "3" },
        { "--export", "a.mp4", "--size", "382x288" }, { "--export", "a.mp4", "--size", "640x481" },
        { "--export", "a.mp4", "--size", "4098x480" },
        { "--size", "383x288" },                             // narrower than the smallest window
        { "--render", "1", "--out", "p", "--fps", "30" },    // rate and stretch belong to --export
        { "--from", "2" },
    };
    for (const auto &args : refused) {
        Options x;
        EXPECT_FALSE(parse_args(args, x, e)) << args[0] << " " << (args.size() > 2 ? args[2] : "");
        EXPECT_FALSE(e.empty());
    }
}

TEST(TimeListTest, TimesBeyondAFloatOrNamingTheSameFileAreRefused) {
    std::vector<float> t;
    std::string e;
    // Finite as doubles, infinite as floats: once an "inf" file name, once an endless range.
    for (const char *bad : { "1e39", "3.5e38", "1e39:1e39:1", "0:1e39:1e38", "5,1e39", "1000", "0:2000:100" }) {
        EXPECT_FALSE(parse_time_list(bad, t, e)) << bad;
        EXPECT_NE(e.find("from 0 to below 1000"), std::string::npos) << bad << ": " << e;
    }
    ASSERT_TRUE(parse_time_list("999.5", t, e)) << e;

    // Times that print alike would write one file twice; both times are named.
    EXPECT_FALSE(parse_time_list("10.0001,10.0004", t, e));
    EXPECT_NE(e.find("10.0001 and 10.0004"), std::string::npos) << e;
    EXPECT_NE(e.find("t010.000.png"), std::string::npos) << e;
    EXPECT_FALSE(parse_time_list("3,4,3", t, e));
    EXPECT_FALSE(parse_time_list("0:1:0.0002", t, e));
    ASSERT_TRUE(parse_time_list("0:1:0.001", t, e)) << e;
    EXPECT_EQ(t.size(), 1001u);

    // A long refused list is quoted in part, not echoed whole.
    std::string list = "1";
    while (list.size() < 49000) list += ",1x";
    EXPECT_FALSE(parse_time_list(list.c_str(), t, e));
    EXPECT_LT(e.size(), 200u) << e.size();
    EXPECT_NE(e.find("characters"), std::string::npos) << e;
}

TEST(OfflineOptionsTest, DescribeTakesTheTimesRenderTakes) {
    for (const char *bad : { "-5", "-0.001", "1e39", "3.5e38", "1000" }) {
        Options o;
        std::string e;
        EXPECT_FALSE(parse_args({ "--describe", bad }, o, e)) << bad;
    }
    Options o;
    std::string e;
    ASSERT_TRUE(parse_args({ "--describe", "0" }, o, e)) << e;
    Options l;
    std::vector<std::string> words(3000, "--nonsense");
    std::string joined;
    for (auto &w : words) joined += w;
    EXPECT_FALSE(parse_args({ joined.c_str() }, l, e));
    EXPECT_LT(e.size(), 200u);
}

// One run does one thing: a second, different tool is refused naming both options, whatever
// the order, instead of one of them being silently dropped. The same tool twice is one tool.
TEST(OfflineOptionsTest, TwoDifferentToolsAreRefusedNamingBoth) {
    const struct { std::vector<const char *> args; const char *first, *second; } conflicts[] = {
        { { "--render", "1", "--out", "p", "--contact-sheet", "sheet" }, "--render", "--contact-sheet" },
        { { "--export", "v.mp4", "--render", "1", "--out", "p" }, "--export", "--render" },
        { { "--contact-sheet", "sheet", "--describe", "3" }, "--contact-sheet", "--describe" },
        { { "--benchmark", "--export", "v.mkv" }, "--benchmark", "--export" },
        { { "--describe", "3", "--benchmark" }, "--describe", "--benchmark" },
    };
    for (const auto &c : conflicts) {
        Options o;
        std::string e;
        EXPECT_FALSE(parse_args(c.args, o, e)) << c.first << " " << c.second;
        EXPECT_EQ(e, std::string(c.first) + " and " + c.second + " cannot be used together");
    }
    Options twice;
    std::string e;
    ASSERT_TRUE(parse_args({ "--render", "1", "--render", "2", "--out", "p" }, twice, e)) << e;
    EXPECT_EQ(twice.render_times, std::vector<float>{ 2.0f });
    Options sheet;
    ASSERT_TRUE(parse_args({ "--contact-sheet", "sheet", "--unattended" }, sheet, e)) << e;
    EXPECT_EQ(sheet.tool, TOOL_CONTACT_SHEET);
    EXPECT_FALSE(sheet.dialog);
}

// Minus zero is zero: it names the same picture as 0, not a "t-00.000.png" beside it.
TEST(TimeListTest, MinusZeroIsZero) {
    std::vector<float> t;
    std::string e;
    EXPECT_FALSE(parse_time_list("0,-0", t, e));
    EXPECT_NE(e.find("t000.000.png"), std::string::npos) << e;
    for (const char *list : { "-0", "-0.0", "-0:1:0.5", "-0e5" }) {
        ASSERT_TRUE(parse_time_list(list, t, e)) << list << ": " << e;
        EXPECT_EQ(render_file_name(t.front()), "t000.000.png") << list;
    }
    Options o;
    ASSERT_TRUE(parse_args({ "--export", "v.mp4", "--from", "-0" }, o, e)) << e;
    EXPECT_FALSE(std::signbit(o.from));
}
