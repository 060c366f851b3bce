// Program actions. Volume steps land on multiples of 10, so a volume set to 45 in the file
// steps to 50 or 40; a step while muted turns the sound back on.
#include "platform/common/controls.h"

#include <string>

#include "platform/common/notice.h"
#include "platform/common/screenshot.h"
#include "platform/common/settings.h"

ActionMask controls_begun(ControlEdges* edges, ActionMask held, ActionMask tapped) {
  held &= PROGRAM_ACTIONS;
  const ActionMask begun = ((held & ~edges->held_before) | tapped) & PROGRAM_ACTIONS;
  edges->held_before = held;
  return begun;
}

void controls_notice_volume(uint32_t now_ms) {
  const Settings& s = settings_now();
  notice_post(s.muted || s.volume == 0 ? std::string("Sound off") : "Volume " + std::to_string(s.volume) + " %",
              now_ms);
}

ActionMask controls_apply(ActionMask begun, uint32_t now_ms) {
  if (begun & action_bit(ACTION_MUTE)) {
    settings_set_muted(!settings_now().muted);
    controls_notice_volume(now_ms);
  }
  const bool down = (begun & action_bit(ACTION_VOLUME_DOWN)) != 0, up = (begun & action_bit(ACTION_VOLUME_UP)) != 0;
  if (down != up) {
    const int32_t v = settings_now().volume;
    const int32_t next = up ? (v / VOLUME_STEP + 1) * VOLUME_STEP : ((v + VOLUME_STEP - 1) / VOLUME_STEP - 1) * VOLUME_STEP;
    settings_set_muted(false);
    settings_set_volume(next);
    controls_notice_volume(now_ms);
  }
  if (begun & action_bit(ACTION_SCREENSHOT)) screenshot_request();
  return begun & action_bit(ACTION_FULLSCREEN);
}
