#pragma once
// A test program that links allocation_counter.cpp counts every global
// operator new; the display's steady paths must not touch the heap.

long AllocationCount();
