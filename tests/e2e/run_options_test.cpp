// The options that change a run: --input-dir, --max-size, --quiet, --strict,
// and the listings a build reads before it runs anything.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "support/bmp_builder.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kBanner[] = "\nVFONT GENERATOR  V1.2\nOpen configuration file: cfg.vfg OK\n";
const char kSkipped[] = "\nSkipping config file processing due to errors\n\nPress a key to Exit\n";
const char kDone[] = "\n\nNo errors detected. Done\n";
const char kFont[] = "{{8,1},{0x81}}\n";  // 44 bytes in an image

// A 24-bit picture of one pixel, which needs no palette.
std::vector<uint8_t> one_pixel() {
  BmpLayout layout;
  layout.rows = {{0, 255, 0}};
  return bmp_build(layout);
}

std::set<std::string> files_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (e.is_regular_file()) names.insert(fs::relative(e.path(), dir).generic_string());
  }
  return names;
}

// The files a run loaded, as its "Loading file to font" lines name them.
std::vector<std::string> loaded(const std::string& out) {
  const std::string mark = "\n Loading file to font: \"";
  std::vector<std::string> files;
  for (size_t at = 0; (at = out.find(mark, at)) != std::string::npos;) {
    at += mark.size();
    files.push_back(out.substr(at, out.find('"', at) - at));
  }
  return files;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Inputs are looked for beside the configuration first, then in each
// --input-dir in order; a wildcard takes the first folder where it matches
// anything. Expected paths are relative to the test's folder.
TEST(InputDir, BesideTheConfigurationThenEachFolderInOrder) {
  const struct {
    const char* config;
    std::vector<std::string> loaded;  // or the message of a failed run
    const char* failure;
  } cases[] = {
      {"i.bin\nboth.sym\n", {"cfg/both.sym"}, nullptr},
      {"i.bin\nab.sym\n", {"a/ab.sym"}, nullptr},
      {"i.bin\nonly_b.sym\n", {"b/only_b.sym"}, nullptr},
      {"i.bin\nsub/deep.sym\n", {"b/sub/deep.sym"}, nullptr},
      // The first folder with any match gives every match; later ones are not mixed in.
      {"i.bin\nw?.sym\n", {"b/w1.sym", "b/w2.sym"}, nullptr},
      {"i.bin\nb*.sym\n", {"cfg/both.sym"}, nullptr},
      {"i.bin\n*b.sym\n", {"a/ab.sym"}, nullptr},
      // A palette too; the pictures after it use it.
      {"p.pal\ni.bin\npic.bmp\n", {"cfg/pic.bmp"}, nullptr},
      {"i.bin\nnowhere*.sym\n", {}, "\n- Font file not found <DIR>/cfg/nowhere*.sym"},
      {"i.bin\nnowhere.bmp\n", {}, "\n- Failed to open bmp file \"<DIR>/cfg/nowhere.bmp\""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("cfg/cfg.vfg", c.config);
    for (const char* name : {"cfg/both.sym", "a/both.sym", "a/ab.sym", "b/ab.sym", "b/only_b.sym",
                             "b/sub/deep.sym", "b/w1.sym", "b/w2.sym", "a/x1.sym"})
      dir.write(name, kFont);
    dir.write("b/p.pal", "{{0},{255}}");
    write_bytes(dir.path() / "cfg/pic.bmp", one_pixel());
    const RunResult r = run_tralk(dir.path(), "--input-dir a --input-dir b cfg/cfg.vfg");
    if (c.failure) {
      EXPECT_TRUE(r.out.ends_with(with_dir(c.failure, dir.path()) + kSkipped)) << r.out;
      EXPECT_EQ(r.status, 255);
      continue;
    }
    std::vector<std::string> want;
    for (const std::string& f : c.loaded) want.push_back(with_dir("<DIR>/" + f, dir.path()));
    std::vector<std::string> got = loaded(r.out);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, want) << c.config;
    EXPECT_EQ(r.status, 0) << r.out;
  }
  // The palette found in b: its message names it there.
  TempDir dir;
  dir.write("cfg/cfg.vfg", "p.pal\n");
  dir.write("b/p.pal", "{{0},{255}}");
  const RunResult r = run_tralk(dir.path(), "--input-dir a --input-dir b cfg/cfg.vfg");
  EXPECT_NE(r.out.find(with_dir("\n Default bmp pallette: \"<DIR>/b/p.pal\" OK", dir.path())),
            std::string::npos)
      << r.out;
}

// --list-outputs names exactly the files a run writes, on configurations
// that use the corners of the syntax, and writes nothing itself.
TEST(ListOutputs, NamesTheFilesARunWrites) {
  const char* configs[] = {
      "a.bin\nf.sym\n",
      // Comments hide names; a third word on a line is the next entry.
      "/* x.bin\n y.bin */ a.BIN 0x1 // c.bin\nf.sym T d.bin\nf.sym\n",
      // Quotes, CR LF, tabs, "\" as separator; an image without fonts is not written.
      "\"sp ace.bin\"\r\n\"f.sym\"\r\nempty.bin\nsub\\n.bin\tID\nf.sym\n",
      // GREYMODE reads one word, a palette none; wildcards and pictures.
      "GREYMODE 4 g.bin\nf*.sym\np.pal x.bin\nf.sym\npic.bmp\n",
      // A comment holding a line end ends the line; an empty quoted word is no word.
      "q.bin /* multi\nline */ f.sym\nr.bin \"\"\nf.sym\n",
      // A byte order mark at the start is skipped.
      "\xEF\xBB\xBF"
      "bom.bin\nf.sym\n",
  };
  for (const char* config : configs) {
    TempDir dir;
    dir.write("cfg.vfg", config);
    dir.write("f.sym", kFont);
    dir.write("p.pal", "{ {0}, {255} }\n");
    write_bytes(dir.path() / "pic.bmp", one_pixel());
    fs::create_directories(dir.path() / "out/sub");
    const std::set<std::string> before = files_in(dir.path());
    const RunResult listed =
        run_tralk(dir.path(), "--list-outputs --depfile d.d --output-dir out cfg.vfg");
    EXPECT_EQ(listed.status, 0) << config << listed.out;
    EXPECT_EQ(files_in(dir.path()), before) << config;
    std::set<std::string> named;
    for (const std::string& line : lines_of(listed.out)) {
      EXPECT_TRUE(line.starts_with(host_dir(dir.path()))) << line;
      // The rest of a Windows program's path has "\" separators.
      named.insert(replace_all(line.substr(host_dir(dir.path()).size() + 1), "\\", "/"));
    }
    EXPECT_EQ(lines_of(listed.out).size(), named.size()) << listed.out;
    const RunResult r = run_tralk(dir.path(), "--depfile d.d --output-dir out cfg.vfg");
    ASSERT_EQ(r.status, 0) << config << "\n" << r.out;
    std::set<std::string> written;
    for (const std::string& f : files_in(dir.path())) {
      if (!before.contains(f)) written.insert(f);
    }
    EXPECT_EQ(named, written) << config;
  }
}

// The listings: --list-inputs names the entries as written, each once;
// neither needs an input to exist; an error in the configuration fails them
// with its message.
TEST(ListOutputs, InputsAndErrors) {
  const struct {
    const char* args;
    const char* config;
    std::string out;
    int status;
  } cases[] = {
      {"--list-inputs", "p.pal\nimg.bin 2\nf*.sym F\n\"my pic.bmp\"\nf*.sym\nsub/g.sym\n",
       "p.pal\nf*.sym\nmy pic.bmp\nsub/g.sym\n", 0},
      {"--list-outputs", "img.bin\nmissing.sym\n", "<DIR>/img.c\n<DIR>/img.h\n<DIR>/img.bin\n", 0},
      {"--list-outputs", "", "", 0},
      {"--list-outputs", "f.sym\n",
       "\nConfig file: error in parameter sequence at f.sym" + std::string(kSkipped), 255},
      {"--list-inputs", "a.bin\nf.sym\na.bin\n",
       "\nConfig file: image \"a.bin\" is defined twice" + std::string(kSkipped), 255},
      {"--list-outputs --list-inputs", "",
       "\nVFONT GENERATOR  V1.2\n\n Options \"--list-outputs\" and \"--list-inputs\" exclude each "
       "other",
       255},
      {"--list-fonts", "a.bin\nf.sym\nsub/g.sym Text\nnone*.sym\nb.bin\nf.sym\n9.bmp\n",
       "f <DIR>/a.bin\nText <DIR>/a.bin\nf <DIR>/b.bin\n_9 <DIR>/b.bin\n", 0},
      {"--list-fonts --list-inputs", "",
       "\nVFONT GENERATOR  V1.2\n\n Options \"--list-fonts\" and \"--list-inputs\" exclude each "
       "other",
       255},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", c.config);
    const RunResult r = run_tralk(dir.path(), std::string(c.args) + " cfg.vfg");
    EXPECT_TRUE(r.out.starts_with(with_dir(c.out, dir.path()))) << c.args << ": " << r.out;
    if (c.status == 0) {
      EXPECT_EQ(r.out, with_dir(c.out, dir.path()));
    }
    EXPECT_EQ(r.status, c.status) << c.args;
    EXPECT_EQ(dir.entries(), std::set<std::string>{"cfg.vfg"}) << c.args;
  }
}

// --list-fonts names a wildcard entry's fonts by the files it matches,
// beside the configuration or else in an input folder, under the output
// folder's image.
TEST(ListOutputs, FontNamesOfWildcards) {
  TempDir dir;
  dir.write("cfg.vfg", "ui.bin\nicon*.bmp\nt*.sym T_*\n");
  dir.write("icon1.bmp", "");
  dir.write("gen/t12.sym", "");
  fs::create_directory(dir / "out");
  const RunResult r =
      run_tralk(dir.path(), "--list-fonts --output-dir out --input-dir gen cfg.vfg");
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out, with_dir("icon1 <DIR>/out/ui.bin\nT_t12 <DIR>/out/ui.bin\n", dir.path()));
}

