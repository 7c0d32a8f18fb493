#include "core/RasterFile.h"

bool IsRasterHead(std::string_view head) {
  for (const std::string_view magic :
       {std::string_view("II*\0", 4), std::string_view("MM\0*", 4), std::string_view("II+\0", 4),
        std::string_view("MM\0+", 4), std::string_view("CDF\x01", 4),
        std::string_view("CDF\x02", 4), std::string_view("CDF\x05", 4),
        std::string_view("\x89HDF", 4)})
    if (head.substr(0, magic.size()) == magic) return true;
  return false;
}
