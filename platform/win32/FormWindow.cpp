#include "platform/win32/FormWindow.h"

#include "platform/win32/Bitmaps.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Platform.h"
#include "ui/AboutHelp.h"

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

namespace tabbern::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TabbernForm";
constexpr int kFirstControlId = 1000;

COLORREF FromRgb(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

std::wstring WindowText(HWND hwnd) {
    const int n = GetWindowTextLengthW(hwnd);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    GetWindowTextW(hwnd, s.data(), n + 1);
    s.resize(static_cast<std::size_t>(n));
    return s;
}

void SetTextIfChanged(HWND hwnd, const std::wstring& text) {
    if (WindowText(hwnd) != text)
        SetWindowTextW(hwnd, text.c_str());
}

// The edit box inside an editable combo box, where the typing happens.
HWND ComboEdit(HWND combo) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) ? info.hwndItem : nullptr;
}

} // namespace

// ---- MenuBinder -------------------------------------------------------------------------------

MenuBinder::~MenuBinder() {
    if (root_)
        DestroyMenu(root_);
}

HMENU MenuBinder::buildBar(const std::vector<MenuItem*>& menus) {
    root_ = CreateMenu();
    for (MenuItem* menu : menus) {
        HMENU sub = CreatePopupMenu();
        const UINT position = static_cast<UINT>(GetMenuItemCount(root_));
        AppendMenuW(root_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                    Widen(menu->caption()).c_str());
        entries_.push_back({menu, root_, position, 0});
        fill(sub, *menu);
    }
    return root_;
}

HMENU MenuBinder::buildPopup(MenuItem& menu) {
    root_ = CreatePopupMenu();
    fill(root_, menu);
    return root_;
}

void MenuBinder::fill(HMENU target, MenuItem& menu) {
    for (MenuItem* item : menu.children) {
        const UINT position = static_cast<UINT>(GetMenuItemCount(target));
        if (!item) {
            AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
        } else if (!item->children.empty()) {
            HMENU sub = CreatePopupMenu();
            AppendMenuW(target, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub),
                        Widen(item->caption()).c_str());
            entries_.push_back({item, target, position, 0});
            fill(sub, *item);
        } else {
            const UINT id = nextId_++;
            AppendMenuW(target, MF_STRING, id, Widen(item->caption()).c_str());
            entries_.push_back({item, target, position, id});
        }
    }
}

bool MenuBinder::sync() {
    bool changed = false;
    for (Entry& e : entries_) {
        if (e.rendered == e.model->revision())
            continue;
        std::wstring caption = Widen(e.model->caption());
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_STATE;
        info.dwTypeData = caption.data();
        info.fState = (e.model->enabled() ? MFS_ENABLED : MFS_DISABLED) |
                      (e.model->checked() ? MFS_CHECKED : MFS_UNCHECKED);
        SetMenuItemInfoW(e.parent, e.position, TRUE, &info);
        e.rendered = e.model->revision();
        changed = true;
    }
    return changed;
}

MenuItem* MenuBinder::itemOf(UINT id) const {
    for (const Entry& e : entries_)
        if (e.id == id && id != 0)
            return e.model;
    return nullptr;
}

// ---- construction -------------------------------------------------------------------------------

FormWindow::FormWindow(ViewHost& host, Win32Platform& platform, Form& form, FormLayout layout,
                       bool mainWindow)
    : host_(host), platform_(platform), form_(form), layout_(std::move(layout)),
      mainWindow_(mainWindow) {
    for (const Placement& p : layout_.controls) {
        Control* model = form_.findControl(p.name);
        if (!model)
            continue;
        Kind kind = Kind::Line;
        if (dynamic_cast<ComboBox*>(model))
            kind = Kind::Combo;
        else if (dynamic_cast<ListBox*>(model))
            kind = Kind::List;
        else if (dynamic_cast<TextBox*>(model))
            kind = Kind::Text;
        else if (dynamic_cast<Button*>(model))
            kind = Kind::Button;
        else if (dynamic_cast<PictureBox*>(model))
            kind = Kind::Picture;
        else if (dynamic_cast<ProgressBar*>(model))
            kind = Kind::Progress;
        else if (dynamic_cast<Label*>(model))
            kind = Kind::Label;
        bindings_.push_back({model, kind, p});
    }
    create();
}

FormWindow::~FormWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
    delete menus_;
    for (auto& [flags, font] : fonts_)
        DeleteObject(font);
    for (auto& [colour, brush] : brushes_)
        DeleteObject(brush);
    if (backgroundBrush_)
        DeleteObject(backgroundBrush_);
    if (background_)
        DeleteObject(background_);
}

int FormWindow::px(double twips) const {
    return TwipsToPixels(twips, platform_.twipsPerPixelX());
}

