// The program run on hostile input: broken, truncated, huge, oddly encoded
// and oddly named files, the cases made by a loop or for the host (the
// others are golden runs, tests/e2e/golden/hostile_*). Every case names the
// message it expects and the exit status, and checks what is left on disk: the images that are
// written are written whole, and nothing else appears (no other output, no temporary file).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/bmp_builder.h"
#include "support/run_tralk.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;

namespace {

const char kDone[] = "\n\nNo errors detected. Done\n";
const char kPressKey[] = "\nPress a key to Exit\n";
const char kSkipped[] = "\nSkipping config file processing due to errors\n";

const char kFont[] = "{{8,2},{0x81,0x42}}";  // one symbol, a 44-byte block
const char kGoodPal[] = "{{0},{255},{255,0,0},{0,0,255}}";

using Files = std::vector<std::pair<std::string, std::string>>;

struct Case {
  std::string what;     // what is hostile about it
  Files files;          // the inputs, the configuration cfg.vfg among them
  std::string message;  // must appear in the output; "<DIR>" is the run's directory
  int status;
  std::vector<std::string> written;  // images written whole, e.g. "img" for img.c/.h/.bin
};

std::string bytes(const std::vector<uint8_t>& v) {
  return std::string(v.begin(), v.end());
}

std::set<std::string> files_in(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    names.insert(fs::relative(e.path(), dir).string());
  return names;
}

// The three files of an image agree with each other: the header's size
// macro, the source's closing size line and the image's length.
void expect_whole_image(const fs::path& dir, const std::string& image, const std::string& what) {
  const std::string bin = TempDir::read(dir / (image + ".bin"));
  const std::string c = read_text_output(dir / (image + ".c"));
  const std::string h = read_text_output(dir / (image + ".h"));
  const std::string size = std::to_string(bin.size());
  EXPECT_NE(h.find("_SIZE 0x"), std::string::npos) << what;
  EXPECT_NE(h.find(" /* " + size + " */\n"), std::string::npos) << what << "\n" << h;
  EXPECT_TRUE(h.ends_with("\n#endif\n")) << what;
  EXPECT_TRUE(c.ends_with("/* Size of virtual memory data: " + size + " bytes */\n\n#endif\n"))
      << what;
}

// Runs one case in a fresh directory; prefix is shell text put before the
// program (limits, traps).
RunResult run_case(const Case& c, TempDir& dir, const std::string& prefix = "") {
  for (const auto& [name, content] : c.files) dir.write(name, content);
  return run_tralk(dir.path(), "cfg.vfg", {prefix});
}

void check_case(const Case& c, TempDir& dir) {
  SCOPED_TRACE(c.what);
  const RunResult r = run_case(c, dir);
  EXPECT_EQ(r.status, c.status) << r.out;
  const std::string message = with_dir(c.message, dir.path());
  EXPECT_NE(r.out.find(message), std::string::npos) << "wanted: " << message << "\ngot: " << r.out;
  EXPECT_TRUE(r.out.ends_with(c.status == 0 ? kDone : kPressKey)) << r.out;

  std::set<std::string> want;
  for (const auto& file : c.files) {
    for (fs::path p = file.first; !p.empty(); p = p.parent_path()) want.insert(p.string());
  }
  for (const std::string& image : c.written) {
    for (const char* ext : {".c", ".h", ".bin"}) want.insert(image + ext);
    expect_whole_image(dir.path(), image, c.what);
  }
  EXPECT_EQ(files_in(dir.path()), want) << "files left after the run";
}

void check_case(const Case& c) {
  TempDir dir;
  check_case(c, dir);
}

void check_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) check_case(c);
}

std::string load_ok(const std::string& file) {
  return "\n Loading file to font: \"<DIR>/" + file + "\" OK";
}

std::string sym_error(unsigned symbol, const std::string& file) {
  return "\n Syntax error detected on symbol " + std::to_string(symbol) + " in sym file \"<DIR>/" +
         file + "\"\n- Error detected during font load \"<DIR>/" + file + "\"" + kSkipped;
}

std::string cp_error(const std::string& cp, const std::string& sym) {
  return "\n Syntax error in .cp file \"<DIR>/" + cp +
         "\"\n Error loading codepage specificed in sym file \"<DIR>/" + sym + "\"";
}

