#include "driver/driver.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "base/console.h"
#include "base/make_rule.h"
#include "base/platform.h"
#include "base/text.h"
#include "base/wildcard.h"
#include "bitmap/bmp_load.h"
#include "driver/cmdline.h"
#include "driver/config_lines.h"
#include "driver/depfile.h"
#include "driver/fontnames.h"
#include "driver/path.h"
#include "fonts/pal_load.h"
#include "fonts/sym_load.h"
#include "output/vfont.h"
#include "output/vmem.h"

namespace {

const char kUsageText[] =
    "\nVirtual font generator program description\n Command line:\n   TRALK  config_file.vfg \n\n"
    " Config file paramters define the *.sym and *.bmp data to be\n included as fonts in the "
    "virtual font image *.bin\n  vfont.bin ID  // Define start of a virtual fontlist + font ID "
    "(optional)\n                // The virtual fontlist stops at end-of-file, or at\n          "
    "      // start of a new .bin list specification\n    font.sym    // Add font to .bin image\n"
    "    font*.sym   // Add one or more fonts to .bin image \n    font?.sym   // Add one or more "
    "fonts to .bin image \n    palette.pal // Define palette to be used for bmp color conversion\n"
    "                // If no .pal file is defined a search for the default\n                // "
    "gcolor_4.pal is done\n    picture.bmp // Add bmp file to .bin image as single symbol font\n"
    "    pic*.bmp    // Add one or more bmp files to .bin image as symbol fonts\n    pic?.bmp    "
    "// Add one or more bmp files to .bin image as symbol fonts\n\n It is assumed that there is "
    "one file name pr textline.\n The configuration file may contain C style comments /* */ and "
    "//\n\n Note: For use with black & white libraries the .bin file must be created\n from b&w "
    "fonts and b&w bmp files only.\n";

const char kDefaultPalette[] = "gcolor_4.pal";

// Converts a GREYMODE value as C's strtoul does with base 0: optional sign,
// then hexadecimal after 0x, octal after 0, else decimal; saturating.
uint32_t parse_u32(const char* s) {
  bool negative = false;
  if (*s == '+' || *s == '-') negative = *s++ == '-';
  unsigned base = 10;
  if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X') && digit_value(s[2]) < 16) {
    base = 16;
    s += 2;
  } else if (s[0] == '0') {
    base = 8;
  }
  uint64_t value = 0;
  bool overflow = false;
  for (;; ++s) {
    const unsigned digit = digit_value(*s);
    if (digit >= base) break;
    value = value * base + digit;
    if (value > UINT32_MAX) {
      overflow = true;
      value = UINT32_MAX;
    }
  }
  if (overflow) return UINT32_MAX;
  uint32_t result = static_cast<uint32_t>(value);
  return negative ? 0u - result : result;
}

void report_illegal_name() {
  con_printf("\nConfig file: illegal name (unclosed quote, or 260 characters or more)");
}

// What the command line asks of a run, its paths resolved.
struct RunSettings {
  RunPaths paths;
  std::optional<uint64_t> max_size;
  bool strict = false;
  bool checksum = false;
  ListMode list = ListMode::kNone;
};

// The state of one run over a configuration file. A listing run reads the
// configuration the same way but no input: it only names files.
class ConfigRun {
 public:
  ConfigRun(std::FILE* config, RunSettings settings)
      : lines_(config), settings_(std::move(settings)), paths_(settings_.paths) {}

  void set_configdir(const std::string& name);
  // Reads and acts on every entry; returns the exit status.
  int run();

