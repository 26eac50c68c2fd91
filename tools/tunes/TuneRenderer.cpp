#include "TuneRenderer.h"

#include "Effects.h"
#include "NoteSynth.h"

#include <algorithm>
#include <cmath>

namespace tunes {
namespace {

void Accumulate(StereoBuffer& into, const StereoBuffer& note, uint32_t start, double gain) {
  const size_t n = into.left.size();
  size_t at = start % n;
  for (size_t i = 0; i < note.left.size(); ++i) {
    into.left[at] += note.left[i] * gain;
    into.right[at] += note.right[i] * gain;
    if (++at == n) {
      at = 0;  // a note that rings past the end of the loop continues at its start
    }
  }
}

} // namespace

std::vector<uint8_t> RenderTune(const Score& score, RenderStats* stats) {
  const uint32_t frames = score.Frames();
  StereoBuffer dry{std::vector<double>(frames, 0.0), std::vector<double>(frames, 0.0)};
  StereoBuffer echoSend = dry;
  StereoBuffer reverbSend = dry;
  StereoBuffer note;
  const double framesPerTick = static_cast<double>(frames) / score.TotalTicks();
  for (size_t k = 0; k < score.events.size(); ++k) {
    const NoteEvent& e = score.events[k];
    const Instrument& in = score.instruments[e.instrument];
    const uint32_t start = score.FrameOfTick(e.startTick);
    const uint32_t gate = static_cast<uint32_t>(e.gateTicks * framesPerTick);
    const uint32_t seed = static_cast<uint32_t>(k) * 2654435761u + 12345u;
    RenderNote(in, e.pitch, e.velocity, gate, seed, frames, note);
    Accumulate(dry, note, start, 1.0);
    if (in.echo > 0.0) {
      Accumulate(echoSend, note, start, in.echo);
    }
    if (in.reverb > 0.0) {
      Accumulate(reverbSend, note, start, in.reverb);
    }
  }

  StereoBuffer echo;
  StereoBuffer reverb;
  const double framesPerBeat = framesPerTick * kTicksPerBeat;
  ApplyEcho(score.echo, static_cast<uint32_t>(score.echo.delayBeats * framesPerBeat + 0.5),
            echoSend, echo);
  ApplyReverb(score.reverb, reverbSend, reverb);

  double peak = 0.0;
  for (uint32_t i = 0; i < frames; ++i) {
    dry.left[i] += score.echo.level * echo.left[i] + score.reverb.level * reverb.left[i];
    dry.right[i] += score.echo.level * echo.right[i] + score.reverb.level * reverb.right[i];
    peak = std::max(peak, std::max(std::fabs(dry.left[i]), std::fabs(dry.right[i])));
  }
  if (stats) {
    stats->peakBeforeLevel = peak;
    stats->notes = static_cast<uint32_t>(score.events.size());
  }

  const double scale = (peak > 0.0) ? score.level * 127.0 / peak : 0.0;
  std::vector<uint8_t> samples(static_cast<size_t>(frames) * kChannels);
  auto quantise = [scale](double v) {
    double q = std::floor(v * scale + 0.5) + 128.0;
    return static_cast<uint8_t>(std::min(255.0, std::max(1.0, q)));
  };
  for (uint32_t i = 0; i < frames; ++i) {
    samples[2 * i] = quantise(dry.left[i]);
    samples[2 * i + 1] = quantise(dry.right[i]);
  }
  return samples;
}

} // namespace tunes
