#include "tools/render/RenderOptions.h"

const char* RenderUsage() {
  return R"(Usage: ombrix-render [options] INPUT OUTPUT
       ombrix-render [options] --output-dir DIR INPUT...
       ombrix-render [options] --list | --save-fxp FILE | --save-fxb FILE | --snapshot PNG
       ombrix-render --generate sweep|chord [--seconds S] [--rate HZ] [--channels N] OUTPUT

Renders INPUT (WAV, AIFF or FLAC, up to 64 channels) through a VST 2 plug-in into OUTPUT. The
container follows OUTPUT's extension (.wav, .aif, .aiff, .flac); sample rate and encoding
follow INPUT. Without --plugin the freshly built Ombrix is used.

Plug-in:
  --plugin PATH              the VST 2 plug-in file to load
  --program NAME|INDEX       select a program (factory preset)
  --param NAME|INDEX=VALUE   set a parameter in its own units, e.g. "Amount of Distortion=50"
  --param-norm NAME|INDEX=V  set a parameter to a normalised value from 0 to 1
  --load-fxb FILE            load a bank of programs (.fxb)
  --load-fxp FILE            load a program into the current one (.fxp)
  --save-fxb FILE            save all programs as a bank (.fxb)
  --save-fxp FILE            save the current program (.fxp)
  --list                     show the plug-in's programs and parameters
  --snapshot PNG             write the editor's picture after rendering (or, without audio
                             files, as the settings leave it); Ombrix offers it, most
                             plug-ins do not

Rendering:
  --tail SECONDS|auto        render that much after the input (up to 3600), or until the
                             output stays below -90 dBFS for 0.1 s (auto, at most 30 s)
  --no-latency-compensation  keep the delay the plug-in reports (initialDelay) in the output
  --mix-down                 mix the file's channels into one (for a one-input plug-in)
  --out-channels N           write N of the plug-in's outputs (default: as many as the file
                             feeds; two for a plug-in with one input and two outputs)
  --cc CONTROLLER@SECONDS=VALUE
                             send a MIDI controller change (0 to 127) at that time
  --cc69 SECONDS=VALUE       the same for controller 69 (Ombrix's amount)
  --channel N                MIDI channel of --cc and --cc69, 1 to 16 (default 1)
  --midi FILE.mid            send a standard MIDI file's events at their times
  --tempo BPM                transport tempo (default 120)
  --stopped                  render with the transport stopped (default: playing)
  --block FRAMES             frames per processing call (default 512)
  --double                   process in double precision
  --encoding E               output encoding: pcm16, pcm24, pcm32, float or double

Test signals:
  --generate sweep|chord     write a test signal to OUTPUT instead of rendering
  --seconds S                its length (default 4)
  --rate HZ                  its sample rate (default 44100)
  --channels N               1 or 2 (default 2)

Several files:
  --output-dir DIR, -O DIR   render every INPUT into DIR under its own name, each through
                             a fresh plug-in instance; one report line per file, a total
  --jobs N                   render N files at once (default: one per processor)

Other:
  --report text|json         the report as text (default) or one JSON object per file
  --quiet, -q                print nothing but errors and warnings
  --help, -h                 show this text

Order of work: --load-fxb, --program, --load-fxp, --param/--param-norm, --list, --save-fxb,
--save-fxp, then rendering, then --snapshot. Exit status: 0 done, 1 failed (with several
files: any of them), 2 bad command line, 130 stopped by Ctrl-C.
)";
}
