#include "store/TextFile.h"

#include "store/CodePage.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace tabbern {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool HasNonAscii(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Pure ASCII reads the same either way, so it does not decide.
bool IsUtf8Text(std::string_view bytes) {
    return HasNonAscii(bytes) && IsValidUtf8(bytes);
}

// File bytes to UTF-8 text, line ends untouched.
std::string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        // A byte-order mark says the writer meant UTF-8.
        bytes.remove_prefix(kUtf8Bom.size());
        if (IsValidUtf8(bytes))
            return std::string(bytes);
    }
    if (IsUtf8Text(bytes))
        return std::string(bytes);
    return ActiveCodePage().decode(bytes);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += kLineEnd;
    }
    return text;
}

bool FileIsMissing(const std::string& path) {
    std::error_code ec;
    const auto st = std::filesystem::status(ToPath(path), ec);
    return st.type() == std::filesystem::file_type::not_found;
}

} // namespace

std::vector<std::string> DecodeLines(std::string_view bytes) {
    const std::string text = DecodeText(bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text, start, i - start);
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.emplace_back(text, start);
    return lines;
}

std::string EncodeLines(const std::vector<std::string>& lines) {
    std::string text = JoinLines(lines);
    std::string encoded;
    if (ActiveCodePage().encode(text, encoded))
        return encoded;
    // A character outside the code page: the whole file goes as UTF-8 rather than lose it.
    return text;
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    return DecodeLines(ReadFileBytes(path));
}

std::string ReadFirstLine(const std::string& path) {
    const std::string text = DecodeText(ReadFileBytes(path));
    return text.substr(0, text.find_first_of("\r\n"));
}

void WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
    WriteFileAtomically(path, EncodeLines(lines));
}

void AppendTextLines(const std::string& path, const std::vector<std::string>& lines) {
    const bool missing = FileIsMissing(path);
    std::string bytes = missing ? std::string() : ReadFileBytes(path);
    if (lines.empty()) {
        // Appending nothing still leaves the file in place, as opening it for appending would.
        if (missing)
            WriteFileAtomically(path, bytes);
        return;
    }
    if (!bytes.empty() && bytes.back() != '\r' && bytes.back() != '\n')
        bytes += kLineEnd;

    const std::string added = JoinLines(lines);
    if (IsUtf8Text(bytes)) {
        bytes += added;
    } else {
        std::string encoded;
        if (ActiveCodePage().encode(added, encoded))
            bytes += encoded;
        else if (HasNonAscii(bytes))
            // The file is in the code page and the new lines do not fit it: one encoding for
            // the whole file, so the old text moves to UTF-8 too.
            bytes = ActiveCodePage().decode(bytes) + added;
        else
            bytes += added;
    }
    WriteFileAtomically(path, bytes);
}

} // namespace tabbern
