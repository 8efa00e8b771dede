// The one module that reads and writes the data files as text.
//
// Files are 8-bit text in the active code page. A file that is valid UTF-8 and holds non-ASCII
// bytes is read as UTF-8. A write whose text has a character outside the code page, or whose
// code-page bytes would be read as UTF-8, writes the whole file as UTF-8 (no byte-order mark)
// rather than change the text: what is written always reads back the same. Lines are written
// with CR LF; a read ends a line at CR LF, a lone CR or a lone LF. Every write replaces the file
// atomically (see WriteFileAtomically).
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tabbern {

class CodePage;

// Bytes of a file to its lines in UTF-8. A last line without a line end counts; a file that
// ends with a line end has no empty line after it.
std::vector<std::string> DecodeLines(std::string_view bytes);
// Lines to file bytes: each line followed by CR LF, in the code page or, when needed, UTF-8.
std::string EncodeLines(const std::vector<std::string>& lines);

std::vector<std::string> ReadTextLines(const std::string& path);

// What the reader of a streamed file says after each piece.
enum class PieceAnswer {
    More,         // go on
    Enough,       // stop: nothing later can change what was taken
    EnoughIfUtf8, // stop, unless the rest shows that the file is not UTF-8 after all
};

// The most of one line without a blank that StreamTextLines holds at once: such a line is read
// whole, and a 32-bit process has room for a few copies of a quarter gigabyte at most.
inline constexpr std::size_t kStreamLineLimit = sizeof(void*) < 8 ? 256u << 20 : 1024u << 20;

// Reads a text file of any size in pieces of whole lines (line ends included; the last line may
// have none) and hands each, decoded to UTF-8 as DecodeLines decodes the whole file, to `take`.
// A line longer than a read goes out in pieces that end just after a blank, `lineGoesOn` set
// on all but its last. A piece in a single-byte code page is handed over undecoded, with the
// code page, for the reader to decode only what it keeps. Memory stays at about a read plus the
// longest run of a line without a blank.
//
// The whole file decides between UTF-8 and the code page, but pieces go out before the rest is
// read: they are decoded as UTF-8 while every byte so far is valid UTF-8. Should a later byte
// show the file is in the code page after all, when non-ASCII text already went out as UTF-8,
// `restart` is called and the pieces come again from the start, decoded in the code page. A stop
// answered EnoughIfUtf8 while still reading as UTF-8 reads on, without handing anything over, to
// find out. Throws FileError when the file cannot be read or a line is longer than `lineLimit`.
using PieceReader =
    std::function<PieceAnswer(std::string_view text, const CodePage* undecoded, bool lineGoesOn)>;
void StreamTextLines(const std::string& path, const PieceReader& take,
                     const std::function<void()>& restart,
                     std::size_t lineLimit = kStreamLineLimit);
// The first line, or empty text for an empty file.
std::string ReadFirstLine(const std::string& path);
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
// Adds lines after the file's present content (creating the file when missing), keeping the
// bytes already there. A file whose last line has no line end gets one first. When the new
// lines need UTF-8 and the file is in the code page, the whole file is rewritten as UTF-8.
void AppendTextLines(const std::string& path, const std::vector<std::string>& lines);

} // namespace tabbern
