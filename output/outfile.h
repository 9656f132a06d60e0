// Writing an output file whole or not at all: the content goes to a
// temporary file in the target's directory, which is renamed over the
// target only when everything was written and closed.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

class OutFile {
 public:
  OutFile() = default;
  OutFile(const OutFile&) = delete;
  OutFile& operator=(const OutFile&) = delete;
  // Removes the temporary file unless commit succeeded.
  ~OutFile();

  // Creates the temporary file beside path, in text mode or, when binary is
  // set, in binary mode; false when it cannot be created.
  bool open(const std::string& path, bool binary = false);
  // Appends data; a failure is remembered and reported by commit.
  void write(std::string_view data);
  // Closes the temporary file and renames it over the target; false (with
  // the old target untouched) when any write, the close or the rename failed.
  bool commit();

 private:
  std::string target_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};
