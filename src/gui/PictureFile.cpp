#include "gui/PictureFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "core/AtomicFile.h"

void WritePicture(const QImage& picture, const QString& fileName, TPictureFormat format) {
  // Encoded in memory first, so that the encoder never sees a failing disk (and says
  // nothing of it), and the file is written in one piece with the system's reason.
  const QByteArray bytes = EncodePicture(picture, format);
  try {
    WriteFileAtomically(fileName.toStdString(),
                        std::string_view(bytes.data(), size_t(bytes.size())));
  } catch (const TWriteError& e) {
    throw std::runtime_error("Cannot write the picture \"" + fileName.toStdString() +
                             "\": " + e.what() + ".");
  }
}

QByteArray EncodePicture(const QImage& picture, TPictureFormat format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const char* name = format == TPictureFormat::Jpeg  ? "jpeg"
                     : format == TPictureFormat::Png ? "png"
                                                     : "bmp";
  QImageWriter writer(&buffer, name);
  writer.setQuality(format == TPictureFormat::Jpeg ? 100 : -1);
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
