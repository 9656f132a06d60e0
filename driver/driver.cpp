#include "driver/driver.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "base/console.h"
#include "base/make_rule.h"
#include "base/path.h"
#include "base/platform.h"
#include "base/text.h"
#include "driver/cmdline.h"
#include "driver/config_lines.h"
#include "driver/depfile.h"
#include "driver/fontnames.h"
#include "driver/input_files.h"
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

const char kIllegalName[] = "illegal name (unclosed quote, or 260 characters or more)";

void report_illegal_name() {
  con_printf("\nConfig file: %s", kIllegalName);
}

// What the command line asks of a run, its paths resolved.
struct RunSettings {
  std::string config;  // as named on the command line
  RunPaths paths;
  std::optional<uint64_t> max_size;
  bool strict = false;
  bool checksum = false;
  ListMode list = ListMode::kNone;
};

// The checks and steps that a run and a listing take alike, over the
// configuration's entries in order.
class ConfigPass {
 protected:
  ConfigPass(ConfigText config, const RunSettings& settings)
      : config_(std::move(config)), settings_(settings), paths_(settings_.paths) {}

  // Calls on_entry for each entry, stopping at the first error; then the
  // reading's own end. False on an error that ends the run.
  template <class OnEntry>
  bool for_each_entry(OnEntry on_entry) {
    for (entry_ = config_.entries.data(); entry_ != config_.entries.data() + config_.entries.size();
         ++entry_) {
      if (!on_entry(*entry_)) return false;
    }
    entry_ = nullptr;
    if (config_.end == ConfigEnd::rejected_name) {
      report_illegal_name();
      error_line(kIllegalName);
      return false;
    }
    // A comment left open has hidden every entry after it.
    if (config_.end == ConfigEnd::open_comment) {
      con_printf("\nConfig file: comment not closed at the end of the file");
      error_line("comment not closed at the end of the file");
      return false;
    }
    return true;
  }

  // The line of the entry acted on, or of the end of the configuration.
  uint32_t line() const { return entry_ ? entry_->line : config_.end_line; }
  // --quiet's one line for an error of the configuration, at that line.
  void error_line(const std::string& text) const { con_error_line(settings_.config, line(), text); }

  // The further name of the entry's line; false when it is an illegal name.
  bool read_linearg(std::optional<std::string>& arg) const {
    if (entry_->arg_rejected) {
      report_illegal_name();
      error_line(kIllegalName);
      return false;
    }
    arg = entry_->arg;
    return true;
  }

  // An image line: false after its message when the image is defined twice
  // or its header could not be included.
  bool check_image(const std::string& token) {
    if (!note_image(token)) {
      con_printf("\nConfig file: image \"%s\" is defined twice", token.c_str());
      error_line("image " + in_quotes(token) + " is defined twice");
      return false;
    }
    if (const std::optional<char> c = vfont_unincludable(token)) {
      con_printf("\nConfig file: image name \"%s\" holds %s: its header could not be included",
                 token.c_str(), character_words(*c).c_str());
      error_line("image name " + in_quotes(token) + " holds " + character_words(*c) +
                 ": its header could not be included");
      return false;
    }
    return true;
  }

  // A font or picture line comes after an image line.
  bool in_sequence(bool image_open, const std::string& token) const {
    if (image_open) return true;
    con_printf("\nConfig file: error in parameter sequence at %s", token.c_str());
    error_line("error in parameter sequence at " + token);
    return false;
  }

  std::optional<std::string> resolve(const std::string& token) const {
    std::optional<std::string> full = path_full(token);
    if (!full) illegal_file_name(token);
    return full;
  }

  void illegal_file_name(const std::string& name) const {
    con_printf("\nERROR: Illegal file name format: \"%s\"", name.c_str());
    error_line("Illegal file name format: " + in_quotes(name));
  }

  // The name the image's files are written under.
  std::string written(const std::string& binname) const {
    return paths_.output_dir ? path_in_dir(*paths_.output_dir, binname) : binname;
  }

