// BMP files: the loader every picture comes through, and the 8-bit writer of the asset tool.
#include "display/bitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace {

// No picture of the game comes near these; a header that claims more is lying.
constexpr int64_t MAX_SIDE = 16384;
constexpr int64_t MAX_FILE_BYTES = 256LL * 1024 * 1024;

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t FILE_HEADER_BYTES = 14;
constexpr uint32_t INFO_HEADER_BYTES = 40;

uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
void put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

BITMAPFILEHEADER parse_file_header(const uint8_t* p) {
  return BITMAPFILEHEADER{get16(p), get32(p + 2), get16(p + 6), get16(p + 8), get32(p + 10)};
}

BITMAPINFOHEADER parse_info_header(const uint8_t* p) {
  BITMAPINFOHEADER h;
  h.biSize = get32(p);
  h.biWidth = static_cast<int32_t>(get32(p + 4));
  h.biHeight = static_cast<int32_t>(get32(p + 8));
  h.biPlanes = get16(p + 12);
  h.biBitCount = get16(p + 14);
  h.biCompression = get32(p + 16);
  h.biSizeImage = get32(p + 20);
  h.biXPelsPerMeter = static_cast<int32_t>(get32(p + 24));
  h.biYPelsPerMeter = static_cast<int32_t>(get32(p + 28));
  h.biClrUsed = get32(p + 32);
  h.biClrImportant = get32(p + 36);
  return h;
}

// The whole file in memory; false when it cannot be read or is too large to be a picture.
bool read_file(std::FILE* f, uint8_t** data, int64_t* size) {
  if (std::fseek(f, 0, SEEK_END) != 0) return false;
  const long end = std::ftell(f);
  if (end < 0 || end > MAX_FILE_BYTES || std::fseek(f, 0, SEEK_SET) != 0) return false;
  uint8_t* buffer = static_cast<uint8_t*>(std::malloc(end > 0 ? static_cast<size_t>(end) : 1));
  if (!buffer) return false;
  if (std::fread(buffer, 1, static_cast<size_t>(end), f) != static_cast<size_t>(end)) {
    std::free(buffer);
    return false;
  }
  *data = buffer;
  *size = end;
  return true;
}

// Where the pixel rows are and how they are laid out, once the file has been found consistent.
struct Layout {
  int64_t width, height;  // height positive
  bool top_down;
  int32_t bytes_per_pixel;
  int64_t stride;         // bytes per row in the file, padded to 4
  int64_t offset;         // of the first stored row
  int64_t palette_offset;
  int64_t palette_count;  // 8-bit only
};

// Checks every size the headers state against each other and against the file. Only BI_RGB
// files of 8, 16 or 24 bits are taken, and 16-bit BI_BITFIELDS files whose masks are the
// plain 5-5-5 layout (the same bytes as BI_RGB). bfSize, biPlanes and biClrUsed change
// nothing: writers get them wrong and the pixels can be found without them.
bool plan_layout(const BITMAPFILEHEADER& fh, const BITMAPINFOHEADER& ih, const uint8_t* data, int64_t file_size,
                 Layout* out) {
  Layout l{};
  if (ih.biSize < INFO_HEADER_BYTES || ih.biSize > 1024) return false;
  const int64_t header_end = FILE_HEADER_BYTES + static_cast<int64_t>(ih.biSize);
  if (header_end > file_size) return false;
  if (ih.biBitCount != 8 && ih.biBitCount != 16 && ih.biBitCount != 24) return false;

  int64_t masks_end = header_end;
  if (ih.biCompression == BI_BITFIELDS && ih.biBitCount == 16) {
    // The masks follow a 40-byte header, or sit inside a longer one.
    const int64_t masks_at = ih.biSize == INFO_HEADER_BYTES ? header_end : FILE_HEADER_BYTES + INFO_HEADER_BYTES;
    if (masks_at + 12 > file_size) return false;
    if (get32(data + masks_at) != 0x7C00 || get32(data + masks_at + 4) != 0x03E0 ||
        get32(data + masks_at + 8) != 0x001F)
      return false;
    if (ih.biSize == INFO_HEADER_BYTES) masks_end = header_end + 12;
  } else if (ih.biCompression != BI_RGB) {
    return false;
  }

  l.width = ih.biWidth;
  l.top_down = ih.biHeight < 0;
  l.height = l.top_down ? -static_cast<int64_t>(ih.biHeight) : ih.biHeight;
  if (l.width < 1 || l.width > MAX_SIDE || l.height < 1 || l.height > MAX_SIDE) return false;
  l.bytes_per_pixel = ih.biBitCount / 8;
  l.stride = (l.width * ih.biBitCount + 31) / 32 * 4;
  const int64_t needed = l.stride * l.height;
  if (ih.biSizeImage != 0 && ih.biSizeImage < needed) return false;
  const int64_t image_bytes = ih.biSizeImage != 0 ? ih.biSizeImage : needed;
  if (image_bytes > file_size - masks_end) return false;

  // Pixels where bfOffBits says when it points past the headers; a bfOffBits left unset
  // (pointing into the headers) means the last biSizeImage bytes of the file.
  if (fh.bfOffBits >= masks_end) {
    if (fh.bfOffBits + needed > file_size) return false;
    l.offset = fh.bfOffBits;
  } else {
    l.offset = file_size - image_bytes;
  }

  // The colour entries are whatever lies between the headers and the pixels, up to 256: a
  // writer may store fewer than biClrUsed promises (or fewer than 256 with biClrUsed 0).
  // Entries that are not there stay black; pixel bytes are never taken for colours.
  l.palette_offset = masks_end;
  l.palette_count = ih.biBitCount == 8 ? std::min<int64_t>(256, (l.offset - masks_end) / 4) : 0;
  *out = l;
  return true;
}

}  // namespace

