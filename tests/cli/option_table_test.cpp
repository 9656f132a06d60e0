// The option table's reading of a command line: each argument taken as an
// option, a value or an operand, and each problem at the argument it is
// about.
#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using tralk::cli::Given;
using tralk::cli::OptionArg;
using tralk::cli::OptionProblem;
using tralk::cli::OptionTable;
using tralk::cli::Syntax;

// What was read, in order: "--name:x", "--pair:a,b", "op:f".
struct Read {
  std::string log;
};

Status note(Read& into, const OptionArg& arg) {
  into.log += (into.log.empty() ? "" : " ") + std::string(arg.name);
  for (size_t i = 0; i < arg.values.size(); ++i)
    into.log += (i ? "," : ":") + std::string(arg.values[i]);
  return {};
}

Status refuse(Read&, const OptionArg&) {
  return Failure{Fault::usage, "no good"};
}

Status operand(Read& into, std::string_view arg) {
  if (arg == "stop") return Failure{Fault::usage, "not here"};
  into.log += (into.log.empty() ? "op:" : " op:") + std::string(arg);
  return {};
}

OptionTable<Read> table(Syntax syntax) {
  return {syntax,
          {{"Some:",
            {{"-n, --name", "V", Given::once, {"a value"}, note},
             {"--flag", nullptr, Given::once, {"a flag,", "of two lines"}, note},
             {"--add", "V", Given::repeatable, {"repeatable"}, note},
             {"--pair", "A B", Given::once, {"two values"}, note},
             {"--bad", "V", Given::once, {"refuses"}, refuse}}},
           {nullptr,
            {{"--one", nullptr, Given::one_of, {"one"}, note},
             {"--two", nullptr, Given::one_of, {"or two"}, note},
             {"--alone", nullptr, Given::alone, {"alone"}, note}}}}};
}

// The log, or the problem: "given_twice@2", "bad_value@0: no good".
std::string read(Syntax syntax, const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line);
  for (std::string w; in >> w;) words.push_back(w);
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  Read got;
  const Status status =
      table(syntax).read(static_cast<int>(argv.size()), argv.data(), got, operand);
  if (status.ok()) return got.log;
  static const char* const kNames[] = {"operand",   "unknown",  "missing_value", "given_twice",
                                       "bad_value", "excluded", "not_alone"};
  EXPECT_EQ(status.code(), Fault::usage) << line;
  std::string out = std::string(kNames[status.failure().at.field]) + "@" +
                    std::to_string(status.failure().at.item);
  return status.error().empty() ? out : out + ": " + status.error();
}

TEST(OptionTable, ReadsEachArgumentOrSaysWhatIsWrongWhere) {
  const struct {
    Syntax syntax;
    const char* line;
    const char* expected;
  } cases[] = {
      {Syntax::mixed, "f --add a --add", "missing_value@3"},
      {Syntax::mixed, "f --name x --add a --add b --flag", "op:f --name:x --add:a --add:b --flag"},
      {Syntax::mixed, "-n x --name y", "given_twice@2"},
      {Syntax::mixed, "--flag --flag", "given_twice@1"},
      {Syntax::mixed, "--pair a b", "--pair:a,b"},
      {Syntax::mixed, "--pair a", "missing_value@0"},
      {Syntax::mixed, "--name --flag", "--name:--flag"},  // a value is taken as it is
      {Syntax::mixed, "--name=x", "unknown@0"},           // no option takes --name=value
      {Syntax::mixed, "-x", "unknown@0"},
      {Syntax::mixed, "- -- --flag --", "op:- op:--flag op:--"},
      {Syntax::mixed, "a stop", "operand@1: not here"},
      {Syntax::mixed, "--bad v", "bad_value@0: no good"},
      {Syntax::mixed, "--one --two", "excluded@1: --one"},
      {Syntax::mixed, "--two --two", "given_twice@1"},
      {Syntax::mixed, "--alone", "--alone"},
      {Syntax::mixed, "--flag --alone", "not_alone@1"},
      {Syntax::options_first, "--flag f --name x", "--flag op:f op:--name op:x"},
      {Syntax::options_first, "-n x", "op:-n op:x"},
      {Syntax::options_first, "-- f", "unknown@0"},
      {Syntax::options_first, "--add a --add b f", "--add:a --add:b op:f"},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.syntax, c.line), c.expected) << c.line;
}

TEST(OptionTable, HelpAndNames) {
  const OptionTable<Read> options = table(Syntax::mixed);
  EXPECT_EQ(options.help(2, 14),
            "Some:\n"
            "  -n, --name V a value\n"
            "  --flag      a flag,\n"
            "              of two lines\n"
            "  --add V     repeatable\n"
            "  --pair A B  two values\n"
            "  --bad V     refuses\n"
            "\n"
            "  --one       one\n"
            "  --two       or two\n"
            "  --alone     alone\n");
  EXPECT_EQ(options.names(), (std::vector<std::string>{"-n", "--name", "--flag", "--add", "--pair",
                                                       "--bad", "--one", "--two", "--alone"}));
}

}  // namespace