RECT FormWindow::pixelRect(const TwipRect& r) const {
    const int left = px(r.left);
    const int top = px(r.top);
    return {left, top, left + px(r.width), top + px(r.height)};
}

void FormWindow::create() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &FormWindow::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = ProgramIcon(32);
        wc.hIconSm = ProgramIcon(16);
        wc.lpszClassName = kClassName;
        RegisterClassExW(&wc);
        registered = true;
    }

    // Fixed windows: the controls lie at absolute positions, so they neither grow nor maximise.
    const DWORD style = mainWindow_ ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
                                    : WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = mainWindow_ ? WS_EX_APPWINDOW : WS_EX_DLGMODALFRAME;
    HMENU menu = nullptr;
    if (mainWindow_) {
        if (auto* m = dynamic_cast<MainForm*>(&form_)) {
            menus_ = new MenuBinder(40000);
            menu = menus_->buildBar(m->menuBar);
        }
    }
    RECT rc{0, 0, px(layout_.clientWidth), px(layout_.clientHeight)};
    AdjustWindowRectEx(&rc, style, menu != nullptr, exStyle);
    // Dialogs belong to the main window, so that they stay above it.
    HWND owner = mainWindow_ ? nullptr : platform_.mainWindow();
    hwnd_ = CreateWindowExW(exStyle, kClassName, Widen(form_.caption()).c_str(), style,
                            CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left, rc.bottom - rc.top,
                            owner, menu, GetModuleHandleW(nullptr), this);
    if (mainWindow_) {
        // A narrow window may wrap its menu bar onto a second row: grow until the client area
        // has its designed height.
        RECT client;
        GetClientRect(hwnd_, &client);
        const int missing = px(layout_.clientHeight) - (client.bottom - client.top);
        if (missing > 0) {
            RECT frame;
            GetWindowRect(hwnd_, &frame);
            SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left,
                         frame.bottom - frame.top + missing, SWP_NOMOVE | SWP_NOZORDER);
        }
    }

    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);

    int id = kFirstControlId;
    for (Binding& b : bindings_)
        createControl(b, id++);
    // A screen reader names a box or list after the static text just before it in the Z order,
    // which is also the Tab order: each label goes there, wherever the table lists it.
    for (const Binding& b : bindings_) {
        const Label* label = b.model->label();
        HWND shown = label ? controlWindow(label->name()) : nullptr;
        if (!shown || !b.hwnd)
            continue;
        HWND before = GetWindow(b.hwnd, GW_HWNDPREV);
        if (before != shown)
            SetWindowPos(shown, before ? before : HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    recordGeometry();
}

HFONT FormWindow::fontFor(unsigned flags) {
    const unsigned key = flags & (kBold | kSmall | kLarge | kTitle | kItalic | kLink);
    auto it = fonts_.find(key);
    if (it != fonts_.end())
        return it->second;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW lf = metrics.lfMessageFont;
    lf.lfHeight = -FontPixels(layout_, key);
    lf.lfWeight = IsBold(key) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (key & kItalic) ? TRUE : FALSE;
    lf.lfUnderline = (key & kLink) ? TRUE : FALSE;
    lf.lfQuality = CLEARTYPE_QUALITY;
    HFONT font = CreateFontIndirectW(&lf);
    fonts_.emplace(key, font);
    return font;
}

void FormWindow::createControl(Binding& b, int id) {
    const RECT r = pixelRect(b.place.rect);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const unsigned f = b.place.flags;
    const wchar_t* cls = nullptr;
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    int height = h;
    switch (b.kind) {
    case Kind::Picture:
        // Drawn as part of the window's background.
        backgroundDirty_ = true;
        return;
    case Kind::Line:
        cls = L"STATIC";
        style |= SS_ETCHEDHORZ;
        break;
    case Kind::Progress:
        cls = PROGRESS_CLASSW;
        break;
    case Kind::Label:
        cls = L"STATIC";
        style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
        if (!(f & kWrap))
            style |= SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS;
        if (f & kCentred)
            style |= SS_CENTERIMAGE;
        break;
    case Kind::Text:
        cls = L"EDIT";
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP;
        if (f & kMultiLine)
            style |= ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL;
        else
            style |= ES_AUTOHSCROLL;
        break;
    case Kind::Combo:
        cls = L"COMBOBOX";
        style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
        // The height of a combo box includes its dropped-down list.
        height = h + 240;
        break;
    case Kind::List:
        cls = L"LISTBOX";
        exStyle = WS_EX_CLIENTEDGE;
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        break;
    case Kind::Button:
        cls = L"BUTTON";
        style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
    }
    // A box or list that no label on the window names gets an invisible one just before it,
    // which screen readers still take as its name.
    const bool named = b.kind == Kind::Text || b.kind == Kind::Combo || b.kind == Kind::List;
    if (named && !b.model->label())
        b.nameLabel =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_LEFT | SS_NOPREFIX, r.left, r.top, w,
                            h, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    b.hwnd = CreateWindowExW(exStyle, cls, L"", style, r.left, r.top, w, height, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             GetModuleHandleW(nullptr), nullptr);
    b.font = fontFor(f);
    SendMessageW(b.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(b.font), FALSE);
    if (b.kind == Kind::Combo) {
        // The closed box keeps the designed height.
        SendMessageW(b.hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), h - 6);
        if (HWND edit = ComboEdit(b.hwnd))
            SetWindowSubclass(edit, &FormWindow::ControlProc, static_cast<UINT_PTR>(id),
                              reinterpret_cast<DWORD_PTR>(this));
    }
    if (b.kind == Kind::Text || b.kind == Kind::List || b.kind == Kind::Label)
        SetWindowSubclass(b.hwnd, &FormWindow::ControlProc, static_cast<UINT_PTR>(id),
                          reinterpret_cast<DWORD_PTR>(this));

    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(b.hwnd);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (b.kind == Kind::Combo)
        if (HWND edit = ComboEdit(b.hwnd)) {
            tool.uId = reinterpret_cast<UINT_PTR>(edit);
            SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
}

// ---- rendering ----------------------------------------------------------------------------------

void FormWindow::render() {
    syncing_ = true;
    renderForm();
    for (Binding& b : bindings_) {
        if (b.rendered != b.model->revision()) {
            render(b);
            b.rendered = b.model->revision();
        }
    }
    if (menus_ && menus_->sync())
        DrawMenuBar(hwnd_);
    // A focus request is carried out once, when the window shows; a hidden window takes the
    // focus when it is shown.
    if (renderedFocusRequests_ != form_.focusRequests() && IsWindowVisible(hwnd_)) {
        if (HWND target = controlWindow(form_.focusedControl())) {
            SetFocus(target);
            // A box reached so has its whole text selected, as Tab gives it, so that typing
            // replaces an address offered from the clipboard.
            if (Binding* b = bindingOf(target); b && b->kind == Kind::Text)
                SendMessageW(target, EM_SETSEL, 0, -1);
        }
        renderedFocusRequests_ = form_.focusRequests();
    }
    syncing_ = false;
}

// ---- showing and hiding -------------------------------------------------------------------------

namespace {

// Places a dialog about to be shown over the middle of the main window, or of the screen while
// the main window is hidden, and wholly on the screen.
void CentreWindow(HWND window, HWND over) {
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT centre = area;
    if (over && IsWindowVisible(over) && !IsIconic(over))
        GetWindowRect(over, &centre);
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    int x = (centre.left + centre.right - w) / 2;
    int y = (centre.top + centre.bottom - h) / 2;
    x = std::max(static_cast<int>(area.left), std::min(x, static_cast<int>(area.right) - w));
    y = std::max(static_cast<int>(area.top), std::min(y, static_cast<int>(area.bottom) - h));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void FormWindow::show(bool modal) {
    if (modal) {
        // Every other window of the program waits while the dialog is shown.
        for (HWND w : platform_.programWindows())
            if (w != hwnd_ && IsWindowVisible(w) && IsWindowEnabled(w)) {
                EnableWindow(w, FALSE);
                disabled_.push_back(w);
            }
    }
    if (!IsWindowVisible(hwnd_)) {
        int how = SW_SHOW;
        if (!mainWindow_)
            CentreWindow(hwnd_, platform_.mainWindow());
        else if (form_.windowState() == WindowState::Minimized)
            how = SW_SHOWMINNOACTIVE;
        else if (form_.windowState() == WindowState::Maximized)
            how = SW_SHOWMAXIMIZED;
        ShowWindow(hwnd_, how);
    }
    if (!IsIconic(hwnd_))
        SetForegroundWindow(hwnd_);
    render();
}

void FormWindow::hide() {
    // The windows the dialog disabled come back first, so that the focus returns to them.
    for (HWND w : disabled_)
        EnableWindow(w, TRUE);
    disabled_.clear();
    ShowWindow(hwnd_, SW_HIDE);
}

void FormWindow::applyWindowState() {
    switch (form_.windowState()) {
    case WindowState::Minimized:
        if (!IsIconic(hwnd_))
            ShowWindow(hwnd_, SW_MINIMIZE);
        break;
    case WindowState::Maximized:
        if (!IsZoomed(hwnd_))
            ShowWindow(hwnd_, SW_MAXIMIZE);
        break;
    case WindowState::Normal:
        if (IsIconic(hwnd_) || IsZoomed(hwnd_))
            ShowWindow(hwnd_, SW_RESTORE);
        break;
    }
}

void FormWindow::setForeground() {
    SetForegroundWindow(hwnd_);
}

void FormWindow::renderTooltip(Binding& b) {
    std::wstring tip = Widen(b.model->toolTip());
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(b.hwnd);
    tool.lpszText = tip.data();
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    if (b.kind == Kind::Combo)
        if (HWND edit = ComboEdit(b.hwnd)) {
            tool.uId = reinterpret_cast<UINT_PTR>(edit);
            SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
}

void FormWindow::render(Binding& b) {
    if (b.kind == Kind::Picture) {
        backgroundDirty_ = true;
        InvalidateRect(hwnd_, nullptr, TRUE);
        return;
    }
    HWND w = b.hwnd;
    const bool shown = b.model->visible() && !(b.place.flags & kHidden);
    if ((IsWindowVisible(w) != FALSE) != shown)
        ShowWindow(w, shown ? SW_SHOWNA : SW_HIDE);
    // A multi-line text is read-only: it stays enabled and a Tab stop while its model is
    // display only, so that the keyboard and a screen reader reach what it shows.
    const bool readOnly = b.kind == Kind::Text && (b.place.flags & kMultiLine);
    if (!readOnly && (IsWindowEnabled(w) != FALSE) != b.model->enabled())
        EnableWindow(w, b.model->enabled());
    renderTooltip(b);
    if (b.nameLabel)
        SetTextIfChanged(b.nameLabel, Widen(AccessibleName(*b.model)));

    switch (b.kind) {
    case Kind::Label: {
        const auto& m = static_cast<Label&>(*b.model);
        SetTextIfChanged(w, Widen(m.caption()));
        // The colours are asked for when the label paints.
        InvalidateRect(w, nullptr, TRUE);
        break;
    }
    case Kind::Text: {
        const auto& m = static_cast<TextBox&>(*b.model);
        // Only a changed text is set, so that typing keeps its caret position.
        SetTextIfChanged(w, Widen(m.text()));
        InvalidateRect(w, nullptr, TRUE);
        break;
    }
    case Kind::Combo: {
        const auto& m = static_cast<ComboBox&>(*b.model);
        const int count = static_cast<int>(SendMessageW(w, CB_GETCOUNT, 0, 0));
        bool same = count == m.listCount();
        for (int i = 0; same && i < count; ++i) {
            const int len = static_cast<int>(SendMessageW(w, CB_GETLBTEXTLEN, i, 0));
            std::wstring s(static_cast<std::size_t>(len) + 1, L'\0');
            SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()));
            s.resize(static_cast<std::size_t>(len));
            same = s == Widen(m.item(i));
        }
        if (!same) {
            SendMessageW(w, WM_SETREDRAW, FALSE, 0);
            SendMessageW(w, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : m.items())
                SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
            SendMessageW(w, WM_SETREDRAW, TRUE, 0);
        }
        if (static_cast<int>(SendMessageW(w, CB_GETCURSEL, 0, 0)) != m.listIndex())
            SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(m.listIndex()), 0);
        SetTextIfChanged(w, Widen(m.text()));
        InvalidateRect(w, nullptr, TRUE);
        break;
    }
    case Kind::List: {
        const auto& m = static_cast<ListBox&>(*b.model);
        const int count = static_cast<int>(SendMessageW(w, LB_GETCOUNT, 0, 0));
        bool same = count == m.listCount();
        for (int i = 0; same && i < count; ++i) {
            const int len = static_cast<int>(SendMessageW(w, LB_GETTEXTLEN, i, 0));
            std::wstring s(static_cast<std::size_t>(len) + 1, L'\0');
            SendMessageW(w, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data()));
            s.resize(static_cast<std::size_t>(len));
            same = s == Widen(m.item(i));
        }
        if (!same) {
            SendMessageW(w, WM_SETREDRAW, FALSE, 0);
            SendMessageW(w, LB_RESETCONTENT, 0, 0);
            for (const std::string& item : m.items())
                SendMessageW(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
            SendMessageW(w, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(w, nullptr, TRUE);
        }
        if (static_cast<int>(SendMessageW(w, LB_GETCURSEL, 0, 0)) != m.listIndex())
            SendMessageW(w, LB_SETCURSEL, static_cast<WPARAM>(m.listIndex()), 0);
        break;
    }
    case Kind::Button: {
        // The window text is the button's name for a screen reader, never drawn: the owner
        // draw shows the caption or the picture.
        SetTextIfChanged(w, Widen(AccessibleName(*b.model)));
        InvalidateRect(w, nullptr, TRUE);
        break;
    }
    case Kind::Progress: {
        const auto& m = static_cast<ProgressBar&>(*b.model);
        // A bar of nothing to do stands empty.
        const int maximum = std::max(m.maximum(), 1);
        if (static_cast<int>(SendMessageW(w, PBM_GETRANGE, FALSE, 0)) != maximum)
            SendMessageW(w, PBM_SETRANGE32, 0, maximum);
        if (static_cast<int>(SendMessageW(w, PBM_GETPOS, 0, 0)) != m.value())
            SendMessageW(w, PBM_SETPOS, static_cast<WPARAM>(m.value()), 0);
        break;
    }
    case Kind::Line:
    case Kind::Picture:
        break;
    }
}

void FormWindow::renderForm() {
    if (renderedFormRevision_ == form_.revision())
        return;
    SetTextIfChanged(hwnd_, Widen(form_.caption()));
    // The background is drawn again only when its colour or picture changed, not when the
    // window moved or asked for the focus.
    if (form_.picture() != renderedPicture_ || !(form_.backColour() == renderedBack_)) {
        renderedPicture_ = form_.picture();
        renderedBack_ = form_.backColour();
        backgroundDirty_ = true;
        InvalidateRect(hwnd_, nullptr, TRUE);
    }

    if (mainWindow_) {
        RECT frame;
        GetWindowRect(hwnd_, &frame);
        const int left = px(form_.left());
        const int top = px(form_.top());
        if (!IsIconic(hwnd_) && (frame.left != left || frame.top != top))
            SetWindowPos(hwnd_, nullptr, left, top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        // A hidden window keeps its state until it is shown: showing it applies the state.
        if (IsWindowVisible(hwnd_)) {
            const WindowState wanted = form_.windowState();
            const WindowState now = IsIconic(hwnd_)   ? WindowState::Minimized
                                    : IsZoomed(hwnd_) ? WindowState::Maximized
                                                      : WindowState::Normal;
            if (now != wanted)
                ShowWindow(hwnd_, wanted == WindowState::Minimized   ? SW_MINIMIZE
                                  : wanted == WindowState::Maximized ? SW_MAXIMIZE
                                                                     : SW_RESTORE);
        }
    }

    renderedFormRevision_ = form_.revision();
}

void FormWindow::rebuildBackground() {
    backgroundDirty_ = false;
    RECT client;
    GetClientRect(hwnd_, &client);
    const int w = client.right > 0 ? client.right : 1;
    const int h = client.bottom > 0 ? client.bottom : 1;
    HDC screen = GetDC(hwnd_);
    HDC dc = CreateCompatibleDC(screen);
    if (background_)
        DeleteObject(background_);
    background_ = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(dc, background_);

    const COLORREF back = resolve(form_.backColour(), GetSysColor(COLOR_BTNFACE));
    RECT all{0, 0, w, h};
    FillRect(dc, &all, solidBrush(back));
    DrawBitmap(dc, form_.picture(), 0, 0);
    for (const Binding& b : bindings_) {
        if (b.kind != Kind::Picture || !b.model->visible())
            continue;
        const RECT r = pixelRect(b.place.rect);
        DrawBitmap(dc, static_cast<const PictureBox&>(*b.model).picture(), r.left, r.top);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(hwnd_, screen);

    if (backgroundBrush_)
        DeleteObject(backgroundBrush_);
    backgroundBrush_ = CreatePatternBrush(background_);
    // The labels show the background through: they paint again with the new one.
    for (const Binding& b : bindings_)
        if (b.hwnd)
            InvalidateRect(b.hwnd, nullptr, TRUE);
}

COLORREF FormWindow::resolve(Colour c, COLORREF design) const {
    switch (c.kind) {
    case Colour::Kind::Default:
        return design;
    case Colour::Kind::Rgb:
        return FromRgb(c.rgb);
    case Colour::Kind::Highlight:
        return GetSysColor(COLOR_HIGHLIGHT);
    case Colour::Kind::ButtonFace:
        return GetSysColor(COLOR_BTNFACE);
    case Colour::Kind::ActiveTitleBar:
        return GetSysColor(COLOR_ACTIVECAPTION);
    }
    return design;
}

HBRUSH FormWindow::solidBrush(COLORREF c) {
    auto it = brushes_.find(c);
    if (it != brushes_.end())
        return it->second;
    HBRUSH brush = CreateSolidBrush(c);
    brushes_.emplace(c, brush);
    return brush;
}

// Labels: the model's colours; without a background colour of their own they show the window's
// background through (the brush is the background bitmap, aligned to the label's place).
HBRUSH FormWindow::colourStatic(HDC dc, HWND child) {
    Binding* b = bindingOf(child);
    if (b && b->kind == Kind::Text)
        return colourField(dc, child);
    if (backgroundDirty_)
        rebuildBackground();
    COLORREF designText = layout_.labelColour >= 0
                              ? FromRgb(static_cast<std::uint32_t>(layout_.labelColour))
                              : GetSysColor(COLOR_WINDOWTEXT);
    if (b && (b->place.flags & (kLink | kLinkColour)))
        designText = FromRgb(tabbern::kLinkRgb);
    if (b) {
        designText = resolve(b->place.fore, designText);
        if (!b->model->enabled())
            SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        else
            SetTextColor(dc, resolve(b->model->foreColour(), designText));
        Colour back = b->model->backColour();
        if (back.kind == Colour::Kind::Default)
            back = b->place.back;
        if (back.kind != Colour::Kind::Default) {
            const COLORREF colour = resolve(back, 0);
            SetBkColor(dc, colour);
            return solidBrush(colour);
        }
    }
    SetBkMode(dc, TRANSPARENT);
    POINT at{0, 0};
    MapWindowPoints(child, hwnd_, &at, 1);
    SetBrushOrgEx(dc, -at.x, -at.y, nullptr);
    return backgroundBrush_;
}

HBRUSH FormWindow::colourField(HDC dc, HWND child) {
    Binding* b = bindingOf(child);
    if (!b) {
        // The edit box of a combo box reports itself.
        if (HWND parent = GetParent(child); parent != hwnd_)
            b = bindingOf(parent);
    }
    const COLORREF defaultBack = GetSysColor(COLOR_WINDOW);
    COLORREF back = defaultBack;
    COLORREF fore = GetSysColor(COLOR_WINDOWTEXT);
    if (b) {
        back = resolve(b->model->backColour(), defaultBack);
        fore = resolve(b->model->foreColour(), fore);
        if (!b->model->enabled() && b->kind != Kind::Text)
            fore = GetSysColor(COLOR_GRAYTEXT);
    }
    SetTextColor(dc, fore);
    SetBkColor(dc, back);
    return solidBrush(back);
}

void FormWindow::drawButton(const DRAWITEMSTRUCT& item) {
    Binding* b = bindingOf(item.hwndItem);
    if (!b)
        return;
    const auto& m = static_cast<Button&>(*b->model);
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    const SIZE face = BitmapSize(m.picture());
    if (face.cx > 0 && (b->place.flags & kFramed)) {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        const int x = (r.right - r.left - face.cx) / 2 + (pressed ? 1 : 0);
        const int y = (r.bottom - r.top - face.cy) / 2 + (pressed ? 1 : 0);
        DrawBitmap(dc, m.picture(), x, y, disabled);
        if (focused) {
            RECT ring = r;
            InflateRect(&ring, -3, -3);
            DrawFocusRect(dc, &ring);
        }
        return;
    }
    if (face.cx > 0) {
        // The face lies on the window's background, centred, and moves a pixel when pressed.
        if (backgroundDirty_)
            rebuildBackground();
        POINT at{0, 0};
        MapWindowPoints(item.hwndItem, hwnd_, &at, 1);
        SetBrushOrgEx(dc, -at.x, -at.y, nullptr);
        FillRect(dc, &r, backgroundBrush_);
        const int x = (r.right - r.left - face.cx) / 2 + (pressed ? 1 : 0);
        const int y = (r.bottom - r.top - face.cy) / 2 + (pressed ? 1 : 0);
        DrawBitmap(dc, m.picture(), x, y, disabled);
        if (focused) {
            RECT ring{x - 1, y - 1, x + face.cx + 1, y + face.cy + 1};
            DrawFocusRect(dc, &ring);
        }
        return;
    }
    // A button without a picture: the desktop's own push button with the caption.
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    HGDIOBJ old = SelectObject(dc, b->font);
    RECT text = r;
    if (pressed)
        OffsetRect(&text, 1, 1);
    std::wstring caption = Widen(m.caption());
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    if (focused) {
        RECT ring = r;
        InflateRect(&ring, -4, -4);
        DrawFocusRect(dc, &ring);
    }
}

// ---- lookup -------------------------------------------------------------------------------------

FormWindow::Binding* FormWindow::bindingOf(HWND hwnd) {
    for (Binding& b : bindings_)
        if (b.hwnd == hwnd && hwnd)
            return &b;
    return nullptr;
}

FormWindow::Binding* FormWindow::bindingOfId(int id) {
    const int index = id - kFirstControlId;
    if (index < 0 || index >= static_cast<int>(bindings_.size()))
        return nullptr;
    return &bindings_[static_cast<std::size_t>(index)];
}

HWND FormWindow::controlWindow(const std::string& name) const {
    for (const Binding& b : bindings_)
        if (b.model->name() == name)
            return b.hwnd;
    return nullptr;
}

void FormWindow::place(const std::string& name, const TwipRect& rect) {
    for (Binding& b : bindings_) {
        if (b.model->name() != name || !b.hwnd)
            continue;
        const RECT r = pixelRect(rect);
        RECT now;
        GetWindowRect(b.hwnd, &now);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
        if (now.left != r.left || now.top != r.top || now.right != r.right ||
            now.bottom != r.bottom)
            SetWindowPos(b.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// ---- the window as a window ---------------------------------------------------------------------

// Where the user put the window goes to the model, through the host.
void FormWindow::recordGeometry() {
    if (!mainWindow_ || IsIconic(hwnd_))
        return;
    RECT frame;
    GetWindowRect(hwnd_, &frame);
    const double tpp = platform_.twipsPerPixelX();
    host_.userMoved(form_, frame.left * tpp, frame.top * tpp, (frame.right - frame.left) * tpp,
                    (frame.bottom - frame.top) * tpp);
}

void FormWindow::focusFirstIfOutside() {
    HWND focus = GetFocus();
    if (focus && (focus == hwnd_ || IsChild(hwnd_, focus)) && focus != hwnd_)
        return;
    if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) &&
        IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE))
        SetFocus(first);
}

bool FormWindow::preTranslate(MSG& msg) {
    return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

// ---- messages -----------------------------------------------------------------------------------

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        auto* self = static_cast<FormWindow*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    return self->handle(msg, wp, lp);
}

LRESULT FormWindow::handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND: {
        if (backgroundDirty_)
            rebuildBackground();
        HDC dc = reinterpret_cast<HDC>(wp);
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, background_);
        RECT client;
        GetClientRect(hwnd_, &client);
        BitBlt(dc, 0, 0, client.right, client.bottom, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        return 1;
    }
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            colourStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(
            colourField(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)));
    case WM_DRAWITEM:
        drawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_NEXTDLGCTL: {
        // A multi-line box hands Tab on to its window, as it does in a dialog; without this the
        // keyboard could not leave it.
        HWND next =
            LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
        if (next) {
            SetFocus(next);
            if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                SendMessageW(next, EM_SETSEL, 0, -1);
        }
        return 0;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        const int code = HIWORD(wp);
        if (lp == 0 && code == 0 && menus_) {
            // A menu command: the core decides, and the ticks follow its models.
            if (MenuItem* item = menus_->itemOf(static_cast<UINT>(id))) {
                host_.runEvent([item] { item->click(); });
                return 0;
            }
        }
        if (id == IDOK && lp == 0) {
            // Enter on a focused button presses it; elsewhere the boxes handle their own Enter.
            if (Binding* b = bindingOf(GetFocus()); b && b->kind == Kind::Button)
                host_.runEvent([m = static_cast<Button*>(b->model)] { m->click(); });
            return 0;
        }
        if (id == IDCANCEL && lp == 0) {
            if (!mainWindow_)
                host_.frameClosed(form_);
            return 0;
        }
        if (Binding* b = bindingOfId(id); b && !syncing_)
            command(*b, code);
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus))
                lastFocus_ = focus;
            return 0;
        }
        host_.activated(form_);
        focusFirstIfOutside();
        return 0;
    case WM_CLOSE:
        // The frame's close button: the main window ends the program through the core, a
        // dialog presses its cancel button. The window itself never closes.
        host_.frameClosed(form_);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // Windows shutting down or the user logging off ends the program like the close box.
        if (wp && mainWindow_)
            host_.frameClosed(form_);
        return 0;
    case WM_MOVE:
        recordGeometry();
        break;
    case WM_SIZE:
        if (mainWindow_) {
            const WindowState now = wp == SIZE_MINIMIZED   ? WindowState::Minimized
                                    : wp == SIZE_MAXIMIZED ? WindowState::Maximized
                                                           : WindowState::Normal;
            if (wp == SIZE_MINIMIZED || wp == SIZE_MAXIMIZED || wp == SIZE_RESTORED)
                host_.userChangedState(form_, now);
            recordGeometry();
        }
        break;
    case Win32Platform::kTrayMessage: {
        const int action = static_cast<int>(LOWORD(lp));
        if (action == WM_LBUTTONUP || action == WM_LBUTTONDBLCLK || action == WM_RBUTTONUP)
            host_.trayAction(action);
        return 0;
    }
    case WM_SETCURSOR: {
        HWND over = reinterpret_cast<HWND>(wp);
        if (Binding* b = bindingOf(over); b && (b->place.flags & kLink) && b->model->enabled()) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void FormWindow::command(Binding& b, int code) {
    switch (b.kind) {
    case Kind::Button:
        if (code == BN_CLICKED || code == BN_DOUBLECLICKED)
            host_.runEvent([m = static_cast<Button*>(b.model)] { m->click(); });
        break;
    case Kind::Text:
        if (code == EN_CHANGE) {
            const std::string text = Narrow(WindowText(b.hwnd));
            auto* m = static_cast<TextBox*>(b.model);
            if (m->text() != text)
                host_.runEvent([m, text] { m->setText(text); });
        }
        break;
    case Kind::Combo: {
        auto* m = static_cast<ComboBox*>(b.model);
        const bool dropped = SendMessageW(b.hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0;
        switch (code) {
        case CBN_EDITCHANGE: {
            const std::string text = Narrow(WindowText(b.hwnd));
            host_.runEvent([m, text] { m->setText(text); });
            break;
        }
        case CBN_DROPDOWN:
            comboChoicePending_ = false;
            break;
        case CBN_SELENDOK:
            comboChoicePending_ = true;
            break;
        case CBN_SELENDCANCEL:
            comboChoicePending_ = false;
            break;
        case CBN_SELCHANGE:
            // Arrow keys in the closed box choose at once; in the open list only the choice
            // that closes it counts.
            if (!dropped) {
                comboChoicePending_ = false;
                const int index = static_cast<int>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0));
                if (index >= 0)
                    host_.runEvent([m, index] { m->setListIndex(index); });
            }
            break;
        case CBN_CLOSEUP:
            if (comboChoicePending_) {
                comboChoicePending_ = false;
                const int index = static_cast<int>(SendMessageW(b.hwnd, CB_GETCURSEL, 0, 0));
                if (index >= 0)
                    host_.runEvent([m, index] { m->setListIndex(index); });
            }
            break;
        default:
            break;
        }
        break;
    }
    case Kind::List:
        if (code == LBN_SELCHANGE) {
            // The user moved the selection (mouse or arrow keys): that is a click.
            auto* m = static_cast<ListBox*>(b.model);
            const int index = static_cast<int>(SendMessageW(b.hwnd, LB_GETCURSEL, 0, 0));
            if (index >= 0 && index != m->listIndex()) {
                listPressClicked_ = true;
                host_.runEvent([m, index] { m->setListIndex(index); });
            }
        } else if (code == LBN_DBLCLK) {
            auto* m = static_cast<ListBox*>(b.model);
            host_.runEvent([m] { m->dblClick(); });
        }
        break;
    case Kind::Label:
        if (!b.model->enabled())
            break;
        if (code == STN_CLICKED) {
            if (auto* link = dynamic_cast<LinkLabel*>(b.model))
                host_.runEvent([link] { link->click(); });
        } else if (code == STN_DBLCLK) {
            host_.runEvent([m = static_cast<Label*>(b.model)] { m->dblClick(); });
        }
        break;
    case Kind::Picture:
    case Kind::Line:
    case Kind::Progress:
        break;
    }
}

void FormWindow::enterPressed(Binding& b) {
    if (b.kind == Kind::Text)
        host_.runEvent([m = static_cast<TextBox*>(b.model)] { m->keyPress(kEnterKey); });
    else if (b.kind == Kind::Combo)
        host_.runEvent([m = static_cast<ComboBox*>(b.model)] { m->keyPress(kEnterKey); });
}

LRESULT CALLBACK FormWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<FormWindow*>(data);
    if (Binding* b = self->bindingOfId(static_cast<int>(id)))
        return self->handleControl(*b, hwnd, msg, wp, lp);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT FormWindow::handleControl(Binding& b, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_GETDLGCODE:
        // The boxes take Enter themselves, so that no default button is pressed.
        if ((b.kind == Kind::Text || b.kind == Kind::Combo) && lp) {
            const auto* m = reinterpret_cast<const MSG*>(lp);
            if ((m->message == WM_KEYDOWN || m->message == WM_CHAR) &&
                (m->wParam == VK_RETURN || m->wParam == L'\r'))
                return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTALLKEYS;
        }
        break;
    case WM_KEYDOWN:
        if (wp == VK_RETURN && (b.kind == Kind::Text || b.kind == Kind::Combo)) {
            // An open list closes on Enter as the desktop does; its choice counts then.
            if (b.kind == Kind::Combo && SendMessageW(b.hwnd, CB_GETDROPPEDSTATE, 0, 0))
                break;
            if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
                break;
            enterPressed(b);
            return 0;
        }
        break;
    case WM_CHAR:
        // The Enter character would only beep in a one-line box.
        if (wp == L'\r' && (b.kind == Kind::Text || b.kind == Kind::Combo))
            return 0;
        break;
    case WM_LBUTTONDOWN:
        if (b.kind == Kind::List)
            listPressClicked_ = false;
        break;
    case WM_LBUTTONDBLCLK:
        if (b.kind == Kind::List)
            listPressClicked_ = true;
        break;
    case WM_LBUTTONUP:
        if (b.kind == Kind::List) {
            const LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
            // A press on the selected entry clicks on release; one that moved the selection
            // clicked already.
            if (!listPressClicked_) {
                listPressClicked_ = true;
                const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lp);
                const int index = static_cast<int>(LOWORD(hit));
                auto* m = static_cast<ListBox*>(b.model);
                if (HIWORD(hit) == 0 && index == m->listIndex() && index >= 0)
                    host_.runEvent([m, index] { m->setListIndex(index); });
            }
            return r;
        }
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace tabbern::win32
