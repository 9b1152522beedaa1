// Generates the card atlas bitmap that the program embeds (resources/card_atlas.dib).
//
// The atlas is 128 x 256 pixels of 32 x 32 cells, 4 columns by 8 rows, counted from the top:
//   row 0      club, diamond, heart, spade symbols (black, red, red, black on white)
//   rows 1..4  rank glyphs A 2 3 4 / 5 6 7 8 / 9 10 J Q / K, black on white
//   row 5      column 2: a face with a green dollar sign (the opponent plays),
//              column 3: a face with a red cross (the opponent sits out), both on black
// Every other cell is unread. Suits and ranks are rendered with FreeType from Liberation Sans
// Bold (found through fontconfig), the faces are drawn here with 16 x 16 supersampling. Every
// symbol keeps two pixels of plain background to its cell's edges, and every unread pixel takes
// the background of the nearest read cell (wrapping around the atlas, as GL_REPEAT does), so
// linear filtering at a cell's edge never pulls in a neighbour's colour.
//
// The output is a packed DIB: the 40-byte BITMAPINFOHEADER (128 wide, +256 high, 24 bits,
// uncompressed, no colour table) followed by the bottom-up BGR rows of 384 bytes: 98,344 bytes
// that are the same on every run with the same font and FreeType.
//
// Usage:
//   make_card_atlas <atlas.dib> [<viewable.bmp>]   write the atlas (and a .bmp file of it)
//   make_card_atlas --check <atlas.dib>           exit 1 unless the file equals a fresh atlas
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H
#include <fontconfig/fontconfig.h>

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
#include <type_traits>
#include <vector>

namespace {

constexpr int AtlasWidth = 128;
constexpr int AtlasHeight = 256;
constexpr int Cell = 32;
constexpr int Margin = 2;  // pixels of plain background between any ink and the cell's edge
constexpr int InfoHeaderSize = 40;
constexpr int RowBytes = AtlasWidth * 3;  // 384, already a multiple of 4
constexpr int PixelBytes = RowBytes * AtlasHeight;
constexpr int DibSize = InfoHeaderSize + PixelBytes;  // 98,344
constexpr int FileHeaderSize = 14;

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb White{255, 255, 255};
constexpr Rgb Black{0, 0, 0};
constexpr Rgb SuitRed{220, 0, 0};
constexpr Rgb FaceYellow{255, 204, 32};
constexpr Rgb FaceFeature{48, 28, 0};  // eyes and smile
constexpr Rgb DollarGreen{0, 200, 40};
constexpr Rgb CrossRed{230, 16, 16};

// The picture, top row first (the file stores it the other way round).
struct Atlas {
    std::vector<Rgb> pixels = std::vector<Rgb>(AtlasWidth * AtlasHeight, White);
    Rgb& at(int x, int y) { return pixels[static_cast<std::size_t>(y * AtlasWidth + x)]; }
};

// One read cell: where it is and what stands behind its symbol.
struct CellSlot {
    int column, row;
    Rgb background;
};

// ---------------------------------------------------------------------------------------------
// Fonts and outlines

// The path of Liberation Sans Bold. Throws when fontconfig answers with another family, since
// the committed atlas is made from that font and a substitute would silently change it.
std::string FindLiberationSansBold()
{
    if (!FcInit())
        throw std::runtime_error("fontconfig cannot be initialised");
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans:bold"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string file, family;
    int weight = 0;
    if (match) {
        FcChar8* value = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &value) == FcResultMatch)
            file = reinterpret_cast<const char*>(value);
        if (FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch)
            family = reinterpret_cast<const char*>(value);
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    FcFini();
    if (file.empty() || family != "Liberation Sans" || weight < FC_WEIGHT_BOLD)
        throw std::runtime_error("Liberation Sans Bold not found (install fonts-liberation2)");
    return file;
}

// A glyph's outline in font units, copied out of the face so that several can be held at once.
struct Glyph {
    std::vector<FT_Vector> points;
    std::vector<std::remove_pointer_t<decltype(FT_Outline::tags)>> tags;
    std::vector<std::remove_pointer_t<decltype(FT_Outline::contours)>> contours;
    int flags = 0;
    FT_BBox ink{};  // exact ink box, font units

    FT_Outline view(FT_Vector* placed)
    {
        FT_Outline o{};
        o.n_contours = static_cast<decltype(o.n_contours)>(contours.size());
        o.n_points = static_cast<decltype(o.n_points)>(points.size());
        o.points = placed;
        o.tags = tags.data();
        o.contours = contours.data();
        o.flags = flags;
        return o;
    }
    double width() const { return static_cast<double>(ink.xMax - ink.xMin); }
    double height() const { return static_cast<double>(ink.yMax - ink.yMin); }
};

