#include "checking/CheckFile.h"

#include "checking/LinkCheck.h"
#include "editing/WebAddress.h"
#include "store/FileIo.h"
#include "store/TextFile.h"

#include <chrono>
#include <cstdio>

namespace tabbern {

namespace {

bool IsResultCode(std::string_view code) {
    for (const char* word : {kTimedOutWord, kNoHostWord, kRefusedWord, kCertificateWord,
                             kTooManyRedirectsWord, kErrorWord})
        if (code == word)
            return true;
    return code.size() == 3 && code[0] >= '1' && code[0] <= '5' && code[1] >= '0' &&
           code[1] <= '9' && code[2] >= '0' && code[2] <= '9';
}

// An address as the check asks for it: a web address with its scheme.
bool IsCheckedAddress(std::string_view address) {
    return !address.empty() && BrowserAddress(address) == address;
}

std::optional<CheckLine> ParseLine(std::string_view line) {
    if (line.size() > kCheckLineLimit)
        return std::nullopt;
    std::vector<std::string_view> fields;
    while (true) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            break;
        line.remove_prefix(tab + 1);
    }
    if (fields.size() != 4 || !IsCheckedAddress(fields[0]) || !IsResultCode(fields[1]) ||
        !IsCheckedAddress(fields[2]))
        return std::nullopt;
    const std::optional<std::int64_t> at = ParseCheckTime(fields[3]);
    if (!at)
        return std::nullopt;
    return CheckLine{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), *at};
}

bool ReadNumber(std::string_view text, std::size_t at, std::size_t digits, int& out) {
    out = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

const CheckLine* CheckRecords::find(const std::string& address) const {
    const auto found = index_.find(address);
    return found == index_.end() ? nullptr : &lines_[found->second];
}

void CheckRecords::put(CheckLine line) {
    const auto found = index_.find(line.address);
    if (found != index_.end()) {
        lines_[found->second] = std::move(line);
        return;
    }
    index_.emplace(line.address, lines_.size());
    lines_.push_back(std::move(line));
}

CheckRecords ParseCheckFile(std::string_view bytes) {
    CheckRecords records;
    for (const std::string& line : DecodeLines(bytes))
        if (std::optional<CheckLine> parsed = ParseLine(line))
            records.put(std::move(*parsed));
    return records;
}

std::string FormatCheckFile(const CheckRecords& records) {
    std::vector<std::string> lines;
    lines.reserve(records.lines().size());
    for (const CheckLine& l : records.lines())
        lines.push_back(l.address + '\t' + l.code + '\t' + l.finalAddress + '\t' +
                        FormatCheckTime(l.checkedAt));
    return EncodeLines(lines);
}

CheckRecords ReadCheckFile(const std::string& path) {
    try {
        return ParseCheckFile(ReadFileBytes(path, kCheckFileLimit));
    } catch (const FileError&) {
        // Remembered results are a convenience: a file missing, unreadable or too large holds
        // none, and the next check writes a sound one.
        return {};
    }
}

CheckRecords UpdateCheckFile(const std::string& path, const std::vector<CheckLine>& fresh) {
    CheckRecords records = ReadCheckFile(path);
    for (const CheckLine& line : fresh)
        records.put(line);
    WriteFileAtomically(path, FormatCheckFile(records));
    return records;
}

std::string FormatCheckTime(std::int64_t secondsSince1970) {
    using namespace std::chrono;
    const sys_seconds moment{seconds{secondsSince1970}};
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{moment - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(time.hours().count()),
                  int(time.minutes().count()), int(time.seconds().count()));
    return text;
}

std::optional<std::int64_t> ParseCheckTime(std::string_view text) {
    using namespace std::chrono;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != 'Z' || !ReadNumber(text, 0, 4, y) ||
        !ReadNumber(text, 5, 2, mo) || !ReadNumber(text, 8, 2, d) || !ReadNumber(text, 11, 2, h) ||
        !ReadNumber(text, 14, 2, mi) || !ReadNumber(text, 17, 2, s) || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    const year_month_day date{year{y}, month{unsigned(mo)}, day{unsigned(d)}};
    if (!date.ok())
        return std::nullopt;
    return (sys_days{date} + hours{h} + minutes{mi} + seconds{s}).time_since_epoch().count();
}

} // namespace tabbern
