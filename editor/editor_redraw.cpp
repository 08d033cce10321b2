#include "editor/Control.h"
#include "editor/Editor.h"
#include "raster/RasterBitmap.h"
#include "raster/RasterBlit.h"
#include "raster/RasterSysBitmap.h"

#include <algorithm>

namespace {
int CombineMode(const IBlend* blend) {
  if (!blend) {
    return RASTER_OP_COPY | RASTER_OP_SRC_ALPHA;
  }
  switch (blend->kind) {
  case BlendOpaque:
    return RASTER_OP_COPY;
  case BlendAdditive:
    return RASTER_OP_ADD | RASTER_OP_SRC_ALPHA;
  case BlendDodge:
    return RASTER_OP_DODGE | RASTER_OP_SRC_ALPHA;
  default:
    return RASTER_OP_COPY | RASTER_OP_SRC_ALPHA;
  }
}
} // namespace

bool IEditor::RedrawRect(const IBounds& rect) {
  if (controls.empty()) {
    return true;
  }
  drawRect = rect;
  const IBounds editorRect = editor_scale::ToEditor(rect, scale);
  // What lies wholly under an opaque control (a shown picture) would not show: it is not drawn,
  // only cleaned.
  size_t firstDrawn = controls.size();
  while (firstDrawn > 0) {
    IControl& control = *controls[--firstDrawn];
    if (!control.IsHidden() && control.CoversOpaquely(this, editorRect)) {
      break;
    }
  }
  for (size_t index = 0; index < controls.size(); ++index) {
    IControl& control = *controls[index];
    const std::uint32_t seen = control.ChangeCount();
    if (index >= firstDrawn && !control.IsHidden() && Overlaps(editorRect, control.Area())) {
      control.Render(this);
    }
    control.MarkCleanAt(seen);
  }
  return PresentRect(rect);
}

bool IEditor::DrawImage(const IImageStrip& strip, const IBounds& dest, int srcX, int srcY,
                        const IBlend* blend) {
  if (!drawBitmap) {
    return true;
  }
  if (scale != editor_scale::Smallest) {
    return DrawImageAtScale(strip, dest, srcX, srcY, blend);
  }
  const IBounds clip = Intersection(dest, drawRect);
  // Only what is drawn is decoded: an image clipped away entirely keeps waiting.
  if (clip.Width() <= 0 || clip.Height() <= 0) {
    return true;
  }
  const int sx = srcX + (clip.left - dest.left);
  const int sy = srcY + (clip.top - dest.top);
  // Held until the copy is done: the frame cache may let these rows go meanwhile.
  const IFrameCache::Rows rows = StripRows(strip, sy, sy + clip.Height());
  if (!rows.bitmap) {
    return true;
  }
  const int rowInBitmap = sy - rows.firstRow;
  const RasterRect source{sx, rowInBitmap, sx + clip.Width(), rowInBitmap + clip.Height()};
  const float weight = blend ? blend->weight : 1.0f;
  RasterCopyArea(drawBitmap.get(), rows.bitmap.get(), clip.left, clip.top, &source, weight,
                 CombineMode(blend));
  return true;
}

bool IEditor::DrawImageAtScale(const IImageStrip& strip, const IBounds& dest, int srcX, int srcY,
                               const IBlend* blend) {
  const IBounds window = WindowBounds(dest);
  const IBounds clip = Intersection(window, drawRect);
  if (clip.Width() <= 0 || clip.Height() <= 0) {
    return true;
  }
  const int frame = strip.FrameOfRow(srcY);
  // Held until the copy is done: the frame cache may let these rows go meanwhile.
  const ScaledFrame pixels = FrameAtScale(strip, frame);
  if (!pixels.bitmap) {
    return true;
  }
  const int rowInFrame = std::max(0, editor_scale::ToWindow(srcY - strip.FrameTop(frame), scale));
  const int sx = editor_scale::ToWindow(srcX, scale) + clip.left - window.left;
  const int sy = pixels.top + rowInFrame + clip.top - window.top;
  // Rounding may make the window rectangle a row taller than the frame: never the next frame's.
  const RasterRect source{sx, sy, sx + clip.Width(),
                          std::min(sy + clip.Height(), pixels.top + pixels.height)};
  if (source.bottom <= source.top) {
    return true;
  }
  RasterCopyArea(drawBitmap.get(), pixels.bitmap.get(), clip.left, clip.top, &source,
                 blend ? blend->weight : 1.0f, CombineMode(blend));
  return true;
}

IBounds IEditor::DirtyArea() {
  IBounds area;
  for (const auto& control : controls) {
    if (control->NeedsRedraw()) {
      area = Union(area, control->Area());
    }
  }
  return WindowBounds(area);
}

void IEditor::MarkAllDirty() {
  for (const auto& control : controls) {
    control->MarkDirty(false);
  }
}
