// The virtual bus as the transport sees it: enumeration, open, blocking reads, events and the
// injected faults.

#include "link/emulator/VirtualHidBus.h"

#include "link/emulator/LinkedProcessor.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

namespace {
// Records bus events; a test waits for a given number of them.
class EventLog
{
public:
    explicit EventLog(VirtualHidBus& bus) : bus_(bus)
    {
        id_ = bus.AddListener([this](const BusEvent& e) {
            std::lock_guard lock(mutex_);
            events_.push_back(e);
            wake_.notify_all();
        });
    }
    ~EventLog() { bus_.RemoveListener(id_); }
    std::vector<BusEvent> WaitFor(size_t n)
    {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::seconds(5), [&] { return events_.size() >= n; });
        return events_;
    }
    size_t Size()
    {
        std::lock_guard lock(mutex_);
        return events_.size();
    }

private:
    VirtualHidBus& bus_;
    int id_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<BusEvent> events_;
};

VirtualInterface Other(const std::string& path, uint32_t flags = 1)
{
    VirtualInterface i;
    i.path = path;
    i.flags = flags;
    i.vendorId = 0x046D;
    i.productId = 0xC52B;
    return i;
}

std::string Kinds(const std::vector<BusEvent>& events)
{
    std::string s;
    for (const BusEvent& e : events) {
        s += e.kind == BusEventKind::Arrival ? "+" : "-";
        s += e.path + " ";
    }
    return s;
}
} // namespace

TEST(VirtualHidBus, EnumeratesPresentInterfacesInOrder)
{
    VirtualHidBus bus;
    ASSERT_TRUE(bus.AddInterface(Other("mouse")));
    VirtualInterface proc;
    proc.path = "dsp";
    proc.processor = std::make_shared<EmulatedProcessor>(FastOptions(), ProcessorState::Factory());
    ASSERT_TRUE(bus.AddInterface(proc));
    ASSERT_TRUE(bus.AddInterface(Other("inactive", 0)));
    EXPECT_FALSE(bus.AddInterface(Other("dsp"))); // one path, one interface

    std::vector<HidInterfaceInfo> list = bus.Enumerate();
    ASSERT_EQ(list.size(), 3U);
    EXPECT_EQ(list[0].path, "mouse");
    EXPECT_EQ(list[1].path, "dsp");
    EXPECT_EQ(list[1].index, 1);
    EXPECT_EQ(list[1].flags, 1U);
    EXPECT_EQ(list[2].flags, 0U);

    bus.Unplug("mouse");
    list = bus.Enumerate();
    ASSERT_EQ(list.size(), 2U);
    EXPECT_EQ(list[0].path, "dsp");
    EXPECT_EQ(list[0].index, 0);

    std::string error;
    auto dev = bus.Open("dsp", &error);
    ASSERT_TRUE(dev);
    EXPECT_EQ(dev->VendorId(), 0x2010);
    EXPECT_EQ(dev->ProductId(), 0x1031);
    EXPECT_FALSE(bus.Open("mouse", &error)); // unplugged
    EXPECT_NE(error.find("mouse"), std::string::npos);
    EXPECT_FALSE(bus.Open("nothing", &error));
}

TEST(VirtualHidBus, OpenCanBeRefused)
{
    VirtualHidBus bus;
    VirtualInterface i = Other("locked");
    i.openError = "permission denied";
    bus.AddInterface(i);
    std::string error;
    EXPECT_FALSE(bus.Open("locked", &error));
    EXPECT_EQ(error, "permission denied");
}

