#pragma once

#include "vst3/Vst3Abi.h"

#include <cstddef>

// Text as VST 3 records hold it: 8-bit text cut to fit its array, UTF-16 from and to UTF-8, and
// identifiers from the 32 hex digits hosts store.
namespace vst3 {
// Copies text into out (capacity characters with the terminator), cut so the terminator fits.
void CopyText(char8* out, size_t capacity, const char* text);
// UTF-8 text as UTF-16 (capacity units with the terminator); bytes that are no UTF-8 become
// U+FFFD.
void CopyUtf16(char16* out, size_t capacity, const char* text);
template <size_t N> void CopyUtf16(char16 (&out)[N], const char* text) {
  CopyUtf16(out, N, text);
}
// Zero-terminated UTF-16 (read up to maxUnits units) as UTF-8 in out (capacity bytes).
void CopyUtf8(char* out, size_t capacity, const char16* text, size_t maxUnits);
// The identifier of 32 hex digits (l1 l2 l3 l4), in this platform's byte order; false for any
// other text.
bool UidFromText(const char* text, Uid* uid);
} // namespace vst3

namespace vst3 {
// The 32 upper-case hex digits of an identifier in this platform's byte order: the form hosts
// store and moduleinfo.json lists, the same on every platform. out holds at least 33 bytes.
void TextFromUid(const void* bytes, char* out);
} // namespace vst3
