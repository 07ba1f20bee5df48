#include "toolkit/accessible.h"
#include "toolkit/wide.h"

#include <oleacc.h>

#include <atomic>
#include <mutex>
#include <optional>

bool AccessibleElement::operator==(const AccessibleElement& other) const {
    return role == other.role && name == other.name && value == other.value &&
           description == other.description && defaultAction == other.defaultAction &&
           EqualRect(&bounds, &other.bounds) && state == other.state;
}

namespace {

// A text for the reader; "no text" as the interface has it for an empty one.
HRESULT TextResult(const std::string& text, BSTR* result) {
    if (!result) {
        return E_POINTER;
    }
    *result = nullptr;
    if (text.empty()) {
        return S_FALSE;
    }
    *result = SysAllocString(Widen(text).c_str());
    return *result ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(VARIANT* result, long child) {
    result->vt = VT_I4;
    result->lVal = child;
}

bool HasFocus(HWND window) {
    GUITHREADINFO state{};
    state.cbSize = sizeof(state);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &state) &&
           state.hwndFocus == window;
}

} // namespace

// The object the readers hold. Its methods may run on any thread: every one
// takes the lock, reads the copies and the window's handle only, and the
// default action is posted to the window's own thread.
class AccessibleServer final : public IAccessible, public IOleWindow {
  public:
    explicit AccessibleServer(HWND window) : window_(window) {}

