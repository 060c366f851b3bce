// Copying the display and playlist chunks of one WAVE file into another being written.
#include <cstdlib>
#include <limits>

#include "sound/wave.h"

int32_t wav_copy_extra_chunks(RiffFile* source, RiffChunk* scratch, const RiffChunk* source_riff,
                              RiffFile* destination) {
  const int64_t first = static_cast<int64_t>(source_riff->dwDataOffset) + 4;
  int32_t result = 0;
  if (riff_seek(source, first) < 0) {
    result = WAV_ERR_READ_FAILED;
  } else {
    // A chunk that claims to end beyond the RIFF's contents ends the walk: what follows it
    // cannot be told apart from its own bytes.
    for (;;) {
      *scratch = RiffChunk{};
      if (riff_descend(source, scratch, source_riff, 0) != 0 || (scratch->dwFlags & RIFF_CLAMPED)) break;
      if (scratch->ckid == riff_fourcc("DISP") || scratch->ckid == riff_fourcc("plst"))
        wav_copy_one_chunk(source, destination, scratch);
      if (riff_ascend(source, scratch) != 0) break;
    }
  }
  riff_seek(source, first);
  return result;
}

int32_t wav_copy_one_chunk(RiffFile* source, RiffFile* destination, const RiffChunk* chunk) {
  if (!source || !destination || !chunk) return 0;
  // A "RIFF"/"LIST" record stands behind its form type, which the new header writes itself.
  const bool form = chunk->ckid == riff_fourcc("RIFF") || chunk->ckid == riff_fourcc("LIST");
  if (form && chunk->cksize < 4) return 0;
  const uint32_t bytes = form ? chunk->cksize - 4 : chunk->cksize;
  // Never trust the record for more memory than the source file can fill.
  if (bytes > riff_size(source) || bytes > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return 0;
  uint8_t* block = static_cast<uint8_t*>(std::calloc(bytes > 0 ? bytes : 1, 1));
  if (!block) return 0;
  RiffChunk out;
  out.ckid = chunk->ckid;
  out.cksize = chunk->cksize;
  out.fccType = chunk->fccType;
  const int32_t n = static_cast<int32_t>(bytes);
  int32_t ok = riff_create_chunk(destination, &out, 0) == 0;
  ok = ok && riff_read(source, block, n) == n;
  ok = ok && riff_write(destination, block, n) == n;
  ok = ok && riff_ascend(destination, &out) == 0;
  std::free(block);
  return ok ? 1 : 0;
}