std::string pal_error(const std::string& pal) {
  return "\n Default bmp pallette: \"<DIR>/" + pal + "\"\n Syntax error in pal file \"<DIR>/" +
         pal + "\"\n- Failed to load palette file <DIR>/" + pal + kSkipped;
}

std::string bmp_error(const std::string& error, const std::string& bmp) {
  return "\n Loading file to font: \"<DIR>/" + bmp + "\"" + error + " File \"<DIR>/" + bmp +
         "\"\n- Error detected during bmp to font load \"<DIR>/" + bmp + "\"" + kSkipped;
}

const char kIllegalName[] =
    "\nConfig file: illegal name (unclosed quote, or 260 characters or more)";

std::vector<uint8_t> small_bmp() {
  BmpLayout s;
  s.bits = 1;
  s.width = 3;
  s.height = 2;
  s.colours = {{0, 0, 0}, {255, 255, 255}};
  s.rows = {{0xA0}, {0x40}};
  return bmp_build(s);
}

TEST(Hostile, TruncatedSymAtEveryLength) {
  const std::string sym = std::string(kFont) + ",{{8,2},{0x18,0x24}}";
  const size_t first = std::string(kFont).size();
  std::vector<Case> cases;
  for (size_t n = 0; n <= sym.size(); ++n) {
    Case c{"f.sym cut to " + std::to_string(n) + " bytes",
           {{"cfg.vfg", "img.bin\nf.sym\n"}, {"f.sym", sym.substr(0, n)}},
           "",
           0,
           {"img"}};
    // Whole symbols, and a comma after the last one, are a complete file.
    if (n == first || n == first + 1 || n == sym.size()) {
      c.message = load_ok("f.sym");
    } else {
      c.message = sym_error(n < first ? 0 : 1, "f.sym");
      c.status = 255;
      c.written.clear();
    }
    cases.push_back(c);
  }
  check_cases(cases);
}

TEST(Hostile, TruncatedCodepageAtEveryLength) {
  const std::string cp = "{2,32},{{32,126,0},{160,255,95}}";
  std::vector<Case> cases;
  for (size_t n = 0; n <= cp.size(); ++n) {
    Case c{"a.cp cut to " + std::to_string(n) + " bytes",
           {{"cfg.vfg", "img.bin\nf.sym\n"},
            {"f.sym", std::string("// CP<a.cp>\n") + kFont},
            {"a.cp", cp.substr(0, n)}},
           "",
           0,
           {"img"}};
    // Only the list's closing brace may be missing.
    if (n + 1 >= cp.size()) {
      c.message = load_ok("f.sym");
    } else {
      c.message = cp_error("a.cp", "f.sym");
      c.status = 255;
      c.written.clear();
    }
    cases.push_back(c);
  }
  check_cases(cases);
}

TEST(Hostile, TruncatedPaletteAtEveryLength) {
  const std::string pal = "{{0},{255},{255,0,0}}";
  const std::set<size_t> complete = {4, 10, pal.size() - 1, pal.size()};
  std::vector<Case> cases;
  for (size_t n = 0; n <= pal.size(); ++n) {
    Case c{"p.pal cut to " + std::to_string(n) + " bytes",
           {{"cfg.vfg", "p.pal\nimg.bin\nf.sym\n"}, {"p.pal", pal.substr(0, n)}, {"f.sym", kFont}},
           "",
           0,
           {"img"}};
    if (complete.count(n)) {
      c.message = "\n Default bmp pallette: \"<DIR>/p.pal\" OK";
    } else {
      c.message = pal_error("p.pal");
      c.status = 255;
      c.written.clear();
    }
    cases.push_back(c);
  }
  check_cases(cases);
}

TEST(Hostile, TruncatedBmpAtEveryLength) {
  const std::string bmp = bytes(small_bmp());
  ASSERT_EQ(bmp.size(), 70u);
  std::vector<Case> cases;
  for (size_t n = 0; n <= bmp.size(); ++n) {
    Case c{
        "p.bmp cut to " + std::to_string(n) + " bytes",
        {{"cfg.vfg", "img.bin\np.bmp\n"}, {"p.bmp", bmp.substr(0, n)}, {"gcolor_4.pal", kGoodPal}},
        "",
        255,
        {}};
    if (n < 54) {
      c.message = bmp_error("Error: File read", "p.bmp");  // inside the two headers
    } else if (n < bmp.size()) {
      c.message = bmp_error("Error File read", "p.bmp");  // inside the colours or pixels
    } else {
      c.message = "\n Loading file to font: \"<DIR>/p.bmp\"\n OK";
      c.status = 0;
      c.written = {"img"};
    }
    cases.push_back(c);
  }
  check_cases(cases);
}

