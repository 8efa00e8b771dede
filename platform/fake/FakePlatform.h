// The test double for the platform: scripted answers, recorded calls, a program folder in a
// temporary directory. Tests drive the core through it exactly as a user drives the program.
#pragma once

#include "platform/Platform.h"
#include "platform/fake/FakeLinkFetcher.h"

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tabbern {

struct RecordedMessage {
    std::string text;
    std::string title;
    MsgButtons buttons;
    MsgResult answer;
};

// Its endProcess throws ProcessEnded, so that a test sees the process end and can look at what
// was left behind.
class FakePlatform : public Platform, public FormHost {
public:
    explicit FakePlatform(std::string programFolder);

    // ---- what the test sets up ----------------------------------------------------------
    std::string folder;
    std::string commandLineText;
    std::string today = "12/6/2026";
    std::string clipboard;
    std::string programNameText = "Tabbern";
    std::string programCommandText = "/opt/tabbern/tabbern";
    double screenWidth = 1920 * 15.0;
    double screenHeight = 1080 * 15.0;
    // The screens' work areas; none set means one screen of screenWidth by screenHeight.
    std::vector<ScreenArea> screens;
    bool hasTray = true;
    // How many of the next tray-icon additions fail although a tray exists (a desktop whose
    // notification area is not ready yet).
    int trayAddFailures = 0;
    bool shellOpenSucceeds = true;
    std::set<std::string> hiddenFiles;
    std::map<std::string, std::string> webPages;

    // Answers for message boxes, in order. With none left, an OK box answers OK and any other
    // the refusing button (Cancel, No).
    std::deque<MsgResult> answers;
    // Answers for the open, save and folder dialogs, in order; none left means cancelled.
    std::deque<std::string> openAnswers, saveAnswers, folderAnswers;
    // What a user does in a modal form, by form name; runs after the form's activation.
    std::map<std::string, std::function<void(Form&)>> modalScripts;
    // What a user chooses in a pop-up menu.
    std::function<void(MenuItem&)> popupScript;

    // ---- what the test reads back -------------------------------------------------------
    std::vector<RecordedMessage> messages;
    std::vector<std::string> openedUrls;
    std::vector<std::string> shownForms;
    std::vector<std::string> trayCalls;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::string> folderPrompts;
    std::map<std::string, std::string> autostart;
    int endProcessCalls = 0;
    int foregroundCalls = 0;

    // ---- Platform -----------------------------------------------------------------------
    std::string programFolder() override { return folder; }
    std::string programFileBaseName() override { return "tabbern"; }
    std::string programName() override { return programNameText; }
    std::string commandLine() override { return commandLineText; }
    std::string programCommand() override { return programCommandText; }
    std::string todayShortDate() override { return today; }
    // The fake's short date form is month/day/year of the UTC day, like `today`.
    std::string shortDateOf(std::int64_t secondsSince1970) override;
    std::optional<std::int64_t> secondsOfShortDate(const std::string& text) override;
    bool isHiddenOrSystemFile(const std::string& path) override;

    MsgResult messageBox(const std::string& text, const std::string& title,
                         MsgButtons buttons) override;
    void showModal(Form& form) override;
    void showModeless(Form& form) override;
    void hideForm(Form& form) override;
    [[noreturn]] void endProcess() override;

    double screenWidthTwips() override { return screenWidth; }
    double screenHeightTwips() override { return screenHeight; }
    double twipsPerPixelX() override { return 15; }
    std::vector<ScreenArea> screenWorkAreas() override;
    void applyWindowState(Form&) override {}
    void setForeground(Form&) override { ++foregroundCalls; }
    void popupMenu(MenuItem& menu) override;

    bool trayAdd(const std::string& tip, int iconResource) override;
    void trayRemove() override;
    bool trayAvailable() override { return hasTray; }

    bool shellOpen(const std::string& url) override;
    std::string clipboardText() override { return clipboard; }
    std::string openFileDialog(const FileDialogRequest& request) override;
    std::string saveFileDialog(const FileDialogRequest& request) override;
    std::string browseForFolder(const std::string& prompt) override;

    std::optional<std::string> autostartEntry(const std::string& name) override;
    void writeAutostartEntry(const std::string& name, const std::string& command) override;
    void removeAutostartEntry(const std::string& name) override;

    std::string fetchUrl(const std::string& url) override;
    LinkFetcher& linkFetcher() override { return fetcher; }
    void runAsEvent(const std::function<void()>& handler) override { handler(); }

    // The link check's requests, answered by the test.
    FakeLinkFetcher fetcher;

    // The texts of all message boxes shown so far.
    std::vector<std::string> messageTexts() const;
};

} // namespace tabbern