class Font {
public:
    explicit Font(const std::string& path)
    {
        if (FT_Init_FreeType(&library_))
            throw std::runtime_error("FreeType cannot be initialised");
        if (FT_New_Face(library_, path.c_str(), 0, &face_))
            throw std::runtime_error("cannot open " + path);
    }
    ~Font()
    {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    FT_Library library() const { return library_; }

    // The unhinted outline of a character; throws if the font lacks it.
    Glyph load(char32_t code)
    {
        FT_UInt index = FT_Get_Char_Index(face_, code);
        if (index == 0 ||
            FT_Load_Glyph(face_, index,
                          FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) ||
            face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            throw std::runtime_error("the font has no outline for character " +
                                     std::to_string(static_cast<unsigned>(code)));
        const FT_Outline& o = face_->glyph->outline;
        Glyph g;
        g.points.assign(o.points, o.points + o.n_points);
        g.tags.assign(o.tags, o.tags + o.n_points);
        g.contours.assign(o.contours, o.contours + o.n_contours);
        g.flags = o.flags;
        FT_Outline copy = g.view(g.points.data());
        FT_Outline_Get_BBox(&copy, &g.ink);
        return g;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// Antialiased coverage of a square area, top row first, 0 (none) to 255 (full).
struct Coverage {
    int size;
    std::vector<std::uint8_t> values;
    explicit Coverage(int n) : size(n), values(static_cast<std::size_t>(n * n), 0) {}
    std::uint8_t at(int x, int y) const { return values[static_cast<std::size_t>(y * size + x)]; }
};

void AddSpans(int y, int count, const FT_Span* spans, void* user)
{
    Coverage& c = *static_cast<Coverage*>(user);
    const int row = c.size - 1 - y;  // FreeType counts rows upwards
    for (int i = 0; i < count; ++i)
        for (int x = spans[i].x; x < spans[i].x + spans[i].len; ++x) {
            std::uint8_t& v = c.values[static_cast<std::size_t>(row * c.size + x)];
            v = std::max(v, spans[i].coverage);  // overlapping glyphs do not add up
        }
}

// Renders the glyph scaled by (sx, sy) pixels per font unit and shifted by (dx, dy) pixels,
// y upwards from the area's bottom-left corner, into the coverage.
void Render(FT_Library library, Glyph& g, double sx, double sy, double dx, double dy,
            Coverage& coverage)
{
    std::vector<FT_Vector> placed(g.points.size());
    for (std::size_t i = 0; i < placed.size(); ++i) {  // to 26.6 fixed point
        placed[i].x = std::lround((static_cast<double>(g.points[i].x) * sx + dx) * 64.0);
        placed[i].y = std::lround((static_cast<double>(g.points[i].y) * sy + dy) * 64.0);
    }
    FT_Outline outline = g.view(placed.data());
    FT_Raster_Params params{};
    params.source = &outline;
    params.flags = FT_RASTER_FLAG_AA | FT_RASTER_FLAG_DIRECT | FT_RASTER_FLAG_CLIP;
    params.gray_spans = AddSpans;
    params.user = &coverage;
    params.clip_box = {0, 0, coverage.size, coverage.size};
    if (FT_Outline_Render(library, &outline, &params))
        throw std::runtime_error("FreeType cannot render an outline");
}

// Throws if any coverage lies within the margin of the cell's edges.
void CheckMargin(const Coverage& c, const char* what)
{
    for (int y = 0; y < c.size; ++y)
        for (int x = 0; x < c.size; ++x) {
            bool edge = x < Margin || y < Margin || x >= c.size - Margin || y >= c.size - Margin;
            if (edge && c.at(x, y) != 0)
                throw std::runtime_error(std::string(what) + " reaches the cell's edge");
        }
}

std::uint8_t Blend(std::uint8_t back, std::uint8_t ink, int coverage)
{
    return static_cast<std::uint8_t>((back * (255 - coverage) + ink * coverage + 127) / 255);
}

void PaintCell(Atlas& atlas, int column, int row, const Coverage& c, Rgb back, Rgb ink)
{
    for (int y = 0; y < Cell; ++y)
        for (int x = 0; x < Cell; ++x) {
            int k = c.at(x, y);
            atlas.at(column * Cell + x, row * Cell + y) = {
                Blend(back.r, ink.r, k), Blend(back.g, ink.g, k), Blend(back.b, ink.b, k)};
        }
}

// ---------------------------------------------------------------------------------------------
// Suits and ranks

// The four suits at one common scale, the largest ink filling the cell less its margins; each
// centred on its own ink box.
void DrawSuits(Font& font, Atlas& atlas)
{
    const char32_t codes[4] = {U'\u2663', U'\u2666', U'\u2665', U'\u2660'};  // ♣ ♦ ♥ ♠
    const Rgb inks[4] = {Black, SuitRed, SuitRed, Black};
    std::vector<Glyph> glyphs;
    double largest = 0;
    for (char32_t code : codes) {
        glyphs.push_back(font.load(code));
        largest = std::max({largest, glyphs.back().width(), glyphs.back().height()});
    }
    const double scale = (Cell - 2 * Margin - 2) / largest;  // 26 pixels
    for (int s = 0; s < 4; ++s) {
        Glyph& g = glyphs[static_cast<std::size_t>(s)];
        Coverage c(Cell);
        double dx = (Cell - g.width() * scale) / 2 - static_cast<double>(g.ink.xMin) * scale;
        double dy = (Cell - g.height() * scale) / 2 - static_cast<double>(g.ink.yMin) * scale;
        Render(font.library(), g, scale, scale, dx, dy, c);
        CheckMargin(c, "a suit symbol");
        PaintCell(atlas, s, 0, c, White, inks[s]);
    }
}

// The thirteen ranks, capitals 22 pixels high on one baseline that centres the cap height in
// the cell, each glyph centred horizontally on its ink. A glyph that would reach into the margin
// on that baseline (the Q with its tail) is centred on its ink box instead, and made smaller if
// it still does not fit. "10" is its two digits with a clear gap, narrowed to fit the cell.
void DrawRanks(Font& font, Atlas& atlas)
{
    const double capHeight = 22.0;
    const double scale = capHeight / font.load(U'H').height();
    const double baseline = (Cell - capHeight) / 2;
    const double room = Cell - 2 * Margin - 1;  // ink box size that leaves the margin untouched
    const char32_t singles[13] = {U'A', U'2', U'3', U'4', U'5', U'6', U'7',
                                  U'8', U'9', 0,    U'J', U'Q', U'K'};
    for (int i = 0; i < 13; ++i) {
        Coverage c(Cell);
        if (singles[i] != 0) {
            Glyph g = font.load(singles[i]);
            double s = std::min({scale, room / g.width(), room / g.height()});
            double dx = (Cell - g.width() * s) / 2 - static_cast<double>(g.ink.xMin) * s;
            double dy = baseline;
            double bottom = static_cast<double>(g.ink.yMin) * s + dy;
            double top = static_cast<double>(g.ink.yMax) * s + dy;
            if (bottom < (Cell - room) / 2 || top > (Cell + room) / 2)
                dy = (Cell - g.height() * s) / 2 - static_cast<double>(g.ink.yMin) * s;
            Render(font.library(), g, s, s, dx, dy, c);
        } else {
            Glyph one = font.load(U'1');
            Glyph zero = font.load(U'0');
            const double gap = 2.5;  // keeps a column of pure white between the digits
            double sx = std::min(scale, (room - gap) / (one.width() + zero.width()));
            double left = (Cell - (one.width() + zero.width()) * sx - gap) / 2;
            double dx1 = left - static_cast<double>(one.ink.xMin) * sx;
            double dx0 = left + one.width() * sx + gap - static_cast<double>(zero.ink.xMin) * sx;
            Render(font.library(), one, sx, scale, dx1, baseline, c);
            Render(font.library(), zero, sx, scale, dx0, baseline, c);
        }
        CheckMargin(c, "a rank glyph");
        PaintCell(atlas, i % 4, 1 + i / 4, c, White, Black);
    }
}

// ---------------------------------------------------------------------------------------------
// Player faces

// Cell coordinates in pixels, x to the right and y downwards, (0, 0) the cell's top-left corner.
struct Point {
    double x, y;
};

bool InEllipse(Point p, Point centre, double rx, double ry)
{
    double dx = (p.x - centre.x) / rx, dy = (p.y - centre.y) / ry;
    return dx * dx + dy * dy <= 1.0;
}

// Within half a stroke width of the segment from a to b (a stroke with round ends).
bool OnStroke(Point p, Point a, Point b, double halfWidth)
{
    double vx = b.x - a.x, vy = b.y - a.y;
    double t = std::clamp(((p.x - a.x) * vx + (p.y - a.y) * vy) / (vx * vx + vy * vy), 0.0, 1.0);
    double dx = p.x - (a.x + t * vx), dy = p.y - (a.y + t * vy);
    return dx * dx + dy * dy <= halfWidth * halfWidth;
}

constexpr int Supersample = 16;  // per axis: 256 samples a pixel
constexpr Point FaceCentre{13.5, 13.5};
constexpr double FaceRadius = 11.5;
constexpr Point BadgeCentre{22.5, 22.5};  // the mark's place, cut out of the face in black
constexpr double BadgeRadius = 9.0;

enum class Mark { Dollar, Cross };

// The colour of one sample of a face: a yellow disc with two eyes and a smile, and in its
// lower-right corner a black badge holding the mark.
Rgb FaceSample(Point p, Mark mark, const Coverage& dollar)
{
    if (InEllipse(p, BadgeCentre, BadgeRadius, BadgeRadius)) {
        if (mark == Mark::Cross) {
            const double r = 5.0, half = 2.0;
            Point c = BadgeCentre;
            if (OnStroke(p, {c.x - r, c.y - r}, {c.x + r, c.y + r}, half) ||
                OnStroke(p, {c.x + r, c.y - r}, {c.x - r, c.y + r}, half))
                return CrossRed;
            return Black;
        }
        int sx = static_cast<int>(p.x * Supersample), sy = static_cast<int>(p.y * Supersample);
        return dollar.at(sx, sy) >= 128 ? DollarGreen : Black;
    }
    if (!InEllipse(p, FaceCentre, FaceRadius, FaceRadius))
        return Black;
    Point c = FaceCentre;
    if (InEllipse(p, {c.x - 4.3, c.y - 4.0}, 1.7, 2.5) ||
        InEllipse(p, {c.x + 3.1, c.y - 4.0}, 1.7, 2.5))
        return FaceFeature;
    double dx = p.x - (c.x - 0.6), dy = p.y - (c.y - 1.2);
    double d = std::sqrt(dx * dx + dy * dy);
    if (d >= 4.8 && d <= 6.6 && dy >= 2.2)  // the lower part of a ring
        return FaceFeature;
    return FaceYellow;
}

// Both faces; the dollar sign comes from the font, rendered at the supersampled resolution.
void DrawFaces(Font& font, Atlas& atlas)
{
    const int size = Cell * Supersample;
    Coverage dollar(size);
    Glyph g = font.load(U'$');
    const double height = 14.0 * Supersample;
    const double scale = height / g.height();
    // BadgeCentre is y-down; FreeType wants y up from the bottom of the area.
    double dx =
        BadgeCentre.x * Supersample - (static_cast<double>(g.ink.xMin) + g.width() / 2) * scale;
    double dy = (Cell - BadgeCentre.y) * Supersample -
                (static_cast<double>(g.ink.yMin) + g.height() / 2) * scale;
    Render(font.library(), g, scale, scale, dx, dy, dollar);

    const Mark marks[2] = {Mark::Dollar, Mark::Cross};
    for (int m = 0; m < 2; ++m) {
        Coverage edge(Cell);  // only to check the margin: anything not black counts as ink
        for (int y = 0; y < Cell; ++y)
            for (int x = 0; x < Cell; ++x) {
                int sum[3] = {0, 0, 0};
                for (int j = 0; j < Supersample; ++j)
                    for (int i = 0; i < Supersample; ++i) {
                        Point p{x + (i + 0.5) / Supersample, y + (j + 0.5) / Supersample};
                        Rgb s = FaceSample(p, marks[m], dollar);
                        sum[0] += s.r;
                        sum[1] += s.g;
                        sum[2] += s.b;
                    }
                const int n = Supersample * Supersample;
                Rgb px{static_cast<std::uint8_t>((sum[0] + n / 2) / n),
                       static_cast<std::uint8_t>((sum[1] + n / 2) / n),
                       static_cast<std::uint8_t>((sum[2] + n / 2) / n)};
                atlas.at((2 + m) * Cell + x, 5 * Cell + y) = px;
                edge.values[static_cast<std::size_t>(y * Cell + x)] = px == Black ? 0 : 255;
            }
        CheckMargin(edge, "a player face");
    }
}

// ---------------------------------------------------------------------------------------------
// Unread cells and output

// Squared distance from the centre of pixel (x, y) to the cell, measured around the atlas.
double WrappedDistance(int x, int y, const CellSlot& cell)
{
    auto axis = [](double p, int start, int length, int period) {
        double best = 1e9;
        for (int shift = -period; shift <= period; shift += period) {
            double lo = start + shift, hi = start + shift + length;
            best = std::min(best, p < lo ? lo - p : p > hi ? p - hi : 0.0);
        }
        return best;
    };
    double dx = axis(x + 0.5, cell.column * Cell, Cell, AtlasWidth);
    double dy = axis(y + 0.5, cell.row * Cell, Cell, AtlasHeight);
    return dx * dx + dy * dy;
}

// Gives every pixel of an unread cell the background of the nearest read cell (the first in
// order on a tie). O(pixels x read cells), a few hundred thousand steps.
void FillUnreadCells(Atlas& atlas, const std::vector<CellSlot>& read)
{
    for (int y = 0; y < AtlasHeight; ++y)
        for (int x = 0; x < AtlasWidth; ++x) {
            auto owner = std::find_if(read.begin(), read.end(), [&](const CellSlot& c) {
                return c.column == x / Cell && c.row == y / Cell;
            });
            if (owner != read.end())
                continue;
            const CellSlot* nearest = &read.front();
            for (const CellSlot& c : read)
                if (WrappedDistance(x, y, c) < WrappedDistance(x, y, *nearest))
                    nearest = &c;
            atlas.at(x, y) = nearest->background;
        }
}

void Put16(std::vector<std::uint8_t>& out, int v)
{
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::int64_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

// The packed DIB: BITMAPINFOHEADER, then the rows bottom-up, each pixel blue, green, red.
std::vector<std::uint8_t> EncodeDib(Atlas& atlas)
{
    std::vector<std::uint8_t> out;
    out.reserve(DibSize);
    Put32(out, InfoHeaderSize);  // biSize
    Put32(out, AtlasWidth);      // biWidth
    Put32(out, AtlasHeight);     // biHeight, positive: bottom-up
    Put16(out, 1);               // biPlanes
    Put16(out, 24);              // biBitCount
    Put32(out, 0);               // biCompression: BI_RGB
    Put32(out, PixelBytes);      // biSizeImage
    Put32(out, 2835);            // biXPelsPerMeter (72 dpi)
    Put32(out, 2835);            // biYPelsPerMeter
    Put32(out, 0);               // biClrUsed: no colour table
    Put32(out, 0);               // biClrImportant
    for (int y = AtlasHeight - 1; y >= 0; --y)
        for (int x = 0; x < AtlasWidth; ++x) {
            Rgb p = atlas.at(x, y);
            out.insert(out.end(), {p.b, p.g, p.r});
        }
    return out;
}

std::vector<std::uint8_t> MakeAtlas()
{
    Font font(FindLiberationSansBold());
    Atlas atlas;
    DrawSuits(font, atlas);
    DrawRanks(font, atlas);
    DrawFaces(font, atlas);
    std::vector<CellSlot> read;
    for (int i = 0; i < 17; ++i)
        read.push_back({i % 4, i / 4, White});  // suits and ranks: rows 0..3 and the K
    read.push_back({2, 5, Black});
    read.push_back({3, 5, Black});
    FillUnreadCells(atlas, read);
    return EncodeDib(atlas);
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

// The same DIB behind a BITMAPFILEHEADER, so that image viewers open it.
std::vector<std::uint8_t> AsBmpFile(const std::vector<std::uint8_t>& dib)
{
    std::vector<std::uint8_t> out{'B', 'M'};
    Put32(out, FileHeaderSize + static_cast<std::int64_t>(dib.size()));
    Put32(out, 0);                                // two reserved words
    Put32(out, FileHeaderSize + InfoHeaderSize);  // offset of the pixels
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

int Check(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::uint8_t> fresh = MakeAtlas();
    if (committed == fresh) {
        std::printf("%s matches the generated atlas\n", path.c_str());
        return 0;
    }
    auto diff = std::mismatch(committed.begin(), committed.end(), fresh.begin(), fresh.end());
    std::fprintf(stderr,
                 "%s (%zu bytes) differs from the generated atlas (%zu bytes) at byte %zu\n",
                 path.c_str(), committed.size(), fresh.size(),
                 static_cast<std::size_t>(diff.first - committed.begin()));
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 3 && std::strcmp(argv[1], "--check") == 0)
            return Check(argv[2]);
        if (argc < 2 || argc > 3 || argv[1][0] == '-') {
            std::fprintf(stderr,
                         "usage: %s <atlas.dib> [<viewable.bmp>]\n"
                         "       %s --check <atlas.dib>\n",
                         argv[0], argv[0]);
            return 2;
        }
        std::vector<std::uint8_t> dib = MakeAtlas();
        WriteFile(argv[1], dib);
        if (argc == 3)
            WriteFile(argv[2], AsBmpFile(dib));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_card_atlas: %s\n", e.what());
        return 1;
    }
}
