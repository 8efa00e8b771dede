#include "store/TextFile.h"

#include "platform/os/FileSystem.h"
#include "store/CodePage.h"
#include "store/FileIo.h"
#include "store/Text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tabbern {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool HasNonAscii(std::string_view bytes) {
    // Eight bytes at a time: pages of many megabytes are mostly ASCII.
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080u)
            return true;
    }
    return std::any_of(bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.end(),
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

// Bytes that read back as exactly this text: the code page when it holds every character and
// its bytes would not be taken for UTF-8 (they could pass for UTF-8, or begin with the bytes of
// a byte-order mark), otherwise UTF-8. A text that itself begins with U+FEFF gets a byte-order
// mark in front, since a first one is taken for the file's own and dropped.
std::string EncodeText(const std::string& text) {
    std::string encoded;
    if (ActiveCodePage().encode(text, encoded) && DecodeText(encoded) == text)
        return encoded;
    if (text.starts_with(kUtf8Bom))
        return std::string(kUtf8Bom) + text;
    return text;
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
    return EncodeText(JoinLines(lines));
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    return DecodeLines(ReadFileBytes(path));
}

namespace {

// Where the whole lines of `bytes` end: after the last LF, or after a last CR that is not the
// final byte (its LF may still come); `from` on holds what was not searched before. 0 when no
// line ends there.
std::size_t EndOfWholeLines(std::string_view bytes, std::size_t from) {
    // A piece of a line of megabytes holds no line end at all, which memchr tells at memory
    // speed; the search from the end is for pieces that have some.
    const std::size_t rest = bytes.size() - from;
    if (!std::memchr(bytes.data() + from, '\n', rest) &&
        !std::memchr(bytes.data() + from, '\r', rest))
        return 0;
    for (std::size_t i = bytes.size(); i > from; --i) {
        const char c = bytes[i - 1];
        if (c == '\n' || (c == '\r' && i < bytes.size()))
            return i;
    }
    return 0;
}

// Just after the last blank of `bytes` from `from` on; 0 when there is none.
std::size_t AfterLastBlank(std::string_view bytes, std::size_t from) {
    for (std::size_t i = bytes.size(); i > from; --i)
        if (bytes[i - 1] == ' ')
            return i;
    return 0;
}

} // namespace

void StreamTextLines(const std::string& path, const PieceReader& take,
                     const std::function<void()>& restart, std::size_t lineLimit) {
    constexpr std::size_t kRead = 256u << 10;
    FileReader file(path);
    // Decided by the bytes read so far; the code page, once decided, is final.
    bool codePage = false;
    for (;;) {
        bool first = true;
        bool gaveNonAscii = false; // text that the code page would decode otherwise went out
        bool waiting = false;      // enough was taken, if the rest is UTF-8
        bool again = false;
        std::string buffer;
        std::size_t searched = 0;
        std::size_t blankFree = 0; // the bytes of the buffer known to hold no blank
        for (bool atEnd = false; !atEnd && !again;) {
            atEnd = file.readInto(buffer, kRead) == 0;
            std::size_t end = buffer.size();
            if (!atEnd && waiting) {
                // Only checked, not handed over: any cut after an ASCII byte splits no character.
                while (end > 0 && static_cast<unsigned char>(buffer[end - 1]) >= 0x80)
                    --end;
            } else if (!atEnd) {
                end = EndOfWholeLines(buffer, searched ? searched - 1 : 0);
            }
            searched = buffer.size();
            // A line of megabytes, as minified pages are, goes out in pieces that end just after
            // a blank: the room it takes stays that of a read, and no character is split, as
            // a blank is never part of one in any encoding read here.
            bool lineGoesOn = false;
            if (end == 0 && !waiting && buffer.size() >= kRead) {
                end = AfterLastBlank(buffer, blankFree);
                lineGoesOn = end != 0;
                blankFree = buffer.size();
            }
            if (end == 0) {
                if (buffer.size() > lineLimit)
                    throw FileError("Cannot read", path, TooLargeReason("A line", lineLimit));
                // A line of megabytes without a blank: room for the rest of the file at once
                // rather than copying the line over and over as it grows, in large pages where
                // the system has them.
                if (!waiting && buffer.size() >= (2u << 20) &&
                    buffer.size() + kRead > buffer.capacity()) {
                    buffer.reserve(std::min(file.size(), lineLimit) + kRead);
                    os::AdviseLargeBuffer(buffer.data() + buffer.size(),
                                          buffer.capacity() - buffer.size());
                }
                continue;
            }
            std::string_view piece(buffer.data(), end);
            // A byte-order mark is dropped in either encoding.
            if (first && piece.starts_with(kUtf8Bom))
                piece.remove_prefix(kUtf8Bom.size());
            first = false;
            const bool nonAscii = HasNonAscii(piece);
            if (!codePage && nonAscii && !IsValidUtf8(piece)) {
                codePage = true;
                if (gaveNonAscii) {
                    again = true;
                    break;
                }
            }
            if (!waiting) {
                std::string decoded;
                std::string_view text = piece;
                const CodePage* undecoded = nullptr;
                if (codePage && ActiveCodePage().singleByte()) {
                    undecoded = &ActiveCodePage();
                } else if (codePage) {
                    decoded = ActiveCodePage().decode(piece);
                    text = decoded;
                }
                gaveNonAscii = gaveNonAscii || nonAscii;
                const PieceAnswer answer = take(text, undecoded, lineGoesOn);
                if (answer == PieceAnswer::Enough ||
                    (answer == PieceAnswer::EnoughIfUtf8 && (codePage || !gaveNonAscii)))
                    return;
                waiting = answer == PieceAnswer::EnoughIfUtf8;
            }
            buffer.erase(0, end);
            searched = buffer.size();
            blankFree = 0;
        }
        if (!again)
            return;
        if (restart)
            restart();
        file.rewind();
    }
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

    // What the file must read as afterwards: its present text, then the new lines. The bytes
    // already there stay when the new lines, in the code page or in UTF-8, can follow them
    // without changing how the whole reads; otherwise (a file in the code page and lines that
    // do not fit it, say) the whole file is written again in one encoding.
    const std::string added = JoinLines(lines);
    const std::string text = DecodeText(bytes) + added;
    std::string encoded;
    if (ActiveCodePage().encode(added, encoded) && DecodeText(bytes + encoded) == text)
        bytes += encoded;
    else if (DecodeText(bytes + added) == text)
        bytes += added;
    else
        bytes = EncodeText(text);
    WriteFileAtomically(path, bytes);
}

} // namespace tabbern
