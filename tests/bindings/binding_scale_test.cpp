// The editor at twice the scale in every binding: the window twice the size, the same picture
// drawn sharper, and the pointer reaching the same controls as at 1x.
#include "tests/bindings/BindingAdapter.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr double SampleRate = 48000.0;
constexpr int BlockFrames = 512;
constexpr int Width = 560;
constexpr int Height = 400;
constexpr int Scale = 2;
constexpr int SettleMs = 200;
constexpr unsigned LeftButton = 1;
// A box-downscaled 2x picture differs from the 1x one where antialiasing fell differently, at
// the edges of glyphs and lines (single pixels by up to about 135 levels); over any block of
// 8 x 8 pixels that evens out, while a control missing or a few pixels off would not.
constexpr int Block = 8;
constexpr int LargestBlockDifference = 24;
constexpr double MeanLevelDifference = 2.0;
// Edges drawn at 2x are steeper than the 1x picture stretched by bilinear interpolation.
constexpr double SharperThanUpscale = 1.2;
// Inside the knob, where a drag upwards turns it on.
constexpr int KnobX = 280;
constexpr int KnobY = 200;
constexpr int DragUp = -40;
// The credits page's hot spot; a click anywhere closes the page again.
constexpr int CreditsX = 374;
constexpr int CreditsY = 361;

int Channel(std::uint32_t pixel, int shift) {
  return static_cast<int>((pixel >> shift) & 0xFF);
}

constexpr int ChannelShifts[] = {16, 8, 0};

std::vector<std::uint32_t> BoxHalved(const std::vector<std::uint32_t>& big) {
  std::vector<std::uint32_t> small(static_cast<size_t>(Width * Height));
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) {
      std::uint32_t pixel = 0;
      for (int shift : ChannelShifts) {
        int sum = 0;
        for (int dy = 0; dy < Scale; ++dy) {
          for (int dx = 0; dx < Scale; ++dx) {
            sum += Channel(
                big[static_cast<size_t>((Scale * y + dy) * Width * Scale + Scale * x + dx)], shift);
          }
        }
        pixel |= static_cast<std::uint32_t>((sum + 2) / 4) << shift;
      }
      small[static_cast<size_t>(y * Width + x)] = pixel;
    }
  }
  return small;
}

std::vector<std::uint32_t> BilinearDoubled(const std::vector<std::uint32_t>& small) {
  std::vector<std::uint32_t> big(static_cast<size_t>(Width * Height * Scale * Scale));
  auto at = [&small](int x, int y, int shift) {
    x = std::clamp(x, 0, Width - 1);
    y = std::clamp(y, 0, Height - 1);
    return Channel(small[static_cast<size_t>(y * Width + x)], shift);
  };
  for (int y = 0; y < Height * Scale; ++y) {
    for (int x = 0; x < Width * Scale; ++x) {
      const double sx = (x + 0.5) / Scale - 0.5;
      const double sy = (y + 0.5) / Scale - 0.5;
      const int x0 = static_cast<int>(std::floor(sx));
      const int y0 = static_cast<int>(std::floor(sy));
      const double fx = sx - x0;
      const double fy = sy - y0;
      std::uint32_t pixel = 0;
      for (int shift : ChannelShifts) {
        const double top = at(x0, y0, shift) * (1 - fx) + at(x0 + 1, y0, shift) * fx;
        const double bottom = at(x0, y0 + 1, shift) * (1 - fx) + at(x0 + 1, y0 + 1, shift) * fx;
        pixel |= static_cast<std::uint32_t>(std::lround(top * (1 - fy) + bottom * fy)) << shift;
      }
      big[static_cast<size_t>(y * Width * Scale + x)] = pixel;
    }
  }
  return big;
}

// The energy of the finest detail: squared steps between neighbouring pixels.
double FineDetailEnergy(const std::vector<std::uint32_t>& pixels, int width, int height) {
  double energy = 0.0;
  for (int y = 0; y + 1 < height; ++y) {
    for (int x = 0; x + 1 < width; ++x) {
      const std::uint32_t here = pixels[static_cast<size_t>(y * width + x)];
      const std::uint32_t right = pixels[static_cast<size_t>(y * width + x + 1)];
      const std::uint32_t below = pixels[static_cast<size_t>((y + 1) * width + x)];
      for (int shift : ChannelShifts) {
        const double across = Channel(here, shift) - Channel(right, shift);
        const double down = Channel(here, shift) - Channel(below, shift);
        energy += across * across + down * down;
      }
    }
  }
  return energy;
}

// The largest difference of the two pictures' means over a block, in any channel.
int LargestBlockMeanDifference(const std::vector<std::uint32_t>& a,
                               const std::vector<std::uint32_t>& b) {
  int largest = 0;
  for (int top = 0; top + Block <= Height; top += Block) {
    for (int left = 0; left + Block <= Width; left += Block) {
      for (int shift : ChannelShifts) {
        int difference = 0;
        for (int y = top; y < top + Block; ++y) {
          for (int x = left; x < left + Block; ++x) {
            const auto at = static_cast<size_t>(y * Width + x);
            difference += Channel(a[at], shift) - Channel(b[at], shift);
          }
        }
        largest = std::max(largest, std::abs(difference) / (Block * Block));
      }
    }
  }
  return largest;
}

