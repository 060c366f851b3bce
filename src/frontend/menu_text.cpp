// The two information lines that scroll along the bottom of the menu.
#include <cstring>

#include "frontend/frontend.h"

namespace {

constexpr size_t INTRO_LENGTH = 779;
constexpr size_t CREDITS_LENGTH = 269;

const char* const INTRO_PIECES[10] = {
    "Welcome to Zorvane!",
    "                ",
    "Zorvane is a territory-claiming arcade game: cut the dark field apart with your stix and "
    "uncover the starry sky beneath, while the QIX, the Sparx and the Fuse do their best to stop "
    "you. ",
    "We made it because we spent too many coins on this kind of game in smoky arcades long ago, "
    "and wanted one we could play late at night without running out of change.",
    "                ",
    "We hope you enjoy playing Zorvane as much as we enjoyed making it! ",
    "Zorvane was written by Quarrel Forge in the winter of 1998, on two borrowed computers.",
    "                ",
    "If you have comments, ideas, bug reports or hi-scores to boast about, please write to us: "
    "every letter is read. ",
    "And if you liked this game, look out for the other games from Quarrel Forge: more are on the "
    "way!",
};

const char* const CREDITS_OPENING =
    "      Quarrel Forge would like to thank the following people for support ";
const char* const CREDITS_NAMES =
    "and inspiration: Ada Brennick, Tomas Vell, Marit Osgood, Jonah Pike, Elsie Quarn, "
    "Ruben Sallow, Nadia Ferrow, Oskar Lind-Hale, Ivo Rey, the night shift at the Copper Lamp "
    "arcade, and our families.";

char intro_line[INTRO_LENGTH + 1];
char credits_line[CREDITS_LENGTH + 1];

// Appends as much of piece as fits; the buffers are sized for the finished lines.
void append(char* line, size_t capacity, const char* piece) {
  size_t used = std::strlen(line);
  size_t room = capacity - 1 - used;
  size_t n = std::strlen(piece);
  if (n > room) n = room;
  std::memcpy(line + used, piece, n);
  line[used + n] = '\0';
}

}  // namespace

// Both lines are joined anew whenever they are asked for, once per menu frame.
const char* menu_intro_line() {
  intro_line[0] = '\0';
  for (const char* piece : INTRO_PIECES) append(intro_line, sizeof intro_line, piece);
  return intro_line;
}

const char* menu_credits_line() {
  credits_line[0] = '\0';
  append(credits_line, sizeof credits_line, CREDITS_OPENING);
  append(credits_line, sizeof credits_line, CREDITS_NAMES);
  return credits_line;
}
