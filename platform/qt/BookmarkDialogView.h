// The program's dialogs as real windows. DialogView holds what they share (a fixed window on a
// background picture, controls at absolute positions, rendering by revision, Enter and the
// cancel paths); BookmarkDialogView is the add and the edit dialog.
// Like every view they render the models and forward the user's input; they decide nothing.
#pragma once

#include "platform/qt/FormView.h"

#include <QColor>
#include <QDialog>
#include <QPixmap>
#include <QPushButton>
#include <QSize>

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRect;

namespace tabbern {

class BookmarkDialog;
class Button;
class ComboBox;
class Control;
class Form;
class Label;
class PictureBox;
class QtPlatform;
class TextBox;

// A button whose whole face is one of the program's bitmaps, with a ring while it has the
// focus (Enter and Space press the focused button). Without a face it is a plain button.
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

class DialogView : public QDialog, public FormView {
    Q_OBJECT

public:
    // The small dialogs' fixed client size, in pixels: the size of their background picture.
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 280;

    ~DialogView() override;
    DialogView(const DialogView&) = delete;
    DialogView& operator=(const DialogView&) = delete;

    Form& form() override { return form_; }
    QWidget* widget() override { return this; }
    void sync() override;

public slots:
    // The frame's close button and Escape both come here: they press the cancel button, and the
    // core decides whether the dialog hides.
    void reject() override;

protected:
    // cancel is the button that the frame's close button and Escape press. The window has the
    // fixed client size given.
    DialogView(QtPlatform& platform, Form& form, Button& cancel, QSize size = {kWidth, kHeight});

    // Building, in stacking order (the picture first). Pictures and colours are the models':
    // a picture box or button whose model names no bitmap shows none.
    QLabel* addPicture(PictureBox& model);
    // A label in bold type; its text colour is the model's, else the design colour given, else
    // the dialogs' own label colour.
    QLabel* addLabel(Label& model, const QRect& at, const QColor& designColour = {});
    // A box that is part of the dialog's state but not of its looks is built hidden.
    QLineEdit* addTextBox(TextBox& model, const QRect& at, bool shown = true);
    QComboBox* addComboBox(ComboBox& model, const QRect& at);
    PictureButton* addButton(Button& model, const QRect& at);
    // Renders the model into the widget after every event that changed it.
    void bind(Control& model, std::function<void()> render);
    // Registers the finished window with the platform and renders it once.
    void finishBuilding();

    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

    QtPlatform& platform_;

private:
    struct Binding {
        Control* model;
        std::function<void()> render;
        std::uint64_t rendered = 0;
    };
    // What Enter does on a widget, and whether the widget still gets the key afterwards.
    struct EnterAction {
        std::function<void()> run;
        bool passOn;
    };

    void renderForm();

    Form& form_;
    Button& cancel_;
    std::vector<Binding> bindings_;
    std::map<const QObject*, EnterAction> enterActions_;
    std::uint64_t renderedFormRevision_ = 0;
    std::uint64_t renderedFocusRequests_ = 0;
    // Painted rather than set in the palette, which the combo box's pop-up list would inherit.
    QColor background_;
    // The form's own picture, drawn from the top left corner over the background.
    QPixmap picture_;
};

// The add dialog (frmAddName) and the edit dialog (frmEditName): name, group and URL boxes,
// save and cancel. Shown modally by the core.
class BookmarkDialogView : public DialogView {
    Q_OBJECT

public:
    BookmarkDialogView(QtPlatform& platform, BookmarkDialog& model);
};

} // namespace tabbern
