#include "driver/driver.h"

int main(int argc, char** argv) {
  return tralk_main(argc, argv);
}
