#include "fuzz/Observation.h"

#include <algorithm>
#include <cstring>

std::string Observation::FirstDifference(const Observation& a, const Observation& b) {
  const size_t count = std::max(a.items.size(), b.items.size());
  for (size_t i = 0; i < count; ++i) {
    if (i >= a.items.size() || i >= b.items.size()) {
      return "the number of items";
    }
    const std::vector<uint8_t>& first = a.items[i].bytes;
    const std::vector<uint8_t>& second = b.items[i].bytes;
    if (a.items[i].what != b.items[i].what || first != second) {
      const auto mismatch = std::mismatch(first.begin(), first.end(), second.begin(), second.end());
      return a.items[i].what + " (from byte " + std::to_string(mismatch.first - first.begin()) +
             " of " + std::to_string(first.size()) + " and " + std::to_string(second.size()) + ")";
    }
  }
  return std::string();
}

void Observation::Note(std::string what, const void* bytes, size_t size) {
  const auto* start = static_cast<const uint8_t*>(bytes);
  items.push_back(Item{std::move(what), std::vector<uint8_t>(start, start + size)});
}

void Observation::NoteText(std::string what, const char* text) {
  Note(std::move(what), text, std::strlen(text));
}
