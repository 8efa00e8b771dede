#include "platform/fake/FakePlatform.h"

#include "ui/Controls.h"

#include <charconv>
#include <chrono>
#include <utility>

namespace tabbern {

namespace {

std::string TakeFront(std::deque<std::string>& q) {
    if (q.empty())
        return {};
    std::string s = std::move(q.front());
    q.pop_front();
    return s;
}

} // namespace

FakePlatform::FakePlatform(std::string programFolder) : folder(std::move(programFolder)) {}

std::string FakePlatform::shortDateOf(std::int64_t secondsSince1970) {
    using namespace std::chrono;
    const year_month_day d{floor<days>(sys_seconds{seconds{secondsSince1970}})};
    return std::to_string(unsigned(d.month())) + "/" + std::to_string(unsigned(d.day())) + "/" +
           std::to_string(int(d.year()));
}

std::optional<std::int64_t> FakePlatform::secondsOfShortDate(const std::string& text) {
    using namespace std::chrono;
    int part[3] = {};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 3; ++i) {
        const auto [next, error] = std::from_chars(at, end, part[i]);
        if (error != std::errc() || next == at || (i < 2 && (next == end || *next != '/')))
            return std::nullopt;
        at = i < 2 ? next + 1 : next;
    }
    if (at != end || part[2] < 1 || part[2] > 9999)
        return std::nullopt;
    const year_month_day d{year{part[2]}, month{unsigned(part[0])}, day{unsigned(part[1])}};
    if (!d.ok())
        return std::nullopt;
    return duration_cast<seconds>(sys_days{d}.time_since_epoch() + hours{12}).count();
}

bool FakePlatform::isHiddenOrSystemFile(const std::string& path) {
    return hiddenFiles.count(path) != 0;
}

MsgResult FakePlatform::messageBox(const std::string& text, const std::string& title,
                                   MsgButtons buttons) {
    MsgResult answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    } else {
        answer = buttons == MsgButtons::OK         ? MsgResult::OK
                 : buttons == MsgButtons::OKCancel ? MsgResult::Cancel
                                                   : MsgResult::No;
    }
    messages.push_back({text, title, buttons, answer});
    return answer;
}

void FakePlatform::showModal(Form& form) {
    shownForms.push_back(form.name());
    form.setVisible(true);
    if (form.onActivate)
        form.onActivate();
    auto script = modalScripts.find(form.name());
    if (script != modalScripts.end() && form.visible())
        script->second(form);
    // A real modal form only returns once hidden; a script that leaves it open closes it.
    form.setVisible(false);
}

void FakePlatform::showModeless(Form& form) {
    shownForms.push_back(form.name());
    form.setVisible(true);
}

void FakePlatform::hideForm(Form& form) {
    form.setVisible(false);
}

void FakePlatform::endProcess() {
    ++endProcessCalls;
    throw ProcessEnded{};
}

void FakePlatform::popupMenu(MenuItem& menu) {
    if (popupScript)
        popupScript(menu);
}

std::vector<ScreenArea> FakePlatform::screenWorkAreas() {
    if (screens.empty())
        return {ScreenArea{0, 0, screenWidth, screenHeight}};
    return screens;
}

bool FakePlatform::trayAdd(const std::string& tip, int iconResource) {
    trayCalls.push_back("add " + std::to_string(iconResource) + " [" + tip + "]");
    if (trayAddFailures > 0) {
        --trayAddFailures;
        return false;
    }
    return hasTray;
}

void FakePlatform::trayRemove() {
    trayCalls.push_back("remove");
}

bool FakePlatform::shellOpen(const std::string& url) {
    openedUrls.push_back(url);
    return shellOpenSucceeds;
}

std::string FakePlatform::openFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    return TakeFront(openAnswers);
}

std::string FakePlatform::saveFileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    return TakeFront(saveAnswers);
}

std::string FakePlatform::browseForFolder(const std::string& prompt) {
    folderPrompts.push_back(prompt);
    return TakeFront(folderAnswers);
}

std::optional<std::string> FakePlatform::autostartEntry(const std::string& name) {
    auto it = autostart.find(name);
    if (it == autostart.end())
        return std::nullopt;
    return it->second;
}

void FakePlatform::writeAutostartEntry(const std::string& name, const std::string& command) {
    autostart[name] = command;
}

void FakePlatform::removeAutostartEntry(const std::string& name) {
    autostart.erase(name);
}

std::string FakePlatform::fetchUrl(const std::string& url) {
    auto it = webPages.find(url);
    return it == webPages.end() ? std::string() : it->second;
}

std::vector<std::string> FakePlatform::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : messages)
        out.push_back(m.text);
    return out;
}

} // namespace tabbern
