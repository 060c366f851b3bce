#include "golden_replay.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/app.h"
#include "common/frame_hash.h"
#include "common/replay_report.h"
#include "platform/fake/fake_platform.h"
#include "platform/common/png_writer.h"

namespace {

// The state the milestones are read from, taken at every frame shown.
struct Watch {
  int32_t screen, phase, level, claimed, drawing, captured, score, selection, move;
  size_t sounds;
};

Watch watch_now() {
  const Program* p = app_program();
  if (p == nullptr) return Watch{-1, -1, 0, 0, 0, 0, 0, 0, 0, fake_sound_plays().size()};
  return Watch{p->frontend.screen_state, p->game.game_phase,        p->game.game_level,
               p->round.claimed_cells,   p->round.player.player_drawing, p->round.qix.qix_captured,
               p->game.game_score,       p->frontend.menu.menu_selection, p->round.move_mode,
               fake_sound_plays().size()};
}

bool sound_since(const Watch& before, const char* label) {
  const auto& plays = fake_sound_plays();
  for (size_t i = before.sounds; i < plays.size(); ++i)
    if (plays[i].label == label) return true;
  return false;
}

void milestones_between(const Watch& a, const Watch& b, uint64_t frame, std::vector<std::string>* out) {
  auto note = [&](const std::string& what) { out->push_back(std::to_string(frame) + " " + what); };
  if (a.screen != b.screen) {
    if (b.screen == SCREEN_MENU) note("menu");
    if (b.screen == SCREEN_GAME) note(b.selection == 0 ? "resume" : "new-game");
    if (b.screen == SCREEN_HISCORES) note("hiscore-list");
    if (b.screen == SCREEN_ABOUT) note("about");
  }
  if (sound_since(a, "quit.wav")) note("quit");
  if (a.phase != b.phase) {
    if (b.phase == PHASE_PAUSED) note("pause");
    if (a.phase == PHASE_PAUSED && b.phase == PHASE_PLAYING) note("unpause");
    if (a.phase == PHASE_PLAYING && b.phase == PHASE_LIFE_LOST) {
      // The QIX announces its hit. The Fuse hits a marker out on its stix and stops where it
      // is; a Sparx can only reach a marker on the border. The Fuse keeps its last place after
      // it goes out, so its place alone would blame it for a Sparx met at an old stix start.
      const Round& r = app_program()->round;
      const bool fuse_at_marker =
          std::abs(r.fuse.x - r.player.player_x) <= 2 && std::abs(r.fuse.y - r.player.player_y) <= 2;
      const bool fuse_hit = b.drawing && fuse_at_marker;
      note(sound_since(a, "stixhit.wav") ? "life-lost-qix" : fuse_hit ? "life-lost-fuse" : "life-lost-sparx");
    }
    if (a.phase == PHASE_LIFE_LOST && (b.phase == PHASE_GAME_OVER || b.phase == PHASE_HISCORE_ENTRY)) note("game-over");
    if (b.phase == PHASE_HISCORE_ENTRY) note("initials-entry");
    if (a.phase == PHASE_HISCORE_ENTRY && b.phase == PHASE_PLAYING) note("initials-saved");
  }
  if (b.level > a.level) note("level-" + std::to_string(b.level));
  if (!a.captured && b.captured) note("qix-cut-off");
  if (a.captured && !b.captured && b.score > a.score) note("split-bonus");
  if (b.claimed > a.claimed && b.level == a.level) note(b.move == 2 ? "claim-fast" : "claim-slow");
  if (a.drawing && !b.drawing && b.claimed == a.claimed && a.phase == PHASE_PLAYING && b.phase == PHASE_PLAYING)
    note("claim-cancelled");
}

void dump_frame(const FakeFrame& frame, const std::string& path) {
  RgbaImage image{frame.width, frame.height, {}};
  image.bytes.reserve(frame.pixels.size() * 4);
  for (uint8_t index : frame.pixels) {
    image.bytes.insert(image.bytes.end(), frame.palette[index], frame.palette[index] + 3);
    image.bytes.push_back(255);
  }
  png_save(path, image);
}

// In the child: the replay itself.
std::string replay_here(const std::string& demo_path, const std::string& data_dir, int64_t dump, const std::string& prefix) {
  GoldenResult result;
  std::filesystem::current_path(data_dir);
  fake_reset();
  fake_keep_frames(2);
  // A program just started: the menu, a fresh game ready, "New Game" chosen.
  Watch previous{SCREEN_MENU, PHASE_PLAYING, 1, 0, 0, 0, 0, 1, 0, 0};
  fake_on_present([&](uint64_t frames) {
    const FakeFrame& f = fake_last_frame();
    result.frames.push_back(frame_hash(f.pixels.data(), f.width, f.width, f.height, f.palette));
    const Watch now = watch_now();
    milestones_between(previous, now, frames, &result.milestones);
    previous = now;
    if (dump > 0 && static_cast<int64_t>(frames) == dump) {
      const auto& kept = fake_kept_frames();
      if (kept.size() >= 2) dump_frame(kept[kept.size() - 2], prefix + "-frame-" + std::to_string(frames - 1) + ".png");
      dump_frame(f, prefix + "-frame-" + std::to_string(frames) + ".png");
    }
  });
  Options options;
  options.demo = DemoMode::PLAY;
  options.demo_file = demo_path;
  result.exit_status = app_main(options);
  fake_on_present(nullptr);
  for (const FakeSoundPlay& p : fake_sound_plays()) result.sounds.push_back(std::to_string(p.frame) + " " + p.label);
  const FakeChangeCheck& c = fake_change_check();
  return golden_format(result) + "changes " + std::to_string(c.records) + " " + std::to_string(c.missed) + " " +
         std::to_string(c.first_missed_frame) + "\n";
}

}  // namespace

