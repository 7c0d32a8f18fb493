#include "app/FileWatch.h"

#include <sys/stat.h>

#include <QFileInfo>

TFileWatch::TFileWatch(const QString& path, std::function<void()> changed, QObject* parent)
    : QObject(parent), path_(QFileInfo(path).absoluteFilePath()), changed_(std::move(changed)) {
  quiet_.setSingleShot(true);
  quiet_.setInterval(kQuietMs);
  connect(&quiet_, &QTimer::timeout, this, [this] { changed_(); });
  // The folder too: a file renamed over the watched one is a new file, which a watch
  // on the old one never hears of.
  watcher_.addPath(QFileInfo(path_).absolutePath());
  watcher_.addPath(path_);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { Look(); });
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Look(); });
  seen_ = Now();
}

TFileWatch::TStamp TFileWatch::Now() const {
  struct stat st;
  if (::stat(path_.toLocal8Bit().constData(), &st) != 0) return {};
  return TStamp{qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                quint64(st.st_ino)};
}

void TFileWatch::Look() {
  if (!watcher_.files().contains(path_)) watcher_.addPath(path_);
  const TStamp now = Now();
  if (now == seen_) return;  // another file of the folder
  seen_ = now;
  quiet_.start();  // from the start again: the file is still changing
}
