// Generates the application icons (resources/icons/tablewise-<size>.png): the Ace of spades as
// a white card with a black spade in the middle and a red heart in its top-left corner; from 48
// pixels on, the corner shows a black "A" above the heart and the bottom-right corner repeats
// it upside down. Every shape is drawn from geometry (circles, cones, line segments) with
// 8 x 8 supersampling, and the card's edges lie on whole pixels at every size, so the small
// icons stay sharp.
//
// The files are 8-bit RGBA PNGs written here with zlib (filter 0 on every row), so the same
// pixels always give the same file.
//
// Usage:
//   make_icons <dir>           write <dir>/tablewise-<size>.png for every size
//   make_icons --check <dir>   exit 1 unless every file there holds the pixels a fresh run draws
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::array<int, 8> IconSizes{16, 22, 24, 32, 48, 64, 128, 256};
constexpr int Samples = 8;  // per pixel, both ways

struct Colour {
    float r, g, b;
};

constexpr Colour CardWhite{1.0f, 1.0f, 1.0f};
constexpr Colour CardEdge{0.23f, 0.23f, 0.25f};
constexpr Colour SpadeBlack{0.07f, 0.07f, 0.08f};
constexpr Colour HeartRed{0.84f, 0.07f, 0.09f};

struct Vec {
    double x, y;
};

Vec operator-(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y};
}
double Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}
double Length(Vec a)
{
    return std::sqrt(Dot(a, a));
}

// The convex hull of a point (the apex) and a disk: a cone cut where it touches the disk.
bool InHull(Vec p, Vec apex, Vec centre, double radius)
{
    const Vec toPoint = p - apex;
    const Vec axis = centre - apex;
    if (Length(p - centre) <= radius)
        return true;
    const double d = Length(axis);
    const double cosHalf = std::sqrt(d * d - radius * radius) / d;
    const double along = Dot(toPoint, axis) / d;
    const double dist = Length(toPoint);
    return along >= dist * cosHalf && along <= d * cosHalf * cosHalf;
}

bool InTriangle(Vec p, Vec a, Vec b, Vec c)
{
    auto side = [](Vec p, Vec a, Vec b) {
        return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
    };
    const double s1 = side(p, a, b), s2 = side(p, b, c), s3 = side(p, c, a);
    return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
}

double SegmentDistance(Vec p, Vec a, Vec b)
{
    const Vec ab = b - a;
    const double t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0, 1.0);
    return Length(p - Vec{a.x + t * ab.x, a.y + t * ab.y});
}

// The shapes in their own unit: x and y from -1 to 1, y down.
bool InSpade(Vec p)
{
    const Vec apex{0.0, -1.0};
    if (InHull(p, apex, {-0.5, 0.22}, 0.5) || InHull(p, apex, {0.5, 0.22}, 0.5))
        return true;
    return InTriangle(p, {0.0, 0.1}, {-0.34, 1.0}, {0.34, 1.0});
}

bool InHeart(Vec p)
{
    const Vec apex{0.0, 1.0};
    return InHull(p, apex, {-0.5, -0.35}, 0.5) || InHull(p, apex, {0.5, -0.35}, 0.5);
}

bool InLetterA(Vec p)
{
    constexpr double half = 0.17;  // half the stroke width
    const Vec top{0.0, -0.84}, left{-0.72, 0.92}, right{0.72, 0.92};
    return SegmentDistance(p, top, left) <= half || SegmentDistance(p, top, right) <= half ||
           (std::abs(p.y - 0.38) <= half * 0.85 && std::abs(p.x) <= 0.5);
}

bool InRoundedRect(Vec p, double left, double top, double right, double bottom, double radius)
{
    if (p.x < left || p.x > right || p.y < top || p.y > bottom)
        return false;
    const double cx = std::clamp(p.x, left + radius, right - radius);
    const double cy = std::clamp(p.y, top + radius, bottom - radius);
    return Length(p - Vec{cx, cy}) <= radius;
}

