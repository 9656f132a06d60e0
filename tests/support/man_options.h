// The options a man page describes: the names on the first line of each
// .TP entry of one section (.SH), as in
//
//   .TP
//   .BI \-\-depfile " FILE"
//   .BR \-h ", " \-\-help
//
// "\-" is read as "-"; every word of that line that then starts with "-" is
// an option's name. The companions' pages list their subcommands' options
// in sections of their own, so the section is named.
#pragma once

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/option_table.h"

inline std::set<std::string> man_option_names(const std::string& page, const std::string& section) {
  std::set<std::string> names;
  std::istringstream lines(page);
  bool inside = false;
  bool after_tp = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with(".SH ")) {
      std::string title = line.substr(4);
      if (title.size() > 1 && title.front() == '"') title = title.substr(1, title.size() - 2);
      inside = title == section;
      after_tp = false;
      continue;
    }
    if (!inside) continue;
    if (line == ".TP") {
      after_tp = true;
      continue;
    }
    if (!after_tp) continue;
    after_tp = false;
    for (size_t at; (at = line.find("\\-")) != std::string::npos;) line.replace(at, 2, "-");
    std::istringstream words(line);
    std::string word;
    words >> word;  // the macro: .B, .BI, .BR
    while (words >> word) {
      while (!word.empty() && (word.back() == ',' || word.back() == '"')) word.pop_back();
      if (word.size() > 1 && word[0] == '-') names.insert(word);
    }
  }
  return names;
}

// The options of table whose --help does not say whether they repeat: a
// repeatable one's text says "repeatable" or "more than once", no other's.
template <class Settings>
std::vector<std::string> repeats_unsaid(const tralk::cli::OptionTable<Settings>& table) {
  std::vector<std::string> unsaid;
  for (const auto& group : table.groups()) {
    for (const auto& option : group.options) {
      std::string text;
      for (const char* line : option.help) text += std::string(line) + " ";
      const bool said = text.find("repeatable") != std::string::npos ||
                        text.find("more than once") != std::string::npos;
      if (said != (option.given == tralk::cli::Given::repeatable)) unsaid.push_back(option.names);
    }
  }
  return unsaid;
}
