// The program's own actions (mute, volume, screenshot, full screen): taken once per press from
// every source of input together, keyboard, controllers and touch alike.
#pragma once
#include <cstdint>

#include "platform/common/actions.h"

// The program's actions.
constexpr ActionMask PROGRAM_ACTIONS = action_bit(ACTION_MUTE) | action_bit(ACTION_VOLUME_DOWN) |
                                       action_bit(ACTION_VOLUME_UP) | action_bit(ACTION_SCREENSHOT) |
                                       action_bit(ACTION_FULLSCREEN);
constexpr int32_t VOLUME_STEP = 10;

struct ControlEdges {
  ActionMask held_before = 0;
};

// The program's actions that begin now: held now and not before, or pressed and let go again
// since the last look (tapped). held and tapped are the union of every source's masks.
ActionMask controls_begun(ControlEdges* edges, ActionMask held, ActionMask tapped);
// Carries out mute, the volume steps (with their notice; remembered) and the screenshot (taken
// at the next present). Returns what is left for the platform: ACTION_FULLSCREEN's bit.
ActionMask controls_apply(ActionMask begun, uint32_t now_ms);
// The notice of the current volume: "Volume 70 %", "Sound off" when muted or at 0.
void controls_notice_volume(uint32_t now_ms);