// --max-size: an image of exactly the limit is written; one byte more
// fails the run before any file of it is written, naming the three largest
// fonts; images closed before it keep their files.
TEST(MaxSize, AtAndOneBytePastTheLimit) {
  const std::string two_rows = "{{8,2},{0x81,0x18}}\n";                  // 44 bytes
  const std::string big = "{{8,8},{1,2,3,4,5,6,7,8}}\n";                 // 48 bytes
  const std::string bigger = "{{8,12},{1,2,3,4,5,6,7,8,9,10,11,12}}\n";  // 52 bytes
  const std::string config =
      "ok.bin\nsmall.sym\nimg.bin\nsmall.sym\nbig.sym\nbigger.sym\ntwo.sym\n";
  const std::string too_large =
      "\n- Image \"img.bin\" is 188 bytes, more than the limit of 187 bytes (--max-size)"
      "\n  Its largest fonts: bigger (52 bytes), big (48 bytes), small (44 bytes)";
  const struct {
    const char* limit;
    bool written;
  } cases[] = {{"188", true},  {"187", false},  {"1KiB", true}, {"1MiB", true},
               {"0xBC", true}, {"0xbb", false}, {"0", false}};
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", config);
    dir.write("small.sym", kFont);
    dir.write("two.sym", two_rows);
    dir.write("big.sym", big);
    dir.write("bigger.sym", bigger);
    const RunResult r =
        run_tralk(dir.path(), std::string("--quiet --max-size ") + c.limit + " cfg.vfg");
    const bool img = dir.entries().contains("img.bin");
    EXPECT_EQ(img, c.written) << c.limit;
    EXPECT_EQ(dir.entries().contains("img.c") || dir.entries().contains("img.h"), c.written);
    EXPECT_EQ(dir.entries().contains("ok.bin"), std::string(c.limit) != "0") << c.limit;
    if (c.written) {
      EXPECT_EQ(fs::file_size(dir.path() / "img.bin"), 188u);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(r.status, 0);
    } else if (std::string(c.limit) == "187") {
      EXPECT_EQ(r.out, too_large + kSkipped);
      EXPECT_EQ(r.status, 255);
    }
  }
  TempDir dir;
  for (const char* value :
       {"12k", "KiB", "-1", "1 MiB", "99999999999999", "0x", "0x1G", "0x12345678901"}) {
    const RunResult r = run_tralk(dir.path(), std::string("--max-size '") + value + "' cfg.vfg");
    EXPECT_TRUE(
        r.out.starts_with("\nVFONT GENERATOR  V1.2\n\n Option \"--max-size\" needs a "
                          "number of bytes, KiB or MiB: \"" +
                          std::string(value) + "\"\n"))
        << r.out;
    EXPECT_EQ(r.status, 255);
  }
}

