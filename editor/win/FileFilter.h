#pragma once

#include <string>

// What a blank-separated extension list ("fxp fxb", without dots) gives the file dialogs.
struct FileFilter {
  // "*.fxp;*.fxb": each blank starts a new entry, so two blanks in a row give a bare "*.".
  std::string pattern;
  // The pattern, a zero byte, the pattern again, a zero byte: one choice named by its pattern.
  std::string filter;
  // The characters before the first blank.
  std::string defaultExtension;
};

// At most this many characters of pattern, so the filter with its zero bytes fits 256 bytes;
// entries that would pass it are left out.
constexpr std::size_t kMaxFilterPattern = 126;
// A first extension longer than this gives no default extension.
constexpr std::size_t kMaxDefaultExtension = 15;

// None (all empty) for a missing or empty list.
FileFilter MakeFileFilter(const char* extensions);
