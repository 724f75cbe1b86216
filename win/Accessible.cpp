#include "win/Accessible.h"

#include <oleacc.h>

#include <memory>
#include <vector>

#include "win/Control.h"
#include "win/GraphicHost.h"
#include "win/ListMenu.h"
#include "win/Notify.h"
#include "win/PopupMenu.h"

namespace win {

namespace {

BSTR Bstr(const std::wstring& s) { return SysAllocStringLen(s.data(), (UINT)s.size()); }

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// What an object tells beyond the window's standard object, asked anew at
// every call through the window's handle, so that an object a screen
// reader holds always speaks of the window as it is now, or of nothing
// once the window is gone.
class Source {
public:
    explicit Source(HWND hwnd) : hwnd(hwnd) {}
    virtual ~Source() = default;
    // The window itself; false leaves it to the standard object.
    virtual bool Self(AccessibleInfo& info) const = 0;
    // Windowless controls, as simple children after the window's own.
    virtual long InnerCount() const { return 0; }
    virtual bool Inner(long, AccessibleInfo&, RECT&) const { return false; }
    virtual void DoInner(long) const {}
    virtual long InnerAt(POINT) const { return -1; }
    HWND hwnd;
};

class ControlSource final : public Source {
public:
    using Source::Source;
    bool Self(AccessibleInfo& info) const override {
        auto* control = dynamic_cast<Control*>(Window::FromHandle(hwnd));
        if (!control || !control->DescribeAccessible(info)) return false;
        if (!IsWindowVisible(hwnd)) info.State |= STATE_SYSTEM_INVISIBLE;
        if (!IsWindowEnabled(hwnd)) info.State |= STATE_SYSTEM_UNAVAILABLE;
        else info.State |= STATE_SYSTEM_FOCUSABLE;
        if (GetFocus() == hwnd) info.State |= STATE_SYSTEM_FOCUSED;
        return true;
    }
};

class HostSource final : public Source {
public:
    using Source::Source;
    bool Self(AccessibleInfo&) const override { return false; }
    long InnerCount() const override { return (long)Described().size(); }
    bool Inner(long index, AccessibleInfo& info, RECT& screen) const override {
        auto inner = Described();
        if (index < 0 || index >= (long)inner.size()) return false;
        GraphicControl* c = inner[(size_t)index];
        c->DescribeAccessible(info);
        if (!c->Visible()) info.State |= STATE_SYSTEM_INVISIBLE;
        if (!c->Enabled()) info.State |= STATE_SYSTEM_UNAVAILABLE;
        if (c->MouseInControl()) info.State |= STATE_SYSTEM_HOTTRACKED;
        screen = c->Bounds();
        MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&screen), 2);
        return true;
    }
    void DoInner(long index) const override {
        auto inner = Described();
        if (index >= 0 && index < (long)inner.size())
            PostMessageW(hwnd, CM_ACCESSIBLEDEFAULT, 0, (LPARAM)inner[(size_t)index]);
    }
    long InnerAt(POINT screen) const override {
        auto inner = Described();
        ScreenToClient(hwnd, &screen);
        for (long i = (long)inner.size() - 1; i >= 0; --i) {
            const RECT r = inner[(size_t)i]->Bounds();
            if (inner[(size_t)i]->Visible() && PtInRect(&r, screen)) return i;
        }
        return -1;
    }

private:
    std::vector<GraphicControl*> Described() const {
        std::vector<GraphicControl*> out;
        if (GraphicHost* host = GraphicHost::Of(hwnd)) {
            AccessibleInfo probe;
            for (GraphicControl* c : host->Controls())
                if (c->DescribeAccessible(probe)) out.push_back(c);
        }
        return out;
    }
};

class ListMenuSource final : public Source {
public:
    using Source::Source;
    bool Self(AccessibleInfo& info) const override {
        if (!ListMenu::Of(hwnd)) return false;
        info.Role = ROLE_SYSTEM_MENUPOPUP;
        if (!IsWindowVisible(hwnd)) info.State |= STATE_SYSTEM_INVISIBLE;
        return true;
    }
    long InnerCount() const override {
        ListMenu* menu = ListMenu::Of(hwnd);
        return menu ? (long)menu->Root.Items.size() : 0;
    }
    bool Inner(long index, AccessibleInfo& info, RECT& screen) const override {
        ListMenu* menu = ListMenu::Of(hwnd);
        if (!menu || index < 0 || index >= (long)menu->Root.Items.size()) return false;
        const MenuItem& item = *menu->Root.Items[(size_t)index];
        if (item.IsSeparator()) {
            info.Role = ROLE_SYSTEM_SEPARATOR;
        } else {
            info.Name = MenuCaptionText(item.Caption);
            info.Role = item.Heading ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_MENUITEM;
        }
        if (!item.IsEnabled() || item.Heading) info.State |= STATE_SYSTEM_UNAVAILABLE;
        if (!item.IsSeparator() && !item.Heading) {
            info.State |= STATE_SYSTEM_FOCUSABLE;
            if (item.IsEnabled()) info.DefaultAction = L"Execute";
        }
        if (index == menu->Lit()) info.State |= STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
        screen = menu->ItemRect((int)index);
        return true;
    }
    void DoInner(long index) const override { PostMessageW(hwnd, CM_ACCESSIBLEDEFAULT, (WPARAM)index + 1, 0); }
    long InnerAt(POINT screen) const override {
        ListMenu* menu = ListMenu::Of(hwnd);
        return menu ? menu->ItemAt(screen) : -1;
    }
};

