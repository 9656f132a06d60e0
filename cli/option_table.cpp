#include "cli/option_table.h"

#include <algorithm>

#include "base/text.h"
#include "cli/arg_reader.h"

#ifndef TRALK_VERSION
#error "TRALK_VERSION must name the project's version (set by CMake)"
#endif

namespace tralk::cli {

ArgumentScanner::ArgumentScanner(std::span<const OptionShape> shapes, Syntax syntax, int argc,
                                 const char* const* argv)
    : shapes_(shapes), syntax_(syntax), args_(argv, argv + argc), seen_(shapes.size()) {
  size_t groups = 0;
  for (const OptionShape& shape : shapes) groups = std::max(groups, shape.group + 1);
  chosen_.resize(groups);
}

bool ArgumentScanner::is_option(std::string_view arg) {
  if (options_ended_) return false;
  if (syntax_ == Syntax::mixed) return arg.size() > 1 && arg[0] == '-';
  options_ended_ = !arg.starts_with("--");
  return !options_ended_;
}

std::optional<size_t> ArgumentScanner::find(std::string_view name) const {
  for (size_t i = 0; i < shapes_.size(); ++i) {
    for (const std::string& n : split_names(shapes_[i].names))
      if (n == name) return i;
  }
  return std::nullopt;
}

Failure ArgumentScanner::problem(OptionProblem what, size_t at, std::string text) const {
  return Failure{Fault::usage, std::move(text),
                 FailurePlace{static_cast<uint32_t>(at), 0, static_cast<uint8_t>(what)}};
}

Outcome<ArgumentScanner::Argument> ArgumentScanner::next() {
  Argument arg;
  if (syntax_ == Syntax::mixed && !options_ended_ && next_ < args_.size() && args_[next_] == "--") {
    options_ended_ = true;
    ++next_;
  }
  if (next_ == args_.size()) return arg;
  arg.at = next_++;
  if (!is_option(args_[arg.at])) {
    arg.kind = Argument::Kind::operand;
    return arg;
  }
  const std::optional<size_t> found = find(args_[arg.at]);
  if (!found) return problem(OptionProblem::unknown, arg.at);
  const OptionShape& shape = shapes_[*found];
  if (shape.given == Given::alone && args_.size() > 1)
    return problem(OptionProblem::not_alone, arg.at);
  if (shape.given != Given::repeatable && seen_[*found] > 0)
    return problem(OptionProblem::given_twice, arg.at);
  std::optional<size_t>& chosen = chosen_[shape.group];
  if (shape.given == Given::one_of && chosen)
    return problem(OptionProblem::excluded, arg.at, std::string(args_[*chosen]));
  for (size_t i = 0; i < shape.values; ++i) {
    if (next_ == args_.size()) return problem(OptionProblem::missing_value, arg.at);
    arg.values.push_back(args_[next_++]);
  }
  ++seen_[*found];
  if (shape.given == Given::one_of) chosen = arg.at;
  arg.kind = Argument::Kind::option;
  arg.option = *found;
  return arg;
}

std::string option_help(const char* names, const char* value, const std::vector<const char*>& help,
                        size_t indent, size_t column) {
  std::string head = std::string(indent, ' ') + names;
  if (value) head += std::string(" ") + value;
  std::string out;
  for (const char* line : help) {
    head.resize(std::max(head.size() + 1, column), ' ');
    out += head + line + "\n";
    head.clear();
  }
  return out;
}

size_t value_count(const char* value) {
  if (!value) return 0;
  size_t count = 1;
  for (const char* c = value; *c; ++c) count += *c == ' ';
  return count;
}

std::vector<std::string> split_names(std::string_view names) {
  std::vector<std::string> out;
  while (!names.empty()) {
    const size_t comma = names.find(", ");
    out.emplace_back(names.substr(0, comma));
    names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 2);
  }
  return out;
}

Outcome<uint32_t> number_value(const OptionArg& arg) {
  if (const std::optional<uint32_t> n = parse_number(arg.value())) return *n;
  return usage_error("option " + std::string(arg.name) + " needs a number, not " +
                     in_quotes(arg.value()));
}

Outcome<uint32_t> number_value(const OptionArg& arg, uint32_t low, uint32_t high) {
  const std::optional<uint32_t> n = parse_number(arg.value());
  if (n && *n >= low && *n <= high) return *n;
  return usage_error("option " + std::string(arg.name) + " needs a number from " +
                     std::to_string(low) + " to " + std::to_string(high) + ", not " +
                     in_quotes(arg.value()));
}

std::string usage_text(const Failure& failure, const char* const* args) {
  const std::string arg = args[failure.at.item];
  switch (static_cast<OptionProblem>(failure.at.field)) {
    case OptionProblem::unknown:
      return "unknown option " + in_quotes(arg);
    case OptionProblem::missing_value:
      return "option " + arg + " needs a value";
    case OptionProblem::given_twice:
      return "option " + arg + " is given twice";
    case OptionProblem::excluded:
      return failure.text + " and " + arg + " cannot be used together";
    case OptionProblem::not_alone:
      return "option " + arg + " must be the only argument";
    case OptionProblem::operand:
    case OptionProblem::bad_value:
      break;
  }
  return failure.text;
}

std::string version_line(std::string_view program) {
  return std::string(program) + " " + TRALK_VERSION + "\n";
}

}  // namespace tralk::cli
