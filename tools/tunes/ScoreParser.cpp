// Reads the text notation of a tune (see resources/tunes/README.md).

#include "Score.h"

#include <charconv>
#include <cmath>
#include <map>

namespace tunes {
namespace {

std::string_view Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos) {
    return {};
  }
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

std::vector<std::string> Words(std::string_view s) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) {
      ++i;
    }
    size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\r') {
      ++i;
    }
    if (i > start) {
      words.emplace_back(s.substr(start, i - start));
    }
  }
  return words;
}

double Number(int line, std::string_view s) {
  double v = 0.0;
  const char* end = s.data() + s.size();
  const char* first = s.data();
  if (first != end && *first == '+') {
    ++first;
  }
  auto [ptr, ec] = std::from_chars(first, end, v);
  if (ec != std::errc() || ptr != end || first == end || !std::isfinite(v)) {
    throw ScoreError(line, "not a number: '" + std::string(s) + "'");
  }
  return v;
}

uint32_t Count(int line, std::string_view s, uint32_t low, uint32_t high) {
  double v = Number(line, s);
  if (v != std::floor(v) || v < low || v > high) {
    throw ScoreError(line, "expected a whole number from " + std::to_string(low) + " to " +
                               std::to_string(high) + ", got '" + std::string(s) + "'");
  }
  return static_cast<uint32_t>(v);
}

double Ranged(int line, std::string_view key, std::string_view s, double low, double high) {
  double v = Number(line, s);
  if (v < low || v > high) {
    throw ScoreError(line, std::string(key) + " must lie between " + std::to_string(low) +
                               " and " + std::to_string(high));
  }
  return v;
}

// Splits "key=value"; throws if there is no '='.
std::pair<std::string, std::string> KeyValue(int line, const std::string& word) {
  size_t eq = word.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == word.size()) {
    throw ScoreError(line, "expected key=value, got '" + word + "'");
  }
  return {word.substr(0, eq), word.substr(eq + 1)};
}

// Length of a duration letter: w h q e s, then an optional '.' (one and a
// half times) and an optional 't' (triplet: two thirds).
uint32_t DurationTicks(int line, std::string_view s) {
  if (s.empty()) {
    throw ScoreError(line, "missing duration after ':'");
  }
  uint32_t ticks = 0;
  switch (s[0]) {
    case 'w': ticks = 4 * kTicksPerBeat; break;
    case 'h': ticks = 2 * kTicksPerBeat; break;
    case 'q': ticks = kTicksPerBeat; break;
    case 'e': ticks = kTicksPerBeat / 2; break;
    case 's': ticks = kTicksPerBeat / 4; break;
    default: throw ScoreError(line, "unknown duration '" + std::string(s) + "'");
  }
  size_t i = 1;
  if (i < s.size() && s[i] == '.') {
    ticks = ticks * 3 / 2;
    ++i;
  }
  if (i < s.size() && s[i] == 't') {
    ticks = ticks * 2 / 3;
    ++i;
  }
  if (i != s.size()) {
    throw ScoreError(line, "unknown duration '" + std::string(s) + "'");
  }
  return ticks;
}

