// The game screen's phases played frame by frame: lives lost, game over, the initials entry,
// level completion, the pause, the capture bonus, the move modes and leaving for the menu.
#include <cstdlib>

#include "enemies/qix.h"
#include "frontend/menu.h"
#include "game/game_fixture.h"
#include "game/hiscore.h"
#include "playfield/player.h"
#include "playfield/playfield.h"

namespace {

using Sounds = std::vector<std::string>;

std::string empty_lines(int n) {
  std::string s;
  while (n-- > 0) s += "- 0\n";
  return s;
}

class GameFlow : public GameScreen {
 protected:
  // Ends the last life as an enemy would, and plays the frame that follows.
  static void lose_last_life(int32_t score) {
    game_lives = 1;
    game_score = score;
    game_phase = PHASE_LIFE_LOST;
    run_frames(1);
  }
  static void press(int32_t vk) {
    frames_with({vk});
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
  keep_frame("life_lost");
  run_frames(48);  // Space held all along is refused before the 50th frame
  EXPECT_EQ(game_phase, PHASE_LIFE_LOST);
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(player_x, PLAYER_START_X);
  EXPECT_EQ(player_y, PLAYER_START_Y);
  EXPECT_EQ(player_drawing, 0);
  EXPECT_EQ(stix_speed, 0);  // the lost fast stix leaves no fast walk behind
  frames_with({VK_LEFT});
  EXPECT_EQ(player_x, PLAYER_START_X - 2);
  EXPECT_GE(time_left, 59);  // a fresh period
  EXPECT_TRUE(take_sounds().empty());
}

TEST_F(GameFlow, LastLifeWithPointsGoesToTheInitialsEntryWhichSavesAndRestarts) {
  set_counting_palette();
  write_file(HISCORE_FILE, "TOP 5000\n" + empty_lines(9));
  lose_last_life(500);
  EXPECT_EQ(take_sounds(), (Sounds{"record.wav", "shutdown.wav", "disconnect.wav"}));
  EXPECT_EQ(game_phase, PHASE_GAME_OVER);
  run_frames(1);
  EXPECT_EQ(take_sounds(), (Sounds{"dying.wav"}));
  ASSERT_EQ(game_phase, PHASE_HISCORE_ENTRY);
  ASSERT_EQ(hiscore_edit_row, 1);
  EXPECT_STREQ(hiscore_table.rows[1].initials, "AAA");
  keep_frame("initials_entry");
  if (have_font()) {  // the table 60 pixels left of its place, the initial at the cursor lit
    const FakeFrame& f = fake_last_frame();
    EXPECT_EQ(text_mismatch(f, "Top 10 Hi-Scores", 190, 100, COLOUR_PALE_YELLOW), 0);
    EXPECT_EQ(text_mismatch(f, "T", 200, 120, COLOUR_MAGENTA), 0);
    EXPECT_EQ(text_mismatch(f, "5000", 300, 120, COLOUR_PALE_YELLOW), 0);
    EXPECT_EQ(text_mismatch(f, "A", 200, 140, COLOUR_PALE_YELLOW), 0);
    EXPECT_EQ(text_mismatch(f, "A", 212, 140, COLOUR_MAGENTA), 0);
    EXPECT_EQ(text_mismatch(f, "-", 204, 160, COLOUR_MAGENTA), 0);
  }

  press(VK_DOWN);  // 'A' back to 'Z'
  EXPECT_EQ(hiscore_edit_letter, 'Z');
  press(VK_UP);  // and on to 'A'
  frames_with({VK_UP}, 6);  // held: one step
  run_frames(1);
  press(VK_UP);
  EXPECT_EQ(hiscore_edit_letter, 'C');
  press(VK_RIGHT);
  EXPECT_EQ(hiscore_edit_letter, 'A');  // the letter already at the new place
  press(VK_DOWN);
  press(VK_RIGHT);
  press(VK_RIGHT);  // from the third initial back to the first
  EXPECT_EQ(hiscore_edit_cursor, 0);
  EXPECT_EQ(hiscore_edit_letter, 'C');
  press(VK_LEFT);
  EXPECT_EQ(hiscore_edit_cursor, 2);
  EXPECT_STREQ(hiscore_table.rows[1].initials, "CZA");
  EXPECT_TRUE(take_sounds().empty());

  frames_with({VK_RETURN});
  EXPECT_EQ(read_file(HISCORE_FILE), "TOP 5000\nCZA 500\n" + empty_lines(8));
  EXPECT_EQ(take_sounds(), (Sounds{"connect.wav", "startup.wav"}));
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(game_score, 0);
  EXPECT_EQ(game_lives, LIVES_AT_START);
  EXPECT_EQ(hiscore_edit_row, -1);
}

TEST_F(GameFlow, InitialsEntryWithoutARowTouchesNoRowAndSavesTheTableUnchanged) {
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "XYZ " + std::to_string(9000 - i) + "\n";
  write_file(HISCORE_FILE, ten);
  lose_last_life(50);
  run_frames(1);
  ASSERT_EQ(game_phase, PHASE_HISCORE_ENTRY);
  ASSERT_EQ(hiscore_edit_row, -1);
  for (int32_t vk : {VK_UP, VK_RIGHT, VK_LEFT, VK_LEFT}) press(vk);
  EXPECT_EQ(hiscore_edit_cursor, 2);
  EXPECT_EQ(hiscore_edit_letter, 'B');
  frames_with({VK_RETURN});
  EXPECT_EQ(read_file(HISCORE_FILE), ten);
}

TEST_F(GameFlow, GameWithoutPointsStaysAtGameOverUntilEnter) {
  game_level = 3;
  lose_last_life(0);
  EXPECT_EQ(take_sounds(), (Sounds{"dead.wav", "shutdown.wav", "disconnect.wav"}));
  run_frames(3);
  EXPECT_EQ(take_sounds(), (Sounds{"dying.wav"}));
  EXPECT_EQ(game_phase, PHASE_GAME_OVER);
  keep_frame("game_over");
  frames_with({VK_RETURN});
  EXPECT_EQ(take_sounds(), (Sounds{"connect.wav", "startup.wav"}));
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(game_level, 1);
  EXPECT_EQ(game_lives, LIVES_AT_START);
}

TEST_F(GameFlow, LevelCompletesAtTheTargetPaysAtTheFiftiethFrameAndMovesOnAtTheHundredth) {
  set_counting_palette();
  claimed_cells = CLAIM_TARGET_CELLS - 1;
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  take_sounds();
  game_score = 700;
  claimed_cells = 150000;
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_LEVEL_COMPLETE);
  EXPECT_EQ(take_sounds(), (Sounds{"success.wav"}));
  run_frames(49);
  EXPECT_EQ(game_score, 700);
  run_frames(1);
  EXPECT_EQ(game_score, 3700);
  keep_frame("level_complete");
  const FakeFrame& f = fake_last_frame();
  EXPECT_LE(text_mismatch(f, "Bonus points: 1000 x 3 = 3000", 180, 250, COLOUR_GREY), 0);
  EXPECT_LE(text_mismatch(f, "Get ready for level 2!", 206, 280, COLOUR_WHITE), 0);
  run_frames(49);
  EXPECT_EQ(game_phase, PHASE_LEVEL_COMPLETE);
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(game_level, 2);
  EXPECT_EQ(claimed_cells, 0);
  EXPECT_EQ(game_score, 3700);

