#pragma once

// Allocations made through operator new since the program started. A program linking
// allocation_count.cpp replaces the global operators for every module it loads, so it counts
// the plug-in's allocations as well as its own and runs alone.
long AllocationCount();