void ExpectSamePicture(const std::vector<std::uint32_t>& halved,
                       const std::vector<std::uint32_t>& single) {
  ASSERT_EQ(halved.size(), single.size());
  double total = 0.0;
  for (size_t i = 0; i < single.size(); ++i) {
    for (int shift : ChannelShifts) {
      total += std::abs(Channel(halved[i], shift) - Channel(single[i], shift));
    }
  }
  EXPECT_LE(total / (single.size() * 3), MeanLevelDifference);
  EXPECT_LE(LargestBlockMeanDifference(halved, single), LargestBlockDifference);
}

// One editor in a parent at the root's corner, so window and root positions are the same.
class OpenEditor {
public:
  OpenEditor(X11TestHost& x, BindingAdapter& binding)
      : x(x), binding(binding), parent(x.MakeParent(0, 0, Width * Scale, Height * Scale)) {
    opened = binding.OpenEditor(x, parent);
  }
  ~OpenEditor() {
    binding.CloseEditor();
    x.Destroy(parent);
  }
  bool Opened() const { return opened; }
  bool Rescale(double scale) { return binding.ScaleEditor(x, parent, scale); }
  void Settle() {
    PumpFor([this] { binding.IdleEditor(); }, SettleMs);
  }
  // The child's size and pixels, or none when the editor has no window.
  std::vector<std::uint32_t> Picture(int width, int height) {
    Settle();
    const std::vector<Window> children = x.Children(parent);
    if (children.size() != 1) {
      return {};
    }
    const XWindowAttributes attributes = x.Attributes(children.front());
    EXPECT_EQ(attributes.width, width);
    EXPECT_EQ(attributes.height, height);
    return x.Pixels(children.front(), width, height);
  }
  void Click(int windowX, int windowY) {
    x.MovePointer(windowX, windowY);
    Settle();
    x.Button(LeftButton, true);
    Settle();
    x.Button(LeftButton, false);
    Settle();
  }
  void Drag(int windowX, int windowY, int dy) {
    x.MovePointer(windowX, windowY);
    Settle();
    x.Button(LeftButton, true);
    Settle();
    x.MovePointer(windowX, windowY + dy);
    Settle();
    x.Button(LeftButton, false);
    Settle();
  }

private:
  X11TestHost& x;
  BindingAdapter& binding;
  Window parent;
  bool opened = false;
};

// What the pointer did at one scale: the pictures after each step.
struct Session {
  std::vector<std::uint32_t> opened, dragged, page;
};

Session Gestures(X11TestHost& x, BindingAdapter& binding, int scale) {
  OpenEditor editor(x, binding);
  Session seen;
  if (!editor.Opened() || (scale != 1 && !editor.Rescale(scale))) {
    ADD_FAILURE() << "the editor did not open at scale " << scale;
    return seen;
  }
  seen.opened = editor.Picture(Width * scale, Height * scale);
  editor.Drag(KnobX * scale, KnobY * scale, DragUp * scale);
  seen.dragged = editor.Picture(Width * scale, Height * scale);
  editor.Click(CreditsX * scale, CreditsY * scale);
  seen.page = editor.Picture(Width * scale, Height * scale);
  editor.Click(KnobX * scale, KnobY * scale);
  return seen;
}

class BindingScale : public testing::TestWithParam<Binding> {};

TEST_P(BindingScale, AtTwiceTheScaleThePictureIsTwiceAsLargeSharperAndAnswersTheSameControls) {
  X11TestHost x;
  auto single = GetParam().create(SampleRate, BlockFrames);
  auto doubled = GetParam().create(SampleRate, BlockFrames);
  const Session one = Gestures(x, *single, 1);
  const Session two = Gestures(x, *doubled, Scale);
  x.SetDotsPerInch(0);
  ASSERT_EQ(one.opened.size(), static_cast<size_t>(Width * Height));
  ASSERT_EQ(two.opened.size(), static_cast<size_t>(Width * Height * Scale * Scale));
  {
    SCOPED_TRACE("opened");
    ExpectSamePicture(BoxHalved(two.opened), one.opened);
  }
  EXPECT_GT(FineDetailEnergy(two.opened, Width * Scale, Height * Scale),
            SharperThanUpscale *
                FineDetailEnergy(BilinearDoubled(one.opened), Width * Scale, Height * Scale));
  // The drag turned the knob as far at either scale, and the click opened the same page.
  EXPECT_NE(one.dragged, one.opened);
  EXPECT_NE(one.page, one.dragged);
  {
    SCOPED_TRACE("dragged");
    ExpectSamePicture(BoxHalved(two.dragged), one.dragged);
  }
  {
    SCOPED_TRACE("page");
    ExpectSamePicture(BoxHalved(two.page), one.page);
  }
  EXPECT_EQ(X11TestHost::ErrorsSeen(), 0);
}

TEST_P(BindingScale, AScaleThatIsNoPositiveNumberIsRefusedAndChangesNothing) {
  X11TestHost x;
  auto binding = GetParam().create(SampleRate, BlockFrames);
  OpenEditor editor(x, *binding);
  ASSERT_TRUE(editor.Opened());
  for (double scale : {std::nan(""), 0.0, -2.0}) {
    EXPECT_FALSE(editor.Rescale(scale)) << scale;
  }
  EXPECT_EQ(editor.Picture(Width, Height).size(), static_cast<size_t>(Width * Height));
}
} // namespace

INSTANTIATE_TEST_SUITE_P(Bindings, BindingScale, testing::ValuesIn(AllBindings()), BindingName);
