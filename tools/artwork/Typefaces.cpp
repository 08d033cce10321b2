#include "tools/artwork/Typefaces.h"

#include <cairo-ft.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace artwork {

namespace {

const char* const kFontDir = "/usr/share/fonts/opentype/inter/";

const char* const kFontFiles[] = {
    "Inter-Light.otf", "Inter-Regular.otf",     "Inter-Medium.otf",           "Inter-SemiBold.otf",
    "Inter-Bold.otf",  "InterDisplay-Bold.otf", "InterDisplay-ExtraBold.otf",
};

[[noreturn]] void FailFont(const std::string& path, const char* why) {
  std::fprintf(stderr,
               "ombrix_artwork: cannot use the font %s (%s).\n"
               "Install the Debian package fonts-inter (scripts/setup does).\n",
               path.c_str(), why);
  std::exit(1);
}

} // namespace

Typefaces::Typefaces() {
  static_assert(sizeof(kFontFiles) / sizeof(kFontFiles[0]) == kCount);
  if (FT_Init_FreeType(&library_) != 0) {
    std::fprintf(stderr, "ombrix_artwork: FreeType cannot start\n");
    std::exit(1);
  }
  for (int i = 0; i < kCount; ++i) {
    const std::string path = std::string(kFontDir) + kFontFiles[i];
    if (FILE* probe = std::fopen(path.c_str(), "rb")) {
      std::fclose(probe);
    } else {
      FailFont(path, "file not found");
    }
    if (FT_New_Face(library_, path.c_str(), 0, &ftFaces_[i]) != 0) {
      FailFont(path, "FreeType cannot read it");
    }
    faces_[i] = cairo_ft_font_face_create_for_ft_face(ftFaces_[i], 0);
    if (cairo_font_face_status(faces_[i]) != CAIRO_STATUS_SUCCESS) {
      FailFont(path, "cairo cannot use it");
    }
  }
}

Typefaces::~Typefaces() {
  // cairo may still cache the faces; drop them before the FreeType faces they point into.
  for (cairo_font_face_t* face : faces_) {
    cairo_font_face_destroy(face);
  }
  cairo_debug_reset_static_data();
  for (FT_Face face : ftFaces_) {
    if (face) {
      FT_Done_Face(face);
    }
  }
  FT_Done_FreeType(library_);
}

} // namespace artwork
