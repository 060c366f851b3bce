// The game screen's phases played frame by frame: lives lost, game over, the initials entry,
// level completion, the pause, the capture bonus, the move modes and leaving for the menu.
#include <cstdlib>

#include "live_input.h"
#include "enemies/qix.h"
#include "frontend/frontend.h"
#include "game/game_fixture.h"
#include "game/hiscore.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

using Sounds = std::vector<std::string>;

class GameFlow : public GameScreen {
 protected:
  // Ends the last life as an enemy would, and plays the frame that follows.
  static void lose_last_life(int32_t score) {
    game_lives = 1, game_score = score, game_phase = PHASE_LIFE_LOST;
    run_frames(1);
  }
};

TEST_F(GameFlow, LifeLostWithLivesToSpareWaitsForSpaceAndResumesAtTheStixStart) {
  frames_with({VK_SHIFT, VK_UP}, 3);
  ASSERT_EQ(stix_speed, 2);
  ASSERT_EQ(playfield_cell(PLAYER_START_X, PLAYER_START_Y - 4), CELL_STIX);
  fake_advance_ms(20000);  // part of the period is gone
  take_sounds();
  game_phase = PHASE_LIFE_LOST;
  fake_set_key(VK_SPACE, true);
  run_frames(1);
  EXPECT_EQ(take_sounds(), (Sounds{"dying.wav"}));
  EXPECT_EQ(game_lives, 4);
  EXPECT_EQ(playfield_cell(PLAYER_START_X, PLAYER_START_Y - 4), CELL_OPEN);
  run_frames(48);  // Space held all along is refused before the 50th frame
  EXPECT_EQ(game_phase, PHASE_LIFE_LOST);
  run_frames(1);
  EXPECT_EQ((Values{game_phase, player_x, player_y, player_drawing}), (Values{PHASE_PLAYING, 320, 468, 0}));
  EXPECT_EQ(stix_speed, 0);  // the lost fast stix leaves no fast walk behind
  frames_with({VK_LEFT});
  EXPECT_EQ(player_x, PLAYER_START_X - 2);
  EXPECT_GE(time_left, 59);  // a fresh period
  EXPECT_TRUE(take_sounds().empty());
}

TEST_F(GameFlow, LastLifeWithPointsGoesToTheInitialsEntryWhichSavesAndRestarts) {
  write_file(HISCORE_FILE, "TOP 5000\n" + repeat("- 0\n", 9));
  lose_last_life(500);
  EXPECT_EQ(take_sounds(), (Sounds{"record.wav", "shutdown.wav", "disconnect.wav"}));
  EXPECT_EQ(game_phase, PHASE_GAME_OVER);
  run_frames(1);
  EXPECT_EQ(take_sounds(), (Sounds{"dying.wav"}));
  ASSERT_EQ((Values{game_phase, hiscore_edit_row}), (Values{PHASE_HISCORE_ENTRY, 1}));
  // The table 60 pixels left of its place, the initial at the cursor lit.
  EXPECT_EQ(shown("T", 200, 120, COLOUR_MAGENTA), 0);
  EXPECT_EQ(shown("5000", 300, 120, COLOUR_PALE_YELLOW), 0);
  EXPECT_EQ(shown("A", 200, 140, COLOUR_PALE_YELLOW), 0);
  EXPECT_EQ(shown("A", 212, 140, COLOUR_MAGENTA), 0);
  // Each press acts once however long it is held; letters and cursor wrap; a move offers the
  // letter already at the new place.
  struct Press { int32_t vk, frames, cursor, letter; };
  for (Press p : {Press{VK_DOWN, 1, 0, 'Z'}, Press{VK_UP, 1, 0, 'A'}, Press{VK_UP, 6, 0, 'B'}, Press{VK_UP, 1, 0, 'C'},
                  Press{VK_RIGHT, 1, 1, 'A'}, Press{VK_DOWN, 1, 1, 'Z'}, Press{VK_RIGHT, 1, 2, 'A'},
                  Press{VK_RIGHT, 1, 0, 'C'}, Press{VK_LEFT, 1, 2, 'A'}}) {
    frames_with({p.vk}, p.frames);
    run_frames(1);
    EXPECT_EQ((Values{hiscore_edit_cursor, hiscore_edit_letter}), (Values{p.cursor, p.letter}));
  }
  EXPECT_STREQ(hiscore_table.rows[1].initials, "CZA");
  frames_with({VK_RETURN});
  EXPECT_EQ(read_file(HISCORE_FILE), "TOP 5000\nCZA 500\n" + repeat("- 0\n", 8));
  EXPECT_EQ(take_sounds(), (Sounds{"connect.wav", "startup.wav"}));
  EXPECT_EQ((Values{game_phase, game_score, game_lives, hiscore_edit_row}), (Values{PHASE_PLAYING, 0, 5, -1}));
}

