#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <optional>
#include <vector>

#include "core/RasterFile.h"

// Asks which band, variable or slice of a raster file to show: one row each, with its
// size and what the file says of it.
class TRasterChooser : public QDialog {
 public:
  TRasterChooser(QWidget* parent, const QString& file, const std::vector<TRasterEntry>& entries);

  QListWidget* LB_Rasters;
  QPushButton *Bt_Open, *Bt_Cancel;
};

// The raster of path to read: remembered, asked where the file holds more than one
// (nothing: the user cancelled), or the file's only one.
std::optional<TRasterChoice> ChooseRaster(QWidget* parent, const QString& path,
                                          const std::optional<TRasterChoice>& remembered);
