// Writing output files whole or not at all: the content goes to a temporary
// file beside the target ("TARGET.tralk-new-ID", base/temp_names.h), which is
// renamed over the target only when everything was written, put on the disk
// and closed. Files that belong together (the three files of an image) are
// replaced as a set: all of them or none, even when the run is interrupted or
// killed in the middle (base/set_journal.h). A file whose new content is
// byte for byte the old one is left as it is, time included, so that a build
// tool sees no change.
//
// Runs writing the same set take turns (base/set_lock.h): a caller holds a
// SetLock of the set's targets while its OutFiles live, declared before
// them.
//
// A target that is a symbolic link is written through: the file the link
// leads to gets the new bytes and the link stays. A replaced file keeps its
// permission bits.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/set_lock.h"

class OutFile {
 public:
  OutFile() = default;
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  // Removes the temporary file unless it replaced its target.
  ~OutFile();

  // Creates the temporary file beside the file that path names, in text
  // mode or, when binary is set, in binary mode, for a run that holds the
  // lock of path's set; false when it cannot be created or the lock is not
  // held.
  bool open(const SetLock& lock, const std::string& path, bool binary = false);
  // Appends data; a failure is remembered and reported by finish.
  void write(std::string_view data);
  // Moves where the next write goes to offset bytes from the file's start,
  // for a file whose parts are made out of order (a picture's rows); a
  // failure is remembered and reported by finish.
  void seek(uint64_t offset);
  // Puts the temporary file on the disk and closes it, and makes sure that
  // the target can be replaced: its old content gets a second name, under
  // which it survives until the new file is in place. False when the file
  // was never opened, when any write, the sync or the close failed, or when
  // the target cannot be replaced (a folder holds its name, say).
  bool finish();
  // finish and commit_all of this file alone.
  bool commit();
  // Why the first failure of this file happened, in the system's words
  // ("No space left on device"); empty when none did.
  const std::string& reason() const { return reason_; }

 private:
  friend size_t commit_all(std::span<OutFile* const> files);

  void fail();
  void flush();

  std::string target_;  // the file that receives the bytes
  std::string temp_;
  std::string backup_;  // the old target's second name; empty when there was none
  std::string buffer_;  // bytes not yet written to the temporary file
  std::string reason_;
  int fd_ = -1;
  bool ok_ = false;         // open, and every write so far succeeded
  bool unchanged_ = false;  // finished, and the target already holds these bytes
};

// Replaces the target of every file in files, each finished, with its new
// content: all of them, or none when any of them cannot be replaced (the
// targets already replaced get their old content back). Returns the index of
// the first file that failed, or files.size() when all were replaced (or
// left, where unchanged); the failed file's reason() says why. The
// temporary files and second names are gone afterwards, either way.
size_t commit_all(std::span<OutFile* const> files);
