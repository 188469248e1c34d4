// Commands whose answer carries nothing for the program are acknowledged with one report, so
// that the program's next write never waits for its pacing time-out; the acknowledgements
// change nothing when the program parses them.

#include "link/LinkState.h"
#include "link/LinkTestSupport.h"
#include "link/Protocol.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/LinkedProcessor.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
struct AckCase
{
    Report command;
    int status; // 0 applied, 1 refused
};

// Every command the processor only acknowledges, applied and refused.
std::vector<AckCase> AckCases()
{
    return {
        {Command({0x03, 1}), 0},
        {Command({0x03, 4}), 1}, // no mode 5
        {Command({0x04, 1}), 0},
        {Command({0x04, 0xFF}), 1},
        {Command({0x05, 1}), 0},
        {Command({0x05, 9}), 1},
        {Command({0x06, 1}), 0},
        {Command({0x06, 4}), 1},
        {Command({0x61}), 0},
        {Command({0x63, 1, 2, 3}), 0},
        {Command({0x68, 0x00}), 1}, // a restart needs its key byte
        {Command({0x85, 0, 0, 1, 7}), 0},
        {Command({0x85, 0x04, 0xB0, 1, 7}), 1}, // address 1200: outside the memory
        {Command({0x8A}), 0},
        {Command({0x91, 0, 1, 2}), 0},
        {Command({0xDA, 0x0F, 0x00, 0x2C, 0, 'A'}), 0},
        {Command({0xDA, 0x00, 0x00, 0x2C, 0, 'A'}), 1}, // not a name address
    };
}

std::string Hex(int command)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", command);
    return text;
}
} // namespace

TEST(EmulatedProcessorAcks, EveryCommandWithoutAUsefulAnswerIsAcknowledged)
{
    LinkedProcessor p;
    for (const AckCase& c : AckCases()) {
        const Report ack = p.Ask(c.command);
        EXPECT_EQ(ack[0], kReportId) << Hex(c.command[1]);
        EXPECT_EQ(ack[1], c.command[1]) << Hex(c.command[1]);
        EXPECT_EQ(ack[2], c.status) << Hex(c.command[1]);
        for (size_t i = 3; i < kReportSize; ++i) {
            ASSERT_EQ(ack[i], 0) << Hex(c.command[1]) << " byte " << i;
        }
        // One report only: the next one is the answer to the query that follows.
        EXPECT_EQ(p.Ask({0x7F})[1], 0x7F) << Hex(c.command[1]);
    }
    EXPECT_EQ(p.link->Pending(), 0U);
}

TEST(EmulatedProcessorAcks, UnknownCommandsAndLearningGetNoImmediateReport)
{
    EmulatorOptions o = FastOptions();
    o.learnDelay = std::chrono::milliseconds(200);
    LinkedProcessor p(o);
    // Unknown commands, among them bytes the program reads as the processor's own reports.
    for (int command : {0x00, 0x14, 0x20, 0x55, 0x8F, 0xFF}) {
        p.Send({command});
        EXPECT_EQ(p.Ask({0x7F})[1], 0x7F) << Hex(command);
    }
    // Learning: any report 0x60 is a learned key, so the first one is the key itself.
    p.Send({0x60, 2});
    EXPECT_EQ(p.Ask({0x7F})[1], 0x7F);
    const Report learned = p.Next().value_or(Report{});
    EXPECT_EQ(learned[1], 0x60);
    EXPECT_EQ(learned[3], 2);
    EXPECT_EQ(p.link->Pending(), 0U);
}

TEST(EmulatedProcessorAcks, SilentOnUnusedAnswersKeepsThoseCommandsUnanswered)
{
    EmulatorOptions o = FastOptions();
    o.silentOnUnusedAnswers = true;
    LinkedProcessor p(o);
    for (const AckCase& c : AckCases()) {
        p.Send(c.command);
        EXPECT_EQ(p.Ask({0x7F})[1], 0x7F) << Hex(c.command[1]);
    }
    EXPECT_EQ(p.link->Pending(), 0U);
    // Still applied, and the real answers are unchanged.
    EXPECT_EQ(p.Ask({0x07})[2], 1);
    EXPECT_EQ(p.processor->State().ModeName(0), "A");
    EXPECT_EQ(p.Ask(Command({0x09, 0x00, 1, 20, 1}))[1], 0x09);
}