 private:
  bool listing() const { return settings_.list != ListMode::kNone; }
  // Each returns false on an error that ends the run.
  bool read_entries();
  bool on_entry(const std::string& token);
  bool on_greymode();
  bool on_bin(const std::string& token);
  bool on_sym(const std::string& token);
  bool on_bmp(const std::string& token);
  bool on_pal(const std::string& token);
  bool list_input(const std::string& token);
  void note_listed_input(const std::string& token);
  void note_listed_fonts(const std::string& token, const std::string& pattern,
                         const std::optional<std::string>& tmpl);
  bool load_matches(int type, const std::string& token, const std::string& pattern);
  bool add_font(SymFontPtr font, std::string name);
  bool note_image(const std::string& token);
  void load_default_palette();
  // The optional second token of the line; false when it is an illegal name.
  bool read_linearg(std::optional<std::string>& arg);
  std::optional<std::string> resolve(const std::string& token);
  // The first input folder in which a relative token names something that
  // found accepts (given the full path); none for an absolute token.
  template <class Found>
  std::optional<std::string> in_input_dirs(const std::string& token, Found found) const;
  // The files of an input entry: beside the configuration or, for a
  // relative name found nowhere there, in the first input folder that has
  // any; the pattern beside the configuration when none has.
  std::string find_input(const std::string& token, const std::string& pattern,
                         std::vector<std::string>& matches) const;
  // Under --depfile, false after a message when make or ninja could not read
  // back a file of the image.
  bool outputs_nameable(const std::string& binname) const;
  // A warning under --strict ends the run as an error does.
  bool warned_strictly() const { return settings_.strict && con_warnings() > 0; }
  bool within_max_size() const;
  // False when the open list is refused (too large); write failures only
  // mark the run.
  bool fontlistclose();
  void print_listing() const;
  int finish();

  // The configuration's own line state: loading the default palette in the
  // middle of a picture's line leaves it alone.
  ConfigLines lines_;
  std::string configdir_;
  FontListPtr curlist_;
  PalTablePtr curpalette_;
  uint32_t palcount_ = 0;
  uint32_t greymode_ = 0;
  bool errorflag_ = false;
  bool outputfailed_ = false;
  // Full paths of the images opened so far, without their extension: two
  // images of one path would write the same .c, .h and .bin files.
  std::vector<std::string> images_;
  // The C identifiers of the open list's fonts.
  ImageIdentifiers identifiers_;
  RunSettings settings_;
  const RunPaths& paths_;
  DepRecord deps_;
  // A listing run: the font and picture entries of the open list, the
  // files the images would be written to, the input entries as written.
  size_t listed_entries_ = 0;
  std::vector<std::string> listed_outputs_;
  std::vector<std::string> listed_inputs_;
  // --list-fonts: the C names of the open list's fonts, then every font's
  // line, "NAME IMAGE".
  std::vector<std::string> listed_names_;
  std::vector<std::string> listed_fonts_;
};

void ConfigRun::set_configdir(const std::string& name) {
  if (paths_.depfile && !listing()) deps_.check_names();
  std::optional<std::string> full = path_full(name);
  if (!full) return;
  deps_.add_input(*full);
  configdir_ = full->substr(0, full->size() - path_base(*full).size() - path_ext(*full).size());
  plat_chdir(configdir_);
}

int ConfigRun::run() {
  errorflag_ = deps_.refused() ? !deps_.can_name(*deps_.refused()) : !read_entries();
  if (!errorflag_) {
    con_new_context();
    errorflag_ = !fontlistclose();
  }
  return finish();
}

bool ConfigRun::read_entries() {
  for (;;) {
    const char* name = lines_.firstname();
    if (!name) {
      if (lines_.name_rejected()) {
        report_illegal_name();
        return false;
      }
      // A comment left open has hidden every entry after it.
      if (lines_.comment_unclosed()) {
        con_printf("\nConfig file: comment not closed at the end of the file");
        return false;
      }
      return true;
    }
    con_new_context();
    if (!on_entry(name) || warned_strictly()) return false;
    // Under --depfile, a file make or ninja would read as another stops the
    // run before anything that names it is written.
    if (deps_.refused()) return deps_.can_name(*deps_.refused());
  }
}

bool ConfigRun::on_entry(const std::string& token) {
  if (token == "GREYMODE") return on_greymode();
  switch (file_type(token)) {
    case kTypeBin:
      return on_bin(token);
    case kTypeSym:
      return on_sym(token);
    case kTypeBmp:
      return on_bmp(token);
    case kTypePal:
      return on_pal(token);
    case kTypeCp:
      return true;
    default:
      con_printf("\nUnknown / Illegal filename type: %s", token.c_str());
      return false;
  }
}

bool ConfigRun::read_linearg(std::optional<std::string>& arg) {
  const char* name = lines_.linearg();
  if (!name && lines_.name_rejected()) {
    report_illegal_name();
    return false;
  }
  if (name) arg = name;
  return true;
}

