#include "app/BackgroundRead.h"

#include <atomic>

#include "app/ErrorReport.h"

struct TBackgroundRead::TShared {
  std::atomic<bool> Ended{false};
  TDone Done;
  std::function<void(double)> Progress;
  TResult Result;
};

TBackgroundRead::TBackgroundRead(QObject* owner, std::string path, TRasterChoice raster,
                                 int64_t mostPoints, TDone done,
                                 std::function<void(double)> progress)
    : shared_(std::make_shared<TShared>()) {
  shared_->Done = std::move(done);
  shared_->Progress = std::move(progress);
  thread_ = std::jthread(
      [shared = shared_, owner, path = std::move(path), raster = std::move(raster), mostPoints] {
        TResult& r = shared->Result;
        try {
          r.Grid = ReadDataFile(
              path,
              [&shared, owner](double done) {
                if (shared->Ended) throw TCancelled();
                if (shared->Progress)
                  QMetaObject::invokeMethod(
                      owner,
                      [shared, done] {
                        if (!shared->Ended) shared->Progress(done);
                      },
                      Qt::QueuedConnection);
              },
              '\0', &r.Notes, mostPoints, raster);
        } catch (...) {
          r.Error = std::current_exception();
        }
        // Handed over in the owner's turn of its event loop, unless ended meanwhile.
        QMetaObject::invokeMethod(
            owner,
            [shared] {
              if (!shared->Ended.exchange(true)) shared->Done(shared->Result);
            },
            Qt::QueuedConnection);
      });
}

TBackgroundRead::~TBackgroundRead() {
  shared_->Ended = true;
  thread_.join();
}
