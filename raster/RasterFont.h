#pragma once

#include "raster/RasterBitmap.h"
#include "raster/RasterBlit.h"

#include <cstdint>
#include <vector>

// The platform's font object (an HFONT on Windows), or none.
using RasterFontHandle = void*;

// Font flags.
constexpr std::uint32_t FontRotate = 0x1;       // glyphs turned by 90 degrees, text runs down
constexpr std::uint32_t FontRotateUp = 0x2;     // with FontRotate: turned the other way, runs up
constexpr std::uint32_t FontAsciiOnly = 0x4;    // codes 0-127 cached at adoption, nothing above
constexpr std::uint32_t FontBlur = 0x10;        // glyph images softened before the mask is taken
constexpr std::uint32_t FontInvert = 0x20;      // masks hold 255 - coverage
constexpr std::uint32_t FontMono = 0x40;        // masks thresholded: above 130 -> 255, else 0
constexpr std::uint32_t FontShadow = 0x80;      // thresholded plus a one-pixel shadow (halo)
constexpr std::uint32_t FontOutline = 0x100;    // thresholded plus a one-pixel outline (halo)
constexpr std::uint32_t FontOwnsHandle = 0x200; // the platform font is deleted with the font
constexpr std::uint32_t FontNativeOk = 0x400;   // plain text may be drawn by the platform

// RenderText format flags: the platform's text-drawing flags and two of this library's own.
constexpr std::uint32_t TextCentre = 0x1;
constexpr std::uint32_t TextRight = 0x2;
constexpr std::uint32_t TextVCentre = 0x4;
constexpr std::uint32_t TextBottom = 0x8;
constexpr std::uint32_t TextSingleLine = 0x20;
constexpr std::uint32_t TextNoClip = 0x100;
constexpr std::uint32_t TextCalcRect = 0x400;
constexpr std::uint32_t TextNoPrefix = 0x800;
constexpr std::uint32_t TextUseInkAlpha = 0x40000000; // blend alpha times ink alpha / 255
constexpr std::uint32_t TextNoNative = 0x80000000;    // never let the platform draw this call

// Paper modes (the platform's TRANSPARENT and OPAQUE).
constexpr int PaperTransparent = 1;
constexpr int PaperOpaque = 2;

// One cached character. position is 1 + the mask's offset in the glyph store, 0 while the
// character has not been rendered, -1 when it renders to nothing.
struct RasterGlyph {
  std::int32_t position = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t advance = 0;
  std::int32_t code = 0;
};

// A font that draws UTF-8 text into 32-bit bitmaps. Colours are pixel words 0xAARRGGBB.
class RasterFont {
public:
  RasterFont() = default;
  RasterFont(const RasterFont&) = delete;
  RasterFont& operator=(const RasterFont&) = delete;
  virtual ~RasterFont() = default;

  virtual void UseGdiFont(RasterFontHandle font, std::uint32_t flags) = 0;
  virtual std::uint32_t SetInkColour(std::uint32_t colour) = 0;
  virtual std::uint32_t SetPaperColour(std::uint32_t colour) = 0;
  virtual std::uint32_t SetHaloColour(std::uint32_t colour) = 0;
  virtual int SetPaperMode(int mode) = 0;
  // A combine mode of RasterBlit.h (low byte 0-5) and an opacity 0-1.
  virtual void SetBlend(int mode, float alpha) = 0;
  // Draws text (length -1: up to its zero byte) into rect, or only measures it with
  // TextCalcRect (bitmap may then be none). Returns the height of the block, or its width for
  // rotated text.
  virtual int RenderText(RasterBitmap* bitmap, const char* text, int length, RasterRect* rect,
                         std::uint32_t format) = 0;
  virtual std::uint32_t InkColour() = 0;
  virtual RasterFontHandle GdiFont() = 0;
  virtual int LineHeight() = 0;
};

// Renders each character once with the platform's text renderer, keeps its coverage mask and
// from then on draws text by blending the cached masks.
class RasterCachedFont : public RasterFont {
public:
  RasterCachedFont() = default;
  ~RasterCachedFont() override;

  void UseGdiFont(RasterFontHandle font, std::uint32_t flags) override;
  std::uint32_t SetInkColour(std::uint32_t colour) override;
  std::uint32_t SetPaperColour(std::uint32_t colour) override;
  std::uint32_t SetHaloColour(std::uint32_t colour) override;
  int SetPaperMode(int mode) override;
  void SetBlend(int mode, float alpha) override;
  int RenderText(RasterBitmap* bitmap, const char* text, int length, RasterRect* rect,
                 std::uint32_t format) override;
  std::uint32_t InkColour() override { return inkColour; }
  RasterFontHandle GdiFont() override { return gdiFont; }
  int LineHeight() override { return lineHeight; }

  // Extra pixels between lines.
  void SetLineSpacing(int pixels) { lineSpacing = pixels; }
  std::uint32_t Flags() const { return fontFlags; }
  // The record of a character, rendering it first when it is not cached; none when the
  // character cannot be cached.
  const RasterGlyph* Glyph(int code);

private:
  RasterGlyph* FindGlyph(int code);
  bool CacheGlyph(int code);
  bool RenderGlyph(RasterBitmap* bitmap, const RasterGlyph& glyph, int x, int y,
                   const RasterRect& clip, float alpha);
  bool UsesPlatformPath(std::uint32_t format) const;
  // Calls visit(glyph, pen) for every glyph of the text, with the pen where the glyph starts;
  // carriage returns are skipped and line feeds start a new line (a blank on a single line).
  template <typename Visit>
  void WalkGlyphs(const char* text, int length, std::uint32_t format, Visit visit);
  // Walks the text's glyphs from (0, 0): width and height of the block.
  void Measure(const char* text, int length, std::uint32_t format, int* width, int* height);
  int Draw(RasterBitmap* bitmap, const char* text, int length, const RasterRect& rect,
           std::uint32_t format);

  std::uint32_t inkColour = 0;
  std::uint32_t paperColour = 0xFFFFFFFFu;
  std::uint32_t haloColour = 0xFFFFFFFFu;
  int paperMode = PaperTransparent;
  int blendMode = 0;
  float blendAlpha = 1.0f;
  std::uint32_t fontFlags = 0;
  int lineHeight = 0;
  int lineSpacing = 0;
  RasterGlyph asciiGlyphs[128];
  std::vector<RasterGlyph> extraGlyphs;
  std::vector<std::uint8_t> glyphPixels;
  RasterFontHandle gdiFont = nullptr;
};
