// The opponents view: every player as a marker (an icon that tells whether the player plays,
// the name, and bars for aggression and bluffing), picked, dragged and levelled with the mouse.
#pragma once

// Redraws the whole view.
void DrawOpponents();

// The redraw timer's frame: DrawOpponents only when the picture would differ from the last
// frame drawn (any marker's name, place, levels or playing flag, the hovered marker, the
// surface and its size, the font, the drawing generation).
void DrawOpponentsIfChanged();

// The index of the player whose icon is under the point (view pixels, origin top left), or -1.
// Under overlapping icons the lowest index wins.
int PickPlayer(int px, int py);

// Moves a marker by a mouse movement in pixels (dy downwards) and keeps its centre at least
// MarkerEdgeMargin (12) pixels inside the view. An index that names no player is ignored.
void MovePlayer(int dx, int dy, int index);

// If the point is on a level frame, sets that level from the point's horizontal position
// (clearing the win estimate and redrawing when it changed).
void PickPlayerLevel(int px, int py);