// Refusals leave the record as it was, except that a file not starting with "BM" leaves the 14
// bytes it did start with in file_header. After a load biHeight is the positive row count
// (top-down files included) and biSizeImage the byte count of `pixels`, whose rows are
// biWidth * (biBitCount / 8) bytes, unpadded, top row first. 24-bit files become 16-bit 5-5-5.
int32_t bitmap_load(BitmapFile* bitmap, const char* file_name) {
  if (!bitmap || !file_name) return 0;
  // A picture's name is looked up in the data folders.
  const std::string path = platform_data_path(file_name);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return 0;
  uint8_t head[FILE_HEADER_BYTES];
  if (std::fread(head, 1, sizeof(head), f) != sizeof(head)) {
    std::fclose(f);
    return 0;
  }
  const BITMAPFILEHEADER fh = parse_file_header(head);
  if (fh.bfType != BITMAP_ID) {
    bitmap->file_header = fh;
    std::fclose(f);
    return 0;
  }
  uint8_t* data = nullptr;
  int64_t file_size = 0;
  const bool read = read_file(f, &data, &file_size);
  std::fclose(f);
  if (!read) return 0;

  Layout l;
  BITMAPINFOHEADER ih{};
  if (file_size < FILE_HEADER_BYTES + INFO_HEADER_BYTES) {
    std::free(data);
    return 0;
  }
  ih = parse_info_header(data + FILE_HEADER_BYTES);
  if (!plan_layout(fh, ih, data, file_size, &l)) {
    std::free(data);
    return 0;
  }

  // Output bytes per pixel: 8 and 16 bits stay, 24 bits become 16.
  const int64_t out_bpp = l.bytes_per_pixel == 1 ? 1 : 2;
  const int64_t out_row = l.width * out_bpp;
  const int64_t out_bytes = out_row * l.height;

  bitmap->file_header = fh;
  bitmap->info_header = ih;
  if (ih.biBitCount == 8) {
    std::memset(bitmap->palette, 0, sizeof(bitmap->palette));
    for (int64_t i = 0; i < 256; ++i) {
      PALETTEENTRY& e = bitmap->palette[i];
      if (i < l.palette_count) {
        const uint8_t* q = data + l.palette_offset + 4 * i;
        e.peRed = q[2];
        e.peGreen = q[1];
        e.peBlue = q[0];
      }
      e.peFlags = PC_NOCOLLAPSE;
    }
  }
  std::free(bitmap->pixels);
  bitmap->pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(out_bytes)));
  if (!bitmap->pixels) {
    std::free(data);
    return 0;
  }

  for (int64_t row = 0; row < l.height; ++row) {
    const uint8_t* in = data + l.offset + row * l.stride;
    const int64_t target_row = l.top_down ? row : l.height - 1 - row;
    uint8_t* out = bitmap->pixels + target_row * out_row;
    if (l.bytes_per_pixel != 3) {
      std::memcpy(out, in, static_cast<size_t>(out_row));
      continue;
    }
    for (int64_t x = 0; x < l.width; ++x) {
      const uint8_t blue = in[3 * x], green = in[3 * x + 1], red = in[3 * x + 2];
      put16(out + 2 * x, static_cast<uint32_t>((red >> 3) << 10 | (green >> 3) << 5 | (blue >> 3)));
    }
  }
  std::free(data);

  bitmap->info_header.biHeight = static_cast<int32_t>(l.height);
  bitmap->info_header.biBitCount = static_cast<uint16_t>(8 * out_bpp);
  bitmap->info_header.biSizeImage = static_cast<uint32_t>(out_bytes);
  return 1;
}

