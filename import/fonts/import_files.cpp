#include "import/fonts/import_files.h"

#include <memory>

#include "base/file_set.h"

namespace tralk::importer {

std::vector<std::string> output_paths(const ImportResult& result) {
  std::vector<std::string> paths = {result.sym.path};
  for (const PendingFile& file : result.files) paths.push_back(file.path);
  return paths;
}

Status write_import_files(const ImportResult& result) {
  const std::vector<std::string> paths = output_paths(result);
  SetLock lock(paths);
  std::vector<std::unique_ptr<OutFile>> outs;
  std::vector<OutFile*> set;
  for (size_t i = 0; i < paths.size(); ++i) {
    outs.push_back(std::make_unique<OutFile>());
    OutFile& out = *outs.back();
    if (Status opened = open_output(lock, out, paths[i]); !opened.ok()) return opened;
    if (i == 0)
      write_sym_file(result.sym, out);
    else
      out.write(result.files[i - 1].content);
    set.push_back(&out);
  }
  return commit_outputs(set, paths);
}

}  // namespace tralk::importer
