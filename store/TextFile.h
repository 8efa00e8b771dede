// The one module that reads and writes the data files as text.
//
// Files are 8-bit text in the active code page. A file that is valid UTF-8 and holds non-ASCII
// bytes is read as UTF-8. A write whose text has a character outside the code page, or whose
// code-page bytes would be read as UTF-8, writes the whole file as UTF-8 (no byte-order mark)
// rather than change the text: what is written always reads back the same. Lines are written
// with CR LF; a read ends a line at CR LF, a lone CR or a lone LF. Every write replaces the file
// atomically (see WriteFileAtomically).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tabbern {

// Bytes of a file to its lines in UTF-8. A last line without a line end counts; a file that
// ends with a line end has no empty line after it.
std::vector<std::string> DecodeLines(std::string_view bytes);
// Lines to file bytes: each line followed by CR LF, in the code page or, when needed, UTF-8.
std::string EncodeLines(const std::vector<std::string>& lines);

std::vector<std::string> ReadTextLines(const std::string& path);
// The first line, or empty text for an empty file.
std::string ReadFirstLine(const std::string& path);
void WriteTextLines(const std::string& path, const std::vector<std::string>& lines);
// Adds lines after the file's present content (creating the file when missing), keeping the
// bytes already there. A file whose last line has no line end gets one first. When the new
// lines need UTF-8 and the file is in the code page, the whole file is rewritten as UTF-8.
void AppendTextLines(const std::string& path, const std::vector<std::string>& lines);

} // namespace tabbern
