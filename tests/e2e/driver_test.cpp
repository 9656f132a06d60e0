// The program run on configurations written into a temporary directory:
// console text, exit status and the files left behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kBanner[] = "\nVFONT GENERATOR  V1.2\nOpen configuration file: cfg.vfg OK\n";
const char kDone[] = "\n\nNo errors detected. Done\n";
const char kSkipped[] = "\nSkipping config file processing due to errors\n\nPress a key to Exit\n";

const char kFont[] = "{{8,2},{0x81,0x42}}\n";

struct Case {
  const char* config;
  const char* output;  // after the banner; "<DIR>" is the run's directory
  int status;
};

// Runs each case; suffix follows every expected output.
void run_cases(const Case* begin, const Case* end, const std::string& suffix = "") {
  for (const Case* c = begin; c != end; ++c) {
    TempDir dir;
    dir.write("cfg.vfg", c->config);
    dir.write("f.sym", kFont);
    RunResult r = run_tralk(dir.path(), "cfg.vfg");
    std::string want = kBanner + with_dir(c->output, dir.path()) + suffix;
    EXPECT_EQ(r.out, want) << c->config;
    EXPECT_EQ(r.status, c->status) << c->config;
  }
}

TEST(Driver, EntriesWithoutOutput) {
  const Case cases[] = {
      {"/* nothing */\n// at all\n\n", kDone, 0},
      {"a.bin\nb.bin 0x3\n",
       "\nDefining virtual font: \"a.bin\" ID=0"
       "\nNo load fonts defined in config.\n Skipping generation of a.bin"
       "\nDefining virtual font: \"b.bin\" ID=0x3"
       "\nNo load fonts defined in config.\n Skipping generation of b.bin\n\nNo errors detected. "
       "Done\n",
       0},
      {"table.cp\nother.CP\n", kDone, 0},
      {"GREYMODE 0x10\nGREYMODE 020\nGREYMODE 8\nGREYMODE 256\nGREYMODE\nGREYMODE\n"
       "GREYMODE 4 // four\nGREYMODE 0\nGREYMODE abc\nGREYMODE -4\nGREYMODE 99999999999\n",
       "\n GREYMODE = 16\n GREYMODE = 16\n- Illegal grey mode parameter. Parameter ignored"
       "\n GREYMODE = 256\n- Grey mode conversion cancled\n GREYMODE = 4"
       "\n- Grey mode conversion cancled\n- Illegal grey mode parameter. Parameter ignored"
       "\n- Illegal grey mode parameter. Parameter ignored\n\nNo errors detected. Done\n",
       0},
  };
  run_cases(std::begin(cases), std::end(cases));
}

TEST(Driver, ErrorsEndTheRun) {
  const Case cases[] = {
      {"f.sym\n", "\nConfig file: error in parameter sequence at f.sym", 255},
      {"pic.bmp\n", "\nConfig file: error in parameter sequence at pic.bmp", 255},
      {"a.bin\ngreymode 4\n",
       "\nDefining virtual font: \"a.bin\" ID=0\nUnknown / Illegal filename type: greymode", 255},
      {"cfg.vfg\n", "\nUnknown / Illegal filename type: cfg.vfg", 255},
      {"x.hex\n", "\nUnknown / Illegal filename type: x.hex", 255},
      {"GREYMODE 4 16\n", "\n GREYMODE = 4\nUnknown / Illegal filename type: 16", 255},
      {"a.bin 0x10 0x20\n",
       "\nDefining virtual font: \"a.bin\" ID=0x10\nUnknown / Illegal filename type: 0x20", 255},
      {"a.bin\nnone*.sym\n",
       "\nDefining virtual font: \"a.bin\" ID=0\n- Font file not found <DIR>/none*.sym", 255},
      {"x.pal\n",
       "\n Default bmp pallette: \"<DIR>/x.pal\"\n Open error in pal file \"<DIR>/x.pal\""
       "\n- Failed to load palette file <DIR>/x.pal",
       255},
      {"a.bin \"unclosed\nf.sym\n",
       "\nConfig file: illegal name (unclosed quote, or 260 characters or more)", 255},
      {"a.bin\nf.sym \"open\n",
       "\nDefining virtual font: \"a.bin\" ID=0"
       "\nConfig file: illegal name (unclosed quote, or 260 characters or more)",
       255},
  };
  run_cases(std::begin(cases), std::end(cases), kSkipped);
}

TEST(Driver, NamesWhoseFullPathIsTooLongAreReported) {
  // The run's directory is short, so a 250-character name passes the lexer's
  // limit but not the full-path limit of 258 characters.
  const std::string name = std::string(246, 'n') + ".sym";
  for (const std::string& config : {"a.bin\n" + name + "\n", name.substr(0, 246) + ".pal\n"}) {
    TempDir dir;
    dir.write("cfg.vfg", config);
    const RunResult r = run_tralk(dir.path(), "cfg.vfg");
    const std::string token = config.substr(config.find(name.substr(0, 246)), 250);
    EXPECT_NE(r.out.find("\nERROR: Illegal file name format: \"" + token + "\"" + kSkipped),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.status, 255);
  }
}