  // The first input folder in which a relative token names something that
  // found accepts (given the full path); none for an absolute token.
  template <class Found>
  std::optional<std::string> in_input_dirs(const std::string& token, Found found) const {
    if (!path_is_relative(token)) return std::nullopt;
    for (const std::string& dir : paths_.input_dirs) {
      std::optional<std::string> there = path_full(path_in_dir(dir, token));
      if (there && found(*there)) return there;
    }
    return std::nullopt;
  }

  // The files of an input entry: beside the configuration or, for a
  // relative name found nowhere there, in the first input folder that has
  // any; the pattern beside the configuration when none has.
  std::string find_input(const std::string& token, const std::string& pattern,
                         std::vector<std::string>& matches) const {
    matches = plat_find_files(pattern);
    if (!matches.empty()) return pattern;
    const std::optional<std::string> there = in_input_dirs(token, [&matches](const std::string& p) {
      return !(matches = plat_find_files(p)).empty();
    });
    return there.value_or(pattern);
  }

  void unknown_entry(const std::string& token) const {
    con_printf("\nUnknown / Illegal filename type: %s", token.c_str());
    error_line("Unknown / Illegal filename type: " + token);
  }

  ConfigText config_;
  const ConfigEntry* entry_ = nullptr;  // the entry being acted on
  const RunSettings& settings_;
  const RunPaths& paths_;

 private:
  // Remembers the image named token; false when an image of the same path
  // was opened before in this run. A name that cannot be resolved is left to
  // the writer, which reports it.
  bool note_image(const std::string& token) {
    const std::optional<std::string> stem = path_setext(written(token), "");
    if (!stem) return true;
    for (const std::string& seen : images_) {
      if (file_name_equal(seen, *stem, kFileNamesIgnoreCase)) return false;
    }
    images_.push_back(*stem);
    return true;
  }

  // Full paths of the images opened so far, without their extension: two
  // images of one path would write the same .c, .h and .bin files.
  std::vector<std::string> images_;
};

// A run: the entries acted on, the images written.
class ConfigRun : ConfigPass {
 public:
  ConfigRun(ConfigText config, const RunSettings& settings)
      : ConfigPass(std::move(config), settings) {}

  // The configuration's full path and its folder, the current one.
  void set_configdir(const std::string& config, const std::string& dir);
  // Acts on every entry; returns the exit status.
  int run();

 private:
  // Each returns false on an error that ends the run.
  bool read_entries();
  bool on_entry(const std::string& token);
  bool on_greymode();
  bool on_bin(const std::string& token);
  bool on_sym(const std::string& token);
  bool on_bmp(const std::string& token);
  bool on_pal(const std::string& token);
  bool load_matches(int type, const std::string& token, const std::string& pattern);
  // Each loads one input file, with its messages; none after a failure.
  SymFontPtr load_font(const std::string& path);
  SymFontPtr load_picture(const std::string& path);
  // Replaces the current palette by the file's (none after a failure, which
  // is an error of the run unless error is false).
  void load_palette(const std::string& path, bool error = true);
  bool add_font(SymFontPtr font, std::string name);
  void load_default_palette();
  // Under --depfile, false after a message when make or ninja could not read
  // back a file of the image.
  bool outputs_nameable(const std::string& binname) const;
  // A warning under --strict ends the run as an error does.
  bool warned_strictly() const { return settings_.strict && con_warnings() > 0; }
  bool within_max_size(const Outcome<VMEMBUF>& layout) const;
  // False when the open list is refused (too large); write failures only
  // mark the run.
  bool fontlistclose();
  int finish();
  // --quiet's one line for a warning: an error under --strict.
  void warning_line(const std::string& file, uint32_t at, const std::string& text) const {
    if (settings_.strict)
      con_error_line(file, at, text);
    else
      con_warning_line(file, at, text);
  }

