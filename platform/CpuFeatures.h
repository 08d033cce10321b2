#pragma once

// Whether the processor (and the operating system, for the wider registers) runs AVX2 code;
// found once when the library loads, so asking costs a load. Always false on processors other
// than x86 (cpu_features_portable.cpp).
bool ProcessorHasAvx2();
