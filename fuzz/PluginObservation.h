#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FuzzHost;

// Everything a host can see of a plug-in, item by item: the effect record, programs and their
// names, parameters and their texts, the saved bank and program blocks, the editor's picture, a
// probe block of audio with MIDI (what comes out, what is passed back, what the controller
// moved); and the MIDI events waiting beyond every block, which a host cannot see in time.
// Taking it changes the plug-in (the probe turns the knob), so a caller resets after.
class PluginObservation {
public:
  static PluginObservation Of(FuzzHost& host);

  // The name of the first item in which the two differ; empty when they match.
  static std::string FirstDifference(const PluginObservation& a, const PluginObservation& b);

private:
  struct Item {
    std::string what;
    std::vector<uint8_t> bytes;
  };

  void Note(std::string what, const void* bytes, size_t size);
  void NoteText(std::string what, const char* text);
  template <typename T> void NoteValues(std::string what, const std::vector<T>& values) {
    Note(std::move(what), values.data(), values.size() * sizeof(T));
  }

  void NoteRecord(FuzzHost& host);
  void NotePrograms(FuzzHost& host);
  void NoteParameters(FuzzHost& host, const std::string& when);
  void NoteEditorPicture(FuzzHost& host);
  void NoteProbe(FuzzHost& host);

  std::vector<Item> items;
};