TEST(Hostile, TruncatedConfigurationAtEveryLength) {
  const std::string cfg = "img.bin 0x10\nf.sym\n";
  std::vector<Case> cases;
  for (size_t n = 0; n <= cfg.size(); ++n) {
    const std::string cut = cfg.substr(0, n);
    Case c{"cfg.vfg cut to " + std::to_string(n) + " bytes",
           {{"cfg.vfg", cut}, {"f.sym", kFont}},
           kDone,
           0,
           {}};
    if (n >= 1 && n <= 6) {  // "i" to "img.bi"
      c.message = "\nUnknown / Illegal filename type: " + cut + kSkipped;
      c.status = 255;
    } else if (n >= 7 && n <= 13) {  // an image without fonts; its identifier as far as it goes
      const std::string id = n <= 8 ? "0" : cfg.substr(8, std::min<size_t>(n, 12) - 8);
      c.message = "\nDefining virtual font: \"img.bin\" ID=" + id +
                  "\nNo load fonts defined in config.\n Skipping generation of img.bin";
    } else if (n >= 14 && n <= 17) {  // "f" to "f.sy"
      c.message = "\nUnknown / Illegal filename type: " + cfg.substr(13, n - 13) + kSkipped;
      c.status = 255;
    } else if (n >= 18) {
      c.message = "\nDefining virtual font: \"img.bin\" ID=0x10" + load_ok("f.sym");
      c.written = {"img"};
    }
    cases.push_back(c);
  }
  check_cases(cases);
}

TEST(Hostile, NamesAtAndPastTheLengthLimits) {
  // Full paths hold at most 258 characters: the directory, a separator and
  // the name. Temporary directories differ in length, so each run measures.
  for (size_t extra : {0, 1}) {
    TempDir dir;
    const size_t longest = 258 - host_dir(dir.path()).size() - 1;
    ASSERT_GT(longest, 8u);
    const std::string fits = std::string(longest - 4, 'f') + ".sym";
    const std::string name = std::string(longest - 4 + extra, 'f') + ".sym";
    // The template keeps the font's name, and so the C files, the same on
    // every host, whatever the length of its directory.
    const Case c{
        "the longest name that resolves, plus " + std::to_string(extra),
        {{"cfg.vfg", "img.bin\n" + name + " F\n"}, {fits, kFont}},
        extra ? "\nERROR: Illegal file name format: \"" + name + "\"" + kSkipped : load_ok(fits),
        extra ? 255 : 0,
        extra ? std::vector<std::string>{} : std::vector<std::string>{"img"}};
    check_case(c, dir);
  }
  const std::string name259 = std::string(255, 'n') + ".sym";
  const std::string name260 = std::string(256, 'n') + ".sym";
  const std::string bin259 = std::string(255, 'b') + ".bin";
  check_cases({
      {"259 characters are a name, too long for a path",
       {{"cfg.vfg", "img.bin\n" + name259 + "\n"}},
       "\nERROR: Illegal file name format: \"" + name259 + "\"",
       255,
       {}},
      {"260 characters are no name",
       {{"cfg.vfg", "img.bin\n" + name260 + "\n"}},
       kIllegalName + std::string(kSkipped),
       255,
       {}},
      {"quoted, 259 characters",
       {{"cfg.vfg", "img.bin\n\"" + name259 + "\"\n"}},
       "\nERROR: Illegal file name format: \"" + name259 + "\"",
       255,
       {}},
      {"quoted, 260 characters",
       {{"cfg.vfg", "img.bin\n\"" + name260 + "\"\n"}},
       kIllegalName + std::string(kSkipped),
       255,
       {}},
      {"template of 260 characters",
       {{"cfg.vfg", "img.bin\nf.sym " + std::string(260, 'T') + "\n"}, {"f.sym", kFont}},
       kIllegalName + std::string(kSkipped),
       255,
       {}},
      {"template of 259 characters names the font",
       {{"cfg.vfg", "img.bin\nf.sym " + std::string(259, 'T') + "\n"}, {"f.sym", kFont}},
       load_ok("f.sym"),
       0,
       {"img"}},
      {"image name too long for the outputs: nothing is written",
       {{"cfg.vfg", bin259 + "\nf.sym\n"}, {"f.sym", kFont}},
       "\n Error could write to: \"" + bin259.substr(0, 255) + ".c\"",
       255,
       {}},
      {"codepage marker past the 260th character of the first line is not seen",
       {{"cfg.vfg", "img.bin\nf.sym\n"},
        {"f.sym", "//" + std::string(300, ' ') + "CP<missing.cp>\n" + kFont}},
       load_ok("f.sym"),
       0,
       {"img"}},
  });
}