bool golden_replay(const std::string& demo_path, const std::string& data_dir, GoldenResult* result,
                   std::string* error, int64_t dump, const std::string& prefix) {
  const std::string absolute = std::filesystem::absolute(demo_path).string();
  int fds[2];
  if (pipe(fds) != 0) return *error = "no pipe", false;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return *error = "no fork", false;
  if (child == 0) {
    close(fds[0]);
    const std::string text = replay_here(absolute, data_dir, dump, prefix);
    size_t at = 0;
    while (at < text.size()) {
      const ssize_t n = write(fds[1], text.data() + at, text.size() - at);
      if (n <= 0) _exit(1);
      at += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string text;
  char buffer[65536];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return *error = "the replay crashed", false;
  if (!golden_parse(text, result)) return *error = "the replay's report is damaged", false;
  return true;
}

std::string golden_format(const GoldenResult& r) {
  std::string out = "zorvane-golden 1\nexit " + std::to_string(r.exit_status) + "\n";
  out += replay_report_text(r.frames, r.sounds);
  out += "milestones " + std::to_string(r.milestones.size()) + "\n";
  for (const std::string& m : r.milestones) out += m + "\n";
  return out;
}

bool golden_parse(const std::string& text, GoldenResult* r) {
  std::istringstream in(text);
  std::string word, line;
  size_t n = 0;
  *r = GoldenResult{};
  if (!(in >> word >> n) || word != "zorvane-golden" || n != 1) return false;
  if (!(in >> word >> r->exit_status) || word != "exit") return false;
  if (!(in >> word >> n) || word != "frames") return false;
  for (size_t i = 0; i < n; ++i) {
    if (!(in >> word) || word.size() != 16) return false;
    r->frames.push_back(std::strtoull(word.c_str(), nullptr, 16));
  }
  auto lines = [&](const char* header, std::vector<std::string>* out) {
    if (!(in >> word >> n) || word != header) return false;
    std::getline(in, line);
    for (size_t i = 0; i < n; ++i) {
      if (!std::getline(in, line)) return false;
      out->push_back(line);
    }
    return true;
  };
  if (!lines("sounds", &r->sounds) || !lines("milestones", &r->milestones)) return false;
  if (in >> word && word == "changes") in >> r->change_records >> r->change_misses >> r->first_missed_frame;
  return true;
}

std::string golden_milestone_kind(const std::string& line) {
  const size_t space = line.find(' ');
  return space == std::string::npos ? line : line.substr(space + 1);
}
