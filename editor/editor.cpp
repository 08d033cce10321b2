#include "editor/Editor.h"

#include "editor/Control.h"
#include "editor/ImageCache.h"
#include "editor/ImageControls.h"
#include "plugin/AudioPlugin.h"
#include "raster/RasterMemBitmap.h"
#include "raster/RasterPngResource.h"
#include "raster/RasterSegmentedPng.h"
#include "raster/RasterSysBitmap.h"

#include <algorithm>
#include <optional>

IEditor::IEditor(IAudioPlugin* plugin, int width, int height, int frameRate)
    : plugin(plugin), width(width), height(height), frameRate(frameRate) {}

IEditor::~IEditor() {
  keyTarget.reset();
  DeleteControls();
}

void IEditor::DeleteControls() {
  while (!controls.empty()) {
    controls.pop_back();
  }
}

int IEditor::AddControl(IControl* control) {
  if (!control) {
    return -1;
  }
  control->SetOwner(this);
  controls.emplace_back(control);
  return static_cast<int>(controls.size()) - 1;
}

void IEditor::AddBackground(int resourceId, const char* fileName) {
  const IImageStrip strip = LoadImageStrip(resourceId, fileName, 1);
  auto background =
      std::make_unique<IImageControl>(plugin, 0, 0, -1, strip, IBlend{BlendOpaque, 1.0f});
  background->SetOwner(this);
  controls.insert(controls.begin(), std::move(background));
}

IImageStrip IEditor::LoadImageStrip(int resourceId, const char* fileName, int frames) {
  IImageCache& cache = IImageCache::Instance();
  ICachedImage* image = cache.Find(resourceId);
  if (!image) {
    int headerWidth = 0;
    int headerHeight = 0;
    if (ImageResourceSize(resourceId, fileName, &headerWidth, &headerHeight)) {
      image = cache.AppendUndecoded(resourceId, fileName, headerWidth, headerHeight);
    } else {
      image = cache.Append(resourceId, fileName, LoadImageResource(resourceId, fileName));
    }
  }
  IImageStrip strip;
  strip.frames = std::max(frames, 1);
  if (image->Bitmap() || !image->Failed()) {
    strip.bitmap = image->Bitmap();
    strip.image = image;
    strip.width = image->Width();
    strip.height = image->Height();
  }
  return strip;
}

RasterBitmap* IEditor::StripBitmap(const IImageStrip& strip) {
  if (strip.bitmap || !strip.image) {
    return strip.bitmap;
  }
  ICachedImage& image = *strip.image;
  if (RasterBitmap* decoded = image.Bitmap()) {
    return decoded;
  }
  if (image.Failed()) {
    return nullptr;
  }
  return image.Publish(LoadImageResource(image.ResourceId(), image.FileName()));
}

IFrameCache::Rows IEditor::StripRows(const IImageStrip& strip, int top, int bottom) {
  if (!strip.bitmap && strip.image && !strip.image->Bitmap()) {
    ICachedImage& image = *strip.image;
    if (image.SegmentsUnknown()) {
      image.OfferSegments(OpenImageSegments(image.ResourceId(), image.FileName()));
    }
    IFrameCache::Rows rows = IFrameCache::Instance().Find(image, top, bottom);
    if (rows.bitmap) {
      return rows;
    }
  }
  // The whole image belongs to the image cache: shared without ownership.
  return {std::shared_ptr<RasterBitmap>(std::shared_ptr<RasterBitmap>(), StripBitmap(strip)), 0};
}

std::unique_ptr<RasterSegmentedPng> IEditor::OpenImageSegments(int id, const char* fileName) {
  return RasterOpenSegmentedPngResource(id, fileName);
}

bool IEditor::ImageResourceSize(int id, const char* fileName, int* headerWidth, int* headerHeight) {
  return RasterPngResourceSize(id, fileName, headerWidth, headerHeight);
}

void IEditor::ShowParameterValue(int index, double value, bool normalized) {
  if (!normalized) {
    const IParameter* parameter = plugin ? plugin->Parameter(index) : nullptr;
    if (!parameter) {
      return;
    }
    value = parameter->ToNormalized(value);
  }
  for (const auto& control : controls) {
    if (control->ParamIndex() == index) {
      control->ShowValue(value);
    }
  }
  for (const auto& control : controls) {
    const std::vector<IControl::LinkedParam>& linked = control->LinkedParams();
    for (size_t position = 0; position < linked.size(); ++position) {
      if (linked[position].paramIndex == index) {
        control->ReceiveLinkedValue(static_cast<int>(position), value);
        break;
      }
    }
  }
}

void IEditor::PrepareDrawing() {
  drawBitmap = std::make_unique<RasterSysBitmap>(Width(), Height());
  scratchBitmap = std::make_unique<RasterMemBitmap>(0, 0);
}

void IEditor::SetScale(double requested) {
  const double next = editor_scale::Nearest(requested);
  if (next == scale) {
    return;
  }
  {
    // An off-screen snapshot draws under the plug-in's lock; it must not see the bitmap change.
    std::optional<IScopedLock> guard;
    if (plugin) {
      guard.emplace(plugin->Lock());
    }
    scale = next;
    ResetCapture();
    if (drawBitmap) {
      drawBitmap = std::make_unique<RasterSysBitmap>(Width(), Height());
    }
  }
  MarkAllDirty();
  ResizeWindow(Width(), Height());
  if (plugin) {
    plugin->EditorSizeChanged(Width(), Height());
  }
}

void IEditor::SetEditorSize(int newWidth, int newHeight) {
  width = newWidth;
  height = newHeight;
  capturedIndex = -1;
  lastPointerX = -1;
  lastPointerY = -1;
  if (plugin) {
    // The plug-in side shows values on the controls under its lock; none may go while it does.
    IScopedLock guard(plugin->Lock());
    DeleteControls();
  } else {
    DeleteControls();
  }
  drawBitmap.reset();
  scratchBitmap.reset();
  PrepareDrawing();
  if (plugin) {
    plugin->EditorSizeChanged(Width(), Height());
  }
}

bool IEditor::HasWindow() {
  return NativeWindow() != nullptr;
}

const char* IEditor::GraphicsApiName() {
  return "";
}

bool IEditor::MeasureText(ITextStyle* style, const char* text, IBounds* rect) {
  return DrawStyledText(style, text, rect, true);
}

IControl* IEditor::Control(int index) const {
  if (index < 0 || index >= static_cast<int>(controls.size())) {
    return nullptr;
  }
  return controls[static_cast<size_t>(index)].get();
}

void IEditor::ResetCapture() {
  capturedIndex = -1;
  lastPointerX = -1;
  lastPointerY = -1;
}

void IEditor::SetKeyTarget(IControl* control) {
  keyTarget.reset(control);
  if (control) {
    control->SetOwner(this);
  }
}
