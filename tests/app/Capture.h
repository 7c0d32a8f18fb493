#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <optional>

#include "app/KestoForm.h"

// The graph window's next full frame, once it is drawn: the event loop runs meanwhile.
inline QImage Capture(TKestoForm& k) {
  std::optional<QImage> got;
  k.CaptureFrame([&got](const QImage& picture) { got = picture; });
  if (!QTest::qWaitFor([&got] { return got.has_value(); }, 120000)) ADD_FAILURE() << "no frame";
  return got.value_or(QImage());
}

// SaveToBitmap, done: the file written or the failure reported.
inline void Save(TKestoForm& k, const QString& name) {
  k.SaveToBitmap(name);
  if (!QTest::qWaitFor([&k] { return !k.Scheduler.Busy(); }, 120000)) ADD_FAILURE() << "not saved";
}
