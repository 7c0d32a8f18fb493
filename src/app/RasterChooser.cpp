#include "app/RasterChooser.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <fstream>

TRasterChooser::TRasterChooser(QWidget* parent, const QString& file,
                               const std::vector<TRasterEntry>& entries)
    : QDialog(parent) {
  setWindowTitle("Choose a raster");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QFileInfo(file).fileName() + " holds several rasters:", this));
  LB_Rasters = new QListWidget(this);
  for (const TRasterEntry& e : entries) LB_Rasters->addItem(QString::fromStdString(e.Label));
  LB_Rasters->setCurrentRow(0);
  layout->addWidget(LB_Rasters);
  auto* buttons = new QHBoxLayout;
  Bt_Open = new QPushButton("Open", this);
  Bt_Open->setDefault(true);
  Bt_Cancel = new QPushButton("Cancel", this);
  buttons->addStretch();
  buttons->addWidget(Bt_Open);
  buttons->addWidget(Bt_Cancel);
  layout->addLayout(buttons);
  connect(Bt_Open, &QPushButton::clicked, this, &QDialog::accept);
  connect(Bt_Cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(LB_Rasters, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::optional<TRasterChoice> ChooseRaster(QWidget* parent, const QString& path,
                                          const std::optional<TRasterChoice>& remembered) {
  if (remembered) return remembered;
  // Never opened here unless a plain file: opening a FIFO would wait for its writer.
  if (!QFileInfo(path).isFile()) return TRasterChoice{};
  char head[8] = {};
  std::ifstream(path.toLocal8Bit().toStdString(), std::ios::binary).read(head, sizeof head);
  if (!ReadsRasters() || !IsRasterHead(std::string_view(head, sizeof head))) return TRasterChoice{};
  std::vector<TRasterEntry> entries;
  try {
    entries = RasterEntries(path.toLocal8Bit().toStdString());
  } catch (const TDataFileError&) {
    return TRasterChoice{};  // the read says what is wrong
  }
  if (entries.size() <= 1) return entries.empty() ? TRasterChoice{} : entries[0].Choice;
  TRasterChooser chooser(parent, path, entries);
  if (chooser.exec() != QDialog::Accepted) return std::nullopt;
  return entries[size_t(std::max(0, chooser.LB_Rasters->currentRow()))].Choice;
}
