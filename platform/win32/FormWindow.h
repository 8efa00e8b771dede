// One window for one form model: a Win32 control for every model control named in the form's
// layout table, rendered from the models after every event and forwarding the user's input to
// the core's handlers. The main window and every dialog are this one class with their own
// tables; it decides nothing.
#pragma once

#include "ui/Controls.h"
#include "ui/Layout.h"
#include "ui/MainForm.h"
#include "ui/ViewHost.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace tabbern::win32 {

class Win32Platform;
class MenuBinder;

class FormWindow : public ::tabbern::FormWindow {
public:
    // The window is created hidden. The user's input goes to the host.
    FormWindow(ViewHost& host, Win32Platform& platform, Form& form, FormLayout layout,
               bool mainWindow = false);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    Form& form() { return form_; }
    HWND hwnd() const { return hwnd_; }
    bool isMainWindow() const { return mainWindow_; }

    // ---- ::tabbern::FormWindow ----------------------------------------------------------
    void render() override;
    void show(bool modal) override;
    void hide() override;
    void applyWindowState() override;
    void setForeground() override;
    void place(const std::string& control, const TwipRect& rect) override;

    // The control window of a model control, or nullptr.
    HWND controlWindow(const std::string& name) const;

    // Keyboard navigation inside the window; see Win32Platform::preTranslate.
    bool preTranslate(MSG& msg);

private:
    enum class Kind { Label, Text, Combo, List, Button, Picture, Line, Progress };
    struct Binding {
        Control* model;
        Kind kind;
        Placement place;
        HWND hwnd = nullptr;
        HWND nameLabel = nullptr; // the invisible label that names a box no label names
        std::uint64_t rendered = 0;
        HFONT font = nullptr;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR data);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT handleControl(Binding& b, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    void create();
    void createControl(Binding& b, int id);
    HFONT fontFor(unsigned flags);
    void render(Binding& b);
    void renderForm();
    void renderTooltip(Binding& b);
    void rebuildBackground();
    Binding* bindingOf(HWND hwnd);
    Binding* bindingOfId(int id);
    RECT pixelRect(const TwipRect& r) const;
    int px(double twips) const;

    void command(Binding& b, int code);
    void drawButton(const DRAWITEMSTRUCT& item);
    HBRUSH colourStatic(HDC dc, HWND child);
    HBRUSH colourField(HDC dc, HWND child);
    HBRUSH solidBrush(COLORREF c);
    COLORREF resolve(Colour c, COLORREF design) const;
    void recordGeometry();
    void enterPressed(Binding& b);
    void focusFirstIfOutside();

    ViewHost& host_;
    Win32Platform& platform_;
    Form& form_;
    FormLayout layout_;
    bool mainWindow_;
    // The windows a modal showing disabled, enabled again when it hides.
    std::vector<HWND> disabled_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<Binding> bindings_;
    std::map<unsigned, HFONT> fonts_;
    std::map<COLORREF, HBRUSH> brushes_;
    MenuBinder* menus_ = nullptr;
    std::uint64_t renderedFormRevision_ = 0;
    std::uint64_t renderedFocusRequests_ = 0;
    // The background (colour and pictures) as one bitmap, and a brush of it for the labels that
    // show it through.
    HBITMAP background_ = nullptr;
    HBRUSH backgroundBrush_ = nullptr;
    bool backgroundDirty_ = true;
    int renderedPicture_ = 0;
    Colour renderedBack_;
    bool syncing_ = false;
    HWND lastFocus_ = nullptr;
    // A press in the list that already clicked (by moving the selection) must not click again
    // on release.
    bool listPressClicked_ = false;
    // A choice in the dropped-down list of a combo box counts when the list closes on it.
    bool comboChoicePending_ = false;
};

// Builds Win32 menus from menu models and keeps them rendered: captions with their access
// keys, enabled and ticks (the core owns the ticks).
class MenuBinder {
public:
    explicit MenuBinder(UINT firstId) : nextId_(firstId) {}
    ~MenuBinder();
    MenuBinder(const MenuBinder&) = delete;
    MenuBinder& operator=(const MenuBinder&) = delete;

    // A menu bar of the models' menus, or a pop-up menu of one menu's items.
    HMENU buildBar(const std::vector<MenuItem*>& menus);
    HMENU buildPopup(MenuItem& menu);
    // True when something changed (a menu bar then needs redrawing).
    bool sync();
    MenuItem* itemOf(UINT id) const;

private:
    struct Entry {
        MenuItem* model;
        HMENU parent;
        UINT position;
        UINT id;
        std::uint64_t rendered = 0;
    };
    void fill(HMENU target, MenuItem& menu);

    UINT nextId_;
    HMENU root_ = nullptr;
    std::vector<Entry> entries_;
};

} // namespace tabbern::win32
