#pragma once

// While one of these exists, non-throwing array allocations in this program fail.
class FailingAllocations {
public:
  FailingAllocations();
  ~FailingAllocations();
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
};