TEST(Driver, CommandLine) {
  TempDir dir;
  dir.write("cfg.vfg", "");
  dir.write("sub/UP.VFG", "");
  struct {
    const char* args;
    const char* output;
    int status;
  } cases[] = {
      {"missing.vfg",
       "\nVFONT GENERATOR  V1.2\n\nERROR: File not found: \"<DIR>/missing.vfg\"\nPress a key to "
       "Exit\n",
       255},
      {"sub/UP.VFG",
       "\nVFONT GENERATOR  V1.2\nOpen configuration file: sub/UP.VFG OK\n\n\nNo "
       "errors detected. Done\n",
       0},
  };
  for (const auto& c : cases) {
    RunResult r = run_tralk(dir.path(), c.args);
    EXPECT_EQ(r.out, with_dir(c.output, dir.path()));
    EXPECT_EQ(r.status, c.status);
  }
  RunResult two = run_tralk(dir.path(), "cfg.vfg cfg.vfg");
  EXPECT_EQ(two.status, 255);
  EXPECT_NE(two.out.find("\nVirtual font generator program description\n"), std::string::npos);
  RunResult empty = run_tralk(dir.path(), "''");
  EXPECT_EQ(empty.status, 255);
  EXPECT_NE(empty.out.find(" Command line:\n   TRALK  config_file.vfg \n"), std::string::npos);
}

TEST(Driver, OutputGoesBesideTheConfiguration) {
  TempDir dir;
  dir.write("cfg/proj.vfg", "out/img.bin\n../fonts/*.sym *_x\n");
  dir.write("fonts/b.sym", kFont);
  dir.write("fonts/a.sym", kFont);
  fs::create_directory(dir.path() / "cfg" / "out");
  RunResult r = run_tralk(dir.path(), "cfg/proj.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(with_dir("\n Loading file to font: \"<DIR>/fonts/a.sym\" OK"
                                "\n Loading file to font: \"<DIR>/fonts/b.sym\" OK",
                                dir.path())),
            std::string::npos)
      << r.out;
  const std::string header = read_text_output(dir.path() / "cfg/out/img.h");
  EXPECT_NE(header.find("extern GCODE GFONTV FCODE a_x;\nextern GCODE GFONTV FCODE b_x;\n"),
            std::string::npos)
      << header;
  EXPECT_TRUE(fs::exists(dir.path() / "cfg/out/img.c"));
  EXPECT_EQ(fs::file_size(dir.path() / "cfg/out/img.bin"), 2u * 44u);
}

TEST(Driver, ErrorAfterAClosedListKeepsItsFiles) {
  TempDir dir;
  dir.write("cfg.vfg", "one.bin\nf.sym\ntwo.bin\nf.sym\nbad.sym\n");
  dir.write("f.sym", kFont);
  dir.write("bad.sym", "{{8,1},{1}},{{8,2},{1}}");
  RunResult r = run_tralk(dir.path(), "cfg.vfg");
  EXPECT_EQ(r.status, 255);
  const std::string tail = with_dir(
      "\n Loading file to font: \"<DIR>/bad.sym\"\n Syntax error detected on symbol 1 in sym "
      "file \"<DIR>/bad.sym\"\n- Error detected during font load \"<DIR>/bad.sym\"" +
          std::string(kSkipped),
      dir.path());
  ASSERT_GE(r.out.size(), tail.size());
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
  EXPECT_TRUE(fs::exists(dir.path() / "one.bin"));
  EXPECT_TRUE(fs::exists(dir.path() / "one.c"));
  EXPECT_FALSE(fs::exists(dir.path() / "two.bin"));
  EXPECT_FALSE(fs::exists(dir.path() / "two.c"));
  EXPECT_FALSE(fs::exists(dir.path() / "two.h"));
}

TEST(Driver, FailedWritesEndTheRunWithAnError) {
  TempDir dir;
  dir.write("cfg.vfg", "nodir/out.bin\nf.sym\ntaken.bin\nf.sym\nok.bin\nf.sym\n");
  dir.write("f.sym", kFont);
  dir.write("ok.c", "old source");
  fs::create_directory(dir.path() / "taken.h");  // an output name held by a directory
  RunResult r = run_tralk(dir.path(), "cfg.vfg");
  EXPECT_EQ(r.status, 255);
  for (const char* name : {"nodir/out.c", "nodir/out.h", "nodir/out.bin", "taken.h"}) {
    EXPECT_NE(r.out.find(with_dir("\n Error could write to: \"<DIR>/" + std::string(name) + "\"",
                                  dir.path())),
              std::string::npos)
        << name << "\n"
        << r.out;
  }
  const std::string tail =
      "\n\nErrors detected while writing output files\n\nPress a key to Exit\n";
  ASSERT_GE(r.out.size(), tail.size());
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
  for (const char* image : {"nodir/out.bin", "taken.bin"}) {
    EXPECT_NE(r.out.find("\n- No file of \"" + std::string(image) + "\" was replaced"),
              std::string::npos)
        << image;
  }
  // Nothing of a failed image is written; the lists after the failures are
  // still written whole.
  EXPECT_TRUE(fs::is_directory(dir.path() / "taken.h"));
  EXPECT_NE(TempDir::read(dir.path() / "ok.c"), "old source");
  EXPECT_TRUE(fs::exists(dir.path() / "ok.h"));
  EXPECT_EQ(fs::file_size(dir.path() / "ok.bin"), 44u);
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 6u) << "cfg.vfg f.sym ok.* and the directory taken.h only";
}

}  // namespace
