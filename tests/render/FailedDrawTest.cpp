#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "kesto-render/HeadlessGL.h"
#include "render/FailingSink.h"
#include "render/FrameRenderer.h"
#include "render/ReadPixels.h"
#include "render/TestGrids.h"

namespace {

// Once this many have succeeded, every allocation of 64 KiB or more (the recorder's
// copies, the batches) fails, as on a machine out of memory; below 0, none does.
std::atomic<int> largeAllocationsLeft{-1};

void* Allocate(size_t n) {
  if (n >= (1 << 16) && largeAllocationsLeft >= 0 && largeAllocationsLeft.fetch_sub(1) <= 0) {
    largeAllocationsLeft = 0;
    return nullptr;
  }
  return std::malloc(n ? n : 1);
}

void* AllocateOrThrow(size_t n) {
  if (void* p = Allocate(n)) return p;
  throw std::bad_alloc();
}

}  // namespace

// Every form without an alignment, so that each allocation is freed by the allocator
// that made it, under the sanitizers too.
void* operator new(size_t n) { return AllocateOrThrow(n); }
void* operator new[](size_t n) { return AllocateOrThrow(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

constexpr int kW = 320, kH = 240;

// The viewer's frame, from compiled lists, or kesto-render's, straight from the builders.
std::vector<uint8_t> Frame(TFrameRenderer& r, TKestoState& s, bool lists) {
  if (lists)
    r.Draw(
        s, r.Key(s, kW, kH, false), [] { return true; }, nullptr);
  else
    r.DrawWithoutLists(s, kW, kH, false);
  glFinish();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));  // no list left open
  return ReadFrameRGB(kW, kH);
}

// A frame whose drawing fails part-way (a GL call on the thread that draws, which
// abandons the builders' queue, or memory on either thread) ends with the error, not
// an abort, and the same renderer then draws the whole picture.
TEST(FailedDraw, EndsWithTheErrorAndTheNextFrameIsWhole) {
  THeadlessGL gl;
  ASSERT_TRUE(gl.Create(kW, kH)) << gl.Error();
  TKestoState s;
  SetGrid(s, 160, 140, [](int i, int j) { return (i % 17) * (j % 13); });
  s.SurfaceMode = kSurfaceFilled;
  const struct {
    bool Lists, CallFails;
    int After;  // calls, or large allocations, that succeed first
  } cases[] = {
      {false, true, 40}, {false, false, 0}, {false, false, 5}, {true, true, 30}, {true, false, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Lists << c.CallFails << c.After);
    TFrameRenderer clean, r;
    clean.PieceVertices = r.PieceVertices = 1 << 12;
    const std::vector<uint8_t> whole = Frame(clean, s, c.Lists);
    TGLSink* direct = r.Sink;
    TFailingSink failing(*direct, c.After);
    if (c.CallFails)
      r.Sink = &failing;
    else
      largeAllocationsLeft = c.After;
    EXPECT_THROW(Frame(r, s, c.Lists), std::bad_alloc);
    largeAllocationsLeft = -1;
    glGetError();  // what the failed frame left
    r.Sink = direct;
    EXPECT_EQ(Frame(r, s, c.Lists), whole);
    clean.Release();
    r.Release();
  }
}

}  // namespace
