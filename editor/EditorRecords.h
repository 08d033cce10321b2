#pragma once

#include <cstdint>

class RasterBitmap;

// An integer rectangle in editor pixels, right and bottom exclusive. Empty only when all four
// values are 0.
struct IBounds {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// False when either is empty. Not symmetric at the edges: a rectangle whose right edge equals the
// other's left edge overlaps it, one whose left edge equals the other's right edge does not.
bool Overlaps(const IBounds& a, const IBounds& b);
// The all-zero rectangle when a does not overlap b.
IBounds Intersection(const IBounds& a, const IBounds& b);
// The smallest rectangle holding both; an empty rectangle adds nothing.
IBounds Union(const IBounds& a, const IBounds& b);

// Buttons and modifier keys that accompany a pointer event.
struct IMouseKeys {
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

enum IBlendKind : std::int32_t {
  BlendAlpha = 0,
  BlendOpaque = 1,
  BlendAdditive = 2,
  BlendDodge = 3,
};

// How a control's image combines with what lies under it; any unknown kind composites by alpha.
struct IBlend {
  std::int32_t kind = BlendAlpha;
  float weight = 1.0f;
};

// Key codes handed to controls.
enum IKeyCode : int {
  KeySpace = 0,
  KeyUp = 1,
  KeyDown = 2,
  KeyLeft = 3,
  KeyRight = 4,
  Key0 = 5,
  Key9 = 14,
  KeyA = 15,
  KeyZ = 40,
};

class ICachedImage;

// An image as controls use it: frames stacked vertically. The bitmap belongs to the
// process-wide image cache; until it is decoded (on first draw) the strip knows the image's
// size and its cache entry. A strip whose image failed to load has neither and draws nothing.
struct IImageStrip {
  RasterBitmap* bitmap = nullptr;
  ICachedImage* image = nullptr;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t frames = 1;

  int FrameHeight() const { return frames > 0 ? height / frames : height; }
  // The first source row of the frame a normalised value selects (nearest frame, clamped).
  int SourceRowFor(double value) const;
  // The first source row of frame (from 0), and the frame a row of SourceRowFor belongs to.
  int FrameTop(int frame) const;
  int FrameOfRow(int row) const;
};
