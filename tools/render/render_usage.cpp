#include "tools/render/RenderOptions.h"

const char* RenderUsage() {
  return R"(Usage: ombrix-render [options] INPUT OUTPUT
       ombrix-render [options] --list | --save-fxp FILE | --save-fxb FILE | --snapshot PNG
       ombrix-render --generate sweep|chord [--seconds S] [--rate HZ] [--channels N] OUTPUT

Renders INPUT (WAV, AIFF or FLAC; mono or stereo) through a VST 2 plug-in into OUTPUT. The
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
  --cc69 SECONDS=VALUE       send MIDI controller 69 with VALUE (0 to 127) at that time
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

Other:
  --quiet, -q                print nothing but errors
  --help, -h                 show this text

Order of work: --load-fxb, --program, --load-fxp, --param/--param-norm, --list, --save-fxb,
--save-fxp, then rendering, then --snapshot. Exit status: 0 done, 1 failed, 2 bad command line.
)";
}
