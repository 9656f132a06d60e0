// Command lines with options: what each prints, its exit status, and that a
// refused one leaves no file behind. The one-argument command lines of
// before are the golden runs' business.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kBanner[] = "\nVFONT GENERATOR  V1.2\n";
const char kPressKey[] = "\nPress a key to Exit\n";
const char kOptions[] =
    "\n Options, before the configuration file:\n"
    "   TRALK [--depfile FILE] [--output-dir DIR] [--checksum] config_file.vfg\n"
    "   TRALK [--input-dir DIR]... [--max-size N] [--quiet] [--strict] config_file.vfg\n"
    "   TRALK --list-outputs | --list-inputs | --list-fonts config_file.vfg\n"
    "   TRALK --version | --help\n"
    "   --depfile FILE    after a successful run, write a Make dependency file naming\n"
    "                     the files written as targets, the files read as prerequisites\n"
    "   --output-dir DIR  write images with relative names under the existing folder\n"
    "                     DIR instead of beside the configuration file (inputs are\n"
    "                     still found beside the configuration file)\n"
    "   --checksum        add the CRC-32 of each image (as zlib computes it) to its\n"
    "                     header: #define NAME_CRC32 0x...\n"
    "   --input-dir DIR   look for an input with a relative name that is not beside the\n"
    "                     configuration file in DIR; given more than once, the folders\n"
    "                     are searched in order\n"
    "   --max-size N      fail the run when an image is larger than N bytes (N may be\n"
    "                     hexadecimal, 0x..., and end in KiB or MiB); no file of that\n"
    "                     image is written\n"
    "   --quiet           print only warnings and errors\n"
    "   --strict          fail the run on a warning, as on an error\n"
    "   --list-outputs    print the files a run would write, one per line, and nothing\n"
    "                     else; no input is read\n"
    "   --list-inputs     print the input entries of the configuration as written, one\n"
    "                     per line, and nothing else; no input is read\n"
    "   --list-fonts      print the C name of every font with the image it goes into,\n"
    "                     one per line, and nothing else; no input is read\n"
    "   --version         print the version and exit\n"
    "   --help            print this text and exit\n";

// The usage text as the golden run without arguments records it, between
// the banner and the key prompt.
std::string usage_text() {
  const std::string run =
      TempDir::read(fs::path(TRALK_E2E_GOLDEN) / "usage_no_argument/expected/stdout.txt");
  return run.substr(sizeof kBanner - 1, run.size() - (sizeof kBanner - 1) - (sizeof kPressKey - 1));
}

std::set<std::string> names_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) names.insert(e.path().string());
  return names;
}

TEST(Options, VersionMatchesTheBanner) {
  TempDir dir;
  const RunResult r = run_tralk(dir.path(), "--version");
  const std::string banner = kBanner;
  const std::string number = banner.substr(banner.find(" V") + 2);
  EXPECT_EQ(r.out, "tralk " + number);
  EXPECT_EQ(r.status, 0);
}

// Each program prints its name and the version, alone.
TEST(Options, EveryProgramPrintsItsVersion) {
  TempDir dir;
  const std::string banner = kBanner;
  const std::string version = banner.substr(banner.find(" V") + 2);
  std::vector<std::pair<std::string, std::string>> programs = {{TRALK_INSPECT_EXE, "tralk-inspect"},
                                                               {TRALK_PACK_EXE, "tralk-pack"}};
#ifdef TRALK_IMPORT_EXE
  programs.emplace_back(TRALK_IMPORT_EXE, "tralk-import");
#endif
  for (const auto& [exe, name] : programs) {
    const RunResult r = run_command(dir.path(), shell_quote(exe) + " --version 2>&1");
    EXPECT_EQ(r.out, name + " " + version) << name;
    EXPECT_EQ(r.status, 0) << name;
  }
}

TEST(Options, HelpAndRefusedCommandLines) {
  TempDir dir;
  dir.write("cfg.vfg", "a.bin\nf.sym\n");
  dir.write("f.sym", "{{8,1},{0x81}}\n");
  dir.write("afile", "");
  const std::string usage = usage_text();
  const std::string refused = usage + kOptions + kPressKey;
  const struct {
    const char* args;
    std::string output;  // after the banner
    int status;
  } cases[] = {
      {"--help", usage + kOptions, 0},
      {"--frobnicate cfg.vfg", "\n Unknown option: \"--frobnicate\"" + refused, 255},
      {"--depfile cfg.vfg", "\n No configuration file after the options" + refused, 255},
      {"--depfile a.d --depfile b.d cfg.vfg", "\n Option \"--depfile\" given twice" + refused, 255},
      {"--depfile a.d --output-dir", "\n Option \"--output-dir\" needs a value" + refused, 255},
      {"cfg.vfg --output-dir .",
       "\n Unexpected argument after the configuration file: \"--output-dir\"" + refused, 255},
      {"--depfile a.d --help cfg.vfg", "\n Option \"--help\" must be the only argument" + refused,
       255},
      {"--input-dir a --quiet --input-dir b --quiet cfg.vfg",
       "\n Option \"--quiet\" given twice" + refused, 255},
      // Every option but --input-dir at most once; one listing.
      {"--output-dir . --checksum --output-dir . cfg.vfg",
       "\n Option \"--output-dir\" given twice" + refused, 255},
      {"--max-size 1 --max-size 2 cfg.vfg", "\n Option \"--max-size\" given twice" + refused, 255},
      {"--checksum --strict --checksum cfg.vfg", "\n Option \"--checksum\" given twice" + refused,
       255},
      {"--strict --strict cfg.vfg", "\n Option \"--strict\" given twice" + refused, 255},
      {"--list-fonts --list-fonts cfg.vfg", "\n Option \"--list-fonts\" given twice" + refused,
       255},
      {"--list-fonts --quiet --list-outputs cfg.vfg",
       "\n Options \"--list-fonts\" and \"--list-outputs\" exclude each other" + refused, 255},
      {"--version --version", "\n Option \"--version\" must be the only argument" + refused, 255},
      // A refused command line is printed in full, quiet or not.
      {"--quiet --max-size 1k cfg.vfg",
       "\n Option \"--max-size\" needs a number of bytes, KiB or MiB: \"1k\"" + refused, 255},
      {"--quiet", "\n Illegal comand line parameter" + usage + kPressKey, 255},
      // As a single argument an option is a file name, as it always was.
      {"--depfile", "\n Illegal comand line parameter" + usage + kPressKey, 255},
      {"--depfile a.d cfg.txt", "\n Illegal comand line parameter" + usage + kPressKey, 255},
      {"--output-dir missing cfg.vfg",
       "\nERROR: Output folder not found: \"<DIR>/missing\"" + std::string(kPressKey), 255},
      {"--output-dir afile --depfile a.d cfg.vfg",
       "\nERROR: Output folder not found: \"<DIR>/afile\"" + std::string(kPressKey), 255},
  };
  const std::set<std::string> inputs = names_in(dir.path());
  for (const auto& c : cases) {
    const RunResult r = run_tralk(dir.path(), c.args);
    EXPECT_EQ(r.out, kBanner + with_dir(c.output, dir.path())) << c.args;
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(names_in(dir.path()), inputs) << c.args;
  }
}

}  // namespace