// A picture in straight (not premultiplied) RGBA floats, composited layer by layer.
struct Canvas {
    int size;
    std::vector<float> rgba;

    explicit Canvas(int s) : size(s), rgba(static_cast<std::size_t>(s * s * 4), 0.0f) {}

    // Paints the colour over every pixel in proportion to the share of its samples inside.
    template <typename Inside> void Fill(const Colour& c, Inside inside)
    {
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                int hits = 0;
                for (int sy = 0; sy < Samples; ++sy)
                    for (int sx = 0; sx < Samples; ++sx)
                        hits += inside(Vec{x + (sx + 0.5) / Samples, y + (sy + 0.5) / Samples});
                if (hits == 0)
                    continue;
                const float a = static_cast<float>(hits) / (Samples * Samples);
                float* px = &rgba[static_cast<std::size_t>((y * size + x) * 4)];
                const float outA = a + px[3] * (1 - a);
                const std::array<float, 3> src{c.r, c.g, c.b};
                for (int k = 0; k < 3; ++k)
                    px[k] = (src[k] * a + px[k] * px[3] * (1 - a)) / outA;
                px[3] = outA;
            }
    }

    std::vector<std::uint8_t> Bytes() const
    {
        std::vector<std::uint8_t> out(rgba.size());
        std::transform(rgba.begin(), rgba.end(), out.begin(), [](float v) {
            return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
        });
        return out;
    }
};

// A shape of unit coordinates placed with its centre at (cx, cy), half as wide as `half`
// pixels; `flip` turns it upside down.
template <typename Shape>
auto Placed(Shape shape, double cx, double cy, double half, bool flip = false)
{
    return [=](Vec p) {
        Vec local{(p.x - cx) / half, (p.y - cy) / half};
        if (flip)
            local = {-local.x, -local.y};
        return shape(local);
    };
}

std::vector<std::uint8_t> DrawIcon(int size)
{
    Canvas canvas(size);
    const double s = size;
    const double mx = std::round(s * 0.14), my = std::round(s * 0.02);
    const double left = mx, right = s - mx, top = my, bottom = s - my;
    const double border = std::max(1.0, std::round(s / 48));
    const double radius = std::max(1.6, s * 0.075);
    canvas.Fill(CardEdge,
                [&](Vec p) { return InRoundedRect(p, left, top, right, bottom, radius); });
    canvas.Fill(CardWhite, [&](Vec p) {
        return InRoundedRect(p, left + border, top + border, right - border, bottom - border,
                             std::max(0.5, radius - border));
    });

    const bool indices = size >= 48;
    const double inner = left + border;  // the card's inside edge, left
    if (indices) {
        const double spadeHalf = s * 0.2;
        canvas.Fill(SpadeBlack, Placed(InSpade, s / 2, s / 2, spadeHalf));
        const double letterHalf = s * 0.065, heartHalf = s * 0.06;
        const double cx = inner + s * 0.085;
        const double letterY = top + border + s * 0.09, heartY = letterY + s * 0.13;
        canvas.Fill(SpadeBlack, Placed(InLetterA, cx, letterY, letterHalf));
        canvas.Fill(HeartRed, Placed(InHeart, cx, heartY, heartHalf));
        canvas.Fill(SpadeBlack, Placed(InLetterA, s - cx, s - letterY, letterHalf, true));
        canvas.Fill(HeartRed, Placed(InHeart, s - cx, s - heartY, heartHalf, true));
    } else {
        // Small icons: a big spade low in the card, the heart alone in the corner above it.
        // The spade's centre and width are whole pixels so its edges stay sharp.
        const double spadeHalf = std::round(s * 0.25);
        canvas.Fill(SpadeBlack, Placed(InSpade, s / 2, std::round(s * 0.62), spadeHalf));
        // The heart is an odd number of pixels wide, centred on a pixel, so its notch shows.
        const double heartHalf = std::round(s * 0.13) + 0.5;
        canvas.Fill(HeartRed, Placed(InHeart, inner + 1 + heartHalf,
                                     top + border + 0.5 + 0.85 * heartHalf, heartHalf));
    }
    return canvas.Bytes();
}

