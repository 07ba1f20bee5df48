#pragma once
// Menu items that carry their own state (caption, check mark, radio group)
// and a popup menu that builds the platform menu from them when it opens.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TMenuItem {
  public:
    explicit TMenuItem(std::string caption = {}, int groupIndex = 0, bool radioItem = false)
        : Caption(std::move(caption)), GroupIndex(groupIndex), RadioItem(radioItem) {}
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group.
    void SetChecked(bool checked);
    void Add(TMenuItem& child);
    const std::vector<TMenuItem*>& Items() const { return items_; }
    void Click();

    std::string Caption;
    int GroupIndex;
    bool RadioItem;
    bool Enabled = true;
    // The item's topic in the help; 0 for none.
    int HelpContext = 0;
    std::function<void(TMenuItem* sender)> OnClick;

  private:
    bool checked_ = false;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TPopupMenu {
  public:
    TMenuItem Items;
    // Shows the menu at a screen point, owned by window, and runs the chosen
    // item's click handler before it returns.
    void Popup(HWND owner, int x, int y);
    // While the menu is open: the item of a command number the platform
    // names (in WM_HELP, WM_MENUSELECT); null for none.
    TMenuItem* ShownItem(UINT command) const;

  private:
    std::vector<TMenuItem*> shown_;
};
