// The opponents view: markers drawn from the roster, picked by selection mode, dragged and
// levelled with the mouse.
//
// Marker units: around a marker's centre the model-view matrix is scaled by (0.1, 0.13), so
// one unit is 5 % of the view's width and 6.5 % of its height. The icon spans -1..1 both ways,
// the name starts at (0.8, 0.3), the aggression frame spans u 1.2..2.4, v 0..-0.5 and the
// bluffing frame the same width at v -0.5..-1; a bar of level L runs from u 1.3 to 1.3 + L/10.
#include "opponents/opponents_view.h"

#include "app/state.h"
#include "render/gl_surface.h"
#include "render/outline_text.h"
#include "render/picking.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr float MarkerScaleX = 0.1f;
constexpr float MarkerScaleY = 0.13f;

// The parts of a marker, in marker units around its centre; drawing and picking both use them.
struct MarkerBox {
    float left, top, right, bottom;
};
constexpr MarkerBox IconBox{-1, 1, 1, -1};  // the icon, named by PickPlayer
constexpr MarkerBox AggressionFrame{1.2f, 0, 2.4f, -0.5f};
constexpr MarkerBox BluffingFrame{1.2f, -0.5f, 2.4f, -1};
constexpr float BarStart = 1.3f;  // a bar of level L runs from BarStart to BarStart + L * BarStep
constexpr float BarStep = 0.1f;
constexpr float NameX = 0.8f;  // the name's baseline starts here
constexpr float NameY = 0.3f;

const GlSurface& OpponentsSurface()
{
    return appState.opponentsArea.surface;
}

// A marker centre in normalised device coordinates (x and y count from the view's left and
// bottom edges).
float CentreX(const Player& player)
{
    const int width = std::max(OpponentsSurface().width, 1);
    return static_cast<float>(2.0 * player.x / width - 1.0);
}

float CentreY(const Player& player)
{
    const int height = std::max(OpponentsSurface().height, 1);
    return static_cast<float>(2.0 * player.y / height - 1.0);
}

void Quad(float left, float top, float right, float bottom, float z)
{
    glBegin(GL_QUADS);
    glVertex3f(left, top, z);
    glVertex3f(right, top, z);
    glVertex3f(right, bottom, z);
    glVertex3f(left, bottom, z);
    glEnd();
}

void Frame(const MarkerBox& box)
{
    glBegin(GL_LINE_LOOP);
    glVertex3f(box.left, box.top, -0.1f);
    glVertex3f(box.right, box.top, -0.1f);
    glVertex3f(box.right, box.bottom, -0.1f);
    glVertex3f(box.left, box.bottom, -0.1f);
    glEnd();
}

// A bar of `level` inside a frame.
void Bar(const MarkerBox& frame, int level)
{
    Quad(BarStart, frame.top, BarStart + static_cast<float>(level) * BarStep, frame.bottom, 0);
}

// Names a part of a player's marker for the pick under way.
void PickMarkerBox(std::uint32_t name, const Player& player, const MarkerBox& box)
{
    const float x = CentreX(player);
    const float y = CentreY(player);
    PickRectangle(name, x + MarkerScaleX * box.left, y + MarkerScaleY * box.bottom,
                  x + MarkerScaleX * box.right, y + MarkerScaleY * box.top);
}

}  // namespace

namespace {

// What the view showed in its last frame (see gl_surface.h): every marker's inputs in roster
// order, the hovered index, the surface and its font. Kept in place, so that recording a
// frame allocates nothing once the roster's size and names have been seen.
struct ShownMarker {
    std::string name;
    int x = 0;
    int y = 0;
    int aggression = 0;
    int bluffing = 0;
    bool playing = false;
};

struct OpponentsFrame {
    SurfaceStamp surface;
    std::uint32_t fontListBase = 0;
    int hoverPlayer = -1;
    std::vector<ShownMarker> markers;
};

OpponentsFrame lastOpponentsFrame;

std::uint32_t OpponentsFontListBase()
{
    return FontListBaseOf(OpponentsSurface().rc);
}

bool ShowsTheRosterNow(const OpponentsFrame& frame)
{
    const PlayerRoster& roster = appState.roster;
    if (frame.surface != StampOf(OpponentsSurface()) ||
        frame.fontListBase != OpponentsFontListBase() ||
        frame.hoverPlayer != appState.hoverPlayer ||
        frame.markers.size() != static_cast<std::size_t>(roster.count()))
        return false;
    for (int i = 0; i < roster.count(); ++i) {
        const Player& p = roster.at(i);
        const ShownMarker& m = frame.markers[static_cast<std::size_t>(i)];
        if (m.x != p.x || m.y != p.y || m.aggression != p.aggression || m.bluffing != p.bluffing ||
            m.playing != p.playing || m.name != p.name)
            return false;
    }
    return true;
}

void RecordOpponentsFrame(OpponentsFrame& frame)
{
    const PlayerRoster& roster = appState.roster;
    frame.surface = StampOf(OpponentsSurface());
    frame.fontListBase = OpponentsFontListBase();
    frame.hoverPlayer = appState.hoverPlayer;
    frame.markers.resize(static_cast<std::size_t>(roster.count()));
    for (int i = 0; i < roster.count(); ++i) {
        const Player& p = roster.at(i);
        ShownMarker& m = frame.markers[static_cast<std::size_t>(i)];
        m.name = p.name;
        m.x = p.x;
        m.y = p.y;
        m.aggression = p.aggression;
        m.bluffing = p.bluffing;
        m.playing = p.playing;
    }
}

}  // namespace

void DrawOpponentsIfChanged()
{
    if (!ShowsTheRosterNow(lastOpponentsFrame))
        DrawOpponents();
}

