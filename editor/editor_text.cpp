#include "editor/Editor.h"
#include "raster/RasterSysBitmap.h"
#include "raster/TextStyle.h"

bool IEditor::DrawStyledText(ITextStyle* style, const char* text, IBounds* rect, bool measureOnly) {
  if (!text || text[0] == '\0') {
    return true;
  }
  if (!style || !rect) {
    return false;
  }
  RasterCachedFont* font = style->cachedFont ? style->cachedFont : FontForStyle(style);
  if (!font) {
    return false;
  }
  font->SetInkColour(style->colour.ToPixel());
  std::uint32_t format = TextNoClip;
  if (style->colour.alpha < 255) {
    format |= TextUseInkAlpha;
  }
  if (style->alignment == AlignCentre) {
    format |= TextCentre;
  } else if (style->alignment != AlignLeft) {
    format |= TextRight;
  }
  if (measureOnly) {
    RasterRect extent;
    font->RenderText(drawBitmap.get(), text, -1, &extent, format | TextCalcRect);
    if (style->alignment == AlignLeft) {
      rect->right = rect->left + extent.right;
    } else if (style->alignment == AlignCentre) {
      const float centre = static_cast<float>(rect->left + rect->right) * 0.5f;
      rect->left = static_cast<int>(centre) - extent.right / 2;
      rect->right = rect->left + extent.right;
    } else {
      rect->left = rect->right - extent.right;
      rect->right = rect->left + extent.right;
    }
    rect->bottom = rect->top + extent.bottom;
    return true;
  }
  RasterRect area{rect->left, rect->top, rect->right, rect->bottom};
  font->RenderText(drawBitmap.get(), text, -1, &area, format);
  return true;
}
