// The text glyphs behind platform_glyph: the checked-in glyph table, read from the data folders
// on the first call and kept.
#pragma once

// Forgets the table read so far, so that the next platform_glyph reads it again from wherever
// the data folders then are (a fresh fake platform for each test starts here).
void glyphs_forget();
