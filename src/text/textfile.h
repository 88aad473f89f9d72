// Text files as lists of CP932 lines: reading (CR LF or LF ends a line) and
// writing (CR LF). A file saved in UTF-8 or UTF-16 is converted to CP932 as
// it is read. Failures raise InputOutputFailure; a file whose reading or
// writing failed is closed at once.
#ifndef TABULON_TEXT_TEXTFILE_H_
#define TABULON_TEXT_TEXTFILE_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace tabulon::text {

// How a text file's bytes are spelt.
enum class TextEncoding { kCp932, kUtf8, kUtf8WithMark, kUtf16Le, kUtf16Be };

// Judges a file by its bytes: a UTF-8 or UTF-16 byte-order mark decides;
// without one, a file that is all well-formed UTF-8 and holds a non-ASCII
// byte is UTF-8, and any other file is code page 932.
TextEncoding DetectEncoding(std::string_view bytes);

// Turns a file's bytes into CP932 as DetectEncoding judges them: UTF-8 and
// UTF-16 are converted (the mark dropped, a character CP932 lacks becoming
// 〓), CP932 stays untouched. `scratch` is working memory kept by the
// caller. Returns the encoding found.
TextEncoding ConvertToCp932(std::string& bytes, std::string& scratch);

// Splits a file's bytes into lines: LF and CR LF end a line and are not part
// of it; a CR not followed by LF is dropped; a last line without a line end
// is read; byte 26 at the start of a line ends the file. Byte 26 anywhere
// else is a byte of the line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Reads the whole named file, in CP932 (ConvertToCp932), and splits it into
// lines.
std::vector<std::string> ReadTextLines(const std::string& name);

// Splits `bytes` into lines in place, by the rules of SplitLines: the CRs
// that are dropped are squeezed out of the buffer, and each line is a view
// into `bytes` (valid while `bytes` is not changed).
void SplitLinesInPlace(std::string& bytes,
                       std::vector<std::string_view>& lines);

// Reads files one after the other as lines that are views into one buffer
// of the file's bytes. The buffer and the list of lines are kept from file
// to file, so reading thousands of small files allocates only while the
// largest so far grows. Failures raise InputOutputFailure, as ReadTextLines.
class LineReader {
 public:
  // Reads the whole named file; the lines of the file read before are gone.
  const std::vector<std::string_view>& Read(const std::string& name);
  const std::vector<std::string_view>& Lines() const { return lines_; }
  // The bytes the lines of the last file are views of, handed over whole:
  // the views stay valid with their new owner. The next Read starts anew.
  std::unique_ptr<const std::string> TakeBytes();

 private:
  std::unique_ptr<std::string> bytes_ = std::make_unique<std::string>();
  std::string converted_;
  std::vector<std::string_view> lines_;
};

// Writes a text file line by line. The file is replaced as a whole on Close:
// until then (and if anything fails) the earlier file stays as it was.
class TextOutputFile {
 public:
  // Starts the file anew; an earlier file is replaced on Close.
  void Create(const std::string& name);
  // Appends the bytes as they are (inline: the results file writes every
  // field and comma through here).
  void Write(std::string_view text) {
    if (text.size() >= kBufferSize) return WriteLarge(text);
    buffer_ += text;
    if (buffer_.size() >= kBufferSize) Flush();
  }
  // Appends CR LF.
  void EndLine();
  // Writes what is buffered and puts the file in place.
  void Close();

 private:
  // A text as large as the buffer goes to the file as it is, after what is
  // buffered, rather than through another copy.
  void WriteLarge(std::string_view text);
  // Output is collected up to this size before it goes to the file.
  static constexpr std::size_t kBufferSize = 1 << 16;
  void Flush();
  platform::ReplacementFile file_;
  std::string buffer_;
};

}  // namespace tabulon::text

#endif  // TABULON_TEXT_TEXTFILE_H_
