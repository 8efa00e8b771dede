// One window for one form, on Qt: a widget for every control of the form's layout table, drawn
// from the models after every event, with the user's input forwarded to the view host. The main
// window and every dialog are this one class with their own tables; it decides nothing.
#pragma once

#include "platform/qt/MenuBinder.h"
#include "ui/ViewHost.h"

#include <QDialog>
#include <QPixmap>
#include <QPushButton>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QLabel;

namespace tabbern {
class LinkLabel;
}

namespace tabbern {

// A button whose whole face is one of the program's bitmaps, with a ring while it has the focus
// (Enter and Space press the focused button). Without a face it is a plain button.
class PictureButton : public QPushButton {
    Q_OBJECT

public:
    explicit PictureButton(QWidget* parent);
    void setFace(const QPixmap& face);
    const QPixmap& face() const { return face_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap face_;
};

// A dialog window even for the main window: Qt gives the focus back to the window a dialog
// covered when it hides, as the program's windows need.
class QtFormWindow : public QDialog, public FormWindow {
    Q_OBJECT

public:
    QtFormWindow(ViewHost& host, Form& form, const FormLayout& layout);
    ~QtFormWindow() override;

    Form& form() { return form_; }
    // The area the controls lie on: exactly the layout's client size.
    QWidget* clientArea() const { return client_; }

    // ---- FormWindow ---------------------------------------------------------------------
    void render() override;
    void show(bool modal) override;
    void hide() override;
    void applyWindowState() override;
    void setForeground() override;
    void place(const std::string& control, const TwipRect& rect) override;

public slots:
    // Escape in a dialog, as its close box.
    void reject() override;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    struct Binding {
        const Control* model;
        std::function<void()> render;
        std::uint64_t rendered = 0; // the model's revision when last rendered
    };

    void build(const FormLayout& layout);
    QWidget* buildControl(Control& model, const Placement& p, const FormLayout& layout);
    QWidget* buildLabel(Label& model, const Placement& p, const FormLayout& layout);
    QWidget* buildTextBox(TextBox& model, const Placement& p, const FormLayout& layout);
    QWidget* buildComboBox(ComboBox& model);
    QWidget* buildListBox(ListBox& model);
    QWidget* buildButton(Button& model, const Placement& p);
    QWidget* buildProgressBar(ProgressBar& model);
    void bind(const Control& model, std::function<void()> render);
    void run(const std::function<void()>& handler);
    void renderForm();
    void recordGeometry();
    bool isMain() const { return menus_ != nullptr; }

    ViewHost& host_;
    Form& form_;
    QWidget* client_ = nullptr;
    std::unique_ptr<MenuBinder> menus_;
    std::vector<Binding> bindings_;
    // What Enter and a double-click do on a widget.
    std::map<const QObject*, std::function<void()>> enterActions_;
    std::map<const QObject*, std::function<void()>> dblClickActions_;
    std::map<const QObject*, LinkLabel*> links_;
    std::uint64_t renderedFormRevision_ = 0;
    std::uint64_t renderedFocusRequests_ = 0;
    // Painted rather than set in the palette, which a combo box's pop-up list would inherit.
    QColor background_;
    QPixmap picture_;
    // A mouse press that moved a list's selection has already clicked; its release must not
    // click again.
    bool pressAlreadyClicked_ = false;
};

} // namespace tabbern