  std::string configdir_;
  uint32_t image_line_ = 0;  // the open image's line
  FontListPtr curlist_;
  PalTablePtr curpalette_;
  uint32_t palcount_ = 0;
  uint32_t greymode_ = 0;
  bool errorflag_ = false;
  bool outputfailed_ = false;
  // The C identifiers of the open list's fonts.
  ImageIdentifiers identifiers_;
  DepRecord deps_;
};

void ConfigRun::set_configdir(const std::string& config, const std::string& dir) {
  if (paths_.depfile) deps_.check_names();
  deps_.add_input(config);
  configdir_ = dir;
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
  return for_each_entry([this](const ConfigEntry& entry) {
    con_new_context();
    if (!on_entry(entry.name) || warned_strictly()) return false;
    // Under --depfile, a file make or ninja would read as another stops the
    // run before anything that names it is written.
    return !deps_.refused() || deps_.can_name(*deps_.refused());
  });
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
      unknown_entry(token);
      return false;
  }
}

bool ConfigRun::on_greymode() {
  std::optional<std::string> value;
  if (!read_linearg(value)) return false;
  uint32_t levels = value ? parse_u32(value->c_str()) : 0;
  if (levels == 4 || levels == 16 || levels == 256) {
    greymode_ = levels;
    con_printf("\n GREYMODE = %u", greymode_);
  } else if (levels != 0) {
    con_warn("\n- Illegal grey mode parameter. Parameter ignored");
    warning_line(settings_.config, line(), "Illegal grey mode parameter. Parameter ignored");
  } else {
    if (greymode_ != 0) con_printf("\n- Grey mode conversion cancled");
    greymode_ = 0;
  }
  return true;
}

bool ConfigRun::on_bin(const std::string& token) {
  if (!check_image(token) || !fontlistclose()) return false;
  identifiers_.clear();
  curlist_ = fontlistnew();
  if (!curlist_) return false;
  image_line_ = line();
  curlist_->binname = token;
  std::optional<std::string> id;
  if (!read_linearg(id)) return false;
  curlist_->id = id.value_or("0");
  con_printf("\nDefining virtual font: \"%s\" ID=%s", curlist_->binname.c_str(),
             curlist_->id.c_str());
  return true;
}

bool ConfigRun::on_sym(const std::string& token) {
  if (!in_sequence(curlist_ != nullptr, token)) return false;
  std::optional<std::string> pattern = resolve(token);
  return pattern && load_matches(kTypeSym, token, *pattern);
}

bool ConfigRun::on_bmp(const std::string& token) {
  if (!in_sequence(curlist_ != nullptr, token)) return false;
  if (!curpalette_ && greymode_ == 0) load_default_palette();
  std::optional<std::string> pattern = resolve(token);
  return pattern && load_matches(kTypeBmp, token, *pattern);
}



// A missing or bad default palette is no error: the reader's own messages
// show, and the search is made again at the next picture entry.
void ConfigRun::load_default_palette() {
  std::optional<std::string> path = path_setname(configdir_, kDefaultPalette);
  if (!path) return;
  load_palette(*path, false);
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
      error_line("Font file not found " + pattern);
    } else {
      con_printf("\n- Failed to open bmp file \"%s\"", pattern.c_str());
      error_line("Failed to open bmp file " + in_quotes(pattern));
    }
    return false;
  }
  std::optional<std::string> tmpl;
  if (!read_linearg(tmpl)) return false;
  for (const std::string& match : matches) {
    con_new_context();
    std::optional<std::string> path = path_setname(pattern, match);
    if (!path) {
      illegal_file_name(match);
      return false;
    }
    con_printf("\n Loading file to font: \"%s\"", path->c_str());
    SymFontPtr font = type == kTypeSym ? load_font(*path) : load_picture(*path);
    if (!font) return false;
    if (!add_font(std::move(font), make_fontname(tmpl, path))) return false;
  }
  return true;
}

