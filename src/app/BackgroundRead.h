#pragma once

#include <QObject>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "core/DataFile.h"

// A data file read on a thread of its own while the windows go on answering. What it
// read, or why it could not, comes back on the owner's thread. Ending the read
// (destroying it) stops the reading at its next look and drops what it would bring.
class TBackgroundRead {
 public:
  struct TResult {
    TGridData Grid;
    TDataFileNotes Notes;
    std::exception_ptr Error;  // set when the file was refused
  };
  using TDone = std::function<void(TResult&)>;

  // progress hears how much of the file is read, 0 to 1, now and then; raster: which
  // band or variable of a raster file.
  TBackgroundRead(QObject* owner, std::string path, TRasterChoice raster, int64_t mostPoints,
                  TDone done, std::function<void(double)> progress = {});
  ~TBackgroundRead();
  TBackgroundRead(const TBackgroundRead&) = delete;
  TBackgroundRead& operator=(const TBackgroundRead&) = delete;

 private:
  struct TShared;
  std::shared_ptr<TShared> shared_;
  std::jthread thread_;
};
