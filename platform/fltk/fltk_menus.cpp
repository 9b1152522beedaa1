// Popup menus (shown from the window model's menu records) and message boxes of the desktop
// platform. Both run FLTK's nested loops, which go on delivering timeouts, so the program's
// timers keep ticking while they are open.
#include "platform/fltk/fltk_platform.h"
#include "platform/fltk/fltk_records.h"
#include "platform/fltk/fltk_widgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>

#include <algorithm>
#include <string>

namespace {

// Appends one level of the menu; a separator marks the item before it on
// the same level, since FLTK has no separator items of its own. Items between separators and
// submenus form a group: when one of them is checked, all show a check box, so that their
// texts line up.
void AppendLevel(std::vector<Fl_Menu_Item>& out, const std::vector<MenuItemRecord>& level)
{
    constexpr std::size_t None = static_cast<std::size_t>(-1);
    std::size_t previous = None;  // index of this level's last item
    std::vector<std::size_t> group;
    auto endGroup = [&] {
        if (std::ranges::any_of(group, [&](std::size_t i) { return out[i].value() != 0; }))
            for (std::size_t i : group)
                out[i].flags |= FL_MENU_TOGGLE;
        group.clear();
    };
    for (const MenuItemRecord& item : level) {
        if (item.separator) {
            if (previous != None)
                out[previous].flags |= FL_MENU_DIVIDER;
            endGroup();
            continue;
        }
        Fl_Menu_Item entry{};
        entry.text = item.text.c_str();
        entry.labelsize_ = DialogFontSize + 1;
        previous = out.size();
        if (item.isSubmenu) {
            endGroup();
            entry.flags = FL_SUBMENU;
            out.push_back(entry);
            AppendLevel(out, item.submenu);
            out.push_back(Fl_Menu_Item{});  // ends the submenu
            continue;
        }
        entry.argument(item.id);
        if (item.checked)
            entry.flags = FL_MENU_TOGGLE | FL_MENU_VALUE;
        group.push_back(out.size());
        out.push_back(entry);
    }
    endGroup();
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

MessageBoxResult ShowMessageBox(Window owner, std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons)
{
    EnsureFltk();
    Fl_Widget* widget = WindowAlive(owner) ? owner->native->widget : nullptr;
    Fl_Window* top = widget ? widget->top_window() : nullptr;
    if (buttons == MessageBoxButtons::Ok) {
        RunFltkMessageBox(top, std::string(text), std::string(caption), {"OK"});
        return MessageBoxResult::Ok;
    }
    // Yes has the focus; Escape and the close box answer No.
    const int answer =
        RunFltkMessageBox(top, std::string(text), std::string(caption), {"Yes", "No"});
    return answer == 0 ? MessageBoxResult::Yes : MessageBoxResult::No;
}