TEST(Hostile, WildcardsMatchingHundredsOfFiles) {
  Files many = {{"cfg.vfg", "img.bin\nf*.sym\n"}};
  Files broken = {{"cfg.vfg", "img.bin\nf???.sym\n"}};
  Files pictures = {{"cfg.vfg", "img.bin\np*.bmp P*\n"}, {"gcolor_4.pal", kGoodPal}};
  const std::string bmp = bytes(small_bmp());
  for (int i = 0; i < 300; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d", i);
    many.push_back({std::string("f") + name + ".sym", kFont});
    broken.push_back({std::string("f") + name + ".sym", i == 150 ? "{{8,2}}" : kFont});
    pictures.push_back({std::string("p") + name + ".bmp", bmp});
  }
  check_cases({
      {"300 fonts",
       many,
       load_ok("f298.sym") + load_ok("f299.sym") + "\n\nCreating VFONT files",
       0,
       {"img"}},
      {"the 151st of 300 fonts is broken",
       broken,
       load_ok("f149.sym") + "\n Loading file to font: \"<DIR>/f150.sym\"" +
           sym_error(0, "f150.sym"),
       255,
       {}},
      {"300 pictures", pictures, "\n Loading file to font: \"<DIR>/p299.bmp\"\n OK", 0, {"img"}},
  });
  TempDir dir;
  for (const auto& [name, content] : many) dir.write(name, content);
  ASSERT_EQ(run_tralk(dir.path(), "cfg.vfg").status, 0);
  EXPECT_EQ(fs::file_size(dir.path() / "img.bin"), 300u * 44u);
  const std::string header = read_text_output(dir.path() / "img.h");
  std::string externs;
  for (int i = 0; i < 300; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "extern GCODE GFONTV FCODE f%03d;\n", i);
    externs += line;
  }
  EXPECT_NE(header.find(externs), std::string::npos) << "all fonts, in byte order of their names";
}

TEST(Hostile, SymWith65536Symbols) {
  std::string full;
  for (int i = 0; i < 65535; ++i) full += "{{1,1},{1}},";
  check_cases({
      {"65535 symbols",
       {{"cfg.vfg", "img.bin\nf.sym\n"}, {"f.sym", full}},
       load_ok("f.sym"),
       0,
       {"img"}},
      {"65536 symbols",
       {{"cfg.vfg", "img.bin\nf.sym\n"}, {"f.sym", full + "{{1,1},{1}}"}},
       sym_error(65535, "f.sym"),
       255,
       {}},
      {"codepage with 65536 ranges wraps its count to 0",
       {{"cfg.vfg", "img.bin\nf.sym\n"},
        {"f.sym", std::string("//CP<a.cp>\n") + kFont},
        {"a.cp",
         [] {
           std::string cp = "{65536,0},{";
           for (int i = 0; i < 65536; ++i) cp += "{1,2,3},";
           return cp + "}";
         }()}},
       cp_error("a.cp", "f.sym"),
       255,
       {}},
  });
}

