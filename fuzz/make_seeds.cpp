// Writes the fuzzers' starting corpora into the folder named on the command line: state blocks
// saved by the plug-in itself, event lists and parameter texts in the fuzzers' input layouts,
// small PNG images of every colour type the decoder expands, and preset files of both kinds and
// both forms.
#include "fuzz/FuzzBytes.h"
#include "fuzz/FuzzHost.h"
#include "tests/raster/PngTestImages.h"
#include "tools/render/FxFormat.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {
void WriteSeed(const fs::path& folder, const std::string& name, const std::vector<uint8_t>& bytes) {
  fs::create_directories(folder);
  std::ofstream out(folder / name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> Chunk(FuzzHost& host, bool program) {
  void* data = nullptr;
  const VstIntPtr size = host.Dispatch(effGetChunk, program ? 1 : 0, 0, &data);
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

std::vector<uint8_t> WithKind(bool program, const std::vector<uint8_t>& block) {
  std::vector<uint8_t> seed{static_cast<uint8_t>(program ? 1 : 0)};
  seed.insert(seed.end(), block.begin(), block.end());
  return seed;
}

void StateSeeds(const fs::path& folder) {
  FuzzHost host;
  host.Start(64);
  const std::vector<uint8_t> program = Chunk(host, true);
  const std::vector<uint8_t> bank = Chunk(host, false);
  WriteSeed(folder, "program", WithKind(true, program));
  WriteSeed(folder, "bank", WithKind(false, bank));
  // Values without the header, read from the first byte.
  WriteSeed(folder, "program-bare", WithKind(true, {program.begin() + 8, program.end()}));

  // A bank whose second slot has an empty name and whose third is undefined.
  FuzzBytesWriter odd;
  odd.Put<uint8_t>(0);
  odd.PutBytes(bank.data(), 8);
  const char* names[] = {"first", "", "third"};
  for (int slot = 0; slot < 3; ++slot) {
    odd.Put<int32_t>(static_cast<int32_t>(std::char_traits<char>::length(names[slot])));
    odd.PutBytes(names[slot], std::char_traits<char>::length(names[slot]));
    odd.Put<uint8_t>(slot == 2 ? 0 : 1);
    if (slot != 2) {
      odd.Put<double>(25.0 * slot);
      odd.Put<double>(1.0);
      odd.Put<double>(0.0);
    }
  }
  WriteSeed(folder, "bank-odd", odd.Bytes());
}

void PutMidi(FuzzBytesWriter& out, int32_t offset, uint8_t status, uint8_t data1, uint8_t data2) {
  out.Put<uint8_t>(0);
  out.Put<int32_t>(offset);
  out.Put<uint8_t>(status);
  out.Put<uint8_t>(data1);
  out.Put<uint8_t>(data2);
  out.Put<uint8_t>(0);
}

void EventSeeds(const fs::path& folder) {
  FuzzBytesWriter out;
  out.Put<uint8_t>(0);
  out.Put<uint8_t>(9);
  PutMidi(out, 10, 0xB4, 69, 127);
  PutMidi(out, 5, 0x90, 60, 100);
  PutMidi(out, 3, 0x80, 60, 0);
  PutMidi(out, 3, 0xB0, 70, 1);
  PutMidi(out, 600, 0xE0, 0, 64);
  PutMidi(out, -4, 0xF8, 0, 0);
  out.Put<uint8_t>(1);
  out.Put<int32_t>(7);
  const uint8_t dump[] = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
  out.Put<int16_t>(sizeof(dump));
  out.PutBytes(dump, sizeof(dump));
  out.Put<uint8_t>(2);
  out.Put<int32_t>(0);
  out.Put<uint8_t>(5);
  out.Put<int32_t>(1);
  out.Put<uint8_t>(1);
  out.Put<uint16_t>(512);
  out.Put<uint8_t>(2);
  out.Put<int16_t>(256);
  out.Put<uint8_t>(3);
  out.Put<uint8_t>(1);
  out.Put<uint16_t>(700);
  WriteSeed(folder, "events", out.Bytes());

  // Events no block reaches, a small block size and the amount controller: everything a kept
  // plug-in must shed before the next input.
  FuzzBytesWriter far;
  far.Put<uint8_t>(2);
  far.Put<int16_t>(100);
  far.Put<uint8_t>(0);
  far.Put<uint8_t>(3);
  PutMidi(far, INT32_MAX, 0xB0, 69, 127);
  PutMidi(far, 1 << 20, 0x90, 64, 90);
  PutMidi(far, 50, 0xB0, 69, 10);
  far.Put<uint8_t>(1);
  far.Put<uint16_t>(1000);
  WriteSeed(folder, "far-events", far.Bytes());
}

void TextSeeds(const fs::path& folder) {
  const std::pair<int8_t, const char*> texts[] = {
      {0, "50"}, {0, " -1e3"}, {0, "120 %"}, {1, "1"}, {2, "0.5abc"}, {-1, "7"}, {3, "1"}};
  int n = 0;
  for (const auto& [index, text] : texts) {
    std::vector<uint8_t> seed{static_cast<uint8_t>(index)};
    seed.insert(seed.end(), text, text + std::char_traits<char>::length(text));
    WriteSeed(folder, "text" + std::to_string(n++), seed);
  }
}

PngPicture Picture(int width, int height, int bitDepth, int colourType, int bytesPerRow) {
  PngPicture picture;
  picture.width = width;
  picture.height = height;
  picture.bitDepth = bitDepth;
  picture.colourType = colourType;
  for (int y = 0; y < height; ++y) {
    std::vector<uint8_t> row(static_cast<size_t>(bytesPerRow));
    for (size_t x = 0; x < row.size(); ++x) {
      row[x] = static_cast<uint8_t>(x * 37 + y * 11);
    }
    picture.rows.push_back(row);
  }
  return picture;
}

void ImageSeeds(const fs::path& folder) {
  PngPicture palette = Picture(5, 3, 8, PNG_COLOR_TYPE_PALETTE, 5);
  for (int i = 0; i < 256; ++i) {
    palette.palette.insert(palette.palette.end(), {static_cast<uint8_t>(i), 0, 255});
  }
  palette.paletteAlpha = {0, 128, 255};
  for (auto& row : palette.rows) {
    for (uint8_t& index : row) {
      index %= 4;
    }
  }
  PngPicture interlaced = Picture(9, 9, 8, PNG_COLOR_TYPE_RGB_ALPHA, 36);
  interlaced.interlaced = true;
  PngPicture grey = Picture(6, 2, 16, PNG_COLOR_TYPE_GRAY, 12);
  grey.transparentColour = {0x0B0B};
  const std::pair<const char*, PngPicture> pictures[] = {
      {"palette-alpha.png", palette},
      {"rgb16.png", Picture(4, 4, 16, PNG_COLOR_TYPE_RGB, 24)},
      {"grey1.png", Picture(17, 3, 1, PNG_COLOR_TYPE_GRAY, 3)},
      {"grey16-trns.png", grey},
      {"grey-alpha.png", Picture(3, 3, 8, PNG_COLOR_TYPE_GRAY_ALPHA, 6)},
      {"rgba-interlaced.png", interlaced},
  };
  for (const auto& [name, picture] : pictures) {
    WriteSeed(folder, name, EncodePng(picture));
  }
}
void PresetFileSeeds(const fs::path& folder) {
  const FxIdentity identity{0x4F6D6278, 1200};
  FxProgram list;
  list.name = "Dirtier";
  list.parameters = {0.75f, 0.0f, 1.0f};
  FxProgram chunk;
  chunk.name = "Saved state";
  chunk.isChunk = true;
  chunk.chunk = {1, 2, 3, 4, 5, 6, 7, 8};
  WriteSeed(folder, "program", WithKind(true, EncodeFxp(list, identity)));
  WriteSeed(folder, "program-chunk", WithKind(true, EncodeFxp(chunk, identity)));
  FxBank bank;
  bank.programs = {list, list};
  bank.programs[1].name = "Kinda Clean";
  bank.programCount = 2;
  bank.currentProgram = 1;
  FxBank chunkBank;
  chunkBank.isChunk = true;
  chunkBank.programCount = 5;
  chunkBank.chunk = chunk.chunk;
  chunkBank.currentProgram = 0;
  WriteSeed(folder, "bank", WithKind(false, EncodeFxb(bank, identity)));
  WriteSeed(folder, "bank-chunk", WithKind(false, EncodeFxb(chunkBank, identity)));
}
// A format 1 song with a tempo change, running status, a system-exclusive message and an
// unknown chunk; and a format 0 one timed in SMPTE frames.
void MidiFileSeeds(const fs::path& folder) {
  const std::vector<uint8_t> header = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2, 0, 96};
  const std::vector<uint8_t> tempo = {'M',  'T',  'r',  'k',  0,    0,    0,    18,   0x00,
                                      0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x60, 0xFF, 0x51,
                                      0x03, 0x03, 0xD0, 0x90, 0x00, 0xFF, 0x2F, 0x00};
  const std::vector<uint8_t> other = {'X', 'f', 'o', 'o', 0, 0, 0, 2, 1, 2};
  const std::vector<uint8_t> notes = {'M',  'T',  'r',  'k',  0,    0,    0,    25,   0x00,
                                      0xC0, 0x05, 0x60, 0x90, 0x3C, 0x64, 0x00, 0x3E, 0x64,
                                      0x00, 0xF0, 0x03, 0x7E, 0x7F, 0xF7, 0x81, 0x00, 0x80,
                                      0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};
  std::vector<uint8_t> song = header;
  for (const std::vector<uint8_t>* chunk : {&tempo, &other, &notes}) {
    song.insert(song.end(), chunk->begin(), chunk->end());
  }
  WriteSeed(folder, "two-tracks", song);
  WriteSeed(folder, "smpte",
            {'M', 'T', 'h', 'd', 0, 0, 0,    6,    0,    0,    0,    1,    0xE7, 40,   'M', 'T',
             'r', 'k', 0,   0,   0, 9, 0x83, 0x74, 0xB0, 0x07, 0x40, 0x00, 0xFF, 0x2F, 0x00});
}
// The LV2 state fuzzer's layout: flags (bank and program there), a program number, the bank,
// which both bindings save alike.
void Lv2StateSeeds(const fs::path& folder) {
  constexpr uint8_t BankAndProgram = 1 | 4;
  FuzzHost host;
  host.Start(64);
  const std::vector<uint8_t> bank = Chunk(host, false);
  for (const int32_t program : {0, 3}) {
    FuzzBytesWriter out;
    out.Put<uint8_t>(BankAndProgram);
    out.Put<int32_t>(program);
    out.PutBytes(bank.data(), bank.size());
    WriteSeed(folder, "bank-program" + std::to_string(program), out.Bytes());
  }
}

void PutLv2Midi(FuzzBytesWriter& out, int64_t frame, std::vector<uint8_t> message) {
  out.Put<uint8_t>(0);
  out.Put<int64_t>(frame);
  out.Put<uint8_t>(static_cast<uint8_t>(message.size()));
  out.PutBytes(message.data(), message.size());
}

// The LV2 events fuzzer's layout: a rolling transport at bar 2, MIDI of every length (a sysex
// among it) at and beyond the run's end, a control value past its range, runs of two lengths.
void Lv2EventSeeds(const fs::path& folder) {
  constexpr uint8_t BarBeatTempoSpeed = 1 | 2 | 16 | 32;
  constexpr uint8_t DoubleType = 1;
  FuzzBytesWriter out;
  out.Put<uint8_t>(1);
  out.Put<int64_t>(0);
  out.Put<uint8_t>(BarBeatTempoSpeed);
  for (const double value : {2.0, 0.5, 128.0, 1.0}) {
    out.Put<uint8_t>(DoubleType);
    out.Put<double>(value);
  }
  PutLv2Midi(out, 10, {0xB0, 69, 100});
  PutLv2Midi(out, 20, {0x90, 60, 100});
  PutLv2Midi(out, 30, {0xC0, 5});
  PutLv2Midi(out, 40, {0xF8});
  PutLv2Midi(out, 50, {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
  PutLv2Midi(out, 5000, {0xB0, 69, 1});
  out.Put<uint8_t>(2);
  out.Put<uint8_t>(0);
  out.Put<float>(250.0f);
  out.Put<uint8_t>(3);
  out.Put<uint16_t>(700);
  PutLv2Midi(out, 0, {0x80, 60, 0});
  out.Put<uint8_t>(3);
  out.Put<uint16_t>(2048);
  WriteSeed(folder, "events", out.Bytes());
}
} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SEED_FOLDER\n", argv[0]);
    return 2;
  }
  const fs::path seeds = argv[1];
  StateSeeds(seeds / "fuzz_set_chunk");
  EventSeeds(seeds / "fuzz_process_events");
  TextSeeds(seeds / "fuzz_string_to_parameter");
  ImageSeeds(seeds / "fuzz_png_decode");
  PresetFileSeeds(seeds / "fuzz_fx_files");
  MidiFileSeeds(seeds / "fuzz_midi_file");
  Lv2StateSeeds(seeds / "fuzz_lv2_state");
  Lv2EventSeeds(seeds / "fuzz_lv2_events");
  return 0;
}