// The standard object of a window with the source's description laid over
// it: name, role, state, value, default action and short-cut of the window
// itself, and its windowless controls as simple children. The rest (location,
// parent, navigation, hit tests of child windows) is the standard object's.
class DescribedObject final : public IAccessible {
public:
    DescribedObject(std::unique_ptr<Source> source, IAccessible* standard)
        : source_(std::move(source)), std_(standard) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // With windowless controls the children are counted, not enumerated:
        // the standard enumeration knows only the child windows.
        if (riid == IID_IEnumVARIANT && source_->InnerCount() > 0) return E_NOINTERFACE;
        // IOleWindow (the window behind the object) is the standard object's.
        return std_->QueryInterface(riid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return (ULONG)n;
    }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { return std_->GetTypeInfoCount(n); }
    STDMETHODIMP GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return std_->GetTypeInfo(i, l, t); }
    STDMETHODIMP GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* d) override {
        return std_->GetIDsOfNames(r, n, c, l, d);
    }
    STDMETHODIMP Invoke(DISPID d, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                        UINT* a) override {
        return std_->Invoke(d, r, l, f, p, v, e, a);
    }

    // IAccessible: what the source describes
    STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
        AccessibleInfo info;
        if (!Describe(child, info)) return std_->get_accName(child, out);
        *out = Bstr(info.Name);
        return S_OK;
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
        AccessibleInfo info;
        if (!Describe(child, info)) return std_->get_accRole(child, out);
        out->vt = VT_I4;
        out->lVal = info.Role;
        return S_OK;
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
        AccessibleInfo info;
        if (!Describe(child, info)) return std_->get_accState(child, out);
        out->vt = VT_I4;
        out->lVal = info.State;
        return S_OK;
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
        AccessibleInfo info;
        if (!Describe(child, info)) return std_->get_accValue(child, out);
        *out = info.HasValue ? Bstr(info.Value) : nullptr;
        return info.HasValue ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
        AccessibleInfo info;
        if (!Describe(child, info)) return std_->get_accDefaultAction(child, out);
        *out = info.DefaultAction.empty() ? nullptr : Bstr(info.DefaultAction);
        return info.DefaultAction.empty() ? S_FALSE : S_OK;
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        AccessibleInfo info;
        if (!Describe(child, info)) return std_->get_accKeyboardShortcut(child, out);
        *out = info.KeyboardShortcut.empty() ? nullptr : Bstr(info.KeyboardShortcut);
        return info.KeyboardShortcut.empty() ? S_FALSE : S_OK;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        AccessibleInfo info;
        if (!Describe(child, info)) return std_->accDoDefaultAction(child);
        if (info.DefaultAction.empty() || (info.State & STATE_SYSTEM_UNAVAILABLE)) return DISP_E_MEMBERNOTFOUND;
        // Posted: the action may open a modal dialog, which must not hold
        // the screen reader's call.
        if (IsSelf(child)) PostMessageW(source_->hwnd, CM_ACCESSIBLEDEFAULT, 0, 0);
        else source_->DoInner(InnerIndex(child));
        return S_OK;
    }
    STDMETHODIMP get_accChildCount(long* out) override {
        HRESULT hr = std_->get_accChildCount(out);
        if (SUCCEEDED(hr)) *out += source_->InnerCount();
        return hr;
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
        if (InnerIndex(child) >= 0) {
            *out = nullptr;
            return S_FALSE;  // a simple element, answered by this object
        }
        return std_->get_accChild(child, out);
    }
    STDMETHODIMP accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        AccessibleInfo info;
        RECT r{};
        const long inner = InnerIndex(child);
        if (inner < 0 || !source_->Inner(inner, info, r)) return std_->accLocation(x, y, w, h, child);
        *x = r.left, *y = r.top, *w = r.right - r.left, *h = r.bottom - r.top;
        return S_OK;
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override {
        const long inner = source_->InnerAt({x, y});
        if (inner < 0) return std_->accHitTest(x, y, out);
        out->vt = VT_I4;
        out->lVal = StandardChildren() + 1 + inner;
        return S_OK;
    }

    // IAccessible: the standard object's
    STDMETHODIMP get_accParent(IDispatch** out) override { return std_->get_accParent(out); }
    STDMETHODIMP get_accDescription(VARIANT c, BSTR* out) override { return std_->get_accDescription(c, out); }
    STDMETHODIMP get_accHelp(VARIANT c, BSTR* out) override { return std_->get_accHelp(c, out); }
    STDMETHODIMP get_accHelpTopic(BSTR* f, VARIANT c, long* t) override { return std_->get_accHelpTopic(f, c, t); }
    STDMETHODIMP get_accFocus(VARIANT* out) override { return std_->get_accFocus(out); }
    STDMETHODIMP get_accSelection(VARIANT* out) override { return std_->get_accSelection(out); }
    STDMETHODIMP accSelect(long flags, VARIANT c) override { return std_->accSelect(flags, c); }
    STDMETHODIMP accNavigate(long dir, VARIANT start, VARIANT* out) override {
        return std_->accNavigate(dir, start, out);
    }
    STDMETHODIMP put_accName(VARIANT c, BSTR n) override { return std_->put_accName(c, n); }
    STDMETHODIMP put_accValue(VARIANT c, BSTR v) override { return std_->put_accValue(c, v); }

