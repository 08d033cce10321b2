// ombrix_artwork: paints the editor's nine PNG pictures, and composes previews of the editor.
//
//   ombrix_artwork FOLDER
//       writes the nine pictures into FOLDER (the repository keeps them in resources/img)
//   ombrix_artwork --compose FOLDER OUT.png [knob=V] [levels=L] [theme=0|1] [button=0|1] [page=N]
//                  [crop=X,Y,W,H] [zoom=Z]
//       stacks the pictures in FOLDER as the editor draws them; L is one level for every meter
//       or twelve comma-separated levels (left, right, stripe by stripe); crop and zoom cut out
//       and enlarge a part for a close look
//   ombrix_artwork --knob-sheet FOLDER OUT.png FRAME...
//       shows the given knob frames (1..480) over the knob background
#include "tools/artwork/ArtworkSet.h"
#include "tools/artwork/Composer.h"
#include "tools/artwork/Geometry.h"
#include "tools/artwork/Typefaces.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: ombrix_artwork FOLDER\n"
                       "       ombrix_artwork --compose FOLDER OUT.png [knob=V] [levels=L] "
                       "[theme=0|1] [button=0|1] [page=N]\n"
                       "       ombrix_artwork --knob-sheet FOLDER OUT.png FRAME...\n");
  return 2;
}

bool ParseLevels(const std::string& text, artwork::EditorState* state) {
  std::vector<double> values;
  std::stringstream stream(text);
  std::string item;
  while (std::getline(stream, item, ',')) {
    values.push_back(std::atof(item.c_str()));
  }
  if (values.size() != 1 && values.size() != 12) {
    return false;
  }
  for (int i = 0; i < 12; ++i) {
    state->levels[i / 2][i % 2] = values.size() == 1 ? values[0] : values[i];
  }
  return true;
}

struct View {
  int crop[4] = {0, 0, artwork::kEditorWidth, artwork::kEditorHeight};
  int zoom = 1;
};

bool ParseCrop(const std::string& text, View* view) {
  return std::sscanf(text.c_str(), "%d,%d,%d,%d", &view->crop[0], &view->crop[1], &view->crop[2],
                     &view->crop[3]) == 4;
}

bool ParseOption(const std::string& option, artwork::EditorState* state, View* view) {
  const std::size_t equals = option.find('=');
  if (equals == std::string::npos) {
    return false;
  }
  const std::string key = option.substr(0, equals);
  const std::string value = option.substr(equals + 1);
  if (key == "knob") {
    state->knobValue = std::atof(value.c_str());
  } else if (key == "levels") {
    return ParseLevels(value, state);
  } else if (key == "theme") {
    state->themeValue = std::atof(value.c_str());
  } else if (key == "button") {
    state->buttonValue = std::atof(value.c_str());
  } else if (key == "page") {
    state->page = std::atoi(value.c_str());
  } else if (key == "crop") {
    return ParseCrop(value, view);
  } else if (key == "zoom") {
    view->zoom = std::atoi(value.c_str());
  } else {
    return false;
  }
  return true;
}

int Compose(int argc, char** argv) {
  if (argc < 4) {
    return Usage();
  }
  artwork::EditorState state;
  View view;
  for (int i = 4; i < argc; ++i) {
    if (!ParseOption(argv[i], &state, &view)) {
      std::fprintf(stderr, "ombrix_artwork: bad option %s\n", argv[i]);
      return Usage();
    }
  }
  artwork::Artwork pictures;
  if (!artwork::ReadArtwork(argv[2], &pictures)) {
    return 1;
  }
  const artwork::RgbaImage editor = artwork::ComposeEditor(pictures, state);
  const artwork::RgbaImage shown =
      artwork::Magnify(editor, view.crop[0], view.crop[1], view.crop[2], view.crop[3], view.zoom);
  return artwork::WritePng(argv[3], shown) ? 0 : 1;
}

int KnobSheet(int argc, char** argv) {
  if (argc < 5) {
    return Usage();
  }
  std::vector<int> frames;
  for (int i = 4; i < argc; ++i) {
    const int frame = std::atoi(argv[i]);
    if (frame < 1 || frame > 480) {
      std::fprintf(stderr, "ombrix_artwork: frame %s is not in 1..480\n", argv[i]);
      return 2;
    }
    frames.push_back(frame);
  }
  artwork::Artwork pictures;
  if (!artwork::ReadArtwork(argv[2], &pictures)) {
    return 1;
  }
  const artwork::RgbaImage sheet =
      artwork::ComposeKnobSheet(pictures, frames.data(), static_cast<int>(frames.size()));
  return artwork::WritePng(argv[3], sheet) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    return Usage();
  }
  const std::string command = argv[1];
  if (command == "--compose") {
    return Compose(argc, argv);
  }
  if (command == "--knob-sheet") {
    return KnobSheet(argc, argv);
  }
  if (argc != 2 || command.rfind("--", 0) == 0) {
    return Usage();
  }
  const artwork::Typefaces fonts;
  return artwork::WriteArtwork(fonts, command) ? 0 : 1;
}
