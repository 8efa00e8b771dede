// What the platform needs of a form's view: its window, and a way to render the models.
#pragma once

class QWidget;

namespace tabbern {

class Form;

class FormView {
public:
    virtual ~FormView() = default;

    virtual Form& form() = 0;
    virtual QWidget* widget() = 0;
    // Renders whatever changed in the form's models since the last call. Runs once after every
    // event and before every message box or dialog; it never runs a handler.
    virtual void sync() = 0;
};

} // namespace tabbern
