// The setup program's INI text buffer: an INI file held as its lines, read and
// edited by section and key, so that every line the program does not set
// (comments, unknown keys, blank lines, their order) stays as it was.
//
// One buffer serves every file: a load replaces the lines, a save writes them
// all. Lines are Windows-1252 bytes and are never converted; only
// LoadFromFile and SaveToFile touch a file.
//
// Matching, shared with the navigation program's profile reader
// (os/privateProfile.h) so that both programs find the same line:
// - A section header is a line that, trimmed of blanks and tabs, equals
//   "[" + section + "]", ASCII letters compared without case. The first such
//   line is the section; a later one of the same name is never looked at.
// - The section's body runs from the line after its header to the next line
//   whose first non-blank character is "[" (any header), or to the end.
// - A plain key line is: optional blanks, the key (exactly, ASCII case
//   ignored), optional blanks, "=". A commented key line has a ";" and
//   optional blanks in front of the key. `Comport1` matches neither
//   "Comport10=" nor "COMPORT1X=", and a line without "=" is no key line.
// - The value is everything after the first "=", case and blanks kept.
//
// Example:
//   TMemoIni ini;
//   ini.LoadFromFile("/srv/nav/RUNTIME/SOLVNV.INI");
//   ini.MemoIniWrite("KV71LIB", "Comport2", "COM2:4800,N,8,1", true); // port 2 off
//   ini.SaveToFile("/srv/nav/RUNTIME/SOLVNV.INI");
#pragma once

#include <string>
#include <string_view>
#include <vector>

class TMemoIni {
  public:
    // Empties the buffer.
    void Clear();

    // Replaces the buffer with the lines of the file at `path` (a Linux path).
    // LF, CR LF and a lone CR each end a line; a last line without an end
    // counts, and a final line end adds no empty line. False, with the buffer
    // empty, when the file cannot be read.
    bool LoadFromFile(const std::string& path);

    // Writes every line followed by CR LF to `path`, replacing the file
    // atomically; a symbolic link stays a link and its target gets the text.
    // False on failure, and the old file is then unchanged byte for byte.
    bool SaveToFile(const std::string& path) const;

    // The lines, without their line ends.
    const std::vector<std::string>& Lines() const { return lines_; }
    std::vector<std::string>& Lines() { return lines_; }

    // The value of `key` in `section`: of its first plain key line, or with
    // `commented` of its first commented key line (a plain read never returns
    // a commented line, nor the reverse). Only the section's own body is
    // searched. `defaultValue` when the section or the key line is missing; a
    // line that ends in "=" reads as "".
    std::string MemoIniRead(std::string_view section, std::string_view key,
                            std::string_view defaultValue, bool commented) const;

    // The value of MemoIniRead as a signed 32-bit decimal integer: blanks at
    // both ends are ignored, then an optional sign and digits only.
    // `defaultValue` when the key is missing, when its value is the text
    // "NOT FOUND", or when the value is no such integer (empty, other
    // characters, outside the 32-bit range). Independent of the locale.
    int MemoIniReadInt(std::string_view section, std::string_view key, int defaultValue,
                       bool commented) const;

    // Sets `key` in `section` to the line key + "=" + value, with ";" in front
    // when `commented`; key and value are written as given.
    // - The first key line of the key in the section's body, plain or
    //   commented whatever `commented` says, is replaced in place; so writing
    //   a key commented switches its plain line off, and the reverse.
    // - Otherwise the line goes in before the last line of the body (above a
    //   closing blank line); into an empty body, directly after the header.
    // - A missing section is appended at the end, after an empty line when
    //   the buffer's last line is not empty, as "[" + section + "]" and the
    //   line.
    void MemoIniWrite(std::string_view section, std::string_view key, std::string_view value,
                      bool commented);

    // MemoIniWrite of the integer's decimal text.
    void MemoIniWriteInt(std::string_view section, std::string_view key, int value, bool commented);

  private:
    std::vector<std::string> lines_;
};

// The form of a key line for `key`, by the rules above.
enum class TIniKeyForm { None, Plain, Commented };
TIniKeyForm IniKeyLineForm(std::string_view line, std::string_view key);

// Whether `line` is the header of `section`, by the rules above.
bool IsIniSectionHeader(std::string_view line, std::string_view section);
