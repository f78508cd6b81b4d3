#pragma once
// Media the sample sites serve that is not text.
#include <string_view>

namespace lumorra {

// An 8-second WebM clip (VP8, 160 x 120, 10 frames a second, no sound).
std::string_view sampleClipBytes();

} // namespace lumorra