TEST(EmulatedProcessorAcks, FaultsApplyToAcknowledgementsToo)
{
    LinkedProcessor p;
    p.processor->DropEveryNthAnswer(2);
    p.Send({0x03, 1});              // acknowledged
    p.Send({0x85, 0, 0, 1, 7});     // its acknowledgement is lost
    p.Send({0x63, 1, 2, 3});        // acknowledged
    p.Send({0x0A, 0x00, 1, 20, 1}); // lost
    p.Send({0x91, 0, 1, 2});        // acknowledged
    std::vector<int> got;
    for (int i = 0; i < 3; ++i) {
        got.push_back(p.Next().value_or(Report{})[1]);
    }
    EXPECT_EQ(got, (std::vector<int>{0x03, 0x63, 0x91}));
    EXPECT_EQ(p.processor->State().working.memory[0], 7); // lost answer, command applied

    p.processor->DropEveryNthAnswer(0);
    p.processor->SetSilent(true);
    p.Send({0x04, 2});
    p.Send({0x8A});
    p.processor->SetSilent(false);
    EXPECT_EQ(p.Ask({0x07})[2], 1); // nothing answered, nothing applied while silent
    EXPECT_EQ(p.link->Pending(), 0U);
}

TEST(EmulatedProcessorAcks, RestartIsAcknowledgedBeforeItDropsOff)
{
    EmulatorOptions o = FastOptions();
    o.restartLeaveDelay = std::chrono::milliseconds(100);
    LinkedProcessor p(o);
    p.Send({0x68, 0xAA});
    p.Send({0x7F}); // a restarting processor takes no more commands
    const Report ack = p.Next().value_or(Report{});
    EXPECT_EQ(ack[1], 0x68);
    EXPECT_EQ(ack[2], 0);
    EXPECT_EQ(p.link->End(), HidReadResult::Error);
    EXPECT_EQ(p.link->Pending(), 0U);
}

// The program's parser takes every acknowledgement as a report it does not interpret: no
// link state changes, no box, no message, and "changed" is not set as by 0x09 or 0x14.
TEST(EmulatedProcessorAcks, ProgramIgnoresEveryAcknowledgement)
{
    ResetLinkState();
    ResetDeviceMemoryToStartup();
    ParamStore.ResetToDefaults();
    ScopedLinkUi ui;
    g_nCurMode = 2;
    g_bParamChanged = 0;
    const auto remote = g_RemoteTable.Snapshot();
    const auto status = g_StatusBlock.Snapshot();
    const auto info = DeviceInfoBytes.Snapshot();
    const auto settings = g_MachineSettings.Snapshot();
    const std::vector<uint8_t> image = DeviceImage.Snapshot();

    LinkedProcessor p;
    for (const AckCase& c : AckCases()) {
        const Report ack = p.Ask(c.command);
        ASSERT_EQ(ack[1], c.command[1]);
        ParseInputReport(ack);
        EXPECT_EQ(g_bParamChanged, 0) << Hex(ack[1]);
    }
    EXPECT_EQ(g_nCurMode, 2);
    EXPECT_EQ(g_RemoteTable.Snapshot(), remote);
    EXPECT_EQ(g_StatusBlock.Snapshot(), status);
    EXPECT_EQ(DeviceInfoBytes.Snapshot(), info);
    EXPECT_EQ(g_MachineSettings.Snapshot(), settings);
    EXPECT_EQ(g_szModel.Get(), u"KW4620");
    EXPECT_EQ(g_szModeName[0].Get(), u"Mode1");
    EXPECT_EQ(DeviceImage.Snapshot(), image);
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_TRUE(ui.Boxes().empty());
    ResetLinkState();
}
