#include "effect/IMidiEventQueue.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {
constexpr int QueueGranule = 512;

// Raises n to a multiple of the granule; 0 for counts that do not fit an int once raised.
int RoundUpToGranule(int n) {
  if (n <= 0) {
    return 0;
  }
  const long long raised = (static_cast<long long>(n) + QueueGranule - 1) / QueueGranule;
  const long long slots = raised * QueueGranule;
  return slots > std::numeric_limits<int>::max() ? 0 : static_cast<int>(slots);
}
} // namespace

IMidiEventQueue::IMidiEventQueue() {
  Reallocate(InitialSlots);
}

bool IMidiEventQueue::Reallocate(int slots) {
  if (slots <= 0 || slots < endIndex) {
    return false;
  }
  std::unique_ptr<IMidiEvent[]> grown(new (std::nothrow) IMidiEvent[slots]);
  if (!grown) {
    return false;
  }
  std::copy(events.get(), events.get() + endIndex, grown.get());
  events = std::move(grown);
  capacity = slots;
  return true;
}

void IMidiEventQueue::Add(const IMidiEvent& event) {
  if (endIndex >= capacity) {
    if (readIndex > 0) {
      Compact();
    } else if (growStep <= 0 || capacity >= MaxSlots ||
               !Reallocate(std::min(capacity + growStep - capacity % growStep, MaxSlots))) {
      return;
    }
  }
  int insertAt = endIndex;
  if (endIndex > readIndex && event.offset < events[endIndex - 1].offset) {
    insertAt = readIndex;
    for (int i = endIndex - 2; i >= readIndex; --i) {
      if (events[i].offset <= event.offset) {
        insertAt = i + 1;
        break;
      }
    }
    std::move_backward(events.get() + insertAt, events.get() + endIndex,
                       events.get() + endIndex + 1);
  }
  events[insertAt] = event;
  ++endIndex;
}

void IMidiEventQueue::Compact() {
  if (readIndex > 0) {
    endIndex -= readIndex;
    std::move(events.get() + readIndex, events.get() + readIndex + endIndex, events.get());
    readIndex = 0;
  }
}

void IMidiEventQueue::Resize(int blockFrames) {
  const int step = RoundUpToGranule(blockFrames);
  if (step == 0) {
    // No block or an impossible one: the current storage and step serve on.
    return;
  }
  growStep = step;
  const int wanted = endIndex > step ? RoundUpToGranule(endIndex) : step;
  if (wanted != 0 && wanted != capacity) {
    Reallocate(wanted);
  }
}
