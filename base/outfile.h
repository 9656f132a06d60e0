// Writing output files whole or not at all: the content goes to a temporary
// file beside the target, which is renamed over the target only when
// everything was written and closed. Files that belong together (the three
// files of an image) are replaced as a set: all of them or none.
//
// A target that is a symbolic link is written through: the file the link
// leads to gets the new bytes and the link stays. A replaced file keeps its
// permission bits.
#pragma once

#include <cstdio>
#include <span>
#include <string>
#include <string_view>

class OutFile {
 public:
  OutFile() = default;
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  // Removes the temporary file unless it replaced its target.
  ~OutFile();

  // Creates the temporary file beside the file that path names, in text
  // mode or, when binary is set, in binary mode; false when it cannot be
  // created.
  bool open(const std::string& path, bool binary = false);
  // Appends data; a failure is remembered and reported by finish.
  void write(std::string_view data);
  // Closes the temporary file and makes sure that the target can be
  // replaced: its old content gets a second name, under which it survives
  // until the new file is in place. False when the file was never opened,
  // when any write or the close failed, or when the target cannot be
  // replaced (a folder holds its name, say).
  bool finish();
  // finish and commit_all of this file alone.
  bool commit();

 private:
  friend size_t commit_all(std::span<OutFile* const> files);

  std::string target_;  // the file that receives the bytes
  std::string temp_;
  std::string backup_;  // the old target's second name; empty when there was none
  std::FILE* file_ = nullptr;
  bool ok_ = false;  // open, and every write so far succeeded
};

// Replaces the target of every file in files, each finished, with its new
// content: all of them, or none when any of them cannot be replaced (the
// targets already replaced get their old content back). Returns the index of
// the first file that failed, or files.size() when all were replaced. The
// temporary files and second names are gone afterwards, either way.
size_t commit_all(std::span<OutFile* const> files);
