#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What a host could see of a plug-in, as named items of bytes, so two plug-ins can be compared
// item by item whatever binding they are reached through.
class Observation {
public:
  // The name of the first item in which the two differ; empty when they match.
  static std::string FirstDifference(const Observation& a, const Observation& b);

protected:
  void Note(std::string what, const void* bytes, size_t size);
  void NoteText(std::string what, const char* text);
  template <typename T> void NoteValues(std::string what, const std::vector<T>& values) {
    Note(std::move(what), values.data(), values.size() * sizeof(T));
  }

private:
  struct Item {
    std::string what;
    std::vector<uint8_t> bytes;
  };

  std::vector<Item> items;
};