// A pitch name: letter, accidentals ('#' sharp, 'b' flat), octave (-1..9).
int32_t Pitch(int line, std::string_view s) {
  static const int32_t kLetter[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  if (s.empty()) {
    throw ScoreError(line, "missing pitch");
  }
  char c = s[0];
  if (c >= 'A' && c <= 'G') {
    c = static_cast<char>(c - 'A' + 'a');
  }
  if (c < 'a' || c > 'g') {
    throw ScoreError(line, "not a pitch: '" + std::string(s) + "'");
  }
  int32_t semis = kLetter[c - 'a'];
  size_t i = 1;
  while (i < s.size() && (s[i] == '#' || s[i] == 'b')) {
    semis += (s[i] == '#') ? 1 : -1;
    ++i;
  }
  std::string_view octave = s.substr(i);
  int32_t oct = 0;
  auto [ptr, ec] = std::from_chars(octave.data(), octave.data() + octave.size(), oct);
  if (octave.empty() || ec != std::errc() || ptr != octave.data() + octave.size() || oct < -1 ||
      oct > 9) {
    throw ScoreError(line, "not a pitch: '" + std::string(s) + "'");
  }
  int32_t midi = 12 * (oct + 1) + semis;
  if (midi < 0 || midi > 127) {
    throw ScoreError(line, "pitch out of range: '" + std::string(s) + "'");
  }
  return midi;
}

bool IsGrid(const std::string& token) {
  for (char c : token) {
    if (c != 'x' && c != 'X' && c != 'o' && c != '.') {
      return false;
    }
  }
  return !token.empty();
}

Wave WaveNamed(int line, const std::string& name) {
  static const std::map<std::string, Wave> kWaves = {
      {"sine", Wave::Sine}, {"triangle", Wave::Triangle}, {"saw", Wave::Saw},
      {"square", Wave::Square}, {"fm", Wave::Fm}, {"kick", Wave::Kick},
      {"snare", Wave::Snare}, {"hat", Wave::Hat}};
  auto it = kWaves.find(name);
  if (it == kWaves.end()) {
    throw ScoreError(line, "unknown wave '" + name + "'");
  }
  return it->second;
}

Instrument ParseInstrument(int line, const std::vector<std::string>& words) {
  if (words.size() < 2) {
    throw ScoreError(line, "instrument needs a name");
  }
  Instrument in;
  in.name = words[1];
  for (size_t i = 2; i < words.size(); ++i) {
    auto [key, value] = KeyValue(line, words[i]);
    if (key == "wave") {
      in.wave = WaveNamed(line, value);
    } else if (key == "note") {
      in.note = Pitch(line, value);
    } else {
      static const std::map<std::string, std::pair<double Instrument::*, std::pair<double, double>>>
          kFields = {
              {"attack", {&Instrument::attack, {0.0, 10.0}}},
              {"decay", {&Instrument::decay, {0.001, 30.0}}},
              {"sustain", {&Instrument::sustain, {0.0, 1.0}}},
              {"release", {&Instrument::release, {0.001, 10.0}}},
              {"gain", {&Instrument::gain, {0.0, 4.0}}},
              {"pan", {&Instrument::pan, {-1.0, 1.0}}},
              {"detune", {&Instrument::detune, {0.0, 100.0}}},
              {"cutoff", {&Instrument::cutoff, {0.0, 7000.0}}},
              {"resonance", {&Instrument::resonance, {0.0, 1.0}}},
              {"filter_env", {&Instrument::filterEnv, {0.0, 7000.0}}},
              {"ratio", {&Instrument::ratio, {0.0, 16.0}}},
              {"index", {&Instrument::index, {0.0, 20.0}}},
              {"index_decay", {&Instrument::indexDecay, {0.0, 30.0}}},
              {"vibrato", {&Instrument::vibrato, {0.0, 100.0}}},
              {"vibrato_rate", {&Instrument::vibratoRate, {0.0, 20.0}}},
              {"pitch_drop", {&Instrument::pitchDrop, {0.0, 48.0}}},
              {"pitch_time", {&Instrument::pitchTime, {0.001, 2.0}}},
              {"noise", {&Instrument::noise, {0.0, 1.0}}},
              {"echo", {&Instrument::echo, {0.0, 1.0}}},
              {"reverb", {&Instrument::reverb, {0.0, 1.0}}},
          };
      auto it = kFields.find(key);
      if (it == kFields.end()) {
        throw ScoreError(line, "unknown instrument setting '" + key + "'");
      }
      in.*(it->second.first) = Ranged(line, key, value, it->second.second.first,
                                      it->second.second.second);
    }
  }
  return in;
}

enum class ArpOrder { Up, Down, UpDown };

// Collects the bars of one voice, then turns them into note events.
class VoiceBuilder {
public:
  VoiceBuilder(Score& score, int line, const std::vector<std::string>& words) : m_score(score) {
    m_line = line;
    if (words.size() < 2) {
      throw ScoreError(line, "voice needs an instrument");
    }
    bool found = false;
    for (uint32_t i = 0; i < score.instruments.size(); ++i) {
      if (score.instruments[i].name == words[1]) {
        m_instrument = i;
        found = true;
      }
    }
    if (!found) {
      throw ScoreError(line, "no instrument named '" + words[1] + "'");
    }
    for (size_t i = 2; i < words.size(); ++i) {
      auto [key, value] = KeyValue(line, words[i]);
      if (key == "arp") {
        m_arpTicks = DurationTicks(line, value);
      } else if (key == "order") {
        if (value == "up") {
          m_order = ArpOrder::Up;
        } else if (value == "down") {
          m_order = ArpOrder::Down;
        } else if (value == "updown") {
          m_order = ArpOrder::UpDown;
        } else {
          throw ScoreError(line, "unknown arpeggio order '" + value + "'");
        }
      } else if (key == "gate") {
        m_gate = Ranged(line, key, value, 0.05, 1.0);
      } else if (key == "vel") {
        m_velocity = Ranged(line, key, value, 0.0, 1.0);
      } else if (key == "transpose") {
        m_transpose = static_cast<int32_t>(Ranged(line, key, value, -48.0, 48.0));
      } else {
        throw ScoreError(line, "unknown voice setting '" + key + "'");
      }
    }
  }

  // One line of bars: "| bar | bar |", optionally followed by "xN" to
  // play the line N times.
  void AddLine(int line, std::string_view text) {
    m_line = line;
    size_t last = text.rfind('|');
    std::string_view tail = Trim(text.substr(last + 1));
    uint32_t repeats = 1;
    if (!tail.empty()) {
      if (tail[0] != 'x') {
        throw ScoreError(line, "text after the last bar line: '" + std::string(tail) + "'");
      }
      repeats = Count(line, tail.substr(1), 1, 64);
    }
    std::vector<std::vector<std::string>> bars;
    size_t pos = 0;
    while (pos < last) {
      size_t next = text.find('|', pos + 1);
      std::string_view bar = Trim(text.substr(pos + 1, next - pos - 1));
      if (!bar.empty()) {
        bars.push_back(Words(bar));
      }
      pos = next;
    }
    if (bars.empty()) {
      throw ScoreError(line, "no bars between the bar lines");
    }
    for (uint32_t r = 0; r < repeats; ++r) {
      for (const auto& bar : bars) {
        if (bar.size() == 1 && bar[0] == "%") {
          if (m_previousBar.empty()) {
            throw ScoreError(line, "'%' repeats the previous bar, but there is none");
          }
          AddBar(m_previousBar);
        } else {
          AddBar(bar);
          m_previousBar = bar;
        }
      }
    }
  }

  // Checks that the voice fills the tune and adds its notes to the score.
  void Finish() {
    if (m_tieOpen) {
      throw ScoreError(m_line, "the voice ends inside a tie");
    }
    uint32_t total = m_score.TotalTicks();
    if (m_pos != total) {
      throw ScoreError(m_line, "voice '" + m_score.instruments[m_instrument].name + "' lasts " +
                                   Beats(m_pos) + " beats, the tune has " + Beats(total));
    }
    for (const RawNote& n : m_notes) {
      Emit(n);
    }
  }

private:
  struct RawNote {
    uint32_t start;
    uint32_t length;
    std::vector<int32_t> pitches;
    double velocity;
  };

  static std::string Beats(uint32_t ticks) {
    std::string s = std::to_string(ticks / kTicksPerBeat);
    if (ticks % kTicksPerBeat) {
      s += " " + std::to_string(ticks % kTicksPerBeat) + "/" + std::to_string(kTicksPerBeat);
    }
    return s;
  }

  void AddBar(const std::vector<std::string>& tokens) {
    const uint32_t barTicks = m_score.beatsPerBar * kTicksPerBeat;
    const uint32_t barStart = m_pos;
    ++m_barNumber;
    if (tokens.size() == 1 && IsGrid(tokens[0])) {
      AddGrid(tokens[0], barTicks);
    } else {
      for (const std::string& token : tokens) {
        AddToken(token);
      }
    }
    if (m_pos - barStart != barTicks) {
      throw ScoreError(m_line, "bar " + std::to_string(m_barNumber) + " lasts " +
                                   Beats(m_pos - barStart) + " beats, the meter has " +
                                   std::to_string(m_score.beatsPerBar));
    }
  }

  // A drum grid: one character per step, X accent, x hit, o soft, . rest.
  void AddGrid(const std::string& grid, uint32_t barTicks) {
    if (m_tieOpen) {
      throw ScoreError(m_line, "a tie runs into a drum grid");
    }
    if (barTicks % grid.size() != 0) {
      throw ScoreError(m_line, "a bar cannot be split into " + std::to_string(grid.size()) +
                                   " equal steps");
    }
    const uint32_t step = barTicks / static_cast<uint32_t>(grid.size());
    const int32_t pitch = m_score.instruments[m_instrument].note;
    for (char c : grid) {
      double v = (c == 'X') ? 1.0 : (c == 'x') ? 0.75 : (c == 'o') ? 0.4 : 0.0;
      if (v > 0.0) {
        m_notes.push_back({m_pos, step, {pitch}, v * m_velocity});
      }
      m_pos += step;
    }
  }

  // "C4:q", "C4+E4+G4:h.", "r:e", "A4~" (tied into the next note), "G4"
  // (the previous duration again).
  void AddToken(std::string token) {
    bool tieOut = false;
    if (!token.empty() && token.back() == '~') {
      tieOut = true;
      token.pop_back();
    }
    size_t colon = token.find(':');
    if (colon != std::string::npos) {
      m_duration = DurationTicks(m_line, std::string_view(token).substr(colon + 1));
      token.resize(colon);
    }
    if (m_duration == 0) {
      throw ScoreError(m_line, "the first note of a voice needs a duration");
    }
    std::vector<int32_t> pitches;
    if (token != "r") {
      size_t start = 0;
      while (true) {
        size_t plus = token.find('+', start);
        pitches.push_back(Pitch(m_line, std::string_view(token).substr(start, plus - start)) +
                          m_transpose);
        if (plus == std::string::npos) {
          break;
        }
        start = plus + 1;
      }
      for (int32_t p : pitches) {
        if (p < 0 || p > 127) {
          throw ScoreError(m_line, "transposed pitch out of range");
        }
      }
    } else if (tieOut) {
      throw ScoreError(m_line, "a rest cannot be tied");
    }
    if (m_tieOpen) {
      if (pitches != m_notes.back().pitches) {
        throw ScoreError(m_line, "a tie joins different notes");
      }
      m_notes.back().length += m_duration;
    } else if (!pitches.empty()) {
      m_notes.push_back({m_pos, m_duration, pitches, m_velocity});
    }
    m_tieOpen = tieOut;
    m_pos += m_duration;
  }

  void Emit(const RawNote& n) {
    if (m_arpTicks == 0 || n.pitches.size() < 2) {
      for (int32_t p : n.pitches) {
        m_score.events.push_back({n.start, n.length * m_gate, p, n.velocity, m_instrument});
      }
      return;
    }
    std::vector<int32_t> order = n.pitches;
    if (m_order == ArpOrder::Down) {
      order.assign(n.pitches.rbegin(), n.pitches.rend());
    } else if (m_order == ArpOrder::UpDown) {
      for (size_t i = n.pitches.size() - 2; i > 0; --i) {
        order.push_back(n.pitches[i]);
      }
    }
    uint32_t k = 0;
    for (uint32_t t = 0; t < n.length; t += m_arpTicks, ++k) {
      uint32_t len = std::min(m_arpTicks, n.length - t);
      m_score.events.push_back(
          {n.start + t, len * m_gate, order[k % order.size()], n.velocity, m_instrument});
    }
  }

  Score& m_score;
  int m_line = 0;
  uint32_t m_instrument = 0;
  uint32_t m_arpTicks = 0;
  ArpOrder m_order = ArpOrder::Up;
  double m_gate = 0.9;
  double m_velocity = 0.8;
  int32_t m_transpose = 0;
  uint32_t m_pos = 0;
  uint32_t m_duration = 0;
  uint32_t m_barNumber = 0;
  bool m_tieOpen = false;
  std::vector<std::string> m_previousBar;
  std::vector<RawNote> m_notes;
};

void ParseEcho(Score& score, int line, const std::vector<std::string>& words) {
  for (size_t i = 1; i < words.size(); ++i) {
    auto [key, value] = KeyValue(line, words[i]);
    if (key == "delay") {
      score.echo.delayBeats = Ranged(line, key, value, 0.0625, 4.0);
    } else if (key == "feedback") {
      score.echo.feedback = Ranged(line, key, value, 0.0, 0.9);
    } else if (key == "tone") {
      score.echo.tone = Ranged(line, key, value, 100.0, 10000.0);
    } else if (key == "level") {
      score.echo.level = Ranged(line, key, value, 0.0, 2.0);
    } else {
      throw ScoreError(line, "unknown echo setting '" + key + "'");
    }
  }
}

void ParseReverb(Score& score, int line, const std::vector<std::string>& words) {
  for (size_t i = 1; i < words.size(); ++i) {
    auto [key, value] = KeyValue(line, words[i]);
    if (key == "room") {
      score.reverb.room = Ranged(line, key, value, 0.0, 1.0);
    } else if (key == "damp") {
      score.reverb.damp = Ranged(line, key, value, 0.0, 1.0);
    } else if (key == "level") {
      score.reverb.level = Ranged(line, key, value, 0.0, 2.0);
    } else {
      throw ScoreError(line, "unknown reverb setting '" + key + "'");
    }
  }
}

void CheckHeader(const Score& score, int line) {
  if (score.dataBytes == 0 || score.bars == 0 || score.tempo <= 0.0) {
    throw ScoreError(line, "length, bars and tempo must come before the first voice");
  }
  double fitted = score.FittedTempo();
  if (std::fabs(fitted - score.tempo) > 0.02 * score.tempo) {
    throw ScoreError(line, "tempo " + std::to_string(score.tempo) +
                               " does not fit: the length and bars give " +
                               std::to_string(fitted));
  }
}

} // namespace