int32_t bitmap_unload(BitmapFile* bitmap) {
  if (!bitmap) return 0;
  if (bitmap->pixels) {
    std::free(bitmap->pixels);
    bitmap->pixels = nullptr;
  }
  return 1;
}

int32_t bitmap_flip_rows(uint8_t* buffer, int32_t bytes_per_row, int32_t rows) {
  if (!buffer || bytes_per_row < 0 || rows < 0) return 0;
  if (bytes_per_row == 0 || rows < 2) return 1;
  uint8_t* spare = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes_per_row)));
  if (!spare) return 0;
  const size_t n = static_cast<size_t>(bytes_per_row);
  for (int64_t top = 0, bottom = rows - 1; top < bottom; ++top, --bottom) {
    uint8_t* a = buffer + top * bytes_per_row;
    uint8_t* b = buffer + bottom * bytes_per_row;
    std::memcpy(spare, a, n);
    std::memcpy(a, b, n);
    std::memcpy(b, spare, n);
  }
  std::free(spare);
  return 1;
}

int32_t bitmap_save(const char* file_name, const uint8_t* pixels, int32_t width, int32_t height,
                    const PALETTEENTRY* palette) {
  if (!file_name || !pixels || !palette || width < 1 || height < 1 || width > MAX_SIDE || height > MAX_SIDE)
    return 0;
  const uint32_t stride = (static_cast<uint32_t>(width) + 3u) & ~3u;
  const uint32_t image_bytes = stride * static_cast<uint32_t>(height);
  const uint32_t offset = FILE_HEADER_BYTES + INFO_HEADER_BYTES + 1024;

  uint8_t head[FILE_HEADER_BYTES + INFO_HEADER_BYTES + 1024] = {};
  put16(head, BITMAP_ID);
  put32(head + 2, offset + image_bytes);
  put32(head + 10, offset);
  uint8_t* info = head + FILE_HEADER_BYTES;
  put32(info, INFO_HEADER_BYTES);
  put32(info + 4, static_cast<uint32_t>(width));
  put32(info + 8, static_cast<uint32_t>(height));
  put16(info + 12, 1);
  put16(info + 14, 8);
  put32(info + 16, BI_RGB);
  put32(info + 20, image_bytes);
  put32(info + 24, 2835);  // 72 dpi
  put32(info + 28, 2835);
  put32(info + 32, 256);
  for (int32_t i = 0; i < 256; ++i) {
    uint8_t* q = head + FILE_HEADER_BYTES + INFO_HEADER_BYTES + 4 * i;
    q[0] = palette[i].peBlue;
    q[1] = palette[i].peGreen;
    q[2] = palette[i].peRed;
    q[3] = 0;
  }

  std::FILE* f = std::fopen(file_name, "wb");
  if (!f) return 0;
  bool ok = std::fwrite(head, 1, sizeof(head), f) == sizeof(head);
  uint8_t* row = static_cast<uint8_t*>(std::calloc(stride, 1));
  ok = ok && row != nullptr;
  for (int32_t y = height - 1; ok && y >= 0; --y) {
    std::memcpy(row, pixels + static_cast<int64_t>(y) * width, static_cast<size_t>(width));
    ok = std::fwrite(row, 1, stride, f) == stride;
  }
  std::free(row);
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::remove(file_name);  // no half-written picture is left behind
  return ok ? 1 : 0;
}

int32_t bitmap_copy_rect(const BitmapFile* bitmap, int64_t column, int64_t row, int32_t width, int32_t height,
                         uint8_t* dst, int32_t dst_pitch) {
  if (!bitmap || !bitmap->pixels || bitmap->info_header.biBitCount != 8 || !dst) return 0;
  const int64_t pic_w = bitmap->info_header.biWidth, pic_h = bitmap->info_header.biHeight;
  if (pic_w < 1 || pic_h < 1 || width < 0 || height < 0 || dst_pitch < width) return 0;
  for (int32_t y = 0; y < height; ++y) std::memset(dst + static_cast<int64_t>(y) * dst_pitch, 0, static_cast<size_t>(width));
  // The part of the rectangle that lies inside the picture.
  const int64_t x0 = column < 0 ? 0 : column, y0 = row < 0 ? 0 : row;
  const int64_t x1 = column + width < pic_w ? column + width : pic_w;
  const int64_t y1 = row + height < pic_h ? row + height : pic_h;
  if (x1 <= x0 || y1 <= y0) return 1;
  for (int64_t y = y0; y < y1; ++y)
    std::memcpy(dst + (y - row) * dst_pitch + (x0 - column), bitmap->pixels + y * pic_w + x0,
                static_cast<size_t>(x1 - x0));
  return 1;
}
