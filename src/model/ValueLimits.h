#pragma once

namespace mdb {

// The limits of the values the editors settle and the checker judges, each written once.

// Drop chances and the MVP special items' chances count in ten-thousandths: 10000 is certain.
inline constexpr int kRateLimit = 10000;
// The most slaves or summons a record asks for: the server is safe up to here.
inline constexpr int kRelationCountLimit = 20;
// Emotions are numbered 0 to this, one picture each.
inline constexpr int kLastEmotion = 47;

}  // namespace mdb
