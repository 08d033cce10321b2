// The Inter typeface, loaded straight from its font files so that every run draws the same
// glyphs whatever fontconfig would pick.
#pragma once

#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>

namespace artwork {

enum class Weight { Light, Regular, Medium, SemiBold, Bold, DisplayBold, DisplayExtraBold, Count };

class Typefaces {
public:
  // Exits the program with a message naming the missing file and the package that has it.
  Typefaces();
  ~Typefaces();
  Typefaces(const Typefaces&) = delete;
  Typefaces& operator=(const Typefaces&) = delete;

  cairo_font_face_t* Face(Weight weight) const { return faces_[static_cast<int>(weight)]; }

private:
  static constexpr int kCount = static_cast<int>(Weight::Count);
  FT_Library library_ = nullptr;
  std::array<FT_Face, kCount> ftFaces_{};
  std::array<cairo_font_face_t*, kCount> faces_{};
};

} // namespace artwork
