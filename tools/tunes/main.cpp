// tunegen SCORE OUTPUT.wav: renders a tune's score into a looping WAVE file.

#include "Score.h"
#include "TuneRenderer.h"
#include "WaveImage.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tunegen SCORE OUTPUT.wav\n");
    return 2;
  }
  std::ifstream file(argv[1], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "tunegen: cannot open %s\n", argv[1]);
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  try {
    tunes::Score score = tunes::ParseScore(text);
    tunes::RenderStats stats;
    std::vector<uint8_t> image = tunes::WaveImage(tunes::RenderTune(score, &stats));
    const std::string temp = std::string(argv[2]) + ".part";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(image.data()),
                static_cast<std::streamsize>(image.size()));
      if (!out.flush()) {
        std::fprintf(stderr, "tunegen: cannot write %s\n", temp.c_str());
        std::remove(temp.c_str());
        return 1;
      }
    }
    if (std::rename(temp.c_str(), argv[2]) != 0) {
      std::fprintf(stderr, "tunegen: cannot write %s\n", argv[2]);
      std::remove(temp.c_str());
      return 1;
    }
    std::printf("tunegen: %s \"%s\": %u bars at %.2f bpm, %u notes, %.2f s, %zu bytes\n",
                argv[2], score.title.c_str(), score.bars, score.FittedTempo(), stats.notes,
                static_cast<double>(score.Frames()) / tunes::kSampleRate, image.size());
  } catch (const tunes::ScoreError& e) {
    std::fprintf(stderr, "tunegen: %s: %s\n", argv[1], e.what());
    return 1;
  }
  return 0;
}
