// What the processor running the program offers beyond the x86-64 baseline, checked once.
#pragma once

// True when AVX2 instructions can run (the processor has them and the OS saves their
// registers). Always false off x86.
bool CpuHasAvx2();
