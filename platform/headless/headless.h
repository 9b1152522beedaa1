// The headless platform: windows and controls are plain records, message boxes are answered by
// a responder that a test installs, paint requests are queued until a test pumps them, and every
// static control keeps a pixel buffer of its client size that tests read back.
#pragma once

#include "platform/platform.h"

#include <functional>
#include <string>
#include <vector>

// Creates a top-level window with the given procedure and client size. The procedure (may be
// null) receives no creation message; tests send what they need.
Window HeadlessCreateWindow(WindowProc proc, int width, int height);

// Adds a control to a window: id, client rectangle in the parent's client pixels, text.
Window HeadlessAddControl(Window parent, int id, int x, int y, int width, int height,
                          std::string text = {});

// Delivers one tick of the window's timer `id` if that timer runs; returns whether it did.
bool HeadlessFireTimer(Window window, int id);

// Whether the window still exists (not destroyed).
bool HeadlessWindowExists(Window window);

// Destroys every window and forgets recorded message boxes, paints and the responder.
void HeadlessReset();

// Message boxes: each is recorded, then answered by the responder (by default Ok for an OK box
// and Yes for a Yes/No box).
struct RecordedMessageBox {
    Window owner = nullptr;
    std::string text;
    std::string caption;
    MessageBoxButtons buttons = MessageBoxButtons::Ok;
};
using MessageBoxResponder = std::function<MessageBoxResult(const RecordedMessageBox&)>;
void HeadlessSetMessageBoxResponder(MessageBoxResponder responder);
const std::vector<RecordedMessageBox>& HeadlessMessageBoxes();

// Paint requests: how many the window received, and delivering the queued ones. Returns the
// number of paint messages delivered.
int HeadlessPaintRequests(Window window);
int HeadlessDeliverPaints();

// The pixel of a control's buffer as 0x00RRGGBB; 0xFF000000 outside the buffer.
std::uint32_t HeadlessPixel(Window control, int x, int y);

// OpenGL: whether the surfaceless EGL display could be opened, and a way to make the next
// context creations fail at a chosen step (GlFailure::None to stop failing).
enum class GlFailure { None, ChooseFormat, SetFormat, CreateContext };
bool HeadlessGlAvailable();
void HeadlessFailGl(GlFailure failure);

// Whether a control is enabled.
bool HeadlessIsEnabled(Window control);
