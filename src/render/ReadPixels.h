#pragma once

#include <cstdint>
#include <vector>

// The current read buffer's width x height pixels as RGB bytes, top row first.
std::vector<uint8_t> ReadFrameRGB(int width, int height);
