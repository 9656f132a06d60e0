// Fuzzes the whole program on a configuration and the files it names. The
// input is the configuration, optionally followed by files, each introduced
// by a line "----NAME" (NAME: 1 to 40 of A-Z a-z 0-9 _ . -):
//
//   img.bin 0x10
//   *.sym
//   ----a.sym
//   // CP<a.cp>
//   {{8,2},{0x81,0x42}}
//   ----a.cp
//   {1,0},{{0,1,2}}
//
// Everything is written into a scratch directory, the program runs on
// scratch/cfg.vfg (it changes into that directory), and the directory is
// emptied afterwards. The program writes its outputs wherever the names in
// the configuration point, so configurations whose names hold a directory
// separator are not run: every file the run touches stays in the scratch
// directory.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/fileio.h"
#include "driver/config_lines.h"
#include "driver/driver.h"
#include "fuzz_support.h"

namespace {

constexpr std::string_view kFileMark = "\n----";
constexpr size_t kMaxFiles = 24;
constexpr size_t kMaxNameLength = 40;
const char kConfigName[] = "cfg.vfg";

struct InputFile {
  std::string name;
  std::string_view content;
};

bool valid_name(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength || name == "." || name == "..") return false;
  if (name == kConfigName) return false;
  for (char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_' || c == '.' || c == '-';
    if (!ok) return false;
  }
  return true;
}

// Splits the input into the configuration and its files; badly named parts
// are dropped.
std::string_view split_input(std::string_view in, std::vector<InputFile>& files) {
  size_t mark = in.find(kFileMark);
  const std::string_view config = in.substr(0, mark);
  while (mark != std::string_view::npos && files.size() < kMaxFiles) {
    const size_t name_at = mark + kFileMark.size();
    const size_t eol = in.find('\n', name_at);
    if (eol == std::string_view::npos) break;
    const size_t next = in.find(kFileMark, eol);
    const std::string_view name = in.substr(name_at, eol - name_at);
    const std::string_view content = in.substr(
        eol + 1, next == std::string_view::npos ? std::string_view::npos : next - eol - 1);
    if (valid_name(name)) files.push_back({std::string(name), content});
    mark = next;
  }
  return config;
}

// True when every name the program can read from the configuration stays
// inside its directory. Reads the configuration the way the program does.
bool names_stay_inside(const std::string& config_path) {
  const std::optional<FileBytes> bytes = read_input_file(config_path);
  if (!bytes) return false;
  ConfigLines lines({bytes->data(), bytes->size});
  while (const char* name = lines.firstname()) {
    if (std::string_view(name).find_first_of("/\\") != std::string_view::npos) return false;
  }
  return true;
}

// Changes back to the directory that was current when made.
class SavedCwd {
 public:
  SavedCwd() : fd_(::open(".", O_RDONLY | O_DIRECTORY)) {
    if (fd_ < 0) fuzz::fail("cannot open the current directory");
  }
  ~SavedCwd() {
    if (::fchdir(fd_) != 0) fuzz::fail("cannot change back to the saved directory");
    ::close(fd_);
  }
  SavedCwd(const SavedCwd&) = delete;
  SavedCwd& operator=(const SavedCwd&) = delete;

 private:
  int fd_;
};

// The image keeps the letter case of its name as written ("img.BIN").
bool is_output_name(std::string name) {
  for (char& c : name) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  for (const char* ext : {".c", ".h", ".bin"}) {
    if (name.ends_with(ext)) return true;
  }
  return false;
}

// Every file the run left besides the inputs must be a finished output.
void check_leftovers(const std::filesystem::path& dir, const std::set<std::string>& inputs) {
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = e.path().filename().string();
    if (inputs.count(name)) continue;
    fuzz::check(e.is_regular_file(), "the run left something other than a file");
    fuzz::check(is_output_name(name), "the run left a file that is no finished output");
  }
}

void run_config(std::string_view config, const std::vector<InputFile>& files) {
  const fuzz::Scratch& scratch = fuzz::Scratch::get();
  std::set<std::string> inputs = {kConfigName};
  for (const InputFile& f : files) {
    scratch.write(f.name, f.content);
    inputs.insert(f.name);
  }
  std::string config_path = scratch.write(kConfigName, config);
  if (!names_stay_inside(config_path)) return;

  std::string program = "tralk";
  char* argv[] = {program.data(), config_path.data(), nullptr};
  int status;
  std::string out;
  {
    SavedCwd cwd;
    fuzz::QuietConsole console;
    status = tralk_main(2, argv);
    out = console.take();
  }
  fuzz::check(status == 0 || status == -1, "exit status other than 0 or -1");
  const char* ending = status == 0 ? "\n\nNo errors detected. Done\n" : "\nPress a key to Exit\n";
  fuzz::check(out.ends_with(ending), "the run did not end with its closing message");
  check_leftovers(scratch.dir(), inputs);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::detach_stdin();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<InputFile> files;
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string_view config = split_input(in, files);
  run_config(config, files);
  fuzz::Scratch::get().clear();
  return 0;
}
