// Draws the application icon and writes it as lumeno.ico (16, 24, 32, 48 and
// 256 pixels). Plain C++17; run by resources/make-icon.sh, which rewrites the
// committed resources/lumeno.ico.
//
// The picture: a rounded teal square holding the program's own breathing
// bar, a white capsule filled from below with a pale green gradient. Each
// size is drawn afresh from the shapes (8 x 8 samples per pixel), not scaled
// down from the large one, so the small sizes stay crisp. The small sizes are
// 32-bit bitmaps, the 256-pixel one a PNG.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using TBytes = std::vector<std::uint8_t>;

struct TRgba {
  double r, g, b, a;
};

TRgba Mix(const TRgba& x, const TRgba& y, double t) {
  return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t, x.a + (y.a - x.a) * t};
}

// Signed distance to a rounded box centred at (cx, cy) with half sizes hw, hh.
double RoundedBox(double x, double y, double cx, double cy, double hw, double hh, double radius) {
  const double qx = std::fabs(x - cx) - (hw - radius);
  const double qy = std::fabs(y - cy) - (hh - radius);
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

// Colour of the icon at (x, y) in units of the icon's side (0..1).
TRgba Sample(double x, double y, double pixel) {
  const TRgba top{0.20, 0.72, 0.76, 1.0}, bottom{0.08, 0.33, 0.52, 1.0};
  const TRgba none{0, 0, 0, 0};
  const double margin = std::max(0.03, pixel * 0.5);
  if (RoundedBox(x, y, 0.5, 0.5, 0.5 - margin, 0.5 - margin, 0.2) > 0) return none;
  TRgba colour = Mix(top, bottom, y);

  // The bar: a capsule with a white rim, at least one pixel wide.
  const double halfWidth = 0.16, halfHeight = 0.38;
  const double rim = std::max(0.04, pixel);
  const double d = RoundedBox(x, y, 0.5, 0.5, halfWidth, halfHeight, halfWidth);
  if (d > 0) return colour;
  const TRgba white{1, 1, 1, 1};
  if (d > -rim) return white;
  const double level = 0.5 + halfHeight - 0.62 * 2 * halfHeight;  // filled 62 % from below
  if (y < level) return Mix(colour, white, 0.18);
  const TRgba fillTop{0.86, 1.0, 0.92, 1.0}, fillBottom{0.47, 0.90, 0.67, 1.0};
  return Mix(fillTop, fillBottom, (y - level) / (0.5 + halfHeight - level));
}

// Premultiplied 8 x 8 supersampling; returns straight RGBA rows, top first.
TBytes Render(int size) {
  TBytes pixels(static_cast<std::size_t>(size) * size * 4);
  const int n = 8;
  const double pixel = 1.0 / size;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
          const TRgba c = Sample((px + (sx + 0.5) / n) * pixel, (py + (sy + 0.5) / n) * pixel, pixel);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      std::uint8_t* out = &pixels[(static_cast<std::size_t>(py) * size + px) * 4];
      const double alpha = a / (n * n);
      auto channel = [&](double premultiplied) {
        return static_cast<std::uint8_t>(a > 0 ? std::lround(std::clamp(premultiplied / a, 0.0, 1.0) * 255) : 0);
      };
      out[0] = channel(r);
      out[1] = channel(g);
      out[2] = channel(b);
      out[3] = static_cast<std::uint8_t>(std::lround(alpha * 255));
    }
  }
  return pixels;
}

