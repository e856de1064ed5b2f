#pragma once

#include <cstddef>

namespace mdb::wide {

// XXH3's 128-bit hash taking 32 bytes a step with AVX2: half the instructions of the 16-byte
// steps the program is built for, and the very same hash. Built with AVX2 enabled, so that only
// a processor that has it may call these (FileIdentity asks before it does).

// The canonical bytes of the hash of `size` bytes at `data`.
void hash128(const void* data, size_t size, unsigned char (&digest)[16]);
// Adds bytes to an XXH3_state_t of the 128-bit hash.
void update128(void* state, const void* data, size_t size);

}  // namespace mdb::wide
