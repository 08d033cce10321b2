#include "tools/render/RenderOptions.h"

const char* RenderUsage() {
  return R"(Usage: ombrix-render [options] INPUT OUTPUT
       ombrix-render [options] --output-dir DIR INPUT...
       ombrix-render [options] --list | --save-state FILE | --save-fxp FILE | --save-fxb FILE
       ombrix-render [options] --snapshot PNG
       ombrix-render --generate sweep|chord [--seconds S] [--rate HZ] [--channels N] OUTPUT

Renders INPUT (WAV, AIFF or FLAC, up to 64 channels) through a plug-in, or several in series,
into OUTPUT. The container follows OUTPUT's extension (.wav, .aif, .aiff, .flac); sample rate
and encoding follow INPUT. Without --plugin the freshly built Ombrix (VST 2) is used.
"man ombrix-render" tells more.

Plug-in (options after a --plugin apply to that plug-in; those before the first, to the first):
  --plugin PATH|URI          a VST 2 library (.so, .dll), a VST 3 bundle (.vst3), a CLAP file
                             (.clap), an LV2 bundle (.lv2) or an LV2 plug-in URI; given again,
                             the next plug-in of a chain
  --automation FILE.json     automate parameters over time (see below)
  --load-state FILE          load a state saved with --save-state (any format)
  --save-state FILE          save the plug-in's state, recording its format and name
  --program NAME|INDEX       select a program (factory preset)
  --param NAME|INDEX=VALUE   set a parameter in its own units, e.g. "Amount of Distortion=50"
  --param-norm NAME|INDEX=V  set a parameter to a normalised value from 0 to 1
  --load-fxb FILE            VST 2: load a bank of programs (.fxb)
  --load-fxp FILE            VST 2: load a program into the current one (.fxp)
  --save-fxb FILE            VST 2: save all programs as a bank (.fxb)
  --save-fxp FILE            VST 2: save the current program (.fxp)
  --list                     show the plug-ins' buses, programs and parameters
  --snapshot PNG             write the editor's picture after rendering (or, without audio
                             files, as the settings leave it); Ombrix's VST 2 build offers
                             it, most plug-ins do not

Rendering:
  --tail SECONDS|auto        render that much after the input (up to 3600), or until the
                             output stays below -90 dBFS for 0.1 s (auto, at most 30 s)
  --no-latency-compensation  keep the delay the plug-ins report in the output (otherwise
                             the delay summed over the chain is removed)
  --mix-down                 mix the file's channels into one (for a one-input plug-in)
  --out-channels N           write N of the plug-in's outputs (default: as many as the file
                             feeds; two for a plug-in with one input and two outputs)
  --cc CONTROLLER@SECONDS=VALUE
                             send a MIDI controller change (0 to 127) at that time
  --cc69 SECONDS=VALUE       the same for controller 69 (Ombrix's amount)
  --channel N                MIDI channel of --cc and --cc69, 1 to 16 (default 1)
  --midi FILE.mid            send a standard MIDI file's events at their times (MIDI goes
                             to every plug-in; VST 3 gets controllers through its mapping)
  --tempo BPM                transport tempo (default 120)
  --stopped                  render with the transport stopped (default: playing)
  --block FRAMES             frames per processing call (default 512)
  --double                   process in double precision (VST 2, VST 3 and CLAP)
  --automation-resolution N  frames between the changes of a linear ramp (default 32)
  --hang-seconds S           a plug-in that takes longer for one block is taken for hung
                             (default 60); a hung, crashed or NaN-writing plug-in ends
                             that file's render, leaving no output
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

Automation file: {"NAME or INDEX": {"points": [[SECONDS, VALUE], ...], "curve": "step" or
"linear", "normalized": false}, ...}; values in the parameter's units (or 0..1 when
normalized). VST 3 and CLAP get each change at its frame within the block; VST 2 and LV2 get
the block split at the change, so every format is frame-exact.

Order of work per plug-in: --load-fxb, --program, --load-fxp, --load-state, --param and
--param-norm, --list, the saves, then rendering, then --snapshot. Exit status: 0 done, 1 failed (with several
files: any of them), 2 bad command line, 130 stopped by Ctrl-C.
)";
}