    HWND Window() const { return window_; }
    void Update(const AccessibleElement& self, const std::vector<AccessibleElement>& children) {
        std::lock_guard lock(mutex_);
        self_ = self;
        children_ = children;
    }
    void Disconnect() {
        std::lock_guard lock(mutex_);
        connected_ = false;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
        } else if (iid == IID_IOleWindow) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch: readers call the interface directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) {
            *count = 0;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) {
            return E_POINTER;
        }
        *parent = nullptr;
        if (!Connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        return CreateStdAccessibleObject(window_, OBJID_WINDOW, IID_IDispatch,
                                         reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) {
            return E_POINTER;
        }
        std::lock_guard lock(mutex_);
        if (!connected_) {
            return CO_E_OBJNOTCONNECTED;
        }
        *count = static_cast<long>(children_.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        // The children are elements without objects of their own.
        return Read(child, [](const AccessibleElement&) { return S_FALSE; });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Read(child, [&](const AccessibleElement& e) { return TextResult(e.name, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Read(child, [&](const AccessibleElement& e) { return TextResult(e.value, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return Read(child, [&](const AccessibleElement& e) {
            return TextResult(e.description, description);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) {
            return E_POINTER;
        }
        return Read(child, [&](const AccessibleElement& e) {
            SetChildId(role, e.role);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) {
            return E_POINTER;
        }
        const bool visible = IsWindowVisible(window_);
        const bool focused = child.vt == VT_I4 && child.lVal == CHILDID_SELF && HasFocus(window_);
        return Read(child, [&](const AccessibleElement& e) {
            SetChildId(state, e.state | (visible ? 0 : STATE_SYSTEM_INVISIBLE) |
                                  (focused ? STATE_SYSTEM_FOCUSED : 0));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return Read(child, [&](const AccessibleElement&) { return TextResult("", help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (!file || !topic) {
            return E_POINTER;
        }
        *file = nullptr;
        *topic = 0;
        return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return Read(child, [&](const AccessibleElement&) { return TextResult("", keys); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) {
            return E_POINTER;
        }
        focus->vt = VT_EMPTY;
        if (!Connected()) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (HasFocus(window_)) {
            SetChildId(focus, CHILDID_SELF);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) {
            return E_POINTER;
        }
        selection->vt = VT_EMPTY;
        return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Read(
            child, [&](const AccessibleElement& e) { return TextResult(e.defaultAction, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT child) override {
        return Read(child, [](const AccessibleElement&) { return DISP_E_MEMBERNOTFOUND; });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (!left || !top || !width || !height) {
            return E_POINTER;
        }
        RECT client{};
        GetClientRect(window_, &client);
        return Read(child, [&](const AccessibleElement& e) {
            RECT r = child.lVal == CHILDID_SELF ? client : e.bounds;
            MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
            *left = r.left;
            *top = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) {
            return E_POINTER;
        }
        end->vt = VT_EMPTY;
        std::lock_guard lock(mutex_);
        if (!connected_) {
            return CO_E_OBJNOTCONNECTED;
        }
        const long count = static_cast<long>(children_.size());
        // A start that is no element is refused before anything is added to it.
        if (start.vt != VT_I4 || start.lVal < 0 || start.lVal > count) {
            return E_INVALIDARG;
        }
        const long from = start.lVal;
        long to = 0;
        if (from == CHILDID_SELF && direction == NAVDIR_FIRSTCHILD) {
            to = 1;
        } else if (from == CHILDID_SELF && direction == NAVDIR_LASTCHILD) {
            to = count;
        } else if (from > 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) {
            to = from + 1;
        } else if (from > 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) {
            to = from - 1;
        }
        if (to < 1 || to > count) {
            return S_FALSE;
        }
        SetChildId(end, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) {
            return E_POINTER;
        }
        hit->vt = VT_EMPTY;
        POINT point{x, y};
        ScreenToClient(window_, &point);
        RECT client{};
        GetClientRect(window_, &client);
        std::lock_guard lock(mutex_);
        if (!connected_) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (!PtInRect(&client, point)) {
            return S_FALSE;
        }
        SetChildId(hit, CHILDID_SELF);
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (PtInRect(&children_[i].bounds, point)) {
                SetChildId(hit, static_cast<long>(i + 1));
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Read(child, [&](const AccessibleElement& e) {
            if (e.defaultAction.empty()) {
                return DISP_E_MEMBERNOTFOUND;
            }
            PostMessageW(window_, TAccessible::ActionMessage(), static_cast<WPARAM>(child.lVal), 0);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // IOleWindow: which window the object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) {
            return E_POINTER;
        }
        *window = window_;
        return Connected() ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  private:
    ~AccessibleServer() = default;

    bool Connected() {
        std::lock_guard lock(mutex_);
        return connected_;
    }
    // Runs read on the element a child id names, under the lock.
    template <typename Reader> HRESULT Read(const VARIANT& child, Reader read) {
        std::lock_guard lock(mutex_);
        if (!connected_) {
            return CO_E_OBJNOTCONNECTED;
        }
        if (child.vt != VT_I4 || child.lVal < 0 ||
            child.lVal > static_cast<long>(children_.size())) {
            return E_INVALIDARG;
        }
        return read(child.lVal == CHILDID_SELF ? self_ : children_[child.lVal - 1]);
    }

    const HWND window_;
    std::atomic<ULONG> references_{1};
    std::mutex mutex_;
    bool connected_ = true;
    AccessibleElement self_;
    std::vector<AccessibleElement> children_;
};

TAccessible::~TAccessible() {
    Disconnect();
}

void TAccessible::SetSelf(const AccessibleElement& self) {
    self_ = self;
    if (server_) {
        server_->Update(self_, children_);
    }
}

void TAccessible::SetChildren(const std::vector<AccessibleElement>& children) {
    children_ = children;
    if (server_) {
        server_->Update(self_, children_);
    }
}

LRESULT TAccessible::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return 0;
    }
    // A window made anew under the same object gets an object of its own.
    if (server_ && server_->Window() != window) {
        Disconnect();
    }
    if (!server_) {
        server_ = new AccessibleServer(window);
        server_->Update(self_, children_);
    }
    const LRESULT result =
        LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(server_));
    return result < 0 ? 0 : result;
}

void TAccessible::Disconnect() {
    if (server_) {
        server_->Disconnect();
        server_->Release();
        server_ = nullptr;
    }
}

UINT TAccessible::ActionMessage() {
    static const UINT message = RegisterWindowMessageW(L"Tikkora.AccessibleAction");
    return message;
}

bool TAccessible::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT* result, const std::function<void()>& refresh,
                                const std::function<void(WPARAM child)>& act) {
    if (message == ActionMessage()) {
        act(wParam);
        *result = 0;
        return true;
    }
    if (message == WM_GETOBJECT) {
        refresh();
        *result = Answer(window, wParam, lParam);
        return true;
    }
    if (message == WM_DESTROY) {
        Disconnect();
    }
    return false;
}