bool ConfigRun::on_greymode() {
  std::optional<std::string> value;
  if (!read_linearg(value)) return false;
  if (listing()) return true;
  uint32_t levels = value ? parse_u32(value->c_str()) : 0;
  if (levels == 4 || levels == 16 || levels == 256) {
    greymode_ = levels;
    con_printf("\n GREYMODE = %u", greymode_);
  } else if (levels != 0) {
    con_warn("\n- Illegal grey mode parameter. Parameter ignored");
  } else {
    if (greymode_ != 0) con_printf("\n- Grey mode conversion cancled");
    greymode_ = 0;
  }
  return true;
}

// Remembers the image named token; false when an image of the same path was
// opened before in this run. A name that cannot be resolved is left to the
// writer, which reports it.
bool ConfigRun::note_image(const std::string& token) {
  const std::string written =
      paths_.output_dir ? path_in_dir(*paths_.output_dir, token) : std::string(token);
  const std::optional<std::string> stem = path_setext(written, "");
  if (!stem) return true;
  for (const std::string& seen : images_) {
    if (file_name_equal(seen, *stem, kFileNamesIgnoreCase)) return false;
  }
  images_.push_back(*stem);
  return true;
}

bool ConfigRun::on_bin(const std::string& token) {
  if (!note_image(token)) {
    con_printf("\nConfig file: image \"%s\" is defined twice", token.c_str());
    return false;
  }
  if (const std::optional<char> c = vfont_unincludable(token)) {
    con_printf("\nConfig file: image name \"%s\" holds %s: its header could not be included",
               token.c_str(), character_words(*c).c_str());
    return false;
  }
  if (!fontlistclose()) return false;
  identifiers_.clear();
  listed_entries_ = 0;
  curlist_ = fontlistnew();
  if (!curlist_) return false;
  curlist_->binname = token;
  std::optional<std::string> id;
  if (!read_linearg(id)) return false;
  curlist_->id = id.value_or("0");
  if (listing()) return true;
  con_printf("\nDefining virtual font: \"%s\" ID=%s", curlist_->binname.c_str(),
             curlist_->id.c_str());
  return true;
}

std::optional<std::string> ConfigRun::resolve(const std::string& token) {
  std::optional<std::string> full = path_full(token);
  if (!full) con_printf("\nERROR: Illegal file name format: \"%s\"", token.c_str());
  return full;
}

bool ConfigRun::on_sym(const std::string& token) {
  if (!curlist_) {
    con_printf("\nConfig file: error in parameter sequence at %s", token.c_str());
    return false;
  }
  if (listing()) return list_input(token);
  std::optional<std::string> pattern = resolve(token);
  return pattern && load_matches(kTypeSym, token, *pattern);
}

bool ConfigRun::on_bmp(const std::string& token) {
  if (!curlist_) {
    con_printf("\nConfig file: error in parameter sequence at %s", token.c_str());
    return false;
  }
  if (listing()) return list_input(token);
  if (!curpalette_ && greymode_ == 0) load_default_palette();
  std::optional<std::string> pattern = resolve(token);
  return pattern && load_matches(kTypeBmp, token, *pattern);
}

// A font or picture entry of a listing run: its name template is read as a
// run reads it, its files are not looked for.
bool ConfigRun::list_input(const std::string& token) {
  const std::optional<std::string> pattern = resolve(token);
  if (!pattern) return false;
  std::optional<std::string> tmpl;
  if (!read_linearg(tmpl)) return false;
  ++listed_entries_;
  note_listed_input(token);
  if (settings_.list == ListMode::kFonts) note_listed_fonts(token, *pattern, tmpl);
  return true;
}

// The names a run would give the entry's fonts: a wildcard's from the
// files it matches now (beside the configuration or in an input folder;
// only names are read), any other's from the name itself.
void ConfigRun::note_listed_fonts(const std::string& token, const std::string& pattern,
                                  const std::optional<std::string>& tmpl) {
  if (token.find_first_of("*?") == std::string::npos) {
    listed_names_.push_back(make_fontname(tmpl, pattern));
    return;
  }
  std::vector<std::string> matches;
  const std::string found = find_input(token, pattern, matches);
  for (const std::string& match : matches)
    if (const std::optional<std::string> path = path_setname(found, match))
      listed_names_.push_back(make_fontname(tmpl, path));
}