TEST_F(GameFlow, InitialsEntryWithoutARowTouchesNoRowAndSavesTheTableUnchanged) {
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "XYZ " + std::to_string(9000 - i) + "\n";
  write_file(HISCORE_FILE, ten);
  lose_last_life(50);
  run_frames(1);
  ASSERT_EQ((Values{game_phase, hiscore_edit_row}), (Values{PHASE_HISCORE_ENTRY, -1}));
  for (int32_t vk : {VK_UP, VK_RIGHT, VK_LEFT, VK_LEFT}) frames_with({vk}), run_frames(1);
  EXPECT_EQ((Values{hiscore_edit_cursor, hiscore_edit_letter}), (Values{2, 'B'}));
  frames_with({VK_RETURN});
  EXPECT_EQ(read_file(HISCORE_FILE), ten);
}

TEST_F(GameFlow, GameWithoutPointsStaysAtGameOverUntilEnterOrEsc) {
  for (int32_t vk : {VK_RETURN, VK_ESCAPE}) {
    game_level = 3, screen_state = SCREEN_GAME;
    lose_last_life(0);
    EXPECT_EQ(take_sounds(), (Sounds{"dead.wav", "shutdown.wav", "disconnect.wav"}));
    run_frames(3);
    EXPECT_EQ(take_sounds(), (Sounds{"dying.wav"}));
    EXPECT_EQ(shown("Game Over", 220, 230, COLOUR_WHITE), 0);
    frames_with({vk});
    const bool enter = vk == VK_RETURN;
    EXPECT_EQ(take_sounds(), (enter ? Sounds{"connect.wav", "startup.wav"} : Sounds{}));
    EXPECT_EQ((Values{screen_state, game_phase, game_level, game_lives}),
              (enter ? Values{SCREEN_GAME, PHASE_PLAYING, 1, 5} : Values{SCREEN_MENU, PHASE_GAME_OVER, 3, 0}));
  }
}

TEST_F(GameFlow, LevelCompletesAtTheTargetPaysAtTheFiftiethFrameAndMovesOnAtTheHundredth) {
  claimed_cells = 142973;  // 65% of 469 x 469 is 142974.65: one cell short of the whole cells
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  take_sounds();
  game_score = 700, claimed_cells = 150000;
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_LEVEL_COMPLETE);
  EXPECT_EQ(take_sounds(), (Sounds{"success.wav"}));
  run_frames(49);
  EXPECT_EQ(game_score, 700);
  run_frames(1);
  EXPECT_EQ(game_score, 3700);
  EXPECT_EQ(shown("Bonus points: 1000 x 3 = 3000", 180, 250, COLOUR_GREY), 0);
  run_frames(49);
  EXPECT_EQ(game_phase, PHASE_LEVEL_COMPLETE);
  run_frames(1);
  EXPECT_EQ((Values{game_phase, game_level, claimed_cells}), (Values{PHASE_PLAYING, 2, 0}));
  claimed_cells = 142974;  // exactly the target, nothing beyond it
  run_frames(2);
  EXPECT_EQ(shown("Sorry no bonus points!", 210, 250, COLOUR_GREY), 0);
  run_frames(99);
  EXPECT_EQ((Values{game_level, game_score}), (Values{3, 3700}));
}

TEST_F(GameFlow, CapturedQixPaysAHundredFramesLaterAndLeavesTheLevelBonusItsFrame) {
  game_level = 2, qix_captured = 1;
  run_frames(99);
  EXPECT_EQ(game_score, 0);
  run_frames(1);
  EXPECT_EQ((Values{game_score, qix_captured}), (Values{20000, 0}));
  // Placed anew: the older part of its trail is still all the one new line.
  for (int k = 3; k < QIX_TRAIL_LENGTH; ++k) EXPECT_EQ(qix_slots[0].x1[k], qix_slots[0].x1[2]);
  // A level completed while a capture wait runs still pays its bonus at the 50th frame.
  qix_captured = 1;
  run_frames(70);
  claimed_cells = 150000;
  run_frames(50);
  EXPECT_EQ(game_score, 20000);
  run_frames(1);
  EXPECT_EQ(game_score, 23000);
}

