#pragma once
// The tag that marks an embedded font subset ("ABCDEF+Arial"): six capital letters derived from what the
// subset holds, so the same text gives the same file and different subsets of a font differ.
#include <cstdint>
#include <string>
#include <vector>

std::string FontSubsetTag(const std::vector<uint16_t>& Glyphs, const std::vector<char32_t>& Unicodes);