void ConfigRun::note_listed_input(const std::string& token) {
  if (std::find(listed_inputs_.begin(), listed_inputs_.end(), token) == listed_inputs_.end())
    listed_inputs_.push_back(token);
}

template <class Found>
std::optional<std::string> ConfigRun::in_input_dirs(const std::string& token, Found found) const {
  if (!path_is_relative(token)) return std::nullopt;
  for (const std::string& dir : paths_.input_dirs) {
    std::optional<std::string> there = path_full(path_in_dir(dir, token));
    if (there && found(*there)) return there;
  }
  return std::nullopt;
}

std::string ConfigRun::find_input(const std::string& token, const std::string& pattern,
                                  std::vector<std::string>& matches) const {
  matches = plat_find_files(pattern);
  if (!matches.empty()) return pattern;
  const std::optional<std::string> there = in_input_dirs(
      token, [&matches](const std::string& p) { return !(matches = plat_find_files(p)).empty(); });
  return there.value_or(pattern);
}

// A missing or bad default palette is no error: the reader's own messages
// show, and the search is made again at the next picture entry.
void ConfigRun::load_default_palette() {
  std::optional<std::string> path = path_setname(configdir_, kDefaultPalette);
  if (!path) return;
  curpalette_ = pal_load(path->c_str(), nullptr, &palcount_);
  // Read when present, even when it failed to load: mending it changes the images.
  std::error_code ec;
  if (std::filesystem::is_regular_file(*path, ec)) deps_.add_input(*path);
}

bool ConfigRun::load_matches(int type, const std::string& token, const std::string& written) {
  std::vector<std::string> matches;
  const std::string pattern = find_input(token, written, matches);
  if (matches.empty()) {
    if (type == kTypeSym) {
      con_printf("\n- Font file not found %s", pattern.c_str());
    } else {
      con_printf("\n- Failed to open bmp file \"%s\"", pattern.c_str());
    }
    return false;
  }
  std::optional<std::string> tmpl;
  if (!read_linearg(tmpl)) return false;
  for (const std::string& match : matches) {
    con_new_context();
    std::optional<std::string> path = path_setname(pattern, match);
    if (!path) {
      con_printf("\nERROR: Illegal file name format: \"%s\"", match.c_str());
      return false;
    }
    con_printf("\n Loading file to font: \"%s\"", path->c_str());
    SymFontPtr font;
    if (type == kTypeSym) {
      std::optional<std::string> cpname;
      font = sym_load(path->c_str(), &cpname);
      if (!font) {
        con_printf("\n- Error detected during font load \"%s\"", path->c_str());
        return false;
      }
      con_printf(" OK");
      deps_.add_font(*path, cpname);
    } else {
      font = greymode_ != 0
                 ? bmp_load(path->c_str(), nullptr, greymode_)
                 : bmp_load(path->c_str(), curpalette_ ? curpalette_->entries.data() : nullptr,
                            palcount_);
      if (!font) {
        con_printf("\n- Error detected during bmp to font load \"%s\"", path->c_str());
        return false;
      }
      if (warned_strictly()) return false;
      con_printf("\n OK");
      deps_.add_input(*path);
    }
    if (!add_font(std::move(font), make_fontname(tmpl, path))) return false;
  }
  return true;
}

// Appends a loaded font under its C name, which must be a new identifier of
// the image's source.
bool ConfigRun::add_font(SymFontPtr font, std::string name) {
  if (const auto clash = identifiers_.take(name, font->codepage != nullptr)) {
    con_printf("\n- Font name \"%s\" is used twice in \"%s\"", clash->c_str(),
               curlist_->binname.c_str());
    return false;
  }
  if (c_keyword(name)) {
    con_printf("\n- Font name \"%s\" is a C keyword", name.c_str());
    return false;
  }
  curlist_ = fontlistadd(std::move(curlist_), std::move(font), std::move(name));
  return curlist_ != nullptr;
}

