#include "editor/win/FileFilter.h"

#include <cstring>

FileFilter MakeFileFilter(const char* extensions) {
  FileFilter made;
  if (!extensions || extensions[0] == '\0') {
    return made;
  }
  const char* firstBlank = std::strchr(extensions, ' ');
  const std::size_t firstLength =
      firstBlank ? static_cast<std::size_t>(firstBlank - extensions) : std::strlen(extensions);
  if (firstLength <= kMaxDefaultExtension) {
    made.defaultExtension.assign(extensions, firstLength);
  }
  const char* entry = extensions;
  while (true) {
    const char* end = std::strchr(entry, ' ');
    const std::size_t length = end ? static_cast<std::size_t>(end - entry) : std::strlen(entry);
    std::string next =
        (made.pattern.empty() ? "" : ";") + std::string("*.") + std::string(entry, length);
    if (made.pattern.size() + next.size() > kMaxFilterPattern) {
      break;
    }
    made.pattern += next;
    if (!end) {
      break;
    }
    entry = end + 1;
  }
  made.filter = made.pattern;
  made.filter.push_back('\0');
  made.filter += made.pattern;
  made.filter.push_back('\0');
  return made;
}
