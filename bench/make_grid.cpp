// Writes an N x N grid file for the benchmarks: make_grid N PATH
#include <cstdio>
#include <cstdlib>

#include "GridFiles.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::atoi(argv[1]) < 2) {
    std::fprintf(stderr, "usage: make_grid N PATH\n");
    return 2;
  }
  return WriteGridFile(argv[2], std::atoi(argv[1])) ? 0 : 1;
}