Score ParseScore(std::string_view text) {
  Score score;
  VoiceBuilder* voice = nullptr;
  std::vector<VoiceBuilder> voices;
  voices.reserve(64);
  int line = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    ++line;
    std::string_view raw = text.substr(pos, end - pos);
    pos = end + 1;
    size_t hash = raw.find('#');
    // '#' also marks sharps: a comment starts at a '#' that begins a word.
    while (hash != std::string_view::npos && hash > 0 && raw[hash - 1] != ' ' &&
           raw[hash - 1] != '\t') {
      hash = raw.find('#', hash + 1);
    }
    std::string_view content = Trim(raw.substr(0, hash));
    if (content.empty()) {
      continue;
    }
    if (content[0] == '|') {
      if (!voice) {
        throw ScoreError(line, "bars before the first voice");
      }
      voice->AddLine(line, content);
      continue;
    }
    std::vector<std::string> words = Words(content);
    const std::string& key = words[0];
    if (key != "voice") {
      voice = nullptr;
    }
    if (key == "tune") {
      score.title = std::string(Trim(content.substr(4)));
    } else if (key == "length" && words.size() == 2) {
      score.dataBytes = Count(line, words[1], 2, 0x7FFFFFF0u);
      if (score.dataBytes % kChannels != 0) {
        throw ScoreError(line, "the length must hold whole stereo frames (an even number)");
      }
    } else if (key == "meter" && words.size() == 2) {
      score.beatsPerBar = Count(line, words[1], 1, 16);
    } else if (key == "bars" && words.size() == 2) {
      score.bars = Count(line, words[1], 1, 1000);
    } else if (key == "tempo" && words.size() == 2) {
      score.tempo = Ranged(line, key, words[1], 20.0, 400.0);
    } else if (key == "level" && words.size() == 2) {
      score.level = Ranged(line, key, words[1], 0.05, 1.0);
    } else if (key == "echo") {
      ParseEcho(score, line, words);
    } else if (key == "reverb") {
      ParseReverb(score, line, words);
    } else if (key == "instrument") {
      Instrument in = ParseInstrument(line, words);
      for (const Instrument& other : score.instruments) {
        if (other.name == in.name) {
          throw ScoreError(line, "instrument '" + in.name + "' is defined twice");
        }
      }
      score.instruments.push_back(in);
    } else if (key == "voice") {
      CheckHeader(score, line);
      if (voices.size() == voices.capacity()) {
        throw ScoreError(line, "too many voices");
      }
      voices.emplace_back(score, line, words);
      voice = &voices.back();
    } else {
      throw ScoreError(line, "cannot read '" + std::string(content) + "'");
    }
  }
  if (voices.empty()) {
    throw ScoreError(line, "the score has no voices");
  }
  for (VoiceBuilder& v : voices) {
    v.Finish();
  }
  return score;
}

} // namespace tunes
