// The program's short notices ("Volume 70 %", "Sound off", a screenshot's name): a small picture
// of the text from the glyph table, shown for a moment over the presented picture. The platform
// draws it outside the game's 8-bit frame, so frames, demos and goldens never see it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// How long a notice shows.
constexpr uint32_t NOTICE_MS = 1500;
// Where it stands on the 640x480 picture (its top left corner), before the picture is enlarged.
constexpr int32_t NOTICE_X = 12, NOTICE_Y = 12;

// Pixels 0xAARRGGBB, straight alpha, rows top first.
struct NoticeImage {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> argb;
};

// The text in white on a dark, partly see-through box. Empty (0 x 0) without a glyph table.
NoticeImage notice_render(const std::string& text);

// Shows text from now_ms on for NOTICE_MS, in place of any notice showing.
void notice_post(const std::string& text, uint32_t now_ms);
// The notice to draw at now_ms; null when none shows.
const NoticeImage* notice_at(uint32_t now_ms);
// The text of the notice posted last ("" none), for tests and logs.
const std::string& notice_text();
// Changes whenever a notice comes or goes, so the presenter knows to draw the picture again.
uint32_t notice_serial(uint32_t now_ms);
// No notice (tests).
void notice_reset();