namespace {

// Draws one marker; the model-view matrix is already at the marker's centre.
void DrawPlayerMarker(int index)
{
    if (!appState.roster.contains(index))
        return;
    const Player& player = appState.roster.at(index);
    const CardAtlas& atlas = cardAtlas;

    glColor3f(1, 1, 1);
    glScalef(MarkerScaleX, MarkerScaleY, 1);

    // The icon: a green dollar sign for a player in the hand, a red cross for one sitting out.
    const TexCorner icon = player.playing ? atlas.playingIconCorner : atlas.idleIconCorner;
    glBindTexture(GL_TEXTURE_2D, atlas.cardTexture);
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    TexturedCell(icon, IconBox.left, IconBox.bottom, IconBox.right, IconBox.top);
    glEnd();
    glDisable(GL_TEXTURE_2D);

    if (index == appState.hoverPlayer)
        DrawHoverTint(IconBox.left, IconBox.bottom, IconBox.right, IconBox.top);

    glColor3f(1, 1, 1);
    glPushMatrix();
    glTranslatef(NameX, NameY, 0);
    DrawOutlineTextScaled(player.name, 0.75f, AlignLeft | AlignBaseline);
    glPopMatrix();

    glColor3f(1, 0, 0);
    Bar(AggressionFrame, player.aggression);
    glColor3f(1, 1, 1);
    Frame(AggressionFrame);

    glColor3f(0, 0, 1);
    Bar(BluffingFrame, player.bluffing);
    glColor3f(1, 1, 1);
    Frame(BluffingFrame);
}

}  // namespace

void DrawOpponents()
{
    const GlSurface& surface = OpponentsSurface();
    if (!BeginFrame(surface))
        return;
    RecordOpponentsFrame(lastOpponentsFrame);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // In index order without depth testing: a later marker covers an earlier one.
    for (int i = 0; i < appState.roster.count(); ++i) {
        const Player& player = appState.roster.at(i);
        glPushMatrix();
        glTranslatef(CentreX(player), CentreY(player), 0);
        DrawPlayerMarker(i);
        glPopMatrix();
    }
    EndFrame(surface);
}

int PickPlayer(int px, int py)
{
    int viewport[4];
    if (!BeginPick(OpponentsSurface(), px, py, viewport))
        return -1;
    // Only the icons are named; all lie at depth 0, so the lowest index wins a tie.
    for (int i = 0; i < appState.roster.count(); ++i)
        PickMarkerBox(static_cast<std::uint32_t>(i), appState.roster.at(i), IconBox);
    const int name = EndPick();
    MakeGlCurrent(nullptr, nullptr);
    return name;
}

void MovePlayer(int dx, int dy, int index)
{
    if (!appState.roster.contains(index))
        return;
    Player& player = appState.roster.at(index);
    const std::int64_t width = OpponentsSurface().width;
    const std::int64_t height = OpponentsSurface().height;
    // Wide arithmetic keeps huge movements defined; the clamps bring the result back in range.
    // In a view narrower than twice the margin the second clamp wins.
    std::int64_t x = std::int64_t{player.x} + dx;
    std::int64_t y = std::int64_t{player.y} - dy;  // the mouse row grows downwards, y upwards
    if (x < MarkerEdgeMargin)
        x = MarkerEdgeMargin;
    if (x + MarkerEdgeMargin > width)
        x = width - MarkerEdgeMargin;
    if (y < MarkerEdgeMargin)
        y = MarkerEdgeMargin;
    if (y + MarkerEdgeMargin > height)
        y = height - MarkerEdgeMargin;
    player.x = static_cast<int>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX));
    player.y = static_cast<int>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX));
}

void PickPlayerLevel(int px, int py)
{
    int viewport[4];
    if (!BeginPick(OpponentsSurface(), px, py, viewport))
        return;
    // The whole frames are named, 2i for aggression and 2i + 1 for bluffing.
    for (int i = 0; i < appState.roster.count(); ++i) {
        const Player& player = appState.roster.at(i);
        PickMarkerBox(static_cast<std::uint32_t>(2 * i), player, AggressionFrame);
        PickMarkerBox(static_cast<std::uint32_t>(2 * i + 1), player, BluffingFrame);
    }
    const int name = EndPick();
    const int index = name / 2;
    if (name < 0 || !appState.roster.contains(index)) {
        MakeGlCurrent(nullptr, nullptr);
        return;
    }

    // Both matrices are the identity again, so the unprojected x is the click's normalised x.
    GLdouble modelView[16];
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    GLdouble ox = 0, oy = 0, oz = 0;
    const bool unprojected = gluUnProject(px, viewport[3] - py, 0.0, modelView, projection,
                                          viewport, &ox, &oy, &oz) == GL_TRUE;
    if (!unprojected) {
        MakeGlCurrent(nullptr, nullptr);
        return;
    }

    // Steps of 1/11 marker unit from the frame's left edge at u = 1.2 (0.12 normalised), not
    // from the bar's start at 1.3: 110 levels per normalised unit, the last from u = 2.11 on.
    Player& player = appState.roster.at(index);
    const int width = std::max(OpponentsSurface().width, 1);
    const double left =
        2.0 * player.x / width - 1.0 + static_cast<double>(MarkerScaleX * AggressionFrame.left);
    const double position = std::clamp((ox - left) * 10.0 * 11.0, 0.0, 10.0);
    const int level = static_cast<int>(position);  // truncated toward zero
    int& value = name % 2 == 0 ? player.aggression : player.bluffing;
    if (value != level) {
        value = level;
        ResetForOpponentChange(appState);
        DrawOpponents();  // makes the context current itself and releases it
    }
    MakeGlCurrent(nullptr, nullptr);
}