SymFontPtr ConfigRun::load_font(const std::string& path) {
  std::optional<std::string> cpname;
  SymFontPtr font = load_font_file(path, cpname);
  if (!font) {
    con_printf("\n- Error detected during font load \"%s\"", path.c_str());
    return nullptr;
  }
  con_printf(" OK");
  deps_.add_font(path, cpname);
  return font;
}

SymFontPtr ConfigRun::load_picture(const std::string& path) {
  const bool grey = greymode_ != 0;
  std::optional<PictureFont> picture =
      grey ? load_picture_file(path, nullptr, greymode_, true)
           : load_picture_file(path, curpalette_ ? curpalette_->entries.data() : nullptr, palcount_,
                               false);
  if (!picture) {
    con_printf("\n- Error detected during bmp to font load \"%s\"", path.c_str());
    return nullptr;
  }
  if (picture->defaulted == 0u) {
    con_printf("\n - All pixels converted sucessfully to default palette");
  } else if (picture->defaulted) {
    con_warn("\n - %u pixels set to default during color conversion", *picture->defaulted);
    warning_line(
        path, 0,
        std::to_string(*picture->defaulted) + " pixels set to default during color conversion");
    if (warned_strictly()) return nullptr;
  }
  con_printf("\n OK");
  deps_.add_input(path);
  return std::move(picture->font);
}

void ConfigRun::load_palette(const std::string& path, bool error) {
  curpalette_ = load_palette_file(path, error);
  if (curpalette_) palcount_ = static_cast<uint32_t>(curpalette_->entries.size());
}

// Appends a loaded font under its C name, which must be a new identifier of
// the image's source.
bool ConfigRun::add_font(SymFontPtr font, std::string name) {
  if (const auto clash = identifiers_.take(name, font->codepage != nullptr)) {
    error_line("Font name " + in_quotes(*clash) + " is used twice in " +
               in_quotes(curlist_->binname));
    con_printf("\n- Font name \"%s\" is used twice in \"%s\"", clash->c_str(),
               curlist_->binname.c_str());
    return false;
  }
  if (c_keyword(name)) {
    con_printf("\n- Font name \"%s\" is a C keyword", name.c_str());
    error_line("Font name " + in_quotes(name) + " is a C keyword");
    return false;
  }
  curlist_ = fontlistadd(std::move(curlist_), std::move(font), std::move(name));
  return curlist_ != nullptr;
}

