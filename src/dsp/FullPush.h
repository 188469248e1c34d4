#pragma once
// The full push of the whole setting to the processor: every parameter from the store, the
// device memory and the equaliser biquads, as the write synchronisation sends them after a
// mode file has been loaded.

#include <functional>

// Sends every parameter from the store in the processor's fixed order. With rampSwitch 1 the
// mic and music volumes are first set to 0.0, and the caller brings them up with
// RampVolumes afterwards. The EQ biquads and the speaker levels are not part of it; the
// delay modes rewrite their split stages, and the mic boost is rebuilt from Block997.
void SendAllParams(int rampSwitch);

// The device-memory part of the push: the 17 DeviceImage pieces (56 bytes at 56 k, 49 for the
// last), then Block945 (20 bytes) and Block965 (32 bytes). Block997 is written by
// SendAllParams' mic boost instead.
void WriteDeviceMemoryForPush();

// What the write synchronisation sends, in order, without its pauses and read-backs:
// SendAllParams(rampSwitch), the device memory, ResendAllEq and, when rampSwitch is 1,
// RampVolumes. encodeBlock945, when given, runs just before the device memory is written
// (it encodes the sound-field geometry into Block945).
void PushWholeSetting(int rampSwitch, const std::function<void()>& encodeBlock945 = {});
