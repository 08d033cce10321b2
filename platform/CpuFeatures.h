#pragma once

// Whether the processor (and the operating system, for the wider registers) runs AVX2 code;
// found once when the library loads, so asking costs a load.
bool ProcessorHasAvx2();
