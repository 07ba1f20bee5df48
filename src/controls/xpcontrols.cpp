#include "controls/xpcontrols.h"
#include "toolkit/seams.h"

#include "controls/xpthemes.h"
#include "toolkit/gdi.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The group box part of the theme class "Button" and its states.
constexpr int kGroupBoxPart = 4;
constexpr int kStateNormal = 1;
constexpr int kStateDisabled = 2;

enum class ChildKind { Button, TrackBar, Animation, Other };

ChildKind KindOf(const TWinControl& child) {
    const std::wstring name = child.WindowClassName();
    if (lstrcmpiW(name.c_str(), L"Button") == 0) {
        return ChildKind::Button; // check box, radio button, push button
    }
    if (lstrcmpiW(name.c_str(), TRACKBAR_CLASSW) == 0) {
        return ChildKind::TrackBar;
    }
    if (lstrcmpiW(name.c_str(), ANIMATE_CLASSW) == 0) {
        return ChildKind::Animation;
    }
    return ChildKind::Other;
}

// Closes the theme handle however the drawing ends.
class ThemeHandle {
  public:
    explicit ThemeHandle(HTHEME theme) : theme_(theme) {}
    ThemeHandle(const ThemeHandle&) = delete;
    ThemeHandle& operator=(const ThemeHandle&) = delete;
    ~ThemeHandle() {
        if (theme_) {
            ThemeCloseThemeData(theme_);
        }
    }
    HTHEME get() const { return theme_; }

  private:
    HTHEME theme_;
};

std::vector<TXPThemeAPI*>& ThemeApiObjects() {
    static std::vector<TXPThemeAPI*> objects;
    return objects;
}

} // namespace

LRESULT TXPGroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (UseThemes() && Handle()) {
        switch (message) {
        case WM_PAINT:
            // A track bar paints its themed background again when told its state.
            for (TWinControl* child : Controls()) {
                if (KindOf(*child) == ChildKind::TrackBar) {
                    SendMessageW(child->Handle(), WM_ENABLE, child->Enabled() ? 1 : 0, 0);
                }
            }
            break;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC: {
            LRESULT result = 0;
            if (ChildColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam), result)) {
                return result;
            }
            break;
        }
        case WM_ERASEBKGND:
            ThemeDrawThemeParentBackground(Handle(), reinterpret_cast<HDC>(wParam), nullptr);
            return 1;
        default:
            break;
        }
    }
    return TGroupBox::HandleMessage(message, wParam, lParam);
}

bool TXPGroupBox::ChildColor(HWND child, HDC dc, LRESULT& result) {
    for (TWinControl* control : Controls()) {
        if (control->Handle() != child) {
            continue;
        }
        const ChildKind kind = KindOf(*control);
        if (kind != ChildKind::Button && kind != ChildKind::TrackBar) {
            return false;
        }
        ThemeDrawThemeParentBackground(child, dc, nullptr);
        result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return true;
    }
    return false;
}

void TXPGroupBox::PaintClient(HDC dc, const RECT& /*area*/) {
    if (UseThemes()) {
        ThemeHandle theme(ThemeOpenThemeData(nullptr, L"Button"));
        if (theme.get()) {
            SelectGuard font(dc, DialogFont(LayoutScale().Factor()));
            const CaptionLayout layout = Layout(dc);
            const int state = Enabled() ? kStateNormal : kStateDisabled;
            ExcludeClipRect(dc, layout.caption.left, layout.caption.top, layout.caption.right,
                            layout.caption.bottom);
            ThemeDrawThemeBackground(theme.get(), dc, kGroupBoxPart, state, &layout.frame, nullptr);
            SelectClipRgn(dc, nullptr);
            ThemeDrawThemeText(theme.get(), dc, kGroupBoxPart, state, layout.text.c_str(), -1,
                               layout.flags, 0, &layout.caption);
            return;
        }
    }
    PaintClassic(dc);
}

void TXPGroupBox::EnabledChanged() {
    InvalidateRect(Handle(), nullptr, TRUE);
    const bool enabled = Enabled();
    for (TWinControl* child : Controls()) {
        if (enabled) {
            if (child->Tag & kEnabledByGroupMark) {
                child->SetEnabled(true);
            }
            child->Tag &= ~kEnabledByGroupMark;
        } else {
            if (child->Enabled()) {
                child->Tag |= kEnabledByGroupMark;
            }
            child->SetEnabled(false);
        }
    }
}

LRESULT TXPCheckBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND && UseThemes()) {
        // The parent's themed background stays.
        return 1;
    }
    return TCheckBox::HandleMessage(message, wParam, lParam);
}

TXPThemeAPI::TXPThemeAPI(TForm* owner) : owner_(owner) {
    const auto& objects = ThemeApiObjects();
    const auto sameOwner =
        std::count_if(objects.begin(), objects.end(),
                      [owner](const TXPThemeAPI* other) { return other->owner_ == owner; });
    // Counting this one, fewer than two may exist on the form.
    if (!owner || sameOwner + 1 >= 2) {
        seams::Beep();
        throw EAbortCreation();
    }
    ThemeApiObjects().push_back(this);
}

TXPThemeAPI::~TXPThemeAPI() {
    auto& objects = ThemeApiObjects();
    objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
}