TEST_F(GameFlow, PauseKeepsTheTimeLeftAndFreezesTheMarker) {
  fake_advance_ms(12000);
  run_frames(1);
  const int32_t before = time_left;
  // While F1 is held at either end of the pause, passes go by and nothing is shown; the frame
  // that saw F1 is finished in the pass that sees it up.
  for (int32_t phase : {PHASE_PAUSED, PHASE_PLAYING}) {
    const uint64_t shown = fake_frame_count();
    fake_set_key(VK_F1, true);
    run_frames(4);
    EXPECT_EQ((Values{game_phase, game_frame_waiting(), int32_t(fake_frame_count() - shown)}), (Values{phase, 1, 0}));
    fake_set_key(VK_F1, false);
    run_frames(1);
    EXPECT_EQ((Values{game_frame_waiting(), int32_t(fake_frame_count() - shown)}), (Values{0, 1}));
    if (phase == PHASE_PAUSED) {
      fake_advance_ms(20000);
      frames_with({VK_LEFT}, 3);
      EXPECT_EQ(player_x, PLAYER_START_X);
    }
  }
  run_frames(1);
  EXPECT_LE(std::abs(time_left - before), 1);
}

TEST_F(GameFlow, EscLeavesEveryPhaseAsItIsAndResumeComesBack) {
  for (int32_t phase : {PHASE_PLAYING, PHASE_PAUSED, PHASE_LIFE_LOST, PHASE_LEVEL_COMPLETE, PHASE_GAME_OVER,
                        PHASE_HISCORE_ENTRY}) {
    game_lives = 3, game_phase = phase, phase_frames = 0, phase_announced = phase == PHASE_GAME_OVER;
    screen_state = SCREEN_GAME;
    frames_with({VK_ESCAPE});
    EXPECT_EQ((Values{screen_state, menu_frames}), (Values{SCREEN_MENU, 1})) << phase;
    screen_state = SCREEN_GAME;  // "Resume"
    run_frames(2);
    EXPECT_EQ(game_phase, phase);
  }
}

TEST_F(GameFlow, ShiftTakesTwoStepsAFrameUnlessASlowStixIsUnderWay) {
  frames_with({VK_SHIFT, VK_LEFT});
  EXPECT_EQ(player_x, PLAYER_START_X - 4);
  frames_with({VK_CONTROL, VK_UP});
  frames_with({VK_SHIFT, VK_UP});
  EXPECT_EQ(player_y, PLAYER_START_Y - 4);  // a stix begun with Ctrl stays slow
  game_new_level();
  frames_with({VK_SHIFT, VK_UP});
  frames_with({VK_CONTROL, VK_UP});
  EXPECT_EQ(player_y, PLAYER_START_Y - 8);  // a stix begun with Shift stays fast
}

TEST_F(GameFlow, QixKeepsMovingWhenTheBackBufferCannotBeLocked) {
  run_frames(5);
  const Qix before = qix_slots[0];
  display.display_back->dc_held = 1;  // a device context is out: no lock can be had, and nothing is drawn
  game_run_frame(live_input());
  display.display_back->dc_held = 0;
  for (int k = 2; k < QIX_TRAIL_LENGTH; ++k) EXPECT_EQ(qix_slots[0].x1[k], before.x1[k - 1]);
  EXPECT_NE(before.x1[5], before.x1[1]);
}

}  // namespace

namespace {

TEST_F(GameFlow, AWindowInTheBackgroundPausesPlayUntilF1AndTheMenuRunsOn) {
  run_frames(2);
  fake_set_focus(false);
  frames_with({VK_LEFT}, 3);
  EXPECT_EQ((Values{game_phase, player_x}), (Values{PHASE_PAUSED, PLAYER_START_X}));
  EXPECT_EQ(shown("Game Paused", 220, 230, COLOUR_WHITE), 0);
  EXPECT_EQ(shown("(paused while the window was in the background)", 110, 270, COLOUR_GREY), 0);
  fake_set_focus(true);
  run_frames(2);
  EXPECT_EQ(game_phase, PHASE_PAUSED) << "coming back does not resume by itself";
  frames_with({VK_F1});
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_GT(shown("(paused while the window was in the background)", 110, 270, COLOUR_GREY), 100) << "gone";
  // The menu does not pause.
  fake_set_focus(false);
  const uint64_t before = fake_frame_count();
  for (int i = 0; i < 3; ++i) menu_run_frame(live_input());
  EXPECT_EQ(fake_frame_count(), before + 3);
  fake_set_focus(true);
}

}  // namespace
