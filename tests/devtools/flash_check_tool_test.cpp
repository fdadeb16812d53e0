// tests/devtools/flash_check_tool_test.cpp - --flash-check as a user runs it, with the show's
// own content: a stretch that strobes fails with status 1 and names itself, the same stretch
// with --gentle passes, and refusals exit 2. Short stretches, so the test stays quick.
#include "tool_run.h"
#include <gtest/gtest.h>
#include <string>

TEST(FlashCheckToolTest, AStrobingStretchFailsAndPassesWithReducedFlashing) {
    const std::string stretch = "--flash-check --from 53.3 --to 53.45";
    const ToolRun plain = run_orbplume_in(ORBPLUME_BINARY_DIR, stretch + " 2>/dev/null");
    EXPECT_EQ(plain.status, 1) << plain.output;
    EXPECT_NE(plain.output.find("reduce flashing off"), std::string::npos) << plain.output;
    EXPECT_NE(plain.output.find("\nFAILS: show time 53.3"), std::string::npos) << plain.output;
    EXPECT_NE(plain.output.find("\nFLASH CHECK: fails: "), std::string::npos) << plain.output;

    const ToolRun gentle = run_orbplume_in(ORBPLUME_BINARY_DIR, stretch + " --gentle");
    EXPECT_EQ(gentle.status, 0) << gentle.output;
    EXPECT_NE(gentle.output.find("reduce flashing on"), std::string::npos) << gentle.output;
    EXPECT_EQ(gentle.output.find("FAILS:"), std::string::npos) << gentle.output;
    EXPECT_NE(gentle.output.find("\nFLASH CHECK: passes"), std::string::npos) << gentle.output;
    // Not on a terminal: a progress line at every tenth, the last one at 100 %.
    EXPECT_NE(gentle.output.find("FLASH CHECK: 100%"), std::string::npos) << gentle.output;
}

TEST(FlashCheckToolTest, RefusalsExitTwo) {
    const ToolRun late = run_orbplume_in(ORBPLUME_BINARY_DIR, "--flash-check --from 900");
    EXPECT_EQ(late.status, 2) << late.output;
    EXPECT_NE(late.output.find("past the end of the show"), std::string::npos) << late.output;
    const ToolRun stray = run_orbplume_in(ORBPLUME_BINARY_DIR, "--flash-check --out pics");
    EXPECT_EQ(stray.status, 2) << stray.output;
    const ToolRun odd = run_orbplume_in(ORBPLUME_BINARY_DIR, "--flash-check --size 385x288");
    EXPECT_EQ(odd.status, 2) << odd.output;
}
