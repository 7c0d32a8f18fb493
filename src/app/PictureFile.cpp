#include "app/PictureFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QSaveFile>
#include <cstring>
#include <stdexcept>

void WritePicture(const QImage& picture, const QString& fileName, const char* format, int quality) {
  auto fail = [&](const QString& why) {
    throw std::runtime_error("Cannot write the picture \"" + fileName.toStdString() +
                             "\": " + why.toStdString() + ".");
  };
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) fail(file.errorString());
  QImageWriter writer(&file, format);
  writer.setQuality(quality);
  if (!writer.write(picture)) fail(writer.errorString());
  if (!file.commit()) fail(file.errorString());
}

QByteArray EncodePicture(const QImage& picture, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(quality);
  if (!writer.write(picture))
    throw std::runtime_error("Cannot make the picture: " + writer.errorString().toStdString() +
                             ".");
  return bytes;
}

QImage FrameImage(const uint8_t* rgb, int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y)
    std::memcpy(image.scanLine(y), rgb + size_t(y) * width * 3, size_t(width) * 3);
  return image;
}
