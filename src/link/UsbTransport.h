#pragma once
// The transport: finds the processor among the HID interfaces, opens it, sends one 61-byte
// report at a time paced by the answers, and runs the read thread that hands every input
// report to ParseInputReport. It is the only code that touches the open device. The HID
// backend (hidraw or the emulator's virtual bus) is injected.

#include "link/HidBackend.h"
#include "model/Report.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

inline constexpr uint16_t kMatchVendorId = 0x2010;
inline constexpr uint16_t kMatchProductId = 0x1031;
inline constexpr int kMaxInterfaceIndex = 32; // indices 0..31 are examined

// 1 while the device is open and the read thread is meant to run.
extern std::atomic<int> g_bConnected;
// 1 after the read thread stopped on a failed read: writes are refused until reconnecting.
extern std::atomic<int> g_bReadThreadEnd;

struct UsbTimings
{
    // Longest wait for the answer to the previous report before the next write.
    std::chrono::milliseconds pacing{1800};
    // Longest wait for the read thread when closing.
    std::chrono::milliseconds closeWait{1000};
};

// The backend used by the next ConnectUsbDevice (not owned; nullptr = none). Change it only
// while closed.
void SetUsbBackend(HidBackend* backend);
HidBackend* CurrentUsbBackend();
void SetUsbTimings(const UsbTimings& timings);
UsbTimings CurrentUsbTimings();

// Opens the first active interface (index 0..31) that is the processor and starts the read
// thread. 1 on success; 0 when already connected, when notification registration fails or
// when no processor is found. While connected the transport is the model's report sink.
int ConnectUsbDevice();
// With sendFarewell, sends 0x8A first. Waits up to closeWait for the read thread, then closes
// the device. Does nothing when not connected.
void CloseUsbDevice(bool sendFarewell);
// Sends one report (length bytes, at most 61, zero-padded). Waits for the answer to the
// previous report (or the pacing time) first. Returns the bytes written: 61, or 0 when the
// link is closed or the read thread has died.
int WriteUsbData(const uint8_t* data, size_t length);
int WriteUsbData(const Report& report);
// The read thread's procedure (started by ConnectUsbDevice).
void ReadUsbThreadProc();
// Signals the reply event: one waiting writer may go. Called by the parser after every report.
void SignalUsbReply();

// The path of the open interface (compared with removal notifications); empty when closed.
std::string UsbDevicePath();
// The processor's node that the last ConnectUsbDevice saw in the system's list (by its USB
// identifiers) but could not open because the user lacks permission; empty when there was
// none. The user then needs the udev rule and a replug.
std::string UsbAccessDeniedPath();

// Sees every report: '>' before it is written, '<' after it was read (any thread).
using UsbWireObserver = std::function<void(char direction, const Report& report)>;
void SetUsbWireObserver(UsbWireObserver observer);