void Put16(TBytes& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(TBytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put32Be(TBytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// An icon bitmap: BITMAPINFOHEADER, BGRA rows bottom first, then the AND mask.
TBytes IconBitmap(const TBytes& rgba, int size) {
  TBytes out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(size * 2));  // colour and mask
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * size + x) * 4];
      out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
  }
  const int maskStride = (size + 31) / 32 * 4;
  for (int y = size - 1; y >= 0; --y) {
    TBytes row(static_cast<std::size_t>(maskStride), 0);
    for (int x = 0; x < size; ++x)
      if (rgba[(static_cast<std::size_t>(y) * size + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

// --- PNG: deflate with the fixed Huffman code and a greedy LZ77 search. ---

class TBitWriter {
 public:
  explicit TBitWriter(TBytes& out) : out_(out) {}
  void Bits(std::uint32_t value, int count) {  // least significant bit first
    for (int i = 0; i < count; ++i) {
      byte_ |= ((value >> i) & 1u) << used_;
      if (++used_ == 8) Flush();
    }
  }
  void Code(std::uint32_t code, int length) {  // Huffman codes go most significant bit first
    for (int i = length - 1; i >= 0; --i) Bits((code >> i) & 1u, 1);
  }
  void Flush() {
    if (used_ == 0) return;
    out_.push_back(static_cast<std::uint8_t>(byte_));
    byte_ = 0;
    used_ = 0;
  }

 private:
  TBytes& out_;
  std::uint32_t byte_ = 0;
  int used_ = 0;
};

void LiteralOrLength(TBitWriter& bits, int symbol) {
  if (symbol < 144) bits.Code(0x30 + symbol, 8);
  else if (symbol < 256) bits.Code(0x190 + symbol - 144, 9);
  else if (symbol < 280) bits.Code(symbol - 256, 7);
  else bits.Code(0xC0 + symbol - 280, 8);
}

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistBase = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                           33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                           1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                            6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

void Match(TBitWriter& bits, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length) --l;
  LiteralOrLength(bits, 257 + l);
  bits.Bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  int d = 29;
  while (kDistBase[d] > distance) --d;
  bits.Code(static_cast<std::uint32_t>(d), 5);
  bits.Bits(static_cast<std::uint32_t>(distance - kDistBase[d]), kDistExtra[d]);
}

TBytes Deflate(const TBytes& data) {
  TBytes out;
  TBitWriter bits(out);
  bits.Bits(1, 1);  // final block
  bits.Bits(1, 2);  // fixed Huffman codes
  const std::size_t window = 32768;
  std::vector<std::int64_t> head(1 << 15, -1), previous(data.size(), -1);
  auto hash = [&](std::size_t i) {
    return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & 0x7FFF;
  };
  std::size_t i = 0;
  auto insert = [&](std::size_t at) {
    if (at + 2 >= data.size()) return;
    const int h = hash(at);
    previous[at] = head[h];
    head[h] = static_cast<std::int64_t>(at);
  };
  while (i < data.size()) {
    int bestLength = 0;
    std::size_t bestDistance = 0;
    if (i + 2 < data.size()) {
      int chain = 64;
      for (std::int64_t candidate = head[hash(i)]; candidate >= 0 && chain-- > 0;
           candidate = previous[static_cast<std::size_t>(candidate)]) {
        const std::size_t from = static_cast<std::size_t>(candidate);
        if (i - from > window) break;
        int length = 0;
        while (length < 258 && i + length < data.size() && data[from + length] == data[i + length]) ++length;
        if (length > bestLength) {
          bestLength = length;
          bestDistance = i - from;
        }
      }
    }
    if (bestLength >= 3) {
      Match(bits, bestLength, static_cast<int>(bestDistance));
      for (int k = 0; k < bestLength; ++k) insert(i + k);
      i += static_cast<std::size_t>(bestLength);
    } else {
      LiteralOrLength(bits, data[i]);
      insert(i);
      ++i;
    }
  }
  LiteralOrLength(bits, 256);
  bits.Flush();
  return out;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::uint32_t Adler32(const TBytes& data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

void Chunk(TBytes& png, const char* type, const TBytes& body) {
  Put32Be(png, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), body.begin(), body.end());
  Put32Be(png, Crc32(&png[start], png.size() - start));
}

int Paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

TBytes Png(const TBytes& rgba, int size) {
  // Each row gets the filter that leaves the smallest residues.
  const std::size_t stride = static_cast<std::size_t>(size) * 4;
  TBytes raw;
  TBytes zero(stride, 0);
  for (int y = 0; y < size; ++y) {
    const std::uint8_t* row = &rgba[y * stride];
    const std::uint8_t* up = y ? &rgba[(y - 1) * stride] : zero.data();
    TBytes best;
    long bestCost = -1;
    for (int filter = 0; filter < 5; ++filter) {
      TBytes line(1, static_cast<std::uint8_t>(filter));
      long cost = 0;
      for (std::size_t x = 0; x < stride; ++x) {
        const int a = x >= 4 ? row[x - 4] : 0, b = up[x], c = x >= 4 ? up[x - 4] : 0;
        const int predicted = filter == 0 ? 0 : filter == 1 ? a : filter == 2 ? b : filter == 3 ? (a + b) / 2 : Paeth(a, b, c);
        const std::uint8_t residue = static_cast<std::uint8_t>(row[x] - predicted);
        line.push_back(residue);
        cost += residue < 128 ? residue : 256 - residue;
      }
      if (bestCost < 0 || cost < bestCost) {
        bestCost = cost;
        best = std::move(line);
      }
    }
    raw.insert(raw.end(), best.begin(), best.end());
  }
  TBytes png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  TBytes header;
  Put32Be(header, static_cast<std::uint32_t>(size));
  Put32Be(header, static_cast<std::uint32_t>(size));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
  Chunk(png, "IHDR", header);
  TBytes zlib = {0x78, 0x01};
  const TBytes deflated = Deflate(raw);
  zlib.insert(zlib.end(), deflated.begin(), deflated.end());
  Put32Be(zlib, Adler32(raw));
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icongen OUTPUT.ico\n");
    return 1;
  }
  const int sizes[] = {16, 24, 32, 48, 256};
  std::vector<TBytes> images;
  for (int size : sizes) {
    const TBytes rgba = Render(size);
    images.push_back(size >= 256 ? Png(rgba, size) : IconBitmap(rgba, size));
  }
  TBytes ico;
  Put16(ico, 0);
  Put16(ico, 1);  // icon
  Put16(ico, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    ico.push_back(static_cast<std::uint8_t>(sizes[i] & 0xFF));  // 0 means 256
    ico.push_back(static_cast<std::uint8_t>(sizes[i] & 0xFF));
    ico.push_back(0);
    ico.push_back(0);
    Put16(ico, 1);
    Put16(ico, 32);
    Put32(ico, static_cast<std::uint32_t>(images[i].size()));
    Put32(ico, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const TBytes& image : images) ico.insert(ico.end(), image.begin(), image.end());
  std::FILE* file = std::fopen(argv[1], "wb");
  if (!file) {
    std::fprintf(stderr, "icongen: cannot write %s\n", argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(ico.data(), 1, ico.size(), file) == ico.size();
  return std::fclose(file) == 0 && ok ? 0 : 1;
}