TEST(Hostile, LineEndings) {
  const std::string lf = "/* two\nlines */\nimg.bin 0x10\nf.sym F*\np.pal\n";
  const Files inputs = {{"f.sym", "// CP<a.cp>\n{{8,2},\n{0x81,0x42}}\n"},
                        {"a.cp", "{1,0},\n{{0,1,2}}\n"},
                        {"p.pal", "{{0},\n{255}}\n"}};
  auto with_endings = [&](const std::string& eol) {
    Files files = {{"cfg.vfg", replace_all(lf, "\n", eol)}};
    for (const auto& [name, content] : inputs)
      files.push_back({name, replace_all(content, "\n", eol)});
    return files;
  };
  TempDir reference;
  for (const auto& [name, content] : with_endings("\n")) reference.write(name, content);
  ASSERT_EQ(run_tralk(reference.path(), "cfg.vfg").status, 0);

  for (const char* eol : {"\n", "\r", "\r\n", "\n\r", "\r\r\n"}) {
    const Case c{"line ends " + replace_all(replace_all(eol, "\r", "CR "), "\n", "LF "),
                 with_endings(eol),
                 "\nDefining virtual font: \"img.bin\" ID=0x10" + load_ok("f.sym"),
                 0,
                 {"img"}};
    check_case(c);
    TempDir dir;
    run_case(c, dir);
    for (const char* out : {"img.c", "img.h", "img.bin"}) {
      EXPECT_EQ(TempDir::read(dir.path() / out), TempDir::read(reference.path() / out))
          << c.what << " " << out;
    }
  }
}

TEST(Hostile, DirectoriesWhereFilesAreExpected) {
  // Windows refuses to open a directory as a file; POSIX opens it, and it
  // reads as nothing.
  const bool refused = test_host().windows;
  const std::string pal_open_error =
      "\n Default bmp pallette: \"<DIR>/d.pal\"\n Open error in pal file \"<DIR>/d.pal\""
      "\n- Failed to load palette file <DIR>/d.pal" +
      std::string(kSkipped);
  const std::string cp_open_error =
      "\n Open error in .cp file \"<DIR>/d.cp\"\n Error loading codepage specificed in sym file "
      "\"<DIR>/f.sym\"";
  check_cases({
      {"a directory named like a font",
       {{"cfg.vfg", "img.bin\nd.sym\n"}, {"d.sym/.keep", ""}},
       "\n- Font file not found <DIR>/d.sym" + std::string(kSkipped),
       255,
       {}},
      {"a directory named like a palette",
       {{"cfg.vfg", "d.pal\n"}, {"d.pal/.keep", ""}},
       refused ? pal_open_error : pal_error("d.pal"),
       255,
       {}},
      {"a directory named like the codepage",
       {{"cfg.vfg", "img.bin\nf.sym\n"},
        {"f.sym", std::string("//CP<d.cp>\n") + kFont},
        {"d.cp/.keep", ""}},
       refused ? cp_open_error : cp_error("d.cp", "f.sym"),
       255,
       {}},
  });
}

TEST(Hostile, ConfigurationThatIsADirectory) {
  TempDir dir;
  fs::create_directory(dir.path() / "dir.vfg");
  const RunResult r = run_tralk(dir.path(), "dir.vfg");
  EXPECT_EQ(r.out, with_dir("\nVFONT GENERATOR  V1.2\n\nERROR: File not found: \"<DIR>/dir.vfg\"",
                            dir.path()) +
                       kPressKey);
  EXPECT_EQ(r.status, 255);
}

// A write that fails part-way (here: the file size limit) leaves the old
// image in place, writes neither of its companions and leaves no temporary
// file behind.
TEST(Hostile, FailedWriteLeavesNoHalfWrittenImage) {
  std::string full;
  for (int i = 0; i < 40000; ++i) full += "{{1,1},{1}},";
  const Case c{"image larger than the file size limit",
               {{"cfg.vfg", "img.bin\nf.sym\n"}, {"f.sym", full}, {"img.bin", "old image"}},
               "",
               255,
               {}};
  TempDir dir;
  const RunResult r = run_case(c, dir, "ulimit -f 64 && trap '' XFSZ &&");
  EXPECT_EQ(r.status, 255) << r.out;
  EXPECT_NE(r.out.find(with_dir(
                "\n VFONT image: \"<DIR>/img.bin\"\n Error could write to: \"<DIR>/img.bin\"",
                dir.path())),
            std::string::npos)
      << r.out;
  EXPECT_TRUE(
      r.out.ends_with("\n\nErrors detected while writing output files\n" + std::string(kPressKey)))
      << r.out;
  EXPECT_EQ(TempDir::read(dir.path() / "img.bin"), "old image");
  EXPECT_EQ(files_in(dir.path()), (std::set<std::string>{"cfg.vfg", "f.sym", "img.bin"}));
}

}  // namespace