// ---------------------------------------------------------------------------------------------
// PNG

// The image data before compression: every row starts with filter type 0 (none).
std::vector<std::uint8_t> Scanlines(const std::vector<std::uint8_t>& rgba, int size)
{
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(size * (size * 4 + 1)));
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);
        const auto row = rgba.begin() + y * size * 4;
        raw.insert(raw.end(), row, row + size * 4);
    }
    return raw;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::uint32_t GetU32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

constexpr std::array<std::uint8_t, 8> PngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

void PutChunk(std::vector<std::uint8_t>& out, const char* type,
              const std::vector<std::uint8_t>& data)
{
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    PutU32(out, static_cast<std::uint32_t>(crc));
}

std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, int size)
{
    std::vector<std::uint8_t> png(PngSignature.begin(), PngSignature.end());
    std::vector<std::uint8_t> header;
    PutU32(header, static_cast<std::uint32_t>(size));
    PutU32(header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, filter, no interlace
    PutChunk(png, "IHDR", header);

    const std::vector<std::uint8_t> raw = Scanlines(rgba, size);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) !=
        Z_OK)
        throw std::runtime_error("zlib could not compress the image");
    packed.resize(packedSize);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

// The scanlines of a PNG that this program wrote (one size, RGBA, 8 bits, no interlace), or an
// empty vector when the file is anything else or damaged.
std::vector<std::uint8_t> DecodeOwnPng(const std::vector<std::uint8_t>& png, int size)
{
    if (png.size() < PngSignature.size() ||
        !std::equal(PngSignature.begin(), PngSignature.end(), png.begin()))
        return {};
    std::vector<std::uint8_t> packed;
    bool headerOk = false;
    for (std::size_t at = PngSignature.size(); at + 12 <= png.size();) {
        const std::uint32_t length = GetU32(&png[at]);
        if (at + 12 + length > png.size())
            return {};
        const std::uint8_t* type = &png[at + 4];
        const std::uint8_t* data = type + 4;
        if (crc32(0L, type, length + 4) != GetU32(data + length))
            return {};
        if (std::memcmp(type, "IHDR", 4) == 0)
            headerOk = length == 13 && GetU32(data) == std::uint32_t(size) &&
                       GetU32(data + 4) == std::uint32_t(size) && data[8] == 8 && data[9] == 6 &&
                       data[12] == 0;
        else if (std::memcmp(type, "IDAT", 4) == 0)
            packed.insert(packed.end(), data, data + length);
        at += 12 + length;
    }
    if (!headerOk)
        return {};
    uLongf rawSize = static_cast<uLongf>(size) * (size * 4 + 1);
    std::vector<std::uint8_t> raw(rawSize);
    if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        rawSize != raw.size())
        return {};
    return raw;
}

std::string IconPath(const std::string& dir, int size)
{
    return dir + "/tablewise-" + std::to_string(size) + ".png";
}

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Write(const std::string& dir)
{
    for (int size : IconSizes) {
        const std::vector<std::uint8_t> png = EncodePng(DrawIcon(size), size);
        std::ofstream out(IconPath(dir, size), std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()),
                  static_cast<std::streamsize>(png.size()));
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", IconPath(dir, size).c_str());
            return 1;
        }
    }
    return 0;
}

int Check(const std::string& dir)
{
    int failures = 0;
    for (int size : IconSizes) {
        const std::string path = IconPath(dir, size);
        const std::vector<std::uint8_t> raw = DecodeOwnPng(ReadFile(path), size);
        if (raw.empty() || raw != Scanlines(DrawIcon(size), size)) {
            std::fprintf(stderr, "%s differs from a fresh icon (run the `icons` target)\n",
                         path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 3 && std::strcmp(argv[1], "--check") == 0)
            return Check(argv[2]);
        if (argc == 2)
            return Write(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_icons: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: %s <dir>\n       %s --check <dir>\n", argv[0], argv[0]);
    return 2;
}
