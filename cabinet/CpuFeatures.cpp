#include "cabinet/CpuFeatures.h"

namespace {

bool DetectAvx2() {
#if defined(__x86_64__) || defined(__i386__)
  // GCC's check also confirms that the OS enables the YMM register state.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

}  // namespace

bool CpuHasAvx2() {
  static const bool hasAvx2 = DetectAvx2();
  return hasAvx2;
}