private:
    ~DescribedObject() { std_->Release(); }

    long StandardChildren() const {
        long n = 0;
        return SUCCEEDED(std_->get_accChildCount(&n)) ? n : 0;
    }
    // The windowless control a child id names, or -1.
    long InnerIndex(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal <= 0 || source_->InnerCount() == 0) return -1;
        const long index = child.lVal - StandardChildren() - 1;
        return index >= 0 && index < source_->InnerCount() ? index : -1;
    }
    bool Describe(const VARIANT& child, AccessibleInfo& info) const {
        if (IsSelf(child)) return source_->Self(info);
        RECT r{};
        const long inner = InnerIndex(child);
        return inner >= 0 && source_->Inner(inner, info, r);
    }

    LONG refs_ = 1;
    std::unique_ptr<Source> source_;
    IAccessible* std_;
};

LRESULT Answer(std::unique_ptr<Source> source, WPARAM wp) {
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(source->hwnd, OBJID_CLIENT, __uuidof(IAccessible), (void**)&standard)) ||
        !standard)
        return 0;
    auto* object = new DescribedObject(std::move(source), standard);
    LRESULT result = LresultFromObject(__uuidof(IAccessible), wp, object);
    object->Release();  // the answer holds its own reference
    return result;
}

}  // namespace

bool AnswerGetObject(Control& control, WPARAM wp, LPARAM lp, LRESULT& result) {
    if ((LONG)lp != OBJID_CLIENT) return false;
    AccessibleInfo probe;
    if (!control.DescribeAccessible(probe)) return false;
    result = Answer(std::make_unique<ControlSource>(control.Handle()), wp);
    return result != 0;
}

bool AnswerHostObject(HWND host, WPARAM wp, LPARAM lp, LRESULT& result) {
    if ((LONG)lp != OBJID_CLIENT) return false;
    HostSource source(host);
    if (source.InnerCount() == 0) return false;
    result = Answer(std::make_unique<HostSource>(host), wp);
    return result != 0;
}

bool AnswerListMenuObject(HWND menu, WPARAM wp, LPARAM lp, LRESULT& result) {
    if ((LONG)lp != OBJID_CLIENT || !ListMenu::Of(menu)) return false;
    result = Answer(std::make_unique<ListMenuSource>(menu), wp);
    return result != 0;
}

std::wstring MnemonicShortcut(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        wchar_t key = (wchar_t)(UINT_PTR)CharUpperW((LPWSTR)(UINT_PTR)caption[i + 1]);
        return std::wstring(L"Alt+") + key;
    }
    return {};
}

std::wstring LabelBefore(HWND control) {
    HWND prev = GetWindow(control, GW_HWNDPREV);
    if (!prev) return {};
    wchar_t cls[16] = {};
    GetClassNameW(prev, cls, 16);
    if (lstrcmpiW(cls, L"Static") != 0) return {};
    const LONG type = GetWindowLongW(prev, GWL_STYLE) & SS_TYPEMASK;
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP)
        return {};
    const int n = GetWindowTextLengthW(prev);
    std::wstring text(n + 1, L'\0');
    text.resize(GetWindowTextW(prev, text.data(), n + 1));
    return MenuCaptionText(text);
}

}  // namespace win
