#include "pack/pack_main.h"

int main(int argc, char** argv) {
  return tralk::pack::run_pack(argc - 1, argv + 1);
}
