#include "core/FloatEnvironment.h"

#include <cfenv>
#include <cstdint>

void SetFloatingPointEnvironment() {
  fedisableexcept(FE_ALL_EXCEPT);
  std::feclearexcept(FE_ALL_EXCEPT);
  std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
  // The denormal-operand trap has no <cfenv> name; mask it in both units, and let
  // the x87 unit keep its 64-bit significand for intermediate results.
  uint16_t cw = 0;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  cw = static_cast<uint16_t>((cw | 0x003F) | 0x0300);
  __asm__ volatile("fldcw %0" : : "m"(cw));
  uint32_t csr = 0;
  __asm__ volatile("stmxcsr %0" : "=m"(csr));
  csr |= 0x1F80;
  __asm__ volatile("ldmxcsr %0" : : "m"(csr));
#endif
}
