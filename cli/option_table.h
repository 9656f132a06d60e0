// A program's options as one table: each program fills it with its options
// (their names, the word for their value, what --help says of them, their
// group and how often each may be given), reads its command line through it
// into its own settings, and prints --help from it; the tests hold its man
// page to the table's names. What goes wrong comes back as a Failure whose
// place says what and where (OptionProblem, the argument's index), and each
// program words it in its own style.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/outcome.h"

namespace tralk::cli {

// How often an option may be given. Given again, any but a repeatable one is
// refused (OptionProblem::given_twice).
enum class Given : uint8_t {
  once,        // at most once
  repeatable,  // any number of times, each value used, in order
  one_of,      // at most once, and only one of the one_of options of its group
  alone,       // only as the one argument of the command line
};

// What is wrong with a command line: the field of a Failure's place, whose
// item is the index of the argument at fault (the option as given, or the
// operand). The text is empty but where this says otherwise.
enum class OptionProblem : uint8_t {
  operand,        // the program refused an operand: the text says why, in its words
  unknown,        // no option has that name
  missing_value,  // the command line ends before the option's value (or one of its values)
  given_twice,    // an option that is not repeatable, given again
  bad_value,      // the option refused its value: the text says why, in the program's words
  excluded,       // a one_of option after another of its group: the text is that one, as given
  not_alone,      // an option that stands alone, among other arguments
};

// Where options stand on a command line.
enum class Syntax : uint8_t {
  // Options ("--name") first; the first other argument ends them, and it and
  // every argument after it are operands.
  options_first,
  // Options ("-x", "--name": an argument that starts with "-" and is more
  // than that) among the operands; an argument "--" ends them.
  mixed,
};

// One option as given: its name as written, and its values.
struct OptionArg {
  std::string_view name;
  std::span<const std::string_view> values;
  std::string_view value() const { return values.front(); }
};

template <class Settings>
struct Option {
  const char* names;  // "--size", or "-h, --help": the names of one option
  // The word for its value in --help, one word an argument ("OLD NEW" takes
  // two); null for a flag.
  const char* value;
  Given given;
  std::vector<const char*> help;  // the lines that say what it does
  // Takes the option into the settings; a failure's text says why its value
  // will not do.
  Status (*read)(Settings& into, const OptionArg& arg);
};

// Options under a title line ("Font:"), or under none (null).
template <class Settings>
struct OptionGroup {
  const char* title;
  std::vector<Option<Settings>> options;
};

// What the reading of a command line needs to know of an option.
struct OptionShape {
  std::string_view names;
  size_t values = 0;
  Given given = Given::once;
  size_t group = 0;
};

// The arguments of a command line one by one: each option found by its name,
// checked against how often it may be given and given its values, each
// operand as it is. The first problem ends the reading.
class ArgumentScanner {
 public:
  struct Argument {
    enum class Kind : uint8_t { option, operand, end };
    Kind kind = Kind::end;
    size_t option = 0;  // the option's index in the shapes
    size_t at = 0;      // the argument's index
    std::vector<std::string_view> values;
  };

  ArgumentScanner(std::span<const OptionShape> shapes, Syntax syntax, int argc,
                  const char* const* argv);
  Outcome<Argument> next();

 private:
  bool is_option(std::string_view arg);
  std::optional<size_t> find(std::string_view name) const;
  Failure problem(OptionProblem what, size_t at, std::string text = {}) const;

  std::span<const OptionShape> shapes_;
  Syntax syntax_;
  std::vector<std::string_view> args_;
  size_t next_ = 0;
  bool options_ended_ = false;
  std::vector<size_t> seen_;                   // how often each option was given
  std::vector<std::optional<size_t>> chosen_;  // each group's one_of option, by its argument
};

// The lines --help gives an option: its names and value indented by indent,
// its text from column on (one blank after a longer head), further lines of
// text at column.
std::string option_help(const char* names, const char* value, const std::vector<const char*>& help,
                        size_t indent, size_t column);

// The number of values that an option whose value word is value takes.
size_t value_count(const char* value);

// Every name in names: "-h" and "--help" for "-h, --help".
std::vector<std::string> split_names(std::string_view names);

template <class Settings>
class OptionTable {
 public:
  OptionTable(Syntax syntax, std::vector<OptionGroup<Settings>> groups)
      : syntax_(syntax), groups_(std::move(groups)) {
    for (size_t g = 0; g < groups_.size(); ++g) {
      for (const Option<Settings>& option : groups_[g].options) {
        options_.push_back(&option);
        shapes_.push_back({option.names, value_count(option.value), option.given, g});
      }
    }
  }
  // A table points into itself.
  OptionTable(const OptionTable&) = delete;
  OptionTable& operator=(const OptionTable&) = delete;

