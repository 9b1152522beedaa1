// Popup menus (shown from the window model's menu records) and message boxes of the desktop
// platform. Both run FLTK's nested loops, which go on delivering timeouts, so the program's
// timers keep ticking while they are open.
#include "platform/fltk/fltk_platform.h"
#include "platform/fltk/fltk_records.h"
#include "platform/fltk/fltk_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/fl_ask.H>

#include <string>

namespace {

// Appends one level of the menu; a separator marks the item before it on
// the same level, since FLTK has no separator items of its own.
void AppendLevel(std::vector<Fl_Menu_Item>& out, const std::vector<MenuItemRecord>& level)
{
    constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::size_t previous = None;  // index of this level's last item
    for (const MenuItemRecord& item : level) {
        if (item.separator) {
            if (previous != None)
                out[previous].flags |= FL_MENU_DIVIDER;
            continue;
        }
        Fl_Menu_Item entry{};
        entry.text = item.text.c_str();
        entry.labelsize_ = DialogFontSize + 1;
        previous = out.size();
        if (item.isSubmenu) {
            entry.flags = FL_SUBMENU;
            out.push_back(entry);
            AppendLevel(out, item.submenu);
            out.push_back(Fl_Menu_Item{});  // ends the submenu
            continue;
        }
        entry.argument(item.id);
        if (item.checked)
            entry.flags = FL_MENU_TOGGLE | FL_MENU_VALUE;
        out.push_back(entry);
    }
}

}  // namespace

std::vector<Fl_Menu_Item> BuildFltkMenuItems(Menu menu)
{
    std::vector<Fl_Menu_Item> items;
    if (menu)
        AppendLevel(items, menu->items);
    items.push_back(Fl_Menu_Item{});
    return items;
}

void TrackPopupMenu(Menu menu, int screenX, int screenY, Window owner)
{
    if (!menu || menu->items.empty())
        return;
    EnsureFltk();
    const std::vector<Fl_Menu_Item> items = BuildFltkMenuItems(menu);
    // Without a menu button, FLTK 1.3's popup() takes the point relative to the window of the
    // last event: it adds event_x_root() - event_x() (and the same for y). Taking that off
    // first puts the menu's corner exactly on the screen point.
    const int eventWindowX = Fl::event_x_root() - Fl::event_x();
    const int eventWindowY = Fl::event_y_root() - Fl::event_y();
    const Fl_Menu_Item* chosen =
        items.front().popup(screenX - eventWindowX, screenY - eventWindowY);
    if (!chosen || chosen->submenu() || chosen->argument() == 0)
        return;
    MessageParams params;
    params.id = static_cast<int>(chosen->argument());
    PostWindowMessage(owner, Message::Command, params);
}

MessageBoxResult ShowMessageBox(Window, std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons)
{
    EnsureFltk();
    const std::string message(text);
    const std::string title(caption);
    fl_message_title(title.c_str());
    if (buttons == MessageBoxButtons::Ok) {
        fl_choice("%s", "OK", nullptr, nullptr, message.c_str());
        return MessageBoxResult::Ok;
    }
    // FLTK puts button 0 rightmost and answers Escape and the close box with it; button 1 is
    // the one Enter presses.
    const int answer = fl_choice("%s", "No", "Yes", nullptr, message.c_str());
    return answer == 1 ? MessageBoxResult::Yes : MessageBoxResult::No;
}