bool ConfigRun::on_pal(const std::string& token) {
  std::optional<std::string> full = resolve(token);
  if (!full) return false;
  if (listing()) {
    note_listed_input(token);
    return true;
  }
  // A palette names one file: no wildcards.
  if (!plat_file_exists(*full)) {
    if (auto there = in_input_dirs(token, [](const std::string& p) { return plat_file_exists(p); }))
      full = there;
  }
  curpalette_.reset();
  con_printf("\n Default bmp pallette: \"%s\"", full->c_str());
  curpalette_ = pal_load(full->c_str(), nullptr, &palcount_);
  if (!curpalette_) {
    con_printf("\n- Failed to load palette file %s", full->c_str());
    return false;
  }
  con_printf(" OK");
  deps_.add_input(*full);
  return true;
}

// The three largest fonts of the open list, for the message that it is too
// large: each "name (N bytes)".
std::string largest_fonts(const FONTLIST& list, const VMEMBUF& layout) {
  std::vector<std::pair<uint32_t, const std::string*>> sizes;
  size_t block = 0;
  for (const FONTENTRY& entry : list.entries) {
    if (entry.font) sizes.emplace_back(layout.blocks[block++].size, &entry.name);
  }
  std::stable_sort(sizes.begin(), sizes.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::string text;
  for (size_t i = 0; i < std::min<size_t>(3, sizes.size()); ++i) {
    appendf(text, "%s%s (%lu bytes)", i ? ", " : "", sizes[i].second->c_str(),
            static_cast<unsigned long>(sizes[i].first));
  }
  return text;
}

bool ConfigRun::outputs_nameable(const std::string& binname) const {
  if (!paths_.depfile) return true;
  for (const std::string& file : vfont_output_files(binname))
    if (!deps_.can_name(file)) return false;
  return true;
}

// The open list against --max-size, before anything of it is written. A
// list that cannot be laid out at all is left to the writer, which says so.
bool ConfigRun::within_max_size() const {
  if (!settings_.max_size) return true;
  VMEMBUF layout;
  for (const FONTENTRY& entry : curlist_->entries) {
    if (entry.font && !vmem_addfont(layout, *entry.font).ok()) return true;
  }
  if (layout.vmpos <= *settings_.max_size) return true;
  con_printf(
      "\n- Image \"%s\" is %lu bytes, more than the limit of %llu bytes (--max-size)"
      "\n  Its largest fonts: %s",
      curlist_->binname.c_str(), static_cast<unsigned long>(layout.vmpos),
      static_cast<unsigned long long>(*settings_.max_size),
      largest_fonts(*curlist_, layout).c_str());
  return false;
}

bool ConfigRun::fontlistclose() {
  if (!curlist_) return true;
  const std::string written =
      paths_.output_dir ? path_in_dir(*paths_.output_dir, curlist_->binname) : curlist_->binname;
  if (listing()) {
    if (listed_entries_ > 0) {
      for (std::string& file : vfont_output_files(written)) listed_outputs_.push_back(file);
    }
    const std::string image = vfont_output_files(written).back();
    for (const std::string& name : listed_names_) listed_fonts_.push_back(name + " " + image);
    listed_names_.clear();
  } else if (fontlistcount(curlist_.get()) == 0) {
    con_printf("\nNo load fonts defined in config.\n Skipping generation of %s",
               curlist_->binname.c_str());
  } else {
    if (!within_max_size() || !outputs_nameable(written)) return false;
    curlist_->binname = written;
    if (vfont_generate(*curlist_, settings_.checksum)) {
      deps_.add_outputs(vfont_output_files(curlist_->binname));
    } else {
      outputfailed_ = true;
      // A failure is shown with what led to it, and so is all that follows.
      con_reveal();
    }
  }
  fontlistfree(std::move(curlist_));
  return true;
}

void ConfigRun::print_listing() const {
  std::vector<std::string> lines = settings_.list == ListMode::kOutputs ? listed_outputs_
                                   : settings_.list == ListMode::kFonts ? listed_fonts_
                                                                        : listed_inputs_;
  if (settings_.list == ListMode::kOutputs && paths_.depfile) lines.push_back(*paths_.depfile);
  con_new_context();
  con_reveal();
  for (const std::string& line : lines) con_printf("%s\n", line.c_str());
}

int ConfigRun::finish() {
  // An open list is left only after an error: it is discarded unwritten.
  fontlistfree(std::move(curlist_));
  curpalette_.reset();
  if (!errorflag_ && listing()) {
    print_listing();
    return 0;
  }
  if (!errorflag_ && !outputfailed_ && paths_.depfile)
    outputfailed_ = !deps_.write(*paths_.depfile);
  if (errorflag_ || outputfailed_) con_reveal();
  if (errorflag_) {
    con_printf("\nSkipping config file processing due to errors\n");
    press_key();
    return -1;
  }
  if (outputfailed_) {
    con_printf("\n\nErrors detected while writing output files\n");
    press_key();
    return -1;
  }
  con_printf("\n\nNo errors detected. Done\n");
  // Quiet: a run that printed warnings ends their line; one that did not
  // prints nothing.
  if (con_quiet_printed()) {
    con_new_context();
    con_reveal();
    con_printf("\n");
  }
  return 0;
}

// The exit status of a command line that asks for no run// The exit status of a command line that
// asks for no run (after the banner), or none for one that runs the configuration.
std::optional<int> answer_without_run(const CmdLine& cmd) {
  if (cmd.action == CmdAction::kRun && file_type(cmd.config) == kTypeVfg) return std::nullopt;
  // A command line that asks for no run is answered in full, quiet or not.
  con_reveal();
  switch (cmd.action) {
    case CmdAction::kHelp:
      con_printf("%s", kUsageText);
      print_options();
      return 0;
    case CmdAction::kBadOptions:
      con_printf("%s%s", cmd.error.c_str(), kUsageText);
      print_options();
      press_key();
      return -1;
    case CmdAction::kBareUsage:
      usage();
      return -1;
    default:
      break;
  }
  con_printf("\n Illegal comand line parameter");
  usage();
  return -1;
}

}  // namespace

