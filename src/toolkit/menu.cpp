#include "toolkit/menu.h"

#include "toolkit/gdi.h"
#include "toolkit/wide.h"

void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    if (checked && RadioItem && parent_) {
        for (TMenuItem* sibling : parent_->items_) {
            if (sibling != this && sibling->RadioItem && sibling->GroupIndex == GroupIndex) {
                sibling->checked_ = false;
            }
        }
    }
}

void TMenuItem::Add(TMenuItem& child) {
    child.parent_ = this;
    items_.push_back(&child);
}

void TMenuItem::Click() {
    if (OnClick) {
        OnClick(this);
    }
}

namespace {

// Commands are numbered by position in a flat list of the items shown.
HMENU BuildMenu(const TMenuItem& parent, std::vector<TMenuItem*>& commands) {
    HMENU menu = CreatePopupMenu();
    for (TMenuItem* item : parent.Items()) {
        if (item->Caption == "-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::wstring caption = Widen(item->Caption);
        UINT flags =
            MF_STRING | (item->Checked() ? MF_CHECKED : 0) | (item->Enabled ? 0 : MF_GRAYED);
        if (!item->Items().empty()) {
            HMENU sub = BuildMenu(*item, commands);
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
            continue;
        }
        commands.push_back(item);
        UINT id = static_cast<UINT>(commands.size());
        AppendMenuW(menu, flags, id, caption.c_str());
        if (item->RadioItem && item->Checked()) {
            CheckMenuRadioItem(menu, id, id, id, MF_BYCOMMAND);
        }
    }
    return menu;
}

} // namespace

void TPopupMenu::Popup(HWND owner, int x, int y) {
    std::vector<TMenuItem*> commands;
    UniqueMenu menu(BuildMenu(Items, commands));
    SetForegroundWindow(owner);
    // Known to the owner while the menu is open.
    shown_ = commands;
    UINT chosen =
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    shown_.clear();
    PostMessageW(owner, WM_NULL, 0, 0);
    // A window that went away while its menu was open (the end of the
    // session) takes no command any more.
    if (chosen > 0 && chosen <= commands.size() && IsWindow(owner)) {
        commands[chosen - 1]->Click();
    }
}

TMenuItem* TPopupMenu::ShownItem(UINT command) const {
    return command > 0 && command <= shown_.size() ? shown_[command - 1] : nullptr;
}
