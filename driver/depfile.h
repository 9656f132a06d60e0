// The dependency file of a run, in Make syntax: the files written as
// targets, the files read as prerequisites, so that a build tool runs the
// program again exactly when one of its inputs changes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class DepRecord {
 public:
  // Each records full paths, once each, in the order first seen.
  void add_input(const std::string& path);
  void add_outputs(const std::vector<std::string>& paths);
  // A .sym file and the codepage its first line named, which is read from
  // the .sym file's folder.
  void add_font(const std::string& sym_path, const std::optional<std::string>& cpname);

  // Writes the dependency file whole, with its console message; false after
  // a message when it could not be written (the old file is then kept).
  bool write(const std::string& path) const;

  // From now on every name recorded is checked as it comes: the first that
  // make or ninja would not read back stays as refused().
  void check_names() { checked_ = true; }
  const std::optional<std::string>& refused() const { return refused_; }
  // Prints why path cannot be named, and false, when it cannot.
  bool can_name(const std::string& path) const;

 private:
  // Paths in the order first seen, each once.
  struct PathList {
    std::vector<std::string> order;
    std::unordered_set<std::string> seen;
    void add(const std::string& path) {
      if (seen.insert(path).second) order.push_back(path);
    }
  };
  void note(const std::string& path);

  PathList inputs_;
  PathList outputs_;
  bool checked_ = false;
  std::optional<std::string> refused_;
};