int file_type(const std::string& name) {
  static const struct {
    const char* ext;
    FileType type;
  } kTypes[] = {{".vfg", kTypeVfg}, {".bin", kTypeBin}, {".sym", kTypeSym}, {".cp", kTypeCp},
                {".pal", kTypePal}, {".bmp", kTypeBmp}, {".hex", kTypeHex}};
  const std::string ext = ascii_lower(path_ext(name));
  for (const auto& t : kTypes) {
    if (ext == t.ext) return t.type;
  }
  return kTypeOther;
}

void press_key() {
  con_printf("\nPress a key to Exit\n");
  std::fflush(stdout);
  plat_wait_key();
}

void usage() {
  con_printf("%s", kUsageText);
  press_key();
}

FilePtr open_resolved(const std::string& name, const char* mode) {
  std::optional<std::string> full = path_full(name);
  if (!full) {
    con_printf("\nERROR: Illegal file name format: \"%s\"", name.c_str());
    return nullptr;
  }
  FilePtr f = file_open(full->c_str(), mode);
  // A directory opens here as an empty stream and would pass for an empty
  // configuration; it is no file.
  std::error_code ec;
  if (f && std::filesystem::is_directory(*full, ec)) f.reset();
  if (!f) con_printf("\nERROR: File not found: \"%s\"", full->c_str());
  return f;
}

int tralk_main(int argc, char** argv) {
  const CmdLine cmd = parse_cmdline(argc, argv);
  if (cmd.action == CmdAction::kVersion) {
    print_version();
    return 0;
  }
  // A listing prints its list and nothing else, unless it fails.
  con_set_quiet(cmd.quiet || cmd.list != ListMode::kNone);
  con_printf("\nVFONT GENERATOR  V1.2\n");
  if (std::optional<int> status = answer_without_run(cmd)) return *status;
  const std::string& arg = cmd.config;
  // Names on the command line count from where the program was started.
  RunSettings settings;
  settings.max_size = cmd.max_size;
  settings.strict = cmd.strict;
  settings.checksum = cmd.checksum;
  settings.list = cmd.list;
  if (!resolve_run_paths(cmd, settings.paths)) {
    con_reveal();
    press_key();
    return -1;
  }
  // The configuration is read as text; on this host text and bytes are alike.
  FilePtr config = open_resolved(arg, "r");
  if (!config) {
    con_reveal();
    press_key();
    return -1;
  }
  file_skip_bom(config.get());
  con_printf("Open configuration file: %s OK\n", arg.c_str());
  ConfigRun run(config.get(), std::move(settings));
  run.set_configdir(arg);
  return run.run();
}
