#pragma once
// Replaces the global operator new of the test program so a test can make one allocation
// fail: the next allocations succeed until the countdown reaches zero.

namespace FailingAllocator {

// -1 (the start value) never fails; n lets n allocations succeed and fails the next one.
void FailAfter(long allocations);
void Disarm();
// Allocations since the last Count(true).
long Count(bool reset = false);

} // namespace FailingAllocator
