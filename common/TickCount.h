#pragma once

#include <cstdint>

// Milliseconds since an arbitrary fixed point, from a monotonic clock, as a 32-bit
// value that wraps about every 49.7 days. Differences must be taken in unsigned
// 32-bit arithmetic (now - start) so that a wrap between the two readings is harmless.
std::uint32_t TickCount();
