// Compiled with -mavx2 (src/CMakeLists.txt): nothing but the hash is in here, so that no code
// shared with the rest of the program is built for AVX2.
#include "storage/ContentHashWide.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cstring>

namespace mdb::wide {

void hash128(const void* data, size_t size, unsigned char (&digest)[16]) {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(data, size));
    std::memcpy(digest, canonical.digest, sizeof digest);
}

void update128(void* state, const void* data, size_t size) {
    XXH3_128bits_update(static_cast<XXH3_state_t*>(state), data, size);
}

}  // namespace mdb::wide
