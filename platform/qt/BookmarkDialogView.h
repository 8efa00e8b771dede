// The small dialogs of the editing commands as real windows. DialogView holds what they share
// (a fixed window on a background picture, controls at absolute positions, rendering by
// revision, Enter and the cancel paths); BookmarkDialogView is the add and the edit dialog.
// Like every view they render the models and forward the user's input; they decide nothing.
#pragma once

#include "platform/qt/FormView.h"

#include <QColor>
#include <QDialog>
#include <QPixmap>
#include <QPushButton>

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
    // The dialogs' fixed client size, in pixels: the size of their background picture.
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
    // cancel is the button that the frame's close button and Escape press.
    DialogView(QtPlatform& platform, Form& form, Button& cancel);

    // Building, in stacking order (the picture first). A design bitmap shows while the model
    // names none.
    QLabel* addPicture(PictureBox& model, int designBitmap);
    QLabel* addLabel(Label& model, const QRect& at);
    // A box that is part of the dialog's state but not of its looks is built hidden.
    QLineEdit* addTextBox(TextBox& model, const QRect& at, bool shown = true);
    QComboBox* addComboBox(ComboBox& model, const QRect& at);
    PictureButton* addButton(Button& model, const QRect& at, int designBitmap);
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

    void bind(Control& model, std::function<void()> render);
    void renderForm();

    Form& form_;
    Button& cancel_;
    std::vector<Binding> bindings_;
    std::map<const QObject*, EnterAction> enterActions_;
    std::uint64_t renderedFormRevision_ = 0;
    // Painted rather than set in the palette, which the combo box's pop-up list would inherit.
    QColor background_;
};

// The add dialog (frmAddName) and the edit dialog (frmEditName): name, group and URL boxes,
// save and cancel. Shown modally by the core.
class BookmarkDialogView : public DialogView {
    Q_OBJECT

public:
    BookmarkDialogView(QtPlatform& platform, BookmarkDialog& model);
};

} // namespace tabbern
