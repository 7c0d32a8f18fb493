#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>

// Watches one file on disk and calls changed once it has stopped changing for a
// while: also when a program replaces it by renaming a new file over it.
class TFileWatch : public QObject {
 public:
  TFileWatch(const QString& path, std::function<void()> changed, QObject* parent = nullptr);

  const QString& Path() const { return path_; }
  // Asks again after the quiet interval (the file could not be taken just now).
  void Again() { quiet_.start(); }
  // A change seen and not yet handed on.
  bool Pending() const { return quiet_.isActive(); }

  static constexpr int kQuietMs = 300;

 private:
  // Size, time and file of the path as it is now; a change of any is a change.
  struct TStamp {
    qint64 Size = -1, ModifiedNs = -1;
    quint64 Inode = 0;
    bool operator==(const TStamp&) const = default;
  };
  TStamp Now() const;
  void Look();

  QString path_;
  std::function<void()> changed_;
  QFileSystemWatcher watcher_;
  QTimer quiet_;
  TStamp seen_;
};
