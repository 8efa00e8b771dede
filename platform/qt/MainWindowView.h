// The main window: real widgets bound to the main form's models. It renders the models after
// every event and forwards the user's input to the core's handlers; it decides nothing.
#pragma once

#include "platform/qt/FormView.h"
#include "platform/qt/MenuBinder.h"

#include <QMainWindow>

#include <cstdint>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tabbern {

struct App;
class Control;
class MainForm;
class QtPlatform;

class MainWindowView : public QMainWindow, public FormView {
    Q_OBJECT

public:
    // Builds the window hidden and registers it as the main form's view.
    MainWindowView(QtPlatform& platform, App& app);
    ~MainWindowView() override;

    Form& form() override;
    QWidget* widget() override { return this; }
    void sync() override;

    // The area the controls lie on: exactly the form's client size.
    QWidget* clientArea() const { return client_; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // One control and the widget that shows it.
    struct Binding {
        Control* model;
        std::function<void()> render;
        std::uint64_t rendered = 0; // the model's revision when last rendered
    };

    void buildControls();
    void buildMenus();
    template <class W> W* place(Control& model, W* widget);
    void bind(Control& model, std::function<void()> render);
    void renderCommon(const Control& model, QWidget* widget);
    void renderForm();
    void recordFrameGeometry();
    void userChangedWindowState();
    void listRowChangedByUser(int row);

    QtPlatform& platform_;
    App& app_;
    MainForm& form_;
    MenuBinder menus_;
    std::vector<Binding> bindings_;
    std::uint64_t renderedFormRevision_ = 0;
    std::uint64_t renderedFocusRequests_ = 0;

    QWidget* client_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* dataPath_ = nullptr;
    QLabel* url_ = nullptr;
    QComboBox* groups_ = nullptr;
    QListWidget* list_ = nullptr;
    QLineEdit* search_ = nullptr;
    QPushButton* find_ = nullptr;

    // A mouse press that moved the list's selection has already clicked; its release must not
    // click again.
    bool pressAlreadyClicked_ = false;
};

} // namespace tabbern
