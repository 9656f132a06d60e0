// Every file of the program includes headers only of its own part and of the
// parts that layers.txt lets it use, and every use that the table allows is
// made (CMake links exactly these).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Part {
  std::string name;
  std::string prefix;             // the files whose path starts with it belong to the part
  std::vector<std::string> uses;  // the parts whose headers it may include
  std::string what;               // what it holds, in a few words
};

std::vector<Part> read_layers(const std::string& text) {
  std::vector<Part> parts;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    Part p;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) {
      p.what = line.substr(line.find_first_not_of("# ", hash));
      line.erase(hash);
    }
    std::istringstream words(line);
    words >> p.name >> p.prefix;
    for (std::string use; words >> use;)
      if (use != "-") p.uses.push_back(use);
    parts.push_back(p);
  }
  return parts;
}

const Part* part_of(const std::vector<Part>& parts, const std::string& path) {
  const Part* best = nullptr;
  for (const Part& p : parts)
    if (path.rfind(p.prefix, 0) == 0 && (!best || p.prefix.size() > best->prefix.size())) best = &p;
  return best;
}

// The program's source files, relative to the source folder, with their text.
using Sources = std::map<std::string, std::string>;

Sources read_sources(const fs::path& root, const std::vector<Part>& parts) {
  Sources sources;
  for (const Part& p : parts) {
    const fs::path folder = root / fs::path(p.prefix).parent_path();
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
      const std::string ext = e.path().extension().string();
      if (ext != ".h" && ext != ".cpp") continue;
      std::ifstream in(e.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      sources[fs::relative(e.path(), root).generic_string()] = text.str();
    }
  }
  return sources;
}

struct Findings {
  std::vector<std::string> wrong_way;  // includes the table does not allow
  std::vector<std::string> unused;     // uses the table allows that no file makes
};

Findings check_layers(const std::vector<Part>& parts, const Sources& sources) {
  static const std::regex include_line(R"(^\s*#\s*include\s*"([^"]+)\")");
  Findings out;
  std::map<std::string, std::map<std::string, bool>> made;
  for (const auto& [path, text] : sources) {
    const Part* from = part_of(parts, path);
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
      ++number;
      std::smatch m;
      if (!std::regex_search(line, m, include_line)) continue;
      const Part* to = part_of(parts, m[1]);
      if (!from || !to || from == to) continue;
      made[from->name][to->name] = true;
      bool allowed = false;
      for (const std::string& use : from->uses) allowed = allowed || use == to->name;
      if (!allowed)
        out.wrong_way.push_back(path + ":" + std::to_string(number) + ": includes \"" + m[1].str() +
                                "\" of " + to->name + ", which " + from->name + " may not use");
    }
  }
  for (const Part& p : parts)
    for (const std::string& use : p.uses)
      if (!made[p.name][use]) out.unused.push_back(p.name + " may use " + use + " but does not");
  return out;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<Part> project_layers() {
  return read_layers(read_file(fs::path(TRALK_SOURCE_DIR) / "layers.txt"));
}

// The table of ARCHITECTURE.md, in Markdown.
std::string layers_table(const std::vector<Part>& parts) {
  std::string t = "| part | files | may use | what it holds |\n|---|---|---|---|\n";
  for (const Part& p : parts) {
    std::string uses;
    for (const std::string& u : p.uses) uses += (uses.empty() ? "" : ", ") + u;
    t += "| " + p.name + " | `" + p.prefix + "` | " + (uses.empty() ? "—" : uses) + " | " + p.what +
         " |\n";
  }
  return t;
}

TEST(Layering, EveryIncludeIsAllowedAndEveryAllowedUseMade) {
  const std::vector<Part> parts = project_layers();
  ASSERT_GE(parts.size(), 11u);
  const Sources sources = read_sources(TRALK_SOURCE_DIR, parts);
  const Findings found = check_layers(parts, sources);
  EXPECT_EQ(found.wrong_way, std::vector<std::string>{});
  EXPECT_EQ(found.unused, std::vector<std::string>{});
  for (const auto& [path, text] : sources) EXPECT_NE(part_of(parts, path), nullptr) << path;
}

TEST(Layering, ArchitectureShowsTheTable) {
  const std::string doc = read_file(fs::path(TRALK_SOURCE_DIR) / "ARCHITECTURE.md");
  const size_t start = doc.find("-->\n", doc.find("<!-- layers:"));
  const size_t end = doc.find("<!-- end of layers -->");
  ASSERT_NE(start, std::string::npos);
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(doc.substr(start + 4, end - start - 4), layers_table(project_layers()))
      << "ARCHITECTURE.md's table of parts, made anew from layers.txt, is above";
}

TEST(Layering, WrongWayIncludesAreFound) {
  const std::vector<Part> parts = project_layers();
  const Sources tree = read_sources(TRALK_SOURCE_DIR, parts);
  struct Case {
    const char* file;
    const char* include;
    const char* finding;
  };
  const Case cases[] = {
      {"fonts/sym_load.cpp", "output/vfont.h",
       "fonts/sym_load.cpp:1: includes \"output/vfont.h\" of output, which fonts may not use"},
      {"bitmap/bmp_load.h", "output/vfont.h",
       "bitmap/bmp_load.h:1: includes \"output/vfont.h\" of output, which bitmap may not use"},
      {"base/console.cpp", "fonts/symfont.h",
       "base/console.cpp:1: includes \"fonts/symfont.h\" of fonts, which base may not use"},
      {"output/fontlist.cpp", "driver/driver.h",
       "output/fontlist.cpp:1: includes \"driver/driver.h\" of driver, which output may not use"},
      {"import/pictures/flatten.cpp", "import/fonts/glyph_ink.h",
       "import/pictures/flatten.cpp:1: includes \"import/fonts/glyph_ink.h\" of import-fonts, "
       "which import-pictures may not use"},
  };
  for (const Case& c : cases) {
    Sources sources = tree;
    ASSERT_EQ(sources.count(c.file), 1u) << c.file;
    sources[c.file] = std::string("#include \"") + c.include + "\"\n" + sources[c.file];
    EXPECT_EQ(check_layers(parts, sources).wrong_way, std::vector<std::string>{c.finding});
  }
}

}  // namespace
