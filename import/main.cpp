#include "import/import_main.h"

int main(int argc, char** argv) {
  return tralk::importer::run_import(argc - 1, argv + 1);
}
