#pragma once
// Reading the whole parameter set back from the processor: the fixed list of read requests
// and the decoder that stores each reply into its cells.

#include "model/Report.h"

#include <cstdint>
#include <span>

struct ReadRequest
{
    uint8_t block;
    uint8_t param;
    uint8_t count;
};

// The read requests of a full read-back, in the order they are sent (157 of them).
std::span<const ReadRequest> ReadRequestList();

// Sends the 157 read requests in their fixed order; returns the number of requests the
// report sink accepted (157 when all went out, 0 with no processor attached).
int RequestAllParams();

// Stores one read-back reply (input report 0x0A: byte 2 status, 3 block, 4 parameter,
// values from byte 6, big-endian) into its cell(s). A reply for a parameter that is not read
// back changes nothing; a non-zero status is decoded all the same.
void DecodeParamReply(const Report& reply);