// --quiet prints only warnings (with the lines that give them context) and
// errors; --strict fails a run on each warning, its message unchanged; an
// absent default palette is no warning.
TEST(QuietAndStrict, WarningsAndErrors) {
  const std::string load = "\n Loading file to font: \"<DIR>/";
  const std::string defaults = "\n - 1 pixels set to default during color conversion";
  const std::string greymode = "\n- Illegal grey mode parameter. Parameter ignored";
  const std::string no_palette = "\n Open error in pal file \"<DIR>/gcolor_4.pal\"";
  const std::string start = "\nDefining virtual font: \"p.bin\" ID=0";
  const struct {
    const char* args;
    const char* config;
    std::string out;  // "<BANNER>" for the banner of a full run
    int status;
    bool written;
  } cases[] = {
      {"--quiet", "p.bin\nf.sym\n", "", 0, true},
      {"--quiet", "GREYMODE 3\np.bin\nf.sym\n", greymode + "\n", 0, true},
      {"--quiet", "pal.pal\np.bin\nf.sym\nf4.bmp\n", load + "f4.bmp\"" + defaults + "\n", 0, true},
      {"--quiet", "p.bin\nf.sym\nnone.sym\n",
       "\n- Font file not found <DIR>/none.sym" + std::string(kSkipped), 255, false},
      {"--quiet", "p.bin\ng.bmp\n", "", 0, true},
      {"--strict", "GREYMODE 3\np.bin\nf.sym\n", "<BANNER>" + greymode + kSkipped, 255, false},
      {"--strict", "pal.pal\np.bin\nf4.bmp\n",
       "<BANNER>\n Default bmp pallette: \"<DIR>/pal.pal\" OK" + start + load + "f4.bmp\"" +
           defaults + kSkipped,
       255, false},
      {"--quiet --strict", "pal.pal\np.bin\nf.sym\nf4.bmp\n",
       load + "f4.bmp\"" + defaults + kSkipped, 255, false},
      {"--strict", "p.bin\ng.bmp\n",
       "<BANNER>" + start + no_palette + load +
           "g.bmp\"\n OK\n\nCreating VFONT files\n Source file: "
           "\"<DIR>/p.c\"\n Header file: \"<DIR>/p.h\"\n VFONT image: \"<DIR>/p.bin\"\n  Size "
           "0x2c, 44 \n" +
           kDone,
       0, true},
      {"--quiet --strict", "p.bin\ng.bmp\n", "", 0, true},
  };
  for (const auto& c : cases) {
    TempDir dir;
    dir.write("cfg.vfg", c.config);
    dir.write("f.sym", kFont);
    dir.write("pal.pal", "{{255},{1,2,3}}");  // white only: black has no match
    BmpLayout four_bit;
    four_bit.bits = 4;
    four_bit.width = 2;
    four_bit.colours.assign(16, {7, 7, 7});
    four_bit.colours[1] = {255, 255, 255};
    four_bit.rows = {{0x01}};
    write_bytes(dir.path() / "f4.bmp", bmp_build(four_bit));
    write_bytes(dir.path() / "g.bmp", one_pixel());
    const RunResult r = run_tralk(dir.path(), std::string(c.args) + " cfg.vfg");
    EXPECT_EQ(r.out, with_dir(replace_all(c.out, "<BANNER>", kBanner), dir.path()))
        << c.args << " " << c.config;
    EXPECT_EQ(r.status, c.status) << c.args << " " << c.config;
    EXPECT_EQ(dir.entries().contains("p.bin"), c.written) << c.args << " " << c.config;
  }
}

}  // namespace
