#include "inspect/inspect_main.h"

int main(int argc, char** argv) {
  return tralk::inspector::run_inspect(argc - 1, argv + 1);
}