bool ConfigRun::on_pal(const std::string& token) {
  std::optional<std::string> full = resolve(token);
  if (!full) return false;
  // A palette names one file: no wildcards.
  if (!plat_file_exists(*full)) {
    if (auto there = in_input_dirs(token, [](const std::string& p) { return plat_file_exists(p); }))
      full = there;
  }
  curpalette_.reset();
  con_printf("\n Default bmp pallette: \"%s\"", full->c_str());
  load_palette(*full);
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
bool ConfigRun::within_max_size(const Outcome<VMEMBUF>& layout) const {
  if (!settings_.max_size || !layout.ok() || layout->vmpos <= *settings_.max_size) return true;
  con_error_line(settings_.config, image_line_,
                 strf("Image \"%s\" is %lu bytes, more than the limit of %llu bytes (--max-size); "
                      "its largest fonts: %s",
                      curlist_->binname.c_str(), static_cast<unsigned long>(layout->vmpos),
                      static_cast<unsigned long long>(*settings_.max_size),
                      largest_fonts(*curlist_, layout.value()).c_str()));
  con_printf(
      "\n- Image \"%s\" is %lu bytes, more than the limit of %llu bytes (--max-size)"
      "\n  Its largest fonts: %s",
      curlist_->binname.c_str(), static_cast<unsigned long>(layout->vmpos),
      static_cast<unsigned long long>(*settings_.max_size),
      largest_fonts(*curlist_, layout.value()).c_str());
  return false;
}

bool ConfigRun::fontlistclose() {
  if (!curlist_) return true;
  const std::string binname = written(curlist_->binname);
  if (fontlistcount(curlist_.get()) == 0) {
    con_printf("\nNo load fonts defined in config.\n Skipping generation of %s",
               curlist_->binname.c_str());
  } else {
    // The image is laid out once: its size checked, then written as laid out.
    const Outcome<VMEMBUF> layout = vmem_layout(*curlist_);
    if (!within_max_size(layout) || !outputs_nameable(binname)) return false;
    curlist_->binname = binname;
    if (vfont_generate(*curlist_, layout, settings_.checksum)) {
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

int ConfigRun::finish() {
  // An open list is left only after an error: it is discarded unwritten.
  fontlistfree(std::move(curlist_));
  curpalette_.reset();
  if (!errorflag_ && !outputfailed_ && paths_.depfile)
    outputfailed_ = !deps_.write(*paths_.depfile);
  // The one-line form has printed its errors, and prints nothing else.
  if (con_one_line()) return errorflag_ || outputfailed_ ? -1 : 0;
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

// A listing: the configuration's entries read as a run reads them, no input
// read, only the names of files printed.
class ConfigLister : ConfigPass {
 public:
  ConfigLister(ConfigText config, const RunSettings& settings)
      : ConfigPass(std::move(config), settings) {}

  // Returns the exit status.
  int run();

 private:
  bool on_entry(const std::string& token);
  bool on_bin(const std::string& token);
  bool on_input(const std::string& token);
  void note_input(const std::string& token);
  void note_fonts(const std::string& token, const std::string& pattern,
                  const std::optional<std::string>& tmpl);
  // The open image's files, when it has a font or picture entry.
  void close_image();

  std::optional<std::string> image_;  // the open image's name
  size_t entries_ = 0;                // its font and picture entries
  std::vector<std::string> outputs_;
  std::vector<std::string> inputs_;  // as written, each once
  // --list-fonts: the C names of the open image's fonts, then every font's
  // line, "NAME IMAGE".
  std::vector<std::string> names_;
  std::vector<std::string> fonts_;
};

int ConfigLister::run() {
  const bool ok = for_each_entry([this](const ConfigEntry& e) {
    con_new_context();
    return on_entry(e.name);
  });
  if (!ok) {
    if (con_one_line()) return -1;
    con_reveal();
    con_printf("\nSkipping config file processing due to errors\n");
    press_key();
    return -1;
  }
  close_image();
  std::vector<std::string> lines = settings_.list == ListMode::kOutputs ? outputs_
                                   : settings_.list == ListMode::kFonts ? fonts_
                                                                        : inputs_;
  if (settings_.list == ListMode::kOutputs && paths_.depfile) lines.push_back(*paths_.depfile);
  con_new_context();
  con_reveal();
  for (const std::string& line : lines) con_printf("%s\n", line.c_str());
  return 0;
}

bool ConfigLister::on_entry(const std::string& token) {
  std::optional<std::string> arg;
  if (token == "GREYMODE") return read_linearg(arg);
  switch (file_type(token)) {
    case kTypeBin:
      return on_bin(token);
    case kTypeSym:
    case kTypeBmp:
      return in_sequence(image_.has_value(), token) && on_input(token);
    case kTypePal:
      if (!resolve(token)) return false;
      note_input(token);
      return true;
    case kTypeCp:
      return true;
    default:
      unknown_entry(token);
      return false;
  }
}

bool ConfigLister::on_bin(const std::string& token) {
  if (!check_image(token)) return false;
  close_image();
  image_ = token;
  entries_ = 0;
  std::optional<std::string> id;
  return read_linearg(id);
}

// A font or picture entry: its name template is read as a run reads it, its
// files are not looked for.
bool ConfigLister::on_input(const std::string& token) {
  const std::optional<std::string> pattern = resolve(token);
  if (!pattern) return false;
  std::optional<std::string> tmpl;
  if (!read_linearg(tmpl)) return false;
  ++entries_;
  note_input(token);
  if (settings_.list == ListMode::kFonts) note_fonts(token, *pattern, tmpl);
  return true;
}

// The names a run would give the entry's fonts: a wildcard's from the
// files it matches now (beside the configuration or in an input folder;
// only names are read), any other's from the name itself.
void ConfigLister::note_fonts(const std::string& token, const std::string& pattern,
                              const std::optional<std::string>& tmpl) {
  if (token.find_first_of("*?") == std::string::npos) {
    names_.push_back(make_fontname(tmpl, pattern));
    return;
  }
  std::vector<std::string> matches;
  const std::string found = find_input(token, pattern, matches);
  for (const std::string& match : matches)
    if (const std::optional<std::string> path = path_setname(found, match))
      names_.push_back(make_fontname(tmpl, path));
}

void ConfigLister::note_input(const std::string& token) {
  if (std::find(inputs_.begin(), inputs_.end(), token) == inputs_.end()) inputs_.push_back(token);
}

void ConfigLister::close_image() {
  if (image_ && entries_ > 0) {
    for (std::string& file : vfont_output_files(written(*image_))) outputs_.push_back(file);
  }
  if (image_) {
    const std::string image = vfont_output_files(written(*image_)).back();
    for (const std::string& name : names_) fonts_.push_back(name + " " + image);
  }
  names_.clear();
  image_.reset();
}

// The exit status of a command line that asks for no run (after the banner),
// or none for one that runs the configuration.
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

std::optional<std::string> open_resolved(const std::string& name, const char* mode, FilePtr& file) {
  std::optional<std::string> full = path_full(name);
  if (!full) {
    con_printf("\nERROR: Illegal file name format: \"%s\"", name.c_str());
    con_error_line(name, 0, "Illegal file name format");
    return std::nullopt;
  }
  file = file_open(full->c_str(), mode);
  // A directory opens here as an empty stream and would pass for an empty
  // configuration; it is no file.
  std::error_code ec;
  if (file && std::filesystem::is_directory(*full, ec)) file.reset();
  if (!file) {
    con_printf("\nERROR: File not found: \"%s\"", full->c_str());
    con_error_line(name, 0, "File not found");
    return std::nullopt;
  }
  return full;
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
  // --quiet for a run or a listing: each error and warning one line in the
  // compilers' form.
  con_set_one_line(cmd.quiet);
  if (cmd.quiet) con_new_context();
  const std::string& arg = cmd.config;
  // Names on the command line count from where the program was started.
  RunSettings settings;
  settings.config = arg;
  settings.max_size = cmd.max_size;
  settings.strict = cmd.strict;
  settings.checksum = cmd.checksum;
  settings.list = cmd.list;
  if (!resolve_run_paths(cmd, settings.paths)) {
    if (con_one_line()) {
      // Its message, alone, as one line about the program.
      std::string held = con_take_held();
      held.erase(0, held.find_first_not_of("\n "));
      if (held.rfind("ERROR: ", 0) == 0) held.erase(0, 7);
      con_error_line("tralk", 0, held);
      return -1;
    }
    con_reveal();
    press_key();
    return -1;
  }
  // The configuration is read as text (on Windows a Ctrl-Z ends it), whole.
  FilePtr file;
  const std::optional<std::string> full = open_resolved(arg, "r", file);
  if (!full) {
    if (con_one_line()) return -1;
    con_reveal();
    press_key();
    return -1;
  }
  const FileBytes bytes = read_to_end(file.get(), full->c_str());
  file.reset();
  ConfigText config = read_config({bytes.data(), bytes.size});
  con_printf("Open configuration file: %s OK\n", arg.c_str());
  // Every relative name in the configuration counts from its folder.
  const std::string configdir =
      full->substr(0, full->size() - path_base(*full).size() - path_ext(*full).size());
  plat_chdir(configdir);
  if (settings.list != ListMode::kNone) return ConfigLister(std::move(config), settings).run();
  ConfigRun run(std::move(config), settings);
  run.set_configdir(*full, configdir);
  return run.run();
}
