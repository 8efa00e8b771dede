// The about box, the help window and the command that opens the product's web site.
#pragma once

#include "ui/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace tabbern {

struct App;

// A label that reacts to a single click, as the about box's web links do.
class LinkLabel : public Label {
public:
    using Label::Label;

    std::function<void()> onClick;
    // Clicks the label as a user would: nothing happens while it is disabled.
    void click() {
        if (enabled() && onClick)
            onClick();
    }
};

class AboutForm : public Form {
public:
    AboutForm();

    LinkLabel lblTitle{"lblTitle"}; // the application title; a click opens the web site
    Label lblDescription{"lblDescription"};
    Label lblDisclaimer{"lblDisclaimer"};
    LinkLabel Label2{"Label2"}; // the product's web address; a click opens the web site
    Button cmdOK{"cmdOK"};
    // Two decorative rules across the box; only a view draws them.
    Control Line1{"Line1"};
    Control Line2{"Line2"};

    std::vector<Control*> allControls() override;
};

class HelpForm : public Form {
public:
    HelpForm();

    TextBox Text1{"Text1"}; // the help document, several lines
    Button Command1{"Command1"};

    std::vector<Control*> allControls() override;
};

// The about box's description: its lines, each ended by CR LF, one blank line after the second.
std::string AboutDescription();
// The one-line notice under the description.
std::string AboutDisclaimer();
// The help document, lines ended by CR LF.
std::string HelpText();
// Where the address of the product's web page is published.
std::string ProductRedirectAddress();

// Fetches the redirect file and opens the page it names, with the version as its ID.
void OpenProductWebsite(App& app);

void menuabout_Click(App& app);
void helpdocument_Click(App& app);
void menutabbernwebsite_Click(App& app);
void frmAbout_cmdOK_Click(App& app);
void frmHelp_Command1_Click(App& app);

// Connects the Help menu and the two windows' controls to the handlers.
void WireAboutHelpHandlers(App& app);

} // namespace tabbern
