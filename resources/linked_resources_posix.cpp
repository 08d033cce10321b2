// The Linux counterpart of img/ombrix.rc: the same eighteen files, linked in byte for byte and
// listed by resource id under the type "PNG".
#include "platform/EmbeddedResources.h"

// Each file gets a begin and an end label in read-only data. The labels are hidden, so the
// plug-in exports nothing new; alignment is irrelevant to PNG bytes but keeps them tidy.
#define OMBRIX_LINK_FILE(label, file)                                                              \
  asm(".pushsection .rodata\n"                                                                     \
      ".balign 16\n"                                                                               \
      ".globl " #label "_begin\n"                                                                  \
      ".hidden " #label "_begin\n" #label "_begin:\n"                                              \
      ".incbin \"" OMBRIX_IMAGE_DIR "/" file "\"\n"                                                \
      ".globl " #label "_end\n"                                                                    \
      ".hidden " #label "_end\n" #label "_end:\n"                                                  \
      ".popsection\n");                                                                            \
  extern "C" const unsigned char label##_begin[];                                                  \
  extern "C" const unsigned char label##_end[];

OMBRIX_LINK_FILE(ombrix_png_knob, "knob.png")
OMBRIX_LINK_FILE(ombrix_png_background, "background.png")
OMBRIX_LINK_FILE(ombrix_png_about, "background2.png")
OMBRIX_LINK_FILE(ombrix_png_credits, "background3.png")
OMBRIX_LINK_FILE(ombrix_png_guide, "background4.png")
OMBRIX_LINK_FILE(ombrix_png_panel, "background_panel.png")
OMBRIX_LINK_FILE(ombrix_png_knob_bg, "knob_bg.png")
OMBRIX_LINK_FILE(ombrix_png_kelba, "kelba.png")
OMBRIX_LINK_FILE(ombrix_png_kelba_button, "kelbabtn.png")
OMBRIX_LINK_FILE(ombrix_png_knob_2x, "knob@2x.png")
OMBRIX_LINK_FILE(ombrix_png_background_2x, "background@2x.png")
OMBRIX_LINK_FILE(ombrix_png_about_2x, "background2@2x.png")
OMBRIX_LINK_FILE(ombrix_png_credits_2x, "background3@2x.png")
OMBRIX_LINK_FILE(ombrix_png_guide_2x, "background4@2x.png")
OMBRIX_LINK_FILE(ombrix_png_panel_2x, "background_panel@2x.png")
OMBRIX_LINK_FILE(ombrix_png_knob_bg_2x, "knob_bg@2x.png")
OMBRIX_LINK_FILE(ombrix_png_kelba_2x, "kelba@2x.png")
OMBRIX_LINK_FILE(ombrix_png_kelba_button_2x, "kelbabtn@2x.png")

namespace {

const EmbeddedResource kLinkedPictures[] = {
    {101, "PNG", ombrix_png_knob_begin, ombrix_png_knob_end},
    {102, "PNG", ombrix_png_background_begin, ombrix_png_background_end},
    {103, "PNG", ombrix_png_about_begin, ombrix_png_about_end},
    {104, "PNG", ombrix_png_credits_begin, ombrix_png_credits_end},
    {105, "PNG", ombrix_png_guide_begin, ombrix_png_guide_end},
    {106, "PNG", ombrix_png_panel_begin, ombrix_png_panel_end},
    {107, "PNG", ombrix_png_knob_bg_begin, ombrix_png_knob_bg_end},
    {108, "PNG", ombrix_png_kelba_begin, ombrix_png_kelba_end},
    {109, "PNG", ombrix_png_kelba_button_begin, ombrix_png_kelba_button_end},
    {201, "PNG", ombrix_png_knob_2x_begin, ombrix_png_knob_2x_end},
    {202, "PNG", ombrix_png_background_2x_begin, ombrix_png_background_2x_end},
    {203, "PNG", ombrix_png_about_2x_begin, ombrix_png_about_2x_end},
    {204, "PNG", ombrix_png_credits_2x_begin, ombrix_png_credits_2x_end},
    {205, "PNG", ombrix_png_guide_2x_begin, ombrix_png_guide_2x_end},
    {206, "PNG", ombrix_png_panel_2x_begin, ombrix_png_panel_2x_end},
    {207, "PNG", ombrix_png_knob_bg_2x_begin, ombrix_png_knob_bg_2x_end},
    {208, "PNG", ombrix_png_kelba_2x_begin, ombrix_png_kelba_2x_end},
    {209, "PNG", ombrix_png_kelba_button_2x_begin, ombrix_png_kelba_button_2x_end},
};

} // namespace

EmbeddedResourceTable LinkedResources() {
  return {kLinkedPictures, sizeof(kLinkedPictures) / sizeof(kLinkedPictures[0])};
}
