#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// A whole file's bytes read, or written beside the target and renamed into place; false with a
// one-line reason naming the file.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);
// The same for a file whose contents `write` puts into the open file, true when it wrote them all.
bool WriteWholeFileWith(const std::string& path, const std::function<bool(std::FILE*)>& write,
                        std::string* error);