TEST(VirtualHidBus, CloseEndsABlockedReadAtOnce)
{
    VirtualHidBus bus;
    bus.AddInterface(Other("quiet")); // never reports
    std::string error;
    std::unique_ptr<HidDevice> dev = bus.Open("quiet", &error);
    ASSERT_TRUE(dev);
    EXPECT_EQ(dev->Write(Command({0x80})), 61);
    auto reading = std::async(std::launch::async, [&] {
        Report r{};
        return dev->Read(r);
    });
    EXPECT_EQ(reading.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    dev->Close();
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(reading.get(), HidReadResult::Closed);
    Report r{};
    EXPECT_EQ(dev->Read(r), HidReadResult::Closed);
    EXPECT_EQ(dev->Write(Command({0x80})), 0);
}

TEST(VirtualHidBus, ClosingOneHandleLeavesTheOthersOpen)
{
    LinkedProcessor p;
    std::string error;
    auto second = std::make_unique<ReportCollector>(p.bus->Open(kEmulatedProcessorPath, &error));
    second->Device().Close();
    EXPECT_EQ(second->End(), HidReadResult::Closed);
    EXPECT_EQ(p.Ask({0x7F})[1], 0x7F);
}

TEST(VirtualHidBus, UnplugFailsOpenHandlesAndRaisesEvents)
{
    LinkedProcessor p;
    EventLog log(*p.bus);
    EXPECT_TRUE(p.bus->Unplug(kEmulatedProcessorPath));
    EXPECT_FALSE(p.bus->Unplug(kEmulatedProcessorPath)); // already gone: no second event
    EXPECT_EQ(p.link->End(), HidReadResult::Error);
    EXPECT_EQ(p.Send({0x80}), 0);
    EXPECT_TRUE(p.bus->Enumerate().empty());

    EXPECT_TRUE(p.bus->Plug(kEmulatedProcessorPath));
    const std::vector<BusEvent> events = log.WaitFor(2);
    EXPECT_EQ(Kinds(events),
              std::string("-") + kEmulatedProcessorPath + " +" + kEmulatedProcessorPath + " ");
    p.Reopen();
    EXPECT_EQ(p.Ask({0x7F})[1], 0x7F);
}

TEST(VirtualHidBus, RemovedListenerIsNotCalledAgain)
{
    VirtualHidBus bus;
    bus.AddInterface(Other("a"));
    std::atomic<int> calls{0};
    const int id = bus.AddListener([&](const BusEvent&) { ++calls; });
    EventLog log(bus);
    bus.Unplug("a");
    log.WaitFor(1);
    bus.RemoveListener(id);
    bus.Plug("a");
    log.WaitFor(2);
    EXPECT_EQ(calls.load(), 1);
}

TEST(VirtualHidBus, RestartCommandDropsOffAndComesBack)
{
    LinkedProcessor p;
    EventLog log(*p.bus);
    // Unsaved working changes are lost; the power-on mode M3 comes back.
    Report settings = Command({0x91});
    settings[2 + 12] = 3;
    EXPECT_EQ(p.Acked(settings), 0);
    Report vol = Command({0x09, 0x00, 1, 20, 1});
    PutFloatBE(&vol[6], 0.1F);
    p.Ask(vol);

    EXPECT_EQ(p.Acked({0x68, 0xAA}), 0); // acknowledged before it drops off
    EXPECT_EQ(p.link->End(), HidReadResult::Error);
    const std::vector<BusEvent> events = log.WaitFor(2);
    ASSERT_EQ(events.size(), 2U);
    EXPECT_EQ(events[0].kind, BusEventKind::Removal);
    EXPECT_EQ(events[0].path, kEmulatedProcessorPath);
    EXPECT_EQ(events[1].kind, BusEventKind::Arrival);
    EXPECT_TRUE(p.bus->IsPresent(kEmulatedProcessorPath));

    p.Reopen();
    ASSERT_TRUE(p.link);
    EXPECT_EQ(p.Ask({0x07})[2], 2);
    EXPECT_FLOAT_EQ(GetFloatBE(&p.Ask({0x0A, 0x00, 1, 20, 1})[6]), 0.8F);
    EXPECT_EQ(p.processor->RequestCount(0x68), 1U);
}

TEST(VirtualHidBus, RestartNeedsItsKeyByte)
{
    LinkedProcessor p;
    EventLog log(*p.bus);
    EXPECT_EQ(p.Acked({0x68, 0x55}), 1); // refused
    EXPECT_EQ(p.Ask({0x7F})[1], 0x7F);
    EXPECT_EQ(log.Size(), 0U);
}

TEST(VirtualHidBus, BusRestartOfAnyInterface)
{
    VirtualHidBus bus;
    bus.AddInterface(Other("kbd"));
    EventLog log(bus);
    EXPECT_TRUE(bus.Restart("kbd", std::chrono::milliseconds(5)));
    EXPECT_EQ(Kinds(log.WaitFor(2)), "-kbd +kbd ");
}

TEST(VirtualHidBus, ReadsFailAfterNReports)
{
    LinkedProcessor p;
    p.bus->FailReadsAfter(kEmulatedProcessorPath, 2);
    p.Send({0x07});
    p.Send({0x7F});
    EXPECT_EQ(p.Next().value_or(Report{})[1], 0x07);
    EXPECT_EQ(p.Next().value_or(Report{})[1], 0x7F);
    EXPECT_EQ(p.link->End(), HidReadResult::Error);        // the third read fails without a report
    EXPECT_TRUE(p.bus->IsPresent(kEmulatedProcessorPath)); // still there: an I/O error
    p.Reopen();                                            // the fault fired once
    EXPECT_EQ(p.Ask({0x7F})[1], 0x7F);
}

TEST(VirtualHidBus, UnplugAfterNReports)
{
    LinkedProcessor p;
    EventLog log(*p.bus);
    p.bus->UnplugAfter(kEmulatedProcessorPath, 1);
    EXPECT_EQ(p.Ask({0x07})[1], 0x07);
    EXPECT_EQ(p.link->End(), HidReadResult::Error);
    const std::vector<BusEvent> events = log.WaitFor(1);
    ASSERT_EQ(events.size(), 1U);
    EXPECT_EQ(events[0].kind, BusEventKind::Removal);
    EXPECT_FALSE(p.bus->IsPresent(kEmulatedProcessorPath));
}

TEST(VirtualHidBus, SilentProcessorCountsButDoesNotAnswer)
{
    LinkedProcessor p;
    p.processor->SetSilent(true);
    p.Send({0x07});
    Report vol = Command({0x09, 0x00, 1, 20, 1});
    PutFloatBE(&vol[6], 0.1F);
    p.Send(vol);
    p.processor->SetSilent(false);
    EXPECT_EQ(p.Ask({0x7F})[1], 0x7F); // the first report after the silence
    EXPECT_EQ(p.processor->RequestCount(0x07), 1U);
    EXPECT_FLOAT_EQ(GetFloatBE(&p.Ask({0x0A, 0x00, 1, 20, 1})[6]), 0.8F); // not applied
}

TEST(VirtualHidBus, EveryNthAnswerIsDropped)
{
    LinkedProcessor p;
    p.processor->DropEveryNthAnswer(3);
    for (int param : {20, 23, 24, 25, 26, 33}) {
        p.Send({0x0A, 0x00, 1, param, 1});
    }
    p.Send({0x7F});
    std::vector<int> got;
    for (;;) {
        const Report r = p.Next().value_or(Report{});
        if (r[1] != 0x0A) {
            EXPECT_EQ(r[1], 0x7F);
            break;
        }
        got.push_back(r[4]);
    }
    EXPECT_EQ(got, (std::vector<int>{20, 23, 25, 26}));
}

TEST(VirtualHidBus, AnswersKeepTheirOrderWhenLatencyChanges)
{
    LinkedProcessor p;
    p.processor->SetLatency(std::chrono::milliseconds(30));
    p.Send({0x80});
    p.processor->SetLatency(std::chrono::milliseconds(0));
    p.Send({0x7F});
    EXPECT_EQ(p.Next().value_or(Report{})[1], 0x80);
    EXPECT_EQ(p.Next().value_or(Report{})[1], 0x7F);
}

TEST(VirtualHidBus, DefaultBusHasOneProcessorAtIndexZero)
{
    std::string error;
    const std::shared_ptr<VirtualHidBus> bus = MakeEmulatedBus(EmulatorOptions{}, &error);
    ASSERT_TRUE(bus) << error;
    const std::vector<HidInterfaceInfo> list = bus->Enumerate();
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].index, 0);
    EXPECT_EQ(list[0].flags, 1U);
    EXPECT_EQ(list[0].path, kEmulatedProcessorPath);
    EXPECT_TRUE(bus->Processor(kEmulatedProcessorPath));
}

TEST(EmulatorOptions, ParsesTheEmulateArgument)
{
    const struct
    {
        const char* arg;
        bool taken;
        const char* stateFile;
    } cases[] = {
        {"--emulate", true, ""},       {"--emulate=/tmp/dsp.state", true, "/tmp/dsp.state"},
        {"--emulate=", false, "keep"}, {"--emulated", false, "keep"},
        {"--emulat", false, "keep"},   {"-emulate", false, "keep"},
        {"", false, "keep"},
    };
    for (const auto& c : cases) {
        EmulatorOptions o;
        o.stateFile = "keep";
        EXPECT_EQ(ParseEmulateOption(c.arg, &o), c.taken) << c.arg;
        EXPECT_EQ(o.stateFile, c.stateFile) << c.arg;
    }
}