  claimed_cells = CLAIM_TARGET_CELLS;  // exactly the target, nothing beyond it
  run_frames(2);
  EXPECT_LE(text_mismatch(fake_last_frame(), "Sorry no bonus points!", 210, 250, COLOUR_GREY), 0);
  run_frames(99);
  EXPECT_EQ(game_level, 3);
  EXPECT_EQ(game_score, 3700);
}

TEST_F(GameFlow, LevelBonusIsPaidEvenWhileACaptureBonusWasDue) {
  qix_captured = 1;
  run_frames(70);
  claimed_cells = 150000;
  const int32_t score = game_score;
  run_frames(50);  // the completing frame and 49 of the phase
  EXPECT_EQ(game_score, score);
  run_frames(1);
  EXPECT_EQ(game_score, score + 3000);
}

TEST_F(GameFlow, PauseKeepsTheTimeLeftAndFreezesTheMarker) {
  int f1_polls = 0;
  fake_on_key_query([&](int32_t vk) {
    if (vk == VK_F1 && ++f1_polls == 5) fake_set_key(VK_F1, false);
  });
  fake_advance_ms(12000);
  run_frames(1);
  const int32_t before = time_left;
  f1_polls = 0;
  fake_set_key(VK_F1, true);
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_PAUSED);
  EXPECT_EQ(f1_polls, 5);  // waited for the key to come up
  keep_frame("paused");

  fake_advance_ms(20000);
  frames_with({VK_LEFT}, 3);
  EXPECT_EQ(player_x, PLAYER_START_X);
  f1_polls = 0;
  fake_set_key(VK_F1, true);
  run_frames(1);
  EXPECT_EQ(game_phase, PHASE_PLAYING);
  EXPECT_EQ(f1_polls, 5);
  run_frames(1);
  EXPECT_LE(std::abs(time_left - before), 1);
}

TEST_F(GameFlow, EscLeavesEveryPhaseAsItIsAndResumeComesBack) {
  for (int32_t phase : {PHASE_PLAYING, PHASE_PAUSED, PHASE_LIFE_LOST, PHASE_LEVEL_COMPLETE, PHASE_GAME_OVER,
                        PHASE_HISCORE_ENTRY}) {
    SCOPED_TRACE(phase);
    game_lives = 3;
    game_phase = phase;
    phase_frames = 0;
    phase_announced = phase == PHASE_GAME_OVER;
    screen_state = SCREEN_GAME;
    frames_with({VK_ESCAPE});
    EXPECT_EQ(screen_state, SCREEN_MENU);
    EXPECT_EQ(menu_frames, 1);
    screen_state = SCREEN_GAME;  // "Resume"
    run_frames(2);
    EXPECT_EQ(game_phase, phase);
  }
}

TEST_F(GameFlow, CapturedQixPaysLevelTimesTenThousandAHundredFramesLaterAndReappears) {
  game_level = 2;
  qix_captured = 1;
  run_frames(99);
  EXPECT_EQ(game_score, 0);
  keep_frame("qix_captured");
  run_frames(1);
  EXPECT_EQ(game_score, 20000);
  EXPECT_EQ(qix_captured, 0);
  // Placed anew: the older part of its trail is still all the one new line.
  for (int k = 3; k < QIX_TRAIL_LENGTH; ++k) EXPECT_EQ(qix_slots[0].x1[k], qix_slots[0].x1[2]);
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
  display_back->dc_held = 1;  // a device context is out: no lock can be had
  game_run_frame();
  display_back->dc_held = 0;
  for (int k = 2; k < QIX_TRAIL_LENGTH; ++k) EXPECT_EQ(qix_slots[0].x1[k], before.x1[k - 1]);
  EXPECT_NE(before.x1[5], before.x1[1]);
}

}  // namespace