  // Reads the command line into settings, each operand through
  // on_operand(settings, argument), which returns a Status. A failure is a
  // usage fault whose place says what went wrong where (OptionProblem).
  template <class OnOperand>
  Status read(int argc, const char* const* argv, Settings& settings, OnOperand on_operand) const {
    ArgumentScanner args(shapes_, syntax_, argc, argv);
    for (;;) {
      Outcome<ArgumentScanner::Argument> arg = args.next();
      if (!arg.ok()) return arg.failure();
      using Kind = ArgumentScanner::Argument::Kind;
      if (arg->kind == Kind::end) return {};
      const std::string_view given = argv[arg->at];
      const bool operand = arg->kind == Kind::operand;
      Status taken = operand ? on_operand(settings, given)
                             : options_[arg->option]->read(settings, {given, arg->values});
      if (taken.ok()) continue;
      Failure failure = taken.failure();
      failure.at.item = static_cast<uint32_t>(arg->at);
      failure.at.field =
          static_cast<uint8_t>(operand ? OptionProblem::operand : OptionProblem::bad_value);
      return failure;
    }
  }

  // The groups as --help shows them, a blank line between two, each under
  // its title; the options as option_help() lays them out.
  std::string help(size_t indent, size_t column) const {
    std::string out;
    for (const OptionGroup<Settings>& group : groups_) {
      if (!out.empty()) out += "\n";
      if (group.title) out += std::string(group.title) + "\n";
      for (const Option<Settings>& option : group.options)
        out += option_help(option.names, option.value, option.help, indent, column);
    }
    return out;
  }

  // Every name of every option.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const Option<Settings>* option : options_) {
      std::vector<std::string> names = split_names(option->names);
      out.insert(out.end(), names.begin(), names.end());
    }
    return out;
  }

  const std::vector<OptionGroup<Settings>>& groups() const { return groups_; }

 private:
  Syntax syntax_;
  std::vector<OptionGroup<Settings>> groups_;
  std::vector<const Option<Settings>*> options_;
  std::vector<OptionShape> shapes_;
};

// Readers for the plain options, by the member of the settings they fill:
// a flag made true, a value stored (in a string or an optional one), a value
// added to a list.
template <auto member, class Settings>
Status set_flag(Settings& into, const OptionArg&) {
  into.*member = true;
  return {};
}

template <auto member, class Settings>
Status store(Settings& into, const OptionArg& arg) {
  into.*member = std::string(arg.value());
  return {};
}

template <auto member, class Settings>
Status append(Settings& into, const OptionArg& arg) {
  (into.*member).emplace_back(arg.value());
  return {};
}

// The option's value as a whole decimal number (from low to high), or a
// usage failure: "option --size needs a number from 1 to 1000, not "0"".
Outcome<uint32_t> number_value(const OptionArg& arg);
Outcome<uint32_t> number_value(const OptionArg& arg, uint32_t low, uint32_t high);

// A number from low to high stored in a number or an optional one.
template <auto member, uint32_t low, uint32_t high, class Settings>
Status store_number(Settings& into, const OptionArg& arg) {
  const Outcome<uint32_t> n = number_value(arg, low, high);
  if (!n.ok()) return n.failure();
  into.*member = n.value();
  return {};
}

// The companions' words for a failure of a table's reading, args being the
// arguments read: unknown option "--bogus", option --size needs a value,
// option --show is given twice; the reason itself for a refused value or
// operand.
std::string usage_text(const Failure& failure, const char* const* args);

// The line --version prints: "tralk-inspect 1.2" and a line end.
std::string version_line(std::string_view program);

}  // namespace tralk::cli
