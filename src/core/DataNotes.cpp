#include "core/DataNotes.h"

#include <filesystem>

#include "core/DataLine.h"

std::string NotNumbersWarning(const TDataFileNotes& notes) {
  if (notes.NotNumbers <= 0) return "";
  return std::to_string(notes.NotNumbers) + (notes.NotNumbers == 1 ? " field is" : " fields are") +
         " not a number and read as 0, the first on line " + std::to_string(notes.FirstLine) +
         ": " + notes.FirstText;
}

std::string ReadSummary(const std::string& path, const TDataFileNotes& notes,
                        const TGridData& grid) {
  const std::string part = notes.Part.empty() ? "" : " (" + notes.Driver + ", " + notes.Part + ")";
  return std::filesystem::path(path).filename().string() + ": " + LayoutName(notes.Layout) +
         " layout" + part + ", " + Count(size_t(grid.GridHighI) + 1, "row", "rows") + " of " +
         Count(size_t(grid.GridHighJ) + 1, "point", "points") + ", " +
         Count(size_t(notes.Holes), "hole", "holes") + ", " +
         Count(size_t(notes.NotNumbers), "field", "fields") + " read as 0";
}
