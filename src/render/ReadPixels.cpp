#include "render/ReadPixels.h"

#include <GL/gl.h>

#include <cstring>

std::vector<uint8_t> ReadFrameRGB(int width, int height) {
  const size_t stride = size_t(width) * 3;
  std::vector<uint8_t> bottomUp(stride * size_t(height));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  std::vector<uint8_t> topDown(bottomUp.size());
  for (int y = 0; y < height; ++y)
    std::memcpy(&topDown[size_t(y) * stride], &bottomUp[size_t(height - 1 - y) * stride], stride);
  return topDown;
}
