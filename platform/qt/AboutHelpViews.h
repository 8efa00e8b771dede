// The about box (frmAbout) and the help window (frmHelp) as real windows. The core shows both
// modally and hides them from their buttons; the views render the models and forward the
// user's clicks, including those on the about box's two web links.
#pragma once

#include "platform/qt/BookmarkDialogView.h"

#include <map>

class QLabel;
class QPlainTextEdit;

namespace tabbern {

class AboutForm;
class HelpForm;
class LinkLabel;

class AboutView : public DialogView {
    Q_OBJECT

public:
    AboutView(QtPlatform& platform, AboutForm& model);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // A label that takes single clicks, shown with a pointing hand while it is enabled.
    QLabel* addLink(LinkLabel& model, const QRect& at, const QColor& designColour = {});

    std::map<const QObject*, LinkLabel*> links_;
};

class HelpView : public DialogView {
    Q_OBJECT

public:
    HelpView(QtPlatform& platform, HelpForm& model);
};

} // namespace tabbern
